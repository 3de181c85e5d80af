#pragma once
// Which statements of a run a sweep acts on. AGGANCI_RELIABILITY_FULL=1 asks for every one; by default
// every `stride`-th, plus the first statement of each kind on each table (the first INSERT INTO
// MG87_ARTDESC, the first UPDATE FA12_ARTICOLI, ...), so that every step of the run is hit at least once
// while the suite stays short enough for every build.
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "SweepSize.h"

namespace reliability {

using testsupport::FullSweep;

// "INSERT MG87_ARTDESC": the statement's verb and the first table it names; "" when it names none.
inline std::string StatementKind(const std::string& sql) {
    static const std::regex verb(R"(^\s*;?\s*(WITH|SELECT|INSERT|UPDATE|DELETE|CREATE|DROP))", std::regex::icase);
    static const std::regex table(R"(\b(?:FROM|INTO|UPDATE|JOIN)\s+["\[]?([A-Z]{2}[0-9A-Z]{2}_[A-Z0-9]+))",
                                  std::regex::icase);
    std::smatch v, t;
    if (!std::regex_search(sql, t, table)) return {};
    const std::string kind = std::regex_search(sql, v, verb) ? v[1].str() : std::string("OTHER");
    return kind + " " + t[1].str();
}

// Statement n's text, from StatementTrace::Texts().
inline std::string TextOf(const std::vector<std::string>& texts, long n) {
    return n >= 1 && n <= static_cast<long>(texts.size()) ? texts[static_cast<std::size_t>(n - 1)] : "";
}

// The statements of 1..total to act on. `writesOnly` keeps to the kinds that write: a crash just before
// a read is the crash just before the next write.
inline std::set<long> ChosenStatements(const std::vector<std::string>& texts, long total, long stride,
                                      bool writesOnly = false) {
    static const std::regex write(R"(^(INSERT|UPDATE|DELETE) )");
    std::set<long> chosen;
    std::map<std::string, long> firstOfKind;
    for (long n = 1; n <= total; ++n) {
        if (FullSweep() || (n - 1) % stride == 0) chosen.insert(n);
        const std::string kind = StatementKind(TextOf(texts, n));
        if (!writesOnly || std::regex_search(kind, write)) firstOfKind.try_emplace(kind, n);
    }
    for (const auto& [kind, n] : firstOfKind) chosen.insert(n);
    return chosen;
}

}  // namespace reliability
