#pragma once
// A folder of the test's own holding a demo company database, where the agganci program runs (the demo
// company keeps its logs in "logs/<database file name>/" beside it); removed at the end of the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Queries.h"
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
    ProgramResult AgganciStdout(const std::string& args) { return RunAgganci(args, dir.string(), true); }
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

    long Count(const std::string& sql) { return testsupport::Count(*Open(), sql); }
    void Exec(const std::string& sql) { testsupport::Exec(*Open(), sql); }
    long Articles() { return Count("SELECT COUNT(*) FROM MG66_ANAGRART"); }
    // A connection of the test's own to the company file.
    db::ConnectionPtr Open() {
        erp::RegisterProcedures();
        auto c = db::Connection::Create();
        c->Open("sqlite:" + (dir / "company.db").string());
        return c;
    }

    std::filesystem::path dir;
};

}  // namespace testsupport
