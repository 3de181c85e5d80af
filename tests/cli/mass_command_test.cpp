// agganci mass, run as a program on a demo database: the dry run that writes nothing, and a run that
// creates the ticked articles only.
#include <gtest/gtest.h>

#include "RunAgganci.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "erp/Procedures.h"

namespace {

using Result = testsupport::ProgramResult;

class MassCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("agganci-mass-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        ASSERT_EQ(Agganci("demo-db company.db").code, 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    Result Agganci(const std::string& args) { return testsupport::RunAgganci(args, dir.string()); }
    Result Mass(const std::string& args) { return Agganci("--db sqlite:company.db mass " + args); }
    long Count(const std::string& sql) {
        erp::RegisterProcedures();
        auto c = db::Connection::Create();
        c->Open("sqlite:" + (dir / "company.db").string());
        auto rs = c->Execute(sql);
        rs->MoveFirst();
        return rs->GetFields().Item(0L).Value().CLng();
    }
    long Articles() { return Count("SELECT COUNT(*) FROM MG66_ANAGRART"); }

    std::filesystem::path dir;
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(MassCommand, TheDryRunListsTheCodesAndWritesNothing) {
    const long before = Articles();
    const auto r = Mass("--where Articolo=CAM-100..CAM-102 --untick CAM-101 --mode prefix --text X --dry-run");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "XCAM-100")) << r.out;
    EXPECT_FALSE(Has(r.out, "XCAM-101")) << r.out;
    EXPECT_TRUE(Has(r.out, "XCAM-102")) << r.out;
    EXPECT_EQ(Articles(), before);
}

TEST_F(MassCommand, TheRunCreatesTheTickedArticles) {
    const auto r = Mass("--where Articolo=CAM-100..CAM-101 --untick CAM-101 --mode prefix --text X "
                        "--proceed-without-variants");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "Inizio duplicazione per l'articolo:  CAM-100")) << r.out;
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'XCAM-100'"), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = 'XCAM-101'"), 0);
}

TEST_F(MassCommand, ASelectionValueWithAQuoteSelectsNothing) {
    const auto r = Mass("--where \"Articolo=x' OR '1'='1\" --mode prefix --text X --dry-run");
    EXPECT_NE(r.code, 0);
    EXPECT_TRUE(Has(r.out, "no article selected")) << r.out;
}

// agganci variants: the list the variant form shows for a model.
TEST_F(MassCommand, VariantsPrintsTheListOfTheVariantForm) {
    const auto r = Agganci("--db sqlite:company.db variants MODELLO01");
    EXPECT_EQ(r.code, 0) << r.out;
    EXPECT_TRUE(Has(r.out, "COL")) << r.out;
    EXPECT_TRUE(Has(r.out, "TAG")) << r.out;
}

}  // namespace
