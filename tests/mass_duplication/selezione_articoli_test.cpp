// The article selection of the mass tab: the statement, what it selects, that no typed value can widen
// it, and that the variant list leaves the selection and its ticks alone.
#include <gtest/gtest.h>

#include <memory>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/tsql_statement_shapes.h"
#include "entry/ControlsAdvancedQuery.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "host/HostFactory.h"
#include "host/controls/AdvancedQuery.h"
#include "mass_duplication/InitAdvQuery.h"
#include "mass_duplication/ModiCodice.h"
#include "mass_duplication/SelezioneArticoli.h"
#include "variants_form/ListaVarianti.h"

namespace {

using entry::QueryOperator;

constexpr long kAbbandona = 3;  // "Abort" in the error report

class SelezioneArticoli : public ::testing::Test {
protected:
    void SetUp() override {
        shell = host::InstallShellHost();
        erp::RegisterProcedures();
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        erp::BuildDemoDatabase(*conn, erp::DemoOptions{});
        contesto = {conn, db::Variant(1), nullptr, shell->Messages()};
        mass_duplication::ImpostazioniQuery imp;
        imp.ditta = "1";
        imp.fashionAttivo = true;
        ASSERT_TRUE(mass_duplication::InitAdvQuery(query, imp, contesto));
    }

    bool Recupera() { return mass_duplication::RecuperaArticoli(contesto, 1, query.Condizione(), selezione); }
    std::vector<std::string> Codici(const db::RecordsetPtr& rs) {
        std::vector<std::string> codes;
        if (rs->RecordCount() == 0) return codes;
        for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) codes.push_back((*rs)["MG66_CODART"].Value().Text());
        return codes;
    }

    std::shared_ptr<host::ShellHost> shell;
    db::ConnectionPtr conn;
    generation::GenerationContext contesto;
    host::controls::AdvancedQuery query{"ADVQ_ARTICOLI"};
    db::RecordsetPtr selezione;
};

TEST_F(SelezioneArticoli, TheStatementIsTheOneTheDialectKnows) {
    EXPECT_EQ(mass_duplication::StatementSelezione("1", 1, ""), tsql_shapes::MassSelection(""));
    const std::string c = " AND MG66_ANAGRART.MG66_FAM_MG53 = 'F1' ";
    EXPECT_EQ(mass_duplication::StatementSelezione("1", 1, c), tsql_shapes::MassSelection(c));
}

TEST_F(SelezioneArticoli, TheQueryOffersTheNineFieldsAndTheFashionTables) {
    EXPECT_EQ(query.CampiDefiniti(), 9);
    EXPECT_EQ(query.TabelleOfferte(), (std::vector<std::string>{"FA12_ARTICOLI", "FA13_ATTRIBUTI"}));
    // A second set-up starts again from nothing.
    mass_duplication::ImpostazioniQuery senzaModa;
    ASSERT_TRUE(mass_duplication::InitAdvQuery(query, senzaModa, contesto));
    EXPECT_EQ(query.CampiDefiniti(), 9);
}

TEST_F(SelezioneArticoli, TheFamilyIsSelectedTickedWithItsFashionData) {
    query.AggiungiCondizione({"Articolo", QueryOperator::Intervallo, {"CAM-100", "CAM-105"}});
    ASSERT_TRUE(Recupera());
    EXPECT_EQ(Codici(selezione),
              (std::vector<std::string>{"CAM-100", "CAM-101", "CAM-102", "CAM-103", "CAM-104", "CAM-105"}));
    for (selezione->MoveFirst(); !selezione->EOF(); selezione->MoveNext())
        EXPECT_EQ((*selezione)["SEL"].Value().CLng(), 1);
    selezione->MoveFirst();
    EXPECT_EQ((*selezione)["FA12_STAGIONE_MG5T"].Value().Text(), "PE2025");
    EXPECT_EQ((*selezione)["MG87_DESCART"].Value().Text(), "Camicia Oxford azzurra");
}

TEST_F(SelezioneArticoli, AQuoteInAValueSelectsNothing) {
    query.AggiungiCondizione({"Articolo", QueryOperator::Uguale, {"x' OR '1'='1"}});
    ASSERT_TRUE(Recupera());
    EXPECT_EQ(selezione->RecordCount(), 0);
}

TEST_F(SelezioneArticoli, AFailedSelectionKeepsThePreviousOne) {
    query.AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {"CAM-"}});
    ASSERT_TRUE(Recupera());
    auto previous = selezione;
    shell->Messages()->ErrorBoxAnswers().Always(kAbbandona);
    EXPECT_FALSE(mass_duplication::RecuperaArticoli(contesto, 1, " AND NO_SUCH_COLUMN = 1", selezione));
    EXPECT_EQ(selezione, previous);
    ASSERT_FALSE(shell->Messages()->ErrorBoxes().empty());
    EXPECT_EQ(shell->Messages()->ErrorBoxes().back().procedure, "RecuperaArticoli");
}

TEST_F(SelezioneArticoli, TheVariantListLeavesTheTicksAlone) {
    query.AggiungiCondizione({"Articolo", QueryOperator::IniziaCon, {"CAM-"}});
    ASSERT_TRUE(Recupera());
    selezione->MoveFirst();
    selezione->MoveNext();
    (*selezione)["SEL"].Value(db::Variant(0));
    selezione->Update();

    // What the variant form does while the articles are on screen.
    conn->Execute(variants_form::EliminaLista(), nullptr, db::adExecuteNoRecords);
    conn->Execute(variants_form::CreaLista(variants_form::TipoLista::ArticoliMultipli, 1, "", "COL"));

    auto rs = conn->Execute("SELECT MG66_CODART FROM ##TABTEMP WHERE SEL = 1 ORDER BY MG66_CODART");
    EXPECT_EQ(Codici(rs), (std::vector<std::string>{"CAM-100", "CAM-102", "CAM-103", "CAM-104", "CAM-105"}));
    selezione->Filter(db::Variant("SEL = 1"));
    EXPECT_EQ(selezione->RecordCount(), 5);
}

TEST_F(SelezioneArticoli, StructuredCodesComeFromTheSegmentTable) {
    EXPECT_FALSE(mass_duplication::CodiceStrutturato(contesto));
    conn->Execute("INSERT INTO MG6F_DIMEART (MG6F_DITTA_CG18, MG6F_PROG, MG6F_SIZE) VALUES (1, 1, 10)");
    EXPECT_TRUE(mass_duplication::CodiceStrutturato(contesto));
}

}  // namespace
