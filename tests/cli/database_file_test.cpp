// Database files: a missing one is an error, not an empty database; a demo database appears whole or not at
// all; two first runs share one default database.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "RunAgganci.h"

namespace {

class DatabaseFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("agganci-dbfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    testsupport::ProgramResult Agganci(const std::string& args) { return testsupport::RunAgganci(args, dir.string()); }
    // A sh script run in the test's folder, $AGGANCI naming the program; its exit status.
    int Shell(const std::string& script) {
        const std::string cmd = "cd '" + dir.string() + "' && AGGANCI='" AGGANCI_BIN "' && " + script;
        return WEXITSTATUS(std::system(cmd.c_str()));
    }
    std::string Read(const std::string& name) {
        std::stringstream s;
        s << std::ifstream(dir / name).rdbuf();
        return s.str();
    }

    std::filesystem::path dir;
};

TEST_F(DatabaseFile, AMissingFileIsAnErrorThatSaysHowToCreateOne) {
    auto r = Agganci("--db sqlite:typo.db variants MODELLO01");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("no database at typo.db (create one with: agganci demo-db typo.db)"), std::string::npos)
        << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "typo.db"));
}

TEST_F(DatabaseFile, ADemoDbKilledHalfWayLeavesNoDatabase) {
    // Killed while it still runs (kill succeeds), the path must not exist.
    EXPECT_EQ(Shell("{ $AGGANCI demo-db company.db --articles 100000 >/dev/null 2>&1 & pid=$!; }; sleep 0.5; "
                    "kill -9 $pid && { wait $pid 2>/dev/null; test ! -e company.db; }"),
              0);
    auto again = Agganci("demo-db company.db");
    EXPECT_EQ(again.code, 0) << again.out;
}

TEST_F(DatabaseFile, TwoFirstRunsBothUseOneDefaultDatabase) {
    const int status = Shell("{ $AGGANCI variants MODELLO01 >a.out 2>&1 & a=$!; }; "
                             "{ $AGGANCI variants MODELLO01 >b.out 2>&1 & b=$!; }; wait $a && wait $b");
    EXPECT_EQ(status, 0) << Read("a.out") << "\n---\n" << Read("b.out");
}

}  // namespace
