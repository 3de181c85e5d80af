// Two companies in one database file: runs started with --company touch their own company's rows only.
// Company 2 is company 1's demo rows copied with the company changed (identifiers made unique, links between
// rows kept), so that both hold the same codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DemoCompanyFolder.h"
#include "Queries.h"
#include "erp/Schema.h"

namespace {

// Identity columns and the columns that point to them: moved out of company 1's range in the copy.
const std::vector<std::string> kIdentities{"MG5T_IDSTAGIONE", "FA25_IDSTAGIONE_MG5T", "FA64_STAGIONE_MG5T",
                                           "PD95_IDDISBA",    "PD96_IDDISBA_PD95",    "CG9L_IDELAB",
                                           "CG9M_IDELAB_CG9L"};

// Every table names its company in its <prefix>_DITTA_CG18 column (erp/demo_builder_test.cpp).
std::string CompanyColumn(const std::string& table) { return table.substr(0, 4) + "_DITTA_CG18"; }

class CompanyIsolation : public testsupport::DemoCompanyFolder {
protected:
    // Company 1's rows of every table copied as company 2's.
    void CopyCompanyOneAsTwo() {
        auto c = Open();
        for (const auto& table : erp::TableNames()) {
            std::string list, values;
            for (const auto& col : testsupport::Rows(*c, "SELECT name FROM pragma_table_info('" + table + "')")) {
                list += (list.empty() ? "" : ", ") + col;
                std::string v = col;
                if (col == CompanyColumn(table)) v = "2";
                else if (col.find("GUID") != std::string::npos)
                    v = "CASE WHEN " + col + " IS NULL OR " + col + " = '' THEN " + col + " ELSE 'Z' || substr(" + col +
                        ", 2) END";
                else if (std::find(kIdentities.begin(), kIdentities.end(), col) != kIdentities.end())
                    v = col + " + 100000";
                values += (values.empty() ? "" : ", ") + v;
            }
            testsupport::Exec(*c, "INSERT INTO " + table + " (" + list + ") SELECT " + values + " FROM " + table +
                                      " WHERE " + CompanyColumn(table) + " = 1");
        }
    }
    // Every row of company `n`, table by table, in a fixed order.
    std::vector<std::string> Dump(long n) {
        auto c = Open();
        std::vector<std::string> all;
        for (const auto& table : erp::TableNames()) {
            auto rows = testsupport::Rows(*c, "SELECT * FROM " + table + " WHERE " + CompanyColumn(table) + " = " +
                                                  std::to_string(n));
            std::sort(rows.begin(), rows.end());
            all.push_back("#" + table + " " + std::to_string(rows.size()));
            for (auto& r : rows) all.push_back(table + ": " + r);
        }
        return all;
    }
    long Created(long company, const std::string& like) {
        return Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_DITTA_CG18 = " + std::to_string(company) +
                     " AND MG66_CODART LIKE '" + like + "'");
    }
};

TEST_F(CompanyIsolation, RunsInOneCompanyLeaveTheOtherCompanysRowsAsTheyWere) {
    CopyCompanyOneAsTwo();
    const auto two = Dump(2);
    ASSERT_GT(two.size(), 200u);

    const auto generate = Agganci("--db sqlite:company.db --company 1 generate MODELLO04 --proceed-without-variants");
    EXPECT_EQ(generate.code, 0) << generate.out;
    const auto mass = Agganci("--db sqlite:company.db --company 1 mass --where Articolo=CAM-100..CAM-101 --mode prefix "
                              "--text X --proceed-without-variants");
    EXPECT_EQ(mass.code, 0) << mass.out;
    EXPECT_EQ(Created(1, "DNMODELLO04%"), 3);
    EXPECT_EQ(Created(1, "XCAM-10%"), 2);
    EXPECT_EQ(Dump(2), two);

    // The other way round: company 2's run makes company 2's articles and leaves company 1 alone.
    const auto one = Dump(1);
    const auto second = Agganci("--db sqlite:company.db --company 2 generate MODELLO04 --proceed-without-variants");
    EXPECT_EQ(second.code, 0) << second.out;
    EXPECT_EQ(Created(2, "DNMODELLO04%"), 3);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM FA64_AGGANCIDET WHERE FA64_DITTA_CG18 = 2 AND FA64_ARTAGGANCIO_MG66 LIKE "
                    "'DNMODELLO04%'"),
              3);
    EXPECT_EQ(Dump(1), one);
}

}  // namespace
