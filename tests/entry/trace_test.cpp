#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <unistd.h>

#include "entry/Trace.h"

using entry::Guid;
using entry::TraceId;
using entry::TracePhase;

namespace {

long FixedGuid(Guid* g) {
    g->Data1 = 0x00ABCDEF;  // needs six digits only
    g->Data2 = 0x1;
    g->Data3 = 0xBEEF;
    const std::uint8_t bytes[8] = {5, 0, 0x10, 0xFF, 0x0A, 0xa0, 0x7F, 0x80};
    for (int i = 0; i < 8; ++i) g->Data4[i] = bytes[i];
    return 0;
}

long FailingGuid(Guid*) { return static_cast<long>(0x80004005L); }

int calls = 0;
long FailsOnceThenFixed(Guid* g) { return ++calls == 1 ? FailingGuid(g) : FixedGuid(g); }

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

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

TEST(TraceIdFormat, PadsEveryFieldAndWritesUpperCase) {
    const std::string id = TraceId::Make(FixedGuid);
    EXPECT_EQ(id, "00ABCDEF0001BEEF050010FF0AA07F80");
    EXPECT_EQ(id.substr(0, 2), "00");   // first field needing six digits
    EXPECT_EQ(id.substr(16, 2), "05");  // a byte of value 5
}

TEST(TraceIdFormat, PlatformGuidsGiveDistinct32DigitIds) {
    TraceId a, b;
    const std::regex hex32("[0-9A-F]{32}");
    EXPECT_TRUE(std::regex_match(a.Get(), hex32)) << a.Get();
    EXPECT_TRUE(std::regex_match(b.Get(), hex32)) << b.Get();
    EXPECT_NE(a.Get(), b.Get());
}

TEST(TraceIdLifetime, IsMadeOnceAndKept) {
    TraceId id;
    const std::string first = id.Get();
    EXPECT_EQ(id.Get(), first);
}

TEST(TraceIdLifetime, AFailedGuidLeavesItEmptyAndIsTriedAgain) {
    TraceId broken(FailingGuid);
    EXPECT_EQ(entry::TraceLine(broken.Get(), TracePhase::Ini, "CLSFA_DUPLICA"), "KVGE:||INI|Vintrello|CLSFA_DUPLICA");

    calls = 0;
    TraceId id(FailsOnceThenFixed);
    EXPECT_EQ(id.Get(), "");
    EXPECT_EQ(id.Get(), "00ABCDEF0001BEEF050010FF0AA07F80");
    EXPECT_EQ(id.Get(), "00ABCDEF0001BEEF050010FF0AA07F80");
    EXPECT_EQ(calls, 2);
}

TEST(TraceLineText, IsPrefixIdPhaseProjectAndClassWithoutBlanks) {
    EXPECT_EQ(entry::TraceLine("00ABCDEF0001BEEF050010FF0AA07F80", TracePhase::Ini, "CLSFA_AGGANCI"),
              "KVGE:|00ABCDEF0001BEEF050010FF0AA07F80|INI|Vintrello|CLSFA_AGGANCI");
    EXPECT_EQ(entry::TraceLine("X", TracePhase::Ter, "FRMFA_AGGANCI"), "KVGE:|X|TER|Vintrello|FRMFA_AGGANCI");
}

TEST_F(DebugOutputFile, CreationAndEndLinesOfOneObjectCarryTheSameId) {
    TraceId first(FixedGuid);
    TraceId second;
    entry::WriteTraceLine(first, TracePhase::Ini, "CLSFA_AGGANCI");
    entry::WriteTraceLine(second, TracePhase::Ini, "FRMFA_AGGANCI");
    entry::WriteTraceLine(first, TracePhase::Ter, "CLSFA_AGGANCI");
    const auto lines = ReadLines(path);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "KVGE:|00ABCDEF0001BEEF050010FF0AA07F80|INI|Vintrello|CLSFA_AGGANCI");
    EXPECT_EQ(lines[1], "KVGE:|" + second.Get() + "|INI|Vintrello|FRMFA_AGGANCI");
    EXPECT_EQ(lines[2], "KVGE:|00ABCDEF0001BEEF050010FF0AA07F80|TER|Vintrello|CLSFA_AGGANCI");
}

TEST_F(DebugOutputFile, AppendsToAnExistingFile) {
    { std::ofstream(path) << "earlier line\n"; }
    entry::OutputDebugStringA("next line");
    EXPECT_EQ(ReadLines(path), (std::vector<std::string>{"earlier line", "next line"}));
}

TEST_F(DebugOutputFile, NothingIsWrittenWhenTheVariableIsUnset) {
    ::unsetenv("AGGANCI_DEBUG_OUTPUT");
    TraceId id(FixedGuid);
    entry::WriteTraceLine(id, TracePhase::Ini, "CLSFA_AGGANCI");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(DebugOutputFile, AnUnwritableTargetIsIgnored) {
    ::setenv("AGGANCI_DEBUG_OUTPUT", (path / "no" / "such" / "folder.log").c_str(), 1);
    TraceId id(FixedGuid);
    EXPECT_NO_THROW(entry::WriteTraceLine(id, TracePhase::Ter, "CLSFA_AGGANCI"));
}
