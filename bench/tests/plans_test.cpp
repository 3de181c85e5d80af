// The statement-plan check of the benchmark: it must find a read without an index, and only that.
#include <gtest/gtest.h>

#include <functional>

#include "bench/StatementPlans.h"
#include "db/Driver.h"

namespace {

TEST(StatementShapes, ValuesAreReplacedAndBlanksCollapsed) {
    EXPECT_EQ(bench::StatementShape("SELECT *  FROM T1 WHERE A = 'x''y' AND B=12 AND C = 1.5"),
              "SELECT * FROM T1 WHERE A = ? AND B=? AND C = ?");
}

class PlanCheck : public ::testing::Test {
protected:
    void SetUp() override {
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE K (ID INTEGER PRIMARY KEY, CODE TEXT, NOTE TEXT);"
            "CREATE INDEX IX_K_CODE ON K (CODE);"
            "INSERT INTO K VALUES (1, 'a', 'x'), (2, 'b', 'y');");
    }
    // The plan lines the check reports for the statements `run` sends.
    std::vector<std::string> Scans(const std::function<void()>& run) {
        bench::StatementRecorder recorder(*conn);
        run();
        recorder.Stop();
        std::vector<std::string> lines;
        for (const auto& s : bench::CheckPlans(*conn, recorder).scans) lines.push_back(s.planLine);
        return lines;
    }
    db::ConnectionPtr conn;
};

TEST_F(PlanCheck, AReadWithoutAnIndexIsReported) {
    EXPECT_EQ(Scans([&] { conn->Execute("SELECT * FROM K WHERE NOTE = 'x'"); }), std::vector<std::string>{"SCAN K"});
    EXPECT_EQ(Scans([&] { conn->Execute("UPDATE K SET CODE = 'c' WHERE NOTE = 'y'"); }),
              std::vector<std::string>{"SCAN K"});
}

TEST_F(PlanCheck, ReadsThroughAnIndexPass) {
    EXPECT_TRUE(Scans([&] {
                    conn->Execute("SELECT * FROM K WHERE CODE = 'a'");
                    conn->Execute("SELECT * FROM K WHERE ID = 2");
                    conn->Execute("SELECT * FROM K WHERE 0=1");  // reads nothing
                    conn->Execute("SELECT name FROM pragma_table_info('K')");
                    conn->BeginTrans();
                    conn->Execute("INSERT INTO K (ID, CODE) VALUES (3, 'c')");
                    conn->Execute("INSERT INTO K (ID, CODE) VALUES (4, 'd'), (5, 'e')");  // rows of its own
                    conn->CommitTrans();
                }).empty());
}

}  // namespace
