#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "entry/CLSFA_AGGANCI.h"
#include "entry/Trace.h"

using entry::Guid;
using entry::TraceId;
using entry::TracePhase;

namespace {

long FixedGuid(Guid* g) {
    *g = Guid{0x00ABCDEF, 0x1, 0xBEEF, {5, 0, 0x10, 0xFF, 0x0A, 0xa0, 0x7F, 0x80}};  // Data1 needs six digits only
    return 0;
}

long FailingGuid(Guid*) { return static_cast<long>(0x80004005L); }

int calls = 0;
long FailsOnceThenFixed(Guid* g) { return ++calls == 1 ? FailingGuid(g) : FixedGuid(g); }

// Points the debug output at a fresh temporary file for one test.
class DebugOutputFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = std::filesystem::temp_directory_path() /
               ("agganci-trace-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
        std::filesystem::remove(path);
        ::setenv("AGGANCI_DEBUG_OUTPUT", path.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("AGGANCI_DEBUG_OUTPUT");
        std::filesystem::remove(path);
    }
    std::filesystem::path path;
};

}  // namespace

// Each program object writes one creation line and one end line, both with its own identifier, after what
// the file held. A failed GUID leaves the id empty and is tried again; nothing is written without the variable,
// and an unwritable target is ignored.
TEST_F(DebugOutputFile, EachProgramObjectAppendsItsLinesWithItsOwnIdAndAFailedGuidLeavesTheIdEmpty) {
    { std::ofstream(path) << "earlier line\n"; }
    { auto first = entry::CLSFA_AGGANCI::Create(); }
    { auto second = entry::CLSFA_AGGANCI::Create(); }
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "earlier line");
    lines.erase(lines.begin());
    auto idOf = [](const std::string& line) { return line.substr(6, 32); };
    for (int i : {0, 2}) {
        EXPECT_EQ(lines[i], "KVGE:|" + idOf(lines[i]) + "|INI|Vintrello|CLSFA_AGGANCI");
        EXPECT_EQ(lines[i + 1], "KVGE:|" + idOf(lines[i]) + "|TER|Vintrello|CLSFA_AGGANCI");
    }
    EXPECT_NE(idOf(lines[0]), idOf(lines[2]));

    TraceId broken(FailingGuid);
    EXPECT_EQ(entry::TraceLine(broken.Get(), TracePhase::Ini, "CLSFA_DUPLICA"), "KVGE:||INI|Vintrello|CLSFA_DUPLICA");

    calls = 0;
    TraceId id(FailsOnceThenFixed);
    EXPECT_EQ(id.Get(), "");
    EXPECT_EQ(id.Get(), "00ABCDEF0001BEEF050010FF0AA07F80");
    EXPECT_EQ(id.Get(), "00ABCDEF0001BEEF050010FF0AA07F80");
    EXPECT_EQ(calls, 2);

    calls = 0;
    TraceId silent(FailsOnceThenFixed);
    std::filesystem::remove(path);
    ::unsetenv("AGGANCI_DEBUG_OUTPUT");
    entry::WriteTraceLine(silent, TracePhase::Ini, "CLSFA_AGGANCI");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(calls, 0);  // no id made for a line that goes nowhere
    ::setenv("AGGANCI_DEBUG_OUTPUT", (path / "no" / "such" / "folder.log").c_str(), 1);
    EXPECT_NO_THROW(entry::WriteTraceLine(silent, TracePhase::Ter, "CLSFA_AGGANCI"));
}
