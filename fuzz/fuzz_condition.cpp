// Fuzz target: the advanced query's condition text. Field, operator and values come from the input; the
// condition must keep every value inside a quoted literal - re-read with the T-SQL tokenizer its string
// tokens are exactly the values, in order, and its other tokens are those of the same condition with
// plain values - and it must run in SQLite, finding the row whose code is the value.
//
// Input: byte 0 picks the field, byte 1 the operator; the rest is the values, separated by 0xFF (a byte
// that never appears in UTF-8, so every other byte, NUL included, can be part of a value).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Error.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "db/sqlite/TsqlLexer.h"
#include "host/controls/AdvancedQuery.h"

namespace {

using db::sqlite::Token;
using db::sqlite::TokenKind;

const char* const kFields[] = {"Articolo", "MG66_CODART", "famiglia", "FA12_STAGIONE_MG5T", "Nessuno"};
const entry::QueryOperator kOperators[] = {entry::QueryOperator::Uguale, entry::QueryOperator::Diverso,
                                           entry::QueryOperator::Intervallo, entry::QueryOperator::IniziaCon,
                                           entry::QueryOperator::InElenco};

[[noreturn]] void Broken(const char* why, const std::string& condition) {
    std::fprintf(stderr, "invariant broken: %s\ncondition: %s\n", why, condition.c_str());
    std::abort();
}

const db::ConnectionPtr& Database() {
    static db::ConnectionPtr c = [] {
        auto conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE MG66_ANAGRART (MG66_DITTA_CG18 INTEGER, MG66_CODART TEXT, MG66_FAM_MG53 TEXT);"
            "CREATE TABLE FA12_ARTICOLI (FA12_DITTA_CG18 INTEGER, FA12_CODART_MG66 TEXT, FA12_STAGIONE_MG5T TEXT);");
        return conn;
    }();
    return c;
}

// The condition for `c`, or nothing when the control refuses it (a refusal is a correct answer).
bool Build(const entry::QueryCondition& c, std::string& text) {
    host::controls::AdvancedQuery q("ADVQ_ARTICOLI");
    // The control checks an offered table's columns against the database.
    q.Imposta("1", 0, nullptr, {}, false, Database());
    q.DefinisciCampo("Articolo", "MG66_CODART", "(Standard)", 1);
    q.DefinisciCampo("Famiglia", "MG66_ANAGRART.MG66_FAM_MG53", "(Standard)", 2);
    q.OffriTabella("FA12_ARTICOLI", "(Standard)");
    try {
        q.AggiungiCondizione(c);
    } catch (const db::Error&) {
        return false;
    }
    text = q.Condizione();
    return true;
}

// The tokens that are not values, numbers reduced to their kind (LEFT's length follows the value).
std::vector<std::string> Skeleton(const std::vector<Token>& tokens) {
    std::vector<std::string> out;
    for (const auto& t : tokens)
        if (t.kind != TokenKind::String) out.push_back(t.kind == TokenKind::Number ? "#" : t.text);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    entry::QueryCondition c;
    c.field = kFields[data[0] % std::size(kFields)];
    c.op = kOperators[data[1] % std::size(kOperators)];
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    for (std::size_t start = 0;;) {
        const std::size_t end = rest.find('\xFF', start);
        c.values.emplace_back(rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }

    std::string condition;
    if (!Build(c, condition)) return 0;
    auto plain = c;
    for (auto& v : plain.values) v = "v";
    std::string plainCondition;
    if (!Build(plain, plainCondition)) Broken("plain values refused where the fuzzed ones were taken", condition);

    std::vector<Token> tokens;
    try {
        tokens = db::sqlite::LexTsql(condition);
    } catch (const db::Error&) {
        Broken("the condition does not tokenize", condition);
    }
    std::vector<std::string> strings;
    for (const auto& t : tokens)
        if (t.kind == TokenKind::String) strings.push_back(t.text);
    if (strings != c.values) Broken("the string literals are not exactly the values", condition);
    if (Skeleton(tokens) != Skeleton(db::sqlite::LexTsql(plainCondition)))
        Broken("a value changed the shape of the condition", condition);

    // The condition continues a real WHERE clause: it runs, and an equality finds the row holding the value.
    auto& db = *Database();
    const std::string& v = c.values.front();
    try {
        db.Execute("DELETE FROM MG66_ANAGRART; INSERT INTO MG66_ANAGRART VALUES (1, " + db::SqlText(v) + ", " +
                       db::SqlText(v) + ")",
                   nullptr, db::adExecuteNoRecords);
        auto rs = db.Execute("SELECT COUNT(*) FROM MG66_ANAGRART LEFT JOIN FA12_ARTICOLI ON FA12_CODART_MG66 = "
                             "MG66_CODART WHERE MG66_DITTA_CG18 = 1" + condition);
        rs->MoveFirst();
        const long found = rs->GetFields().Item(0L).Value().CLng();
        const bool onCode = c.field != std::string("FA12_STAGIONE_MG5T");
        if (onCode && c.op == entry::QueryOperator::Uguale && found != 1)
            Broken("an equality does not find the row holding the value", condition);
    } catch (const db::Error& e) {
        Broken(("the condition does not run: " + e.Description()).c_str(), condition);
    }
    return 0;
}
