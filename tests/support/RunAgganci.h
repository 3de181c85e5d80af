#pragma once
// Runs the built agganci program as a person or a script would, optionally in a folder of the test's,
// and gives back its exit status and everything it printed (stdout and stderr together, or stdout alone
// as a script reading the JSON sees it).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

namespace testsupport {

struct ProgramResult {
    int code = 0;
    std::string out;
};

inline ProgramResult RunAgganci(const std::string& args, const std::string& folder = {}, bool stdoutOnly = false) {
    ProgramResult r;
    const std::string cd = folder.empty() ? std::string() : "cd '" + folder + "' && ";
    const std::string cmd = cd + AGGANCI_BIN + " " + args + (stdoutOnly ? " 2>/dev/null" : " 2>&1");
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe) {
        r.code = -1;
        r.out = "could not start: " + cmd.substr(0, 200);
        return r;
    }
    std::array<char, 4096> buf{};
    while (std::fgets(buf.data(), buf.size(), pipe.get())) r.out += buf.data();
    const int status = pclose(pipe.release());
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// Whether the program printed each of `pieces`; what it printed is shown when one is missing.
inline ::testing::AssertionResult Prints(const ProgramResult& r, std::initializer_list<std::string> pieces) {
    for (const auto& piece : pieces)
        if (r.out.find(piece) == std::string::npos)
            return ::testing::AssertionFailure() << "\"" << piece << "\" not printed:\n" << r.out;
    return ::testing::AssertionSuccess();
}

// Whether the program exited with `code` and printed each of `pieces`.
inline ::testing::AssertionResult Exits(const ProgramResult& r, int code,
                                        std::initializer_list<std::string> pieces = {}) {
    if (r.code != code) return ::testing::AssertionFailure() << "exit " << r.code << ", not " << code << ":\n" << r.out;
    return Prints(r, pieces);
}

}  // namespace testsupport
