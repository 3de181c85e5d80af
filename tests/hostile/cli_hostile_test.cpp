// The agganci program fed hostile arguments, as a script would pass them: the new code and descriptions
// of `duplicate`, the condition value of `mass --where`. A value is stored exactly, or refused with the
// program's one-line message, a non-zero exit and nothing written.
//
// Two values cannot reach a program's argument: an embedded NUL ends the argument, and one argument
// of a Linux command line holds at most 128 KiB - and the runner hands the whole command to the shell as
// one argument. The megabyte value is cut to 40 000 characters here, two of them fitting one command.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "HostileCompany.h"
#include "RunAgganci.h"

namespace {

using hostile::HostileValue;

constexpr std::size_t kLongestArgument = 40000;

// The value as one shell word.
std::string Word(const std::string& v) {
    std::string out = "'";
    for (char c : v) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class CliHostile : public ::testing::TestWithParam<HostileValue> {
protected:
    static void SetUpTestSuite() {
        std::filesystem::create_directories(Base());
        ASSERT_EQ(testsupport::RunAgganci("demo-db company.db", Base().string()).code, 0);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(Base()); }

    void SetUp() override {
        if (GetParam().text.find('\0') != std::string::npos) GTEST_SKIP() << "an argument cannot hold a NUL";
        dir = Base() / ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories(dir);
        std::filesystem::copy_file(Base() / "company.db", dir / "company.db");
        erp::RegisterProcedures();
        conn = db::Connection::Create();
        conn->Open("sqlite:" + (dir / "company.db").string());
        value = GetParam().text.substr(0, kLongestArgument);
    }
    void TearDown() override {
        conn.reset();
        std::filesystem::remove_all(dir);
    }

    static std::filesystem::path Base() {
        return std::filesystem::temp_directory_path() / ("agganci-hostile-cli-" + std::to_string(::getpid()));
    }
    testsupport::ProgramResult Agganci(const std::string& args) {
        return testsupport::RunAgganci("--db sqlite:company.db " + args, dir.string());
    }
    long Articles() { return testsupport::Count(*conn, "SELECT COUNT(*) FROM MG66_ANAGRART"); }

    std::filesystem::path dir;
    db::ConnectionPtr conn;
    std::string value;
};

bool HoldsControl(const std::string& v, bool lineBreaks = true) {
    return std::any_of(v.begin(), v.end(), [lineBreaks](char c) {
        return (lineBreaks || c != '\n') && (static_cast<unsigned char>(c) < 0x20 || c == 0x7f);
    });
}

// `duplicate` with the value as the new code, then as both descriptions of another new article. A value the
// command line refuses is a usage error (105) naming the argument; its text is never echoed raw.
TEST_P(CliHostile, DuplicateNewCodeAndDescriptions) {
    constexpr const char* kUsage = "\nRun with --help for more information.\n";
    const std::size_t length = db::Len(db::RTrim(value));
    long before = Articles();
    auto r = Agganci("duplicate MODELLO01 " + Word(value));
    std::string refusal;
    if (HoldsControl(value)) refusal = "holds a control character";
    else if (db::Trim(value).empty()) refusal = std::string("NEWCODE: is empty") + kUsage;
    else if (length > 25)
        refusal = "NEWCODE: takes at most 25 characters (" + std::to_string(length) + " given)" + kUsage;
    if (!refusal.empty()) {
        EXPECT_EQ(r.code, 105);
        EXPECT_NE(r.out.find(refusal), std::string::npos) << r.out.substr(0, 400);
        EXPECT_FALSE(HoldsControl(r.out, false)) << r.out.substr(0, 400);
        EXPECT_EQ(Articles(), before);
    } else {
        EXPECT_EQ(r.code, 0) << r.out.substr(0, 400);
        EXPECT_EQ(hostile::ArticlesWithCode(*conn, value), 1);
        EXPECT_EQ(Articles(), before + 1);
    }

    before = Articles();
    r = Agganci("duplicate MODELLO01 NEW-DESC --description " + Word(value) + " --extended-description " + Word(value));
    if (HoldsControl(value) || length > 72) {
        EXPECT_EQ(r.code, 105);
        EXPECT_NE(r.out.find(HoldsControl(value) ? "holds a control character" : "takes at most"), std::string::npos)
            << r.out.substr(0, 400);
        EXPECT_EQ(Articles(), before);
    } else {
        EXPECT_EQ(r.code, 0) << r.out;
        EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG87_DESCART, MG87_DESCARTEST FROM MG87_ARTDESC WHERE "
                                           "MG87_CODART_MG66 = 'NEW-DESC' AND MG87_LINGUA_MG52 = ' ' AND "
                                           "MG87_OPZIONE_MG5E = ' '"),
                  std::vector<std::string>{value + "|" + value});
    }
}

// An article whose code is the value: the condition selects it and nothing else.
TEST_P(CliHostile, MassWhereValue) {
    if (!value.empty()) hostile::InsertArticle(*conn, value);
    const long before = Articles();
    const auto r = Agganci("mass --where " + Word("Articolo=" + value) +
                           " --mode prefix --text X --dry-run --proceed-without-variants");
    if (HoldsControl(value)) {
        EXPECT_EQ(r.code, 105);
        EXPECT_NE(r.out.find("holds a control character"), std::string::npos) << r.out.substr(0, 400);
    } else if (value.empty()) {
        EXPECT_EQ(r.code, 105);
        EXPECT_EQ(r.out, "--where Articolo=: no value; expected FIELD=VALUE, FIELD=FROM..TO or FIELD^=PREFIX\n"
                         "Run with --help for more information.\n");
    } else {
        EXPECT_EQ(r.code, 0) << r.out.substr(0, 400);
        // One line: the article and its new code.
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n') - std::count(value.begin(), value.end(), '\n') * 2, 1)
            << r.out.substr(0, 400);
        // The old code as read, blanks cut.
        EXPECT_NE(r.out.find("X" + db::RTrim(value)), std::string::npos) << r.out.substr(0, 400);
    }
    EXPECT_EQ(Articles(), before);
}

INSTANTIATE_TEST_SUITE_P(Values, CliHostile, ::testing::ValuesIn(hostile::Values()), hostile::ParamName);

}  // namespace
