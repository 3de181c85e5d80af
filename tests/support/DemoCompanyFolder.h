#pragma once
// A folder of the test's own holding a demo company database, where the agganci program runs (the demo
// company keeps its logs in "logs/" beside it); removed at the end of the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "RunAgganci.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/Procedures.h"

namespace testsupport {

class DemoCompanyFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("agganci-" + std::string(info->test_suite_name()) + "-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        ASSERT_EQ(Agganci("demo-db company.db").code, 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    ProgramResult Agganci(const std::string& args) { return RunAgganci(args, dir.string()); }

    long Count(const std::string& sql) {
        erp::RegisterProcedures();
        auto rs = Open()->Execute(sql);
        rs->MoveFirst();
        return rs->GetFields().Item(0L).Value().CLng();
    }
    void Exec(const std::string& sql) { Open()->Execute(sql, nullptr, db::adExecuteNoRecords); }
    long Articles() { return Count("SELECT COUNT(*) FROM MG66_ANAGRART"); }

    std::filesystem::path dir;

private:
    db::ConnectionPtr Open() {
        auto c = db::Connection::Create();
        c->Open("sqlite:" + (dir / "company.db").string());
        return c;
    }
};

}  // namespace testsupport
