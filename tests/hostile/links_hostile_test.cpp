// The links tab fed hostile prefixes: the generation run composes prefix + model + fabric, cuts a code
// longer than 25 characters when the user agrees, creates the article with exactly that code and records
// it on the link row; no statement changes shape.
#include <gtest/gtest.h>

#include "HostileCompany.h"
#include "TestRunPort.h"
#include "generation/GenerationRun.h"
#include "links_form/LinksFormFixture.h"

namespace {

constexpr long kSi = 6;
const std::string kFabric = "TS-LINO-BLU";

class LinksHostile : public hostile::HostileCompany {
protected:
    // The run over MODELLO01's row of TS-LINO-BLU with `prefix`, regenerating (so a second run on the same
    // row creates again), the user going on without variants and agreeing to cut.
    void Generate(const std::string& prefix) {
        testsupport::TestRunPort form(conn, program, shell->Messages());
        form.LoadModel(testsupport::kModello, kFabric);
        form.prefisso = prefix;
        form.rigenera = 1;
        shell->Messages()->MessageAnswers().Clear();
        shell->Messages()->MessageAnswers().Always(kSi);
        form.RunGeneration();
    }
    std::string RowCode() {
        return Scalar("SELECT FA64_ARTAGGANCIO_MG66 FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = " +
                      db::SqlText(kFabric) + " AND FA64_GUID_FA63 = (SELECT FA63_GUID FROM FA63_AGGANCI WHERE "
                      "FA63_CODART_MG66 = 'MODELLO01')").Text();
    }
};

TEST_P(LinksHostile, PrefixOfTheGeneratedCodes) {
    const std::string& prefix = GetParam().text;
    const auto plainRows = PlainRun([&] { Generate("PL"); });
    ASSERT_EQ(RowCode(), "PLMODELLO01TS-LINO-BLU");
    ASSERT_FALSE(plainRows.empty());

    const std::string expected = db::Left(db::Trim(prefix) + testsupport::kModello + kFabric, 25);
    EXPECT_EQ(HostileRun(prefix, [&] { Generate(prefix); }), plainRows);
    EXPECT_EQ(RowCode(), expected);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = " + db::SqlText(expected)), 1);
    EXPECT_TRUE(testsupport::OrphanRows(*conn).empty());
}

INSTANTIATE_TEST_SUITE_P(Values, LinksHostile, ::testing::ValuesIn(hostile::Values()), hostile::ParamName);

// The prefix typed into the links form for a model without links, and the header saved: the box shows
// it in upper case, trailing blanks and quotes removed, and the header stores exactly what the box shows.
// A prefix longer than the column's 25 characters is refused while typing, with the data layer's
// message, and no header is written. One form session per value (the fixture names its database after
// the test, so no parameters here).
using LinksFormPrefix = testsupport::LinksFormTest;

TEST_F(LinksFormPrefix, HostileValuesTypedAndSaved) {
    const long headers = Conta("SELECT FA63_GUID FROM FA63_AGGANCI");
    auto values = hostile::Values();
    values.push_back({"wide_25", hostile::Wide(25)});
    values.push_back({"cjk_31", "X" + hostile::Wide(30, "商")});
    for (const auto& [name, typed] : values) {
        SCOPED_TRACE(name);
        const std::string shown = db::UCase(typed);
        std::string expected = db::RTrim(shown);
        expected.erase(std::remove(expected.begin(), expected.end(), '\''), expected.end());
        auto program = Apri();
        Utente(host::UserScript().Type("TXT_MODORIGINE", "MODELLO03"));
        hostile::StatementTrace trace(*shell->Connection());
        shell->ClearFailures();
        const bool ok = shell->Act(entry::kLinksFormName, host::UserScript().Type("TXT_PREFISSO", typed).Press(
                                                              "INTERNAV_AGGANCI", entry::pulsanti::Salva));
        trace.Pause();
        if (db::Len(shown) > 25) {
            ASSERT_FALSE(ok);
            ASSERT_FALSE(shell->Failures().empty());
            const std::string message =
                "The value for field 'FA63_PREFISSO' is longer than its size of 25 characters: '" +
                (db::Len(shown) > 60 ? db::Left(shown, 60) + "..." : shown) + "'";
            EXPECT_TRUE(shell->Failures().back().ends_with(message)) << shell->Failures().back();
        } else {
            EXPECT_TRUE(ok) << (shell->Failures().empty() ? "" : shell->Failures().back());
            EXPECT_EQ(Ui().TXT_PREFISSO->Text(), expected);
            EXPECT_EQ(Valore("SELECT FA63_PREFISSO FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO03'").Text(),
                      expected);
        }
        EXPECT_EQ(Conta("SELECT FA63_GUID FROM FA63_AGGANCI"), headers + (db::Len(shown) > 25 ? 0 : 1));
        EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
        EXPECT_EQ(trace.OutsideLiterals(expected), std::vector<std::string>{});
        shell->Messages()->ClearRecords();
        shell->Chiudi(program);
        Esegui("DELETE FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = 'MODELLO03'");
    }
}

}  // namespace
