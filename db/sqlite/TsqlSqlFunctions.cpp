#include "db/sqlite/TsqlSqlFunctions.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace db::sqlite {

namespace {

struct Number {
    bool isInteger = false;
    sqlite3_int64 i = 0;
    double d = 0;
};

std::string TrimBlanks(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// False for text that SQL Server would not convert to a number.
bool ToNumber(sqlite3_value* v, Number& out) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        out.isInteger = true;
        out.i = sqlite3_value_int64(v);
        return true;
    case SQLITE_FLOAT:
        out.d = sqlite3_value_double(v);
        return true;
    default: break;
    }
    const unsigned char* raw = sqlite3_value_text(v);
    const std::string text = TrimBlanks(raw ? reinterpret_cast<const char*>(raw) : "");
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long long i = std::strtoll(text.c_str(), &end, 10);
    if (errno == 0 && *end == '\0') {
        out.isInteger = true;
        out.i = i;
        return true;
    }
    errno = 0;
    const double d = std::strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0') return false;
    out.d = d;
    return true;
}

double AsDouble(const Number& n) { return n.isInteger ? static_cast<double>(n.i) : n.d; }

void TsqlAdd(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const bool aText = ta == SQLITE_TEXT || ta == SQLITE_BLOB;
    const bool bText = tb == SQLITE_TEXT || tb == SQLITE_BLOB;
    if (aText && bText) {
        const bool blob = ta == SQLITE_BLOB && tb == SQLITE_BLOB;
        std::string joined;
        for (sqlite3_value* v : {argv[0], argv[1]}) {
            const void* p = blob ? sqlite3_value_blob(v) : static_cast<const void*>(sqlite3_value_text(v));
            const int n = sqlite3_value_bytes(v);
            if (p != nullptr) joined.append(static_cast<const char*>(p), static_cast<size_t>(n));
        }
        if (blob)
            sqlite3_result_blob64(ctx, joined.data(), joined.size(), SQLITE_TRANSIENT);
        else
            sqlite3_result_text64(ctx, joined.data(), joined.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    Number a, b;
    for (auto [value, number] : {std::pair{argv[0], &a}, std::pair{argv[1], &b}}) {
        if (!ToNumber(value, *number)) {
            const unsigned char* raw = sqlite3_value_text(value);
            const std::string msg = std::string("Conversion failed when converting the varchar value '") +
                                    (raw ? reinterpret_cast<const char*>(raw) : "") + "' to a number.";
            sqlite3_result_error(ctx, msg.c_str(), -1);
            return;
        }
    }
    if (a.isInteger && b.isInteger) {
        sqlite3_int64 sum = 0;
        if (__builtin_add_overflow(a.i, b.i, &sum)) {
            sqlite3_result_error(ctx, "Arithmetic overflow error converting expression to data type bigint.", -1);
            return;
        }
        sqlite3_result_int64(ctx, sum);
        return;
    }
    sqlite3_result_double(ctx, AsDouble(a) + AsDouble(b));
}

}  // namespace

int RegisterTsqlFunctions(sqlite3* db) {
    return sqlite3_create_function_v2(db, "tsql_add", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                      TsqlAdd, nullptr, nullptr, nullptr);
}

}  // namespace db::sqlite
