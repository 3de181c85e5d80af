// The sweeps (FaultSweep.h) over a whole mass run: the shirt family CAM-100..CAM-105 selected in the
// advanced query, every article ticked, new codes made with the prefix X. The range starts at one
// generated article, BENCH-000001, whose production data, cycle and bill of materials the shirts lack.
#include <gtest/gtest.h>

#include "FaultSweep.h"
#include "entry/MDLFA_AGGANCI.h"
#include "host/controls/AdvancedQuery.h"
#include "host/controls/BasicControls.h"
#include "mass_duplication/DuplicazioneMassiva.h"
#include "mass_duplication/InitAdvQuery.h"
#include "mass_duplication/SelezioneArticoli.h"

namespace {

using namespace reliability;

const std::string kPrefisso = "X";
const std::vector<std::string> kSorgenti{"BENCH-000001", "CAM-100", "CAM-101", "CAM-102",
                                         "CAM-103",      "CAM-104", "CAM-105"};

class MassSweep : public FaultSweep {
protected:
    void Prepare() override {
        form->tab = entry::Util_Duplmassiva;
        host::controls::AdvancedQuery query("ADVQ_ARTICOLI");
        mass_duplication::ImpostazioniQuery imp;
        imp.ditta = "1";
        ASSERT_TRUE(mass_duplication::InitAdvQuery(query, imp, contesto));
        query.AggiungiCondizione({"Articolo", entry::QueryOperator::Intervallo, {"BENCH-000001", "CAM-105"}});
        ASSERT_TRUE(mass_duplication::RecuperaArticoli(contesto, 1, query.Condizione(), form->selezioneMassiva));
        ASSERT_EQ(form->selezioneMassiva->RecordCount(), static_cast<long>(kSorgenti.size()));
    }
    void Click() override {
        shell->Messages()->MessageAnswers().Push(entry::kAnswerYes);  // no variant selection: go on
        form->RunMass(kPrefisso);
    }
    std::string RunProcedure() const override { return "CMD_DUPLMASS_Click"; }
    erp::DemoOptions Company() const override {
        erp::DemoOptions options;
        options.extraArticles = 1;  // BENCH-000001
        return options;
    }
    std::vector<SweepTarget> Targets() override {
        std::vector<SweepTarget> targets;
        for (const auto& code : kSorgenti) {
            targets.push_back({kPrefisso + code, "Inizio duplicazione per l'articolo:  " + code,
                               "Fine duplicazione per l'articolo:  " + code});
        }
        return targets;
    }
};

TEST_F(MassSweep, AFailureAtAnyStatementLeavesEachArticleCompleteOrAbsentAndTheRunGoesOn) {
    FailureSweep("mass failure sweep", 15);
}

TEST_F(MassSweep, ACrashAtAnyStatementLeavesEachArticleCompleteOrAbsentAndTheRunAgainMakesTheRest) {
    CrashSweep("mass crash sweep", 45);
}

// The copy is committed before its completion; a program that dies in between must not leave the article
// copied but not completed, which the next run would skip as existing.
TEST_F(MassSweep, ACrashBetweenTheCopyAndItsCompletionLeavesNoArticle) {
    CrashAt("SET FA12_MODAGG_COD_MG66");
}

}  // namespace
