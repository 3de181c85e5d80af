#include "apps/agganci/ArgumentChecks.h"

#include <algorithm>
#include <charconv>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "db/Error.h"
#include "db/Variant.h"

namespace app {
namespace {

// The rule of the JSON output itself, so that whatever passes here can be printed.
bool Utf8Text(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }

// The text as a message shows it: a control character written out (\t, \x1b), never sent to the terminal raw.
std::string Escaped(const std::string& text) {
    std::string shown;
    for (const char c : text) {
        if (c == '\t') shown += "\\t";
        else if (c == '\n') shown += "\\n";
        else if (c == '\r') shown += "\\r";
        else if (IsControl(c)) shown += fmt::format("\\x{:02x}", static_cast<unsigned char>(c));
        else shown += c;
    }
    return shown;
}

// Why a value typed on the command line is refused as text; empty when it is not. `multiLine`: a text of
// several lines, which keeps its line breaks and tabs.
std::string TextRefusal(const std::string& text, bool multiLine) {
    if (!Utf8Text(text)) return "not valid UTF-8 text";
    const auto refused = [multiLine](char c) {
        return IsControl(c) && !(multiLine && (c == '\t' || c == '\n' || c == '\r'));
    };
    if (std::none_of(text.begin(), text.end(), refused)) return {};
    return Escaped(text) + " holds a control character" + (multiLine ? " other than a line break or a tab" : "");
}

// AtMost's words for a text longer than `characters`; empty when it fits.
std::string LongerThan(const std::string& text, std::size_t characters) {
    const std::size_t length = db::Len(db::RTrim(text));
    if (length <= characters) return {};
    return "takes at most " + std::to_string(characters) + " characters (" + std::to_string(length) + " given)";
}

// The option named `arg` where the parse stands: the command's own or one of a command above it (whose options
// are accepted after the command too).
const CLI::Option* FindOption(const CLI::App& command, const std::string& arg) {
    if (arg.size() < 2 || arg.front() != '-') return nullptr;  // a positional's name is no option
    for (const CLI::App* a = &command; a; a = a->get_parent())
        if (const CLI::Option* o = a->get_option_no_throw(arg)) return o;
    return nullptr;
}

CLI::App* FindCommand(CLI::App& command, const std::string& arg) {
    const auto found = command.get_subcommands([&arg](CLI::App* sub) { return sub->check_name(arg); });
    return found.empty() ? nullptr : found.front();
}

}  // namespace

CLI::Option* WholeNumber(CLI::Option* option, long min, long max) {
    const std::string name = option->get_name();
    // CLI11's own Range check runs before the conversion: it calls "abc" out of range and prints its bounds
    // as doubles.
    return option->transform(CLI::Validator(
        [name, min, max](std::string& text) -> std::string {
            long value = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, value);
            if (stop != end || error == std::errc::invalid_argument)
                throw CLI::ConversionError(name + ": " + text + " is not a whole number",
                                           CLI::ExitCodes::ConversionError);
            const bool beyondLong = error == std::errc::result_out_of_range;
            if (beyondLong ? text.front() == '-' : value < min) return text + " is less than " + std::to_string(min);
            if (beyondLong || value > max) return text + " is more than " + std::to_string(max);
            text = std::to_string(value);  // read as typed: CLI11 would take 010 for octal
            return {};
        },
        ""));
}

CLI::Option* AtMost(CLI::Option* option, std::size_t characters) {
    return option->check(
        CLI::Validator([characters](std::string& text) { return LongerThan(text, characters); }, ""));
}

void RequireAtMost(const std::string& name, const std::string& text, std::size_t characters) {
    if (const std::string refusal = LongerThan(text, characters); !refusal.empty())
        throw CLI::ValidationError(name, refusal);
}

CLI::Option* NotBlank(CLI::Option* option) {
    return option->check(
        CLI::Validator([](std::string& text) { return db::Trim(text).empty() ? "is empty" : std::string(); }, ""));
}

CLI::Option* Number(CLI::Option* option, bool whole, const db::Decimal& min, const db::Decimal& max) {
    const std::string name = option->get_name();
    return option->transform(CLI::Validator(
        [name, whole, min, max](std::string& text) -> std::string {
            // Blanks alone empty the field too: the field takes an empty text, not blanks, as no number.
            if (db::Trim(text).empty()) {
                text.clear();
                return {};
            }
            const std::string kind = whole ? "a whole number" : "a number";
            const CLI::ConversionError wrongKind(name + ": " + text + " is not " + kind,
                                                 CLI::ExitCodes::ConversionError);
            try {
                const db::Decimal value = db::Decimal::Parse(text);
                if (whole && value.Scale() > 0) throw wrongKind;
                if (value < min) return text + " is less than " + min.ToString();
                if (max < value) return text + " is more than " + max.ToString();
                return {};
            } catch (const db::Error& e) {
                if (e.Number() != db::errc::Overflow) throw wrongKind;
                // More digits than any number the database holds: beyond either end.
                return db::Trim(text).front() == '-' ? text + " is less than " + min.ToString()
                                                     : text + " is more than " + max.ToString();
            }
        },
        ""));
}

void RequireUtf8Text(CLI::App& app) {
    for (CLI::Option* o : app.get_options([](const CLI::Option* o) { return o->get_items_expected_max() > 0; })) {
        const bool multiLine = o->check_lname("extended-description");
        // Put before the option's other checks, which may show the text in their messages.
        o->transform(CLI::Validator([multiLine](std::string& text) { return TextRefusal(text, multiLine); }, ""));
    }
    for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) RequireUtf8Text(*command);
}

// CLI11 takes the word after an option that wants a value as that value even when it is another option:
// "--description --quiet" would describe the article as "--quiet". And a parse that fails stops before --json
// is stored, so whether errors go out as JSON is read here, the same way.
ArgumentScan ScanArguments(CLI::App& cli, int argc, char** argv) {
    ArgumentScan scan;
    CLI::App* command = &cli;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") break;  // only positionals follow
        if (const CLI::Option* o = FindOption(*command, arg)) {
            scan.json = scan.json || o->check_lname("json");
            if (o->get_items_expected_max() == 0) continue;  // a flag
            if (i + 1 < argc && !FindOption(*command, argv[i + 1])) ++i;  // its value
            else if (scan.withoutValue.empty()) scan.withoutValue = arg;
        } else if (CLI::App* sub = FindCommand(*command, arg)) {
            command = sub;
        }
    }
    return scan;
}

}  // namespace app
