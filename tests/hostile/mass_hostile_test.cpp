// The mass duplication tab fed hostile values: the advanced query's condition values (every operator),
// the code text in each mode (prefix, mask, complete code) and the new article's description. Each value
// is stored as given or cut as the rules say, or refused with the form's message and nothing written;
// the selection finds exactly the articles whose code is the value; no statement changes shape.
#include <gtest/gtest.h>

#include "HostileCompany.h"
#include "TestRunPort.h"
#include "host/controls/AdvancedQuery.h"
#include "mass_duplication/DuplicazioneMassiva.h"
#include "mass_duplication/InitAdvQuery.h"
#include "mass_duplication/SelezioneArticoli.h"

namespace {

using entry::QueryOperator;

constexpr long kSi = 6;
constexpr long kMaxCode = 25;  // the demo company has no structured code

// The mask rule, position by position in characters: a blank (or a missing position) keeps the code's.
std::string Masked(const std::string& code, const std::string& mask) {
    std::string out;
    for (std::size_t i = 1; i <= db::Len(code); ++i) {
        const std::string m = db::Mid(mask, i, 1);
        out += m.empty() || m == " " ? db::Mid(code, i, 1) : m;
    }
    return out;
}

class MassHostile : public hostile::HostileCompany {
protected:
    void SetUp() override {
        HostileCompany::SetUp();
        form = std::make_unique<testsupport::TestRunPort>(conn, program, shell->Messages());
        form->tab = entry::Util_Duplmassiva;
        mass_duplication::ImpostazioniQuery imp;
        imp.ditta = "1";
        imp.fashionAttivo = true;
        ASSERT_TRUE(mass_duplication::InitAdvQuery(query, imp, contesto));
    }

    // The articles selected; -1 when the selection failed, -2 when the query refused the condition.
    long Select(const entry::QueryCondition& condition) {
        query.Svuota();
        try {
            query.AggiungiCondizione(condition);
        } catch (const db::Error& e) {
            refusals.push_back(e.Description());
            return -2;
        }
        if (!mass_duplication::RecuperaArticoli(contesto, 1, query.Condizione(), form->selezioneMassiva)) return -1;
        return form->selezioneMassiva->RecordCount();
    }

    // The run over CAM-100 alone, the user agreeing to cut a long code.
    void Run(const std::string& mode, const std::string& text) {
        EXPECT_EQ(Select({"Articolo", QueryOperator::Uguale, {"CAM-100"}}), 1);
        shell->Messages()->MessageAnswers().Clear();  // yes: go on without variants, and cut a long code
        shell->Messages()->MessageAnswers().Always(kSi);
        form->RunMass(text, mode);
    }

    std::unique_ptr<testsupport::TestRunPort> form;
    host::controls::AdvancedQuery query{"ADVQ_ARTICOLI"};
    std::vector<std::string> refusals;
};

// Every operator of the query with the value, against a company holding one article whose code is the
// value: equal and range find that article alone, different all the others, starts-with those that
// begin with it, a list that article and CAM-100. Nothing is written to the company's tables.
TEST_P(MassHostile, AdvancedQueryConditionValues) {
    const std::string& v = GetParam().text;
    const long one = v.empty() ? 0 : 1;
    if (!v.empty()) hostile::InsertArticle(*conn, v);
    ASSERT_EQ(hostile::ArticlesWithCode(*conn, v), one);
    const long articles = Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_DITTA_CG18 = 1");
    const long startingWith = Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_DITTA_CG18 = 1 AND "
                                    "substr(MG66_CODART, 1, length(" + db::SqlText(v) + ")) = " + db::SqlText(v));
    const std::vector<std::pair<entry::QueryCondition, long>> cases{  // the condition, the articles it selects
        {{"Articolo", QueryOperator::Uguale, {v}}, one},
        {{"Articolo", QueryOperator::Diverso, {v}}, articles - one},
        {{"MG66_CODART", QueryOperator::Intervallo, {v, v}}, one},
        {{"Articolo", QueryOperator::IniziaCon, {v}}, v.empty() ? articles : startingWith},
        {{"Articolo", QueryOperator::InElenco, {v, "CAM-100"}}, one + 1},
    };
    // A NUL cannot be typed in a query field: the query refuses the condition, so no statement runs.
    const bool refused = v.find('\0') != std::string::npos;
    for (const auto& [condition, expected] : cases) {
        SCOPED_TRACE(static_cast<int>(condition.op));
        auto plain = condition;
        for (auto& value : plain.values) value = value == v ? "PLAIN" : value;
        EXPECT_EQ(PlainRun([&] { ASSERT_GE(Select(plain), 0); }), hostile::TableCounts{});
        long selected = 0;
        EXPECT_EQ(HostileRun(v, [&] { selected = Select(condition); }), hostile::TableCounts{});
        EXPECT_TRUE(unchanged);
        EXPECT_EQ(selected, refused ? -2 : expected);
    }
    EXPECT_EQ(refusals.size(), refused ? cases.size() : 0u);
    for (const auto& r : refusals) EXPECT_EQ(r.rfind("Valore non ammesso nella condizione sul campo ", 0), 0u) << r;
}

// The code text in the three modes, over CAM-100: a blank text is refused with the form's message; a
// code longer than 25 characters is cut to 25 (the user agreeing); the article is created with exactly
// that code and as many rows as a plain code gives. Then the value as the new article's description typed
// on the tab (TXT_DESCRD): kept with its trailing blanks removed; an empty one takes the description of
// the article copied.
TEST_P(MassHostile, CodeTextInEveryModeAndDescription) {
    const std::string& v = GetParam().text;
    form->descrizioneMassiva = "plain";
    const auto plainRows = PlainRun([&] { Run("0", "PLAIN"); });
    ASSERT_EQ(hostile::ArticlesWithCode(*conn, "PLAINCAM-100"), 1);

    const std::string old = "CAM-100";
    std::set<std::string> created{"PLAINCAM-100"};
    const std::vector<std::pair<std::string, std::string>> modes{
        {"0", db::Left(db::Trim(v) + old, kMaxCode)},
        {"1", Masked(old, db::RTrim(v))},
        {"2", db::Left(db::Trim(v), kMaxCode)},
    };
    for (const auto& [mode, expected] : modes) {
        SCOPED_TRACE("mode " + mode);
        shell->Messages()->ClearRecords();
        const auto written = HostileRun(v, [&] { Run(mode, v); });
        if (db::Trim(v).empty()) {
            ASSERT_EQ(shell->Messages()->Messages().size(), 2u);  // after the question about the variants
            EXPECT_EQ(shell->Messages()->Messages()[1].text, "Campo obbligatorio o dati inseriti non validi!");
            EXPECT_TRUE(unchanged);
        } else if (expected == old || created.count(expected)) {
            // The mask left the code as it was, or an earlier mode gave the same code: it exists.
            EXPECT_EQ(written, hostile::TableCounts{});
            EXPECT_GE(std::ranges::count(form->RunLines(), mass_duplication::LogGiaEsistente(expected)), 1);
        } else {
            created.insert(expected);
            EXPECT_EQ(hostile::ArticlesWithCode(*conn, expected), 1) << "expected code " << expected.substr(0, 60);
            EXPECT_EQ(written, plainRows);
        }
    }

    form->descrizioneMassiva = v;
    EXPECT_EQ(HostileRun(v, [&] { Run("0", "H"); }), plainRows);
    EXPECT_EQ(StoredDescription("HCAM-100"), v.empty() ? "Camicia Oxford azzurra" : db::RTrim(v));
    EXPECT_TRUE(testsupport::OrphanRows(*conn).empty());
}

INSTANTIATE_TEST_SUITE_P(Values, MassHostile, ::testing::ValuesIn(hostile::Values()), hostile::ParamName);

// Codes at the width: 25 characters of two bytes each are kept whole; 26 are cut to 25 characters, never
// in the middle of a character.
TEST_F(MassHostile, TheCodeWidthCountsCharacters) {
    Run("2", hostile::Wide(25));
    EXPECT_EQ(hostile::ArticlesWithCode(*conn, hostile::Wide(25)), 1);

    shell->Messages()->ClearRecords();
    Run("2", "X" + hostile::Wide(25));
    ASSERT_EQ(shell->Messages()->Messages().size(), 2u);
    EXPECT_EQ(shell->Messages()->Messages()[1].text, mass_duplication::DomandaCodiceLungo(25));
    EXPECT_EQ(hostile::ArticlesWithCode(*conn, "X" + hostile::Wide(24)), 1);
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
}

}  // namespace
