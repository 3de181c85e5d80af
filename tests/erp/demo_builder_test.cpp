// The demo builder's behaviour, not its data: the company asked for, every row in it, the generated
// articles counted, the tables added since an earlier version, and a failure or a refused count leaving
// nothing behind.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Queries.h"

namespace {

class DemoBuilderTest : public ::testing::Test {
protected:
    DemoBuilderTest() : c(db::Connection::Create()) { c->Open("sqlite::memory:"); }
    std::string Build(long extraArticles = 0, long company = 1) {
        erp::DemoOptions options;
        options.company = company;
        options.extraArticles = extraArticles;
        return erp::BuildDemoDatabase(*c, options);
    }
    long Count(const std::string& sql) { return testsupport::Count(*c, sql); }
    db::ConnectionPtr c;
};

TEST_F(DemoBuilderTest, EveryRowBelongsToTheChosenCompanyAndAnEarlierCompanyGetsTheNewTables) {
    EXPECT_EQ(Build(3, 7), "29 articles (3 generated), 6 fabrics, 3 link headers with 7 rows, company 7");
    for (const auto& table : erp::TableNames())
        EXPECT_EQ(Count("SELECT COUNT(*) FROM " + table + " WHERE " + table.substr(0, 4) + "_DITTA_CG18 <> 7"), 0)
            << table;
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART LIKE 'BENCH-%'"), 3);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM AG00_IMPOSTAZIONI WHERE AG00_DITTA_CG18 = 7"), 8);

    // A company file of an earlier version: the tables added since are created, its rows stay.
    for (const std::string table : {"AG02_ARTGENERATI", "AG03_RAGGRCREATI"}) c->Execute("DROP TABLE " + table);
    erp::CreateMissingTables(*c);
    erp::CreateMissingTables(*c);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM AG02_ARTGENERATI") + Count("SELECT COUNT(*) FROM AG03_RAGGRCREATI"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART"), 29);
}

TEST_F(DemoBuilderTest, AFailureOrARefusedCountLeavesAnEmptyDatabase) {
    EXPECT_THROW(Build(-1), std::invalid_argument);
    EXPECT_THROW(Build(1000000), std::invalid_argument);
    c->Faults().FailMatching("INSERT INTO FA64_AGGANCIDET");
    EXPECT_THROW(Build(), db::Error);
    EXPECT_EQ(c->TransactionLevel(), 0);
    // Not even the tables are left, so the demo builds again from scratch.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name LIKE 'MG66%'"), 0);
    c->Faults().Clear();
    EXPECT_EQ(Build(), "26 articles, 6 fabrics, 3 link headers with 7 rows, company 1");
    EXPECT_THROW(erp::CreateSchema(*c), db::Error) << "the tables exist already";
}

}  // namespace
