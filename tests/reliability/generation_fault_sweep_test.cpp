// The sweeps (FaultSweep.h) over a whole generation run of MODELLO01: three link rows, of which only
// TS-LINO-BLU makes an article (the other two fabrics have no usable colour variant).
#include <gtest/gtest.h>

#include "FaultSweep.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/GenerationRun.h"

namespace {

using namespace reliability;

class GenerationSweep : public FaultSweep {
protected:
    void Prepare() override { form->LoadModel(testsupport::kModello); }
    void Click() override {
        shell->Messages()->MessageAnswers().Push(entry::kAnswerYes);  // no variant selection: go on
        form->RunGeneration();
    }
    std::string RunProcedure() const override { return "CMD_DUPLICA_ButtonClick"; }
    std::vector<SweepTarget> Targets() override {
        std::vector<SweepTarget> targets;
        auto rows = form->dettaglio->Clone();
        for (rows->MoveFirst(); !rows->EOF(); rows->MoveNext()) {
            const std::string fabric = db::Trim((*rows)["FA64_CODTESS_FA12"].Value().Text());
            targets.push_back({form->prefisso + testsupport::kModello + fabric,
                               "Inizio elaborazione per tessuto:  " + fabric,
                               "Fine elaborazione per tessuto:  " + fabric});
        }
        return targets;
    }
};

TEST_F(GenerationSweep, AFailureAtAnyStatementLeavesEachArticleCompleteOrAbsentAndTheRunGoesOn) {
    FailureSweep("generation failure sweep", 10);
}

TEST_F(GenerationSweep, ACrashAtAnyStatementLeavesEachArticleCompleteOrAbsentAndTheRunAgainMakesTheRest) {
    CrashSweep("generation crash sweep", 30);
}

// A recording that fails takes the row's article with it (one transaction); Retry makes both again, so the
// article is never left without its code on the link row.
TEST_F(GenerationSweep, RetryAfterTheCodeFailedToReachTheLinkRowRecordsIt) {
    FailureAt("UPDATE FA64_AGGANCIDET SET FA64_ARTAGGANCIO_MG66");
}

// The copy is committed before its completion; a program that dies in between must not leave the article
// copied but not completed, which the next run would take for made.
TEST_F(GenerationSweep, ACrashBetweenTheCopyAndItsCompletionLeavesNoArticle) {
    CrashAt("SET FA12_MODAGG_COD_MG66");
}

}  // namespace
