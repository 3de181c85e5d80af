#include "db/sqlite/SqlFunctions.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "db/Error.h"
#include "db/NumberText.h"

namespace db::sqlite {
namespace {

bool IsNumber(sqlite3_value* v) {
    const int t = sqlite3_value_type(v);
    return t == SQLITE_INTEGER || t == SQLITE_FLOAT;
}

std::string TextOf(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string(p, static_cast<std::size_t>(sqlite3_value_bytes(v))) : std::string();
}

// The number a text stands for, as SQL Server converts a varchar beside a number.
std::optional<double> TextAsNumber(sqlite3_value* v) {
    const std::string text = TextOf(v);
    if (!ScanNumber(text)) return std::nullopt;
    return std::strtod(text.c_str(), nullptr);
}

void AddNumbers(sqlite3_context* ctx, sqlite3_value* a, sqlite3_value* b) {
    if (sqlite3_value_type(a) == SQLITE_INTEGER && sqlite3_value_type(b) == SQLITE_INTEGER) {
        sqlite3_int64 sum = 0;
        if (!__builtin_add_overflow(sqlite3_value_int64(a), sqlite3_value_int64(b), &sum)) {
            sqlite3_result_int64(ctx, sum);
            return;
        }
    }
    sqlite3_result_double(ctx, sqlite3_value_double(a) + sqlite3_value_double(b));
}

void TsqlAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* a = argv[0];
    sqlite3_value* b = argv[1];
    if (sqlite3_value_type(a) == SQLITE_NULL || sqlite3_value_type(b) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool na = IsNumber(a), nb = IsNumber(b);
    if (na && nb) {
        AddNumbers(ctx, a, b);
        return;
    }
    if (na || nb) {
        sqlite3_value* text = na ? b : a;
        const std::optional<double> n = TextAsNumber(text);
        if (!n) {
            const std::string message = "Conversion failed when converting the varchar value '" + TextOf(text) +
                                        "' to a number (T-SQL '+' of a text and a number)";
            sqlite3_result_error(ctx, message.c_str(), -1);
            return;
        }
        const double other = sqlite3_value_double(na ? a : b);
        const double sum = *n + other;
        if (std::floor(sum) == sum && std::fabs(sum) < 9.0e15 && sqlite3_value_type(na ? a : b) == SQLITE_INTEGER &&
            std::floor(*n) == *n) {
            sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(sum));
        } else {
            sqlite3_result_double(ctx, sum);
        }
        return;
    }
    std::string joined = TextOf(a) + TextOf(b);
    sqlite3_result_text(ctx, joined.c_str(), static_cast<int>(joined.size()), SQLITE_TRANSIENT);
}

void NewId(sqlite3_context* ctx, int, sqlite3_value**) {
    unsigned char bytes[16];
    sqlite3_randomness(sizeof bytes, bytes);
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4, as the server makes them
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    char text[37];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  bytes[0], bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8], bytes[9],
                  bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    sqlite3_result_text(ctx, text, 36, SQLITE_TRANSIENT);
}

void Register(sqlite3* db, const char* name, int args, int flags, void (*fn)(sqlite3_context*, int, sqlite3_value**)) {
    if (sqlite3_create_function_v2(db, name, args, SQLITE_UTF8 | flags, nullptr, fn, nullptr, nullptr, nullptr) !=
        SQLITE_OK) {
        throw Error(errc::ProviderError, std::string("Cannot register SQL function ") + name + ": " + sqlite3_errmsg(db),
                    "agganci.db.sqlite");
    }
}

}  // namespace

void RegisterSqlFunctions(sqlite3* db) {
    Register(db, "tsql_add", 2, SQLITE_DETERMINISTIC, TsqlAdd);
    Register(db, "newid", 0, 0, NewId);
}

}  // namespace db::sqlite
