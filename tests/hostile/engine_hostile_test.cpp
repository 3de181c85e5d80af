// The duplication engine (CLSFA_DUPLICA) fed hostile new codes and descriptions: each value is stored
// exactly as given or refused with the procedure's message and nothing written, and no statement of the
// run takes a shape that a plain value does not give it.
#include <gtest/gtest.h>

#include "ArticleCopy.h"
#include "HostileCompany.h"

namespace {

class EngineHostile : public hostile::HostileCompany {
protected:
    // The base duplication of MODELLO01 into `code` with the given descriptions; a refusal throws, and
    // fails the test.
    void BaseDuplication(const std::string& code, const std::string& description, const std::string& extended) {
        auto e = std::make_shared<engine::CLSFA_DUPLICA>();
        e->Connessione(conn);
        e->Initialize();
        e->Ditta(db::Variant(1));
        e->DescrizioneArticoloDaGenerare(db::Variant(description));
        e->DescrizioneEstesaArticoloDaGenerare(db::Variant(extended));
        EXPECT_EQ(e->DuplicazioneAnagraficaBase(db::Variant(testsupport::kModello), db::Variant(code)),
                  engine::kvMethodOK);
    }
    // The links tab's sequence for MODELLO01 into `code`; the failing step's error ("" when every step
    // succeeded).
    std::string Sequence(const std::string& code) {
        testsupport::ArticleCopy copy;
        copy.model = testsupport::kModello;
        copy.target = code;
        return testsupport::CopyArticle(conn, program, copy);
    }
};

// The whole sequence the links tab runs for one article (base data, barcodes, variants, fashion data,
// production, bill of materials), with the hostile value as the new code.
TEST_P(EngineHostile, NewCodeThroughTheWholeSequence) {
    const std::string& code = GetParam().text;
    // A plain code first: the shapes and the rows per table that one article gives.
    const auto plainRows = PlainRun([&] { ASSERT_EQ(Sequence("PLAIN-CODE"), ""); });
    std::string error;
    const auto written = HostileRun(code, [&] { error = Sequence(code); });
    // An empty code is refused before any statement. One wider than the code columns is refused before the
    // first row, as the server refuses such a text (the copies write the code in one statement each, with no
    // recordset to measure it).
    std::string refusal;
    if (code.empty()) refusal = "Campo obbligatorio mancante o dati inseriti non validi!";
    else if (db::Len(code) > 50)
        refusal = "Errore in duplicazione Anagrafica Base: Codice del nuovo articolo più lungo di 50 caratteri";
    EXPECT_EQ(error, refusal);
    if (!refusal.empty()) {
        EXPECT_TRUE(unchanged);
    } else {
        EXPECT_EQ(hostile::ArticlesWithCode(*conn, code), 1);
        EXPECT_EQ(written, plainRows);
    }
    EXPECT_TRUE(testsupport::OrphanRows(*conn).empty());
}

// Description and extended description of the new article, both hostile.
TEST_P(EngineHostile, Descriptions) {
    const std::string& text = GetParam().text;
    const auto plainRows = PlainRun([&] { BaseDuplication("PLAIN-CODE", "plain", "plain extended"); });
    EXPECT_EQ(HostileRun(text, [&] { BaseDuplication("HOSTILE-DESC", text, text); }), plainRows);
    EXPECT_EQ(StoredDescription("HOSTILE-DESC", "MG87_DESCART"), text);
    EXPECT_EQ(StoredDescription("HOSTILE-DESC", "MG87_DESCARTEST"), text);
}

INSTANTIATE_TEST_SUITE_P(Values, EngineHostile, ::testing::ValuesIn(hostile::Values()), hostile::ParamName);

// Lengths count characters. A description of exactly 72 characters ending in a quote loses the quote
// (the half of a doubled quote a cut left); the engine shortens nothing else: widths are its callers'.
TEST_F(EngineHostile, DescriptionRulesCountCharacters) {
    const std::string wide72 = hostile::Wide(72);          // 144 bytes, 72 characters: kept
    const std::string quote72 = hostile::Wide(71) + "'";   // 72 characters ending in a quote: quote dropped
    const std::string quote73 = hostile::Wide(72) + "'";   // 73 characters: kept as given
    BaseDuplication("W1", wide72, wide72);
    BaseDuplication("W2", quote72, quote72);
    BaseDuplication("W3", quote73, quote73);
    EXPECT_EQ(StoredDescription("W1", "MG87_DESCART"), wide72);
    EXPECT_EQ(StoredDescription("W2", "MG87_DESCART"), hostile::Wide(71));
    EXPECT_EQ(StoredDescription("W2", "MG87_DESCARTEST"), quote72);  // the extended one is 1672 wide
    EXPECT_EQ(StoredDescription("W3", "MG87_DESCART"), quote73);
    BaseDuplication("W4", "d", hostile::Wide(1671) + "'");  // 1672 characters ending in a quote
    EXPECT_EQ(StoredDescription("W4", "MG87_DESCARTEST"), hostile::Wide(1671));
}

}  // namespace
