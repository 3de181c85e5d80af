// One article duplicated completely on the demo company through the shared step sequence: every table
// holds what it should, and a failure at any statement leaves the database as it was.
#include <gtest/gtest.h>

#include "DatabaseSnapshot.h"
#include "ProgramDouble.h"
#include "ArticleCopy.h"
#include "db/FaultInjector.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "host/HostFactory.h"

namespace {

class CompleteDuplication : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host::InstallShellHost();
        erp::RegisterProcedures();
    }
    void SetUp() override {
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        erp::BuildDemoDatabase(*conn, erp::DemoOptions{});
        program = testsupport::ProgramOnDatabase(conn);
    }

    // MODELLO01 -> target in a transaction; committed on success, the failing step's error in `error`.
    bool Duplicate(const std::string& target, bool linksTab, std::string* error = nullptr) {
        testsupport::ArticleCopy copy;
        copy.model = "MODELLO01";
        copy.target = target;
        copy.linksTab = linksTab;
        const std::string failure = testsupport::CopyArticle(conn, program, copy);
        if (error) *error = failure;
        return failure.empty();
    }

    long Count(const std::string& sql) {
        auto rs = conn->Execute(sql);
        rs->MoveFirst();
        return rs->GetFields().Item(0).Value().CLng();
    }
    long Rows(const std::string& table, const std::string& prefix, const std::string& code, const std::string& extra = {}) {
        return Count("SELECT COUNT(*) FROM " + table + " WHERE " + prefix + "_DITTA_CG18 = 1 AND " + prefix +
                     "_CODART_MG66 = '" + code + "'" + extra);
    }

    db::ConnectionPtr conn;
    std::shared_ptr<testsupport::ProgramDouble> program;
};

TEST_F(CompleteDuplication, EveryTableHoldsTheRowsOfTheCopy) {
    std::string error;
    ASSERT_TRUE(Duplicate("AGMODELLO01TS-LINO-BLU", true, &error)) << error;
    const std::string n = "AGMODELLO01TS-LINO-BLU";
    // Copied as they are, option rows included where the table keeps them.
    for (const auto& [table, prefix] : std::vector<std::pair<std::string, std::string>>{
             {"MG69_UBICAZART", "MG69"}, {"MG4G_ANAGRLOTTI", "MG4G"}, {"MG4N_ARTTRALIM", "MG4N"},
             {"SC06_ARTSCORTE", "SC06"}, {"MG68_CONFART", "MG68"}, {"LI10_LISTARTIC", "LI10"},
             {"FA10_ARTLAVAGGI", "FA10"}, {"FA12_ARTICOLI", "FA12"}, {"FA37_ASSARTITIPOCOMP", "FA37"},
             {"PD18_ARTPROD", "PD18"}, {"PD27_ANAFORMULE", "PD27"}, {"MG73_ARTCLIFOR", "MG73"}})
        EXPECT_EQ(Rows(table, prefix, n), Rows(table, prefix, "MODELLO01")) << table;
    // Descriptions of the base article (the option rows stay with the model), locations without stock.
    EXPECT_EQ(Rows("MG87_ARTDESC", "MG87", n), Rows("MG87_ARTDESC", "MG87", "MODELLO01", " AND MG87_OPZIONE_MG5E = ' '"));
    EXPECT_EQ(Rows("MG69_UBICAZART", "MG69", n, " AND MG69_QTA1UBICEFF <> 0"), 0);
    // Only the automatically numbered base barcodes, each new.
    EXPECT_EQ(Rows("MG65_BARCODE", "MG65", n), 2);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG65_BARCODE A INNER JOIN MG65_BARCODE B ON A.MG65_CODBARCODE = "
                    "B.MG65_CODBARCODE AND A.MG65_CODART_MG66 <> B.MG65_CODART_MG66"),
              0);
    // Variants: the model's without the colour, plus the colour from the fabric.
    EXPECT_EQ(Rows("MG6B_GESVARART", "MG6B", n), 3);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = '" + n + "' AND MG66_FLGVARART = 1"), 1);
    // The cycle of the new article: first version of the model's, with its phases.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD52_ANAGCICLI WHERE PD52_CODICE = '" + n + "' AND PD52_VERSIONE = 2"), 1);
    EXPECT_GT(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 = '" + n + "'"), 0);
    // Attributes on the new standard description's identifier, bill of materials with its lines.
    EXPECT_GT(Count("SELECT COUNT(*) FROM FA13_ATTRIBUTI INNER JOIN MG87_ARTDESC ON FA13_GUID = MG87_GUID WHERE "
                    "MG87_CODART_MG66 = '" + n + "'"),
              0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA INNER JOIN PD95_DISBA ON PD96_IDDISBA_PD95 = PD95_IDDISBA "
                    "WHERE PD95_CODART_MG66 = '" + n + "'"),
              Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA INNER JOIN PD95_DISBA ON PD96_IDDISBA_PD95 = PD95_IDDISBA "
                    "WHERE PD95_CODART_MG66 = 'MODELLO01'"));
}

TEST_F(CompleteDuplication, AFabricWithoutAUsableColourFailsAndWritesNothing) {
    const std::string before = testsupport::DatabaseSnapshot(*conn);
    testsupport::ArticleCopy copy;
    copy.model = "MODELLO01";
    copy.target = "AGMODELLO01TS-SETA";
    copy.fabric = "TS-SETA-ROSSA";  // its colour variant is inactive
    const std::string reason = testsupport::CopyArticle(conn, program, copy);
    EXPECT_EQ(reason.rfind("Errore in duplicazione della variante colore ereditata dal tessuto.", 0), 0u) << reason;
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), before);
}

}  // namespace
