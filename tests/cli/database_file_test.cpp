// Database files: a missing one is an error, not an empty database; a demo database appears whole or not at
// all and is never overwritten; two first runs share one default database.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "DemoCompanyFolder.h"

namespace {

// The test's own folder; its demo company.db is not used here.
class DatabaseFile : public testsupport::DemoCompanyFolder {
protected:
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
    EXPECT_EQ(Shell("{ $AGGANCI demo-db killed.db --articles 100000 >/dev/null 2>&1 & pid=$!; }; sleep 0.5; "
                    "kill -9 $pid && { wait $pid 2>/dev/null; test ! -e killed.db; }"),
              0);
    auto again = Agganci("demo-db killed.db");
    EXPECT_EQ(again.code, 0) << again.out;
    // A database that is there is never overwritten.
    auto over = Agganci("demo-db killed.db");
    EXPECT_NE(over.code, 0);
    EXPECT_NE(over.out.find("already exists"), std::string::npos) << over.out;
}

TEST_F(DatabaseFile, TwoFirstRunsBothUseOneDefaultDatabase) {
    const int status = Shell("{ $AGGANCI variants MODELLO01 >a.out 2>&1 & a=$!; }; "
                             "{ $AGGANCI variants MODELLO01 >b.out 2>&1 & b=$!; }; wait $a && wait $b");
    EXPECT_EQ(status, 0) << Read("a.out") << "\n---\n" << Read("b.out");
}

}  // namespace
