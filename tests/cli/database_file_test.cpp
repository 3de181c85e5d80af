// Database files: a missing one is an error, not an empty database.
#include <gtest/gtest.h>

#include <filesystem>
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

    std::filesystem::path dir;
};

TEST_F(DatabaseFile, AMissingFileIsAnErrorThatSaysHowToCreateOne) {
    auto r = Agganci("--db sqlite:typo.db variants MODELLO01");
    EXPECT_EQ(r.code, 1) << r.out;
    EXPECT_NE(r.out.find("no database at typo.db (create one with: agganci demo-db typo.db)"), std::string::npos)
        << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "typo.db"));
}

}  // namespace
