// The generation run of the links tab on the demo company: MODELLO01 with prefix AG and three link rows,
// of which only TS-LINO-BLU has a usable colour variant.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "SqliteStatementHook.h"
#include "TestRunPort.h"
#include "GenerationFixture.h"
#include "SweepSize.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/DimensioneArticolo.h"
#include "generation/GenerationRun.h"

namespace {

using testsupport::TestRunPort;
using testsupport::kModello;
using testsupport::kNuovo;
using Lines = std::vector<std::string>;

const std::string kSep = std::string(96, '_') + " ";
const std::string kNonGenerato = " !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ";
const std::string kColore =
    "Errore in duplicazione della variante colore ereditata dal tessuto. \r\n"
    "Verificare che il tessuto di aggancio abbia la variante colore attiva e raggurppamento valorizzato. ";
const std::string kVariantiNonConfigurate = "Attenzione! Gestione varianti non configurata. Procedere Ugualmente?";

// The log lines of one link row: its start, `middle`, its end and the separator.
Lines Row(const std::string& fabric, Lines middle) {
    middle.insert(middle.begin(), "Inizio elaborazione per tessuto:  " + fabric);
    middle.insert(middle.end(), {"Fine elaborazione per tessuto:  " + fabric, kSep});
    return middle;
}
Lines FailedRow(const std::string& fabric, const std::string& error) { return Row(fabric, {error, kNonGenerato}); }
Lines CreatedRow(const std::string& fabric, const std::string& code) {
    return Row(fabric, {"Articolo :  " + code + " Creato "});
}
Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

class GenerationRun : public testsupport::GenerationFixture {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        UseLogFolder("agganci-generation-run");
        form = NewForm();
    }

    std::unique_ptr<TestRunPort> NewForm() {
        auto f = std::make_unique<TestRunPort>(conn, program, shell->Messages());
        f->LoadModel(kModello);
        return f;
    }

    // The run, the user going on without a variant selection.
    void Run() {
        shell->Messages()->MessageAnswers().Push(entry::kAnswerYes);
        form->RunGeneration();
    }

    // A regeneration of the TS-LINO-BLU row alone.
    void Regenerate() {
        form = NewForm();
        form->LoadModel(kModello, "TS-LINO-BLU");
        form->rigenera = 1;
        Run();
    }

    std::string RowCode(const std::string& fabric, const std::string& model = kModello) {
        return Text("SELECT FA64_ARTAGGANCIO_MG66 FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = " + db::SqlText(fabric) +
                    " AND FA64_GUID_FA63 = (SELECT FA63_GUID FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = " +
                    db::SqlText(model) + ")");
    }
    long Articles() { return Count("SELECT COUNT(*) FROM MG66_ANAGRART"); }
    std::string Description(const std::string& code) {
        return Text("SELECT MG87_DESCART FROM MG87_ARTDESC WHERE MG87_LINGUA_MG52 = '' AND MG87_CODART_MG66 = " +
                    db::SqlText(code));
    }
    // Every message box shown so far, as "text|title|style".
    std::vector<std::string> Questions() {
        std::vector<std::string> texts;
        for (const auto& m : shell->Messages()->Messages())
            texts.push_back(m.text + "|" + m.title + "|" + std::to_string(m.style));
        return texts;
    }

    std::unique_ptr<TestRunPort> form;
};

// The first run creates what it can and goes on past the rows it cannot make; the later runs regenerate, and
// replace only an article the row created.
TEST_F(GenerationRun, CreatesTheArticlesOfTheRowsWhoseFabricHasAColourAndRegeneratesThem) {
    const long before = Articles();
    // The lines of a run of the three rows, the two without a colour failing.
    const auto runLines = [](const Lines& lino) {
        return Join({FailedRow("TS-LANA-GRIGIA", kColore), lino, FailedRow("TS-SETA-ROSSA", kColore)});
    };
    Run();
    EXPECT_EQ(form->RunLines(), runLines(CreatedRow("TS-LINO-BLU", kNuovo)));
    // The outcome says the same, row by row.
    const auto& o = form->outcome;
    ASSERT_EQ(o.articles.size(), 3u);
    EXPECT_TRUE(o.started && o.completed);
    EXPECT_EQ(o.articles[0].state, generation::ArticleState::NotGenerated);
    EXPECT_EQ(o.articles[1].state, generation::ArticleState::Created);
    EXPECT_TRUE(o.articles[1].recorded);
    EXPECT_EQ(o.articles[2].reason.rfind("Errore in duplicazione della variante colore", 0), 0u);
    EXPECT_EQ(Articles(), before + 1);
    // Only the created article is recorded on its row, in the database and in the form's rows.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT FA64_CODTESS_FA12, FA64_ARTAGGANCIO_MG66 FROM FA64_AGGANCIDET INNER JOIN "
                                       "FA63_AGGANCI ON FA63_GUID = FA64_GUID_FA63 WHERE FA63_CODART_MG66 = 'MODELLO01' "
                                       "ORDER BY 1"),
              (Lines{"TS-LANA-GRIGIA|<null>", "TS-LINO-BLU|" + kNuovo, "TS-SETA-ROSSA|<null>"}));
    auto rows = form->dettaglio->Clone();
    rows->MoveFirst();
    rows->MoveNext();
    EXPECT_EQ((*rows)["FA64_ARTAGGANCIO_MG66"].Value().Text(), kNuovo);

    // One question, the variant one; the program object describes the last article, which failed.
    EXPECT_EQ(Questions(), Lines{kVariantiNonConfigurate + "||4"});
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
    EXPECT_FALSE(form->programObject->DuplicazioneAvvenuta());
    EXPECT_EQ(form->programObject->Articolo_Origine().Text(), kModello);
    EXPECT_EQ(form->programObject->Articolo_Destinazione().Text(), "");

    // Its progress: prepared, then per row the text and the step forward, then reset; and the log button.
    Lines steps;
    for (const auto& r : form->progress->Refreshes()) steps.push_back(r.text + "|" + std::to_string(r.value));
    const std::string lana = "Creazione articolo Articolo : AGMODELLO01TS-LANA-GRIGIA (0 di3)|";
    const std::string lino = "Creazione articolo Articolo : AGMODELLO01TS-LINO-BLU (1 di3)|";
    const std::string seta = "Creazione articolo Articolo : AGMODELLO01TS-SETA-ROSSA (2 di3)|";
    EXPECT_EQ(steps, (Lines{"|0", lana + "0", lana + "1", lino + "1", lino + "2", seta + "2", seta + "3", "|0"}));
    EXPECT_EQ(form->progress->Refreshes().front(),
              (host::controls::ProgressState{0, 3, 0, "Agganci\\Aperture", "", true, true, true}));
    EXPECT_EQ(form->progress->Refreshes().back(),
              (host::controls::ProgressState{0, 0, 0, "", "", false, false, false}));
    EXPECT_TRUE(form->cmdLog->Visible());
    // Each creation shows the hourglass and the status text, and ends with the normal pointer and "Pronto".
    EXPECT_EQ(form->statusTexts, (Lines{"Creazione agganci in corso...", "Pronto", "Creazione agganci in corso...",
                                        "Pronto", "Creazione agganci in corso...", "Pronto"}));
    EXPECT_EQ(form->pointers, (std::vector<long>{11, 0, 11, 0, 11, 0}));

    // A second run without regeneration only logs the generated row; a regeneration replaces the articles.
    form = NewForm();
    Run();
    EXPECT_EQ(form->RunLines(), runLines(Row("TS-LINO-BLU", {})));
    EXPECT_EQ(Articles(), before + 1);

    Exec("UPDATE MG87_ARTDESC SET MG87_DESCART = 'cambiata' WHERE MG87_CODART_MG66 = '" + kNuovo + "'");
    form = NewForm();
    form->rigenera = 1;
    Run();
    EXPECT_EQ(form->RunLines(), runLines(CreatedRow("TS-LINO-BLU", kNuovo)));
    EXPECT_EQ(Articles(), before + 1);
    EXPECT_EQ(Description(kNuovo), "Camicia uomo lino blu");
    EXPECT_EQ(RowCode("TS-LINO-BLU"), kNuovo);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA WHERE PD95_CODART_MG66 = '" + kNuovo + "'"), 1);

    // Regenerating replaces only the article the row created. An article of that code that existed before the
    // link (here: the generation's mark removed) is kept as it is, and recorded on the row as a first run does.
    Exec("DELETE FROM AG02_ARTGENERATI WHERE AG02_CODART_MG66 = " + db::SqlText(kNuovo));
    Exec("UPDATE MG87_ARTDESC SET MG87_DESCART = 'Articolo preesistente' WHERE MG87_CODART_MG66 = " +
         db::SqlText(kNuovo));
    std::string snapshot = Snapshot();
    Regenerate();
    EXPECT_EQ(Snapshot(), snapshot);
    EXPECT_EQ(RowCode("TS-LINO-BLU"), kNuovo);
    const Lines lines = form->RunLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Errore: Codice articolo da generare già esistente! "),
              lines.end());
    // The row's own article is regenerated: a new one, its mark back.
    Exec("INSERT INTO AG02_ARTGENERATI (AG02_DITTA_CG18, AG02_CODART_MG66, AG02_GUID_FA64) SELECT 1, " +
         db::SqlText(kNuovo) + ", FA64_GUID FROM FA64_AGGANCIDET WHERE FA64_ARTAGGANCIO_MG66 = " + db::SqlText(kNuovo));
    Regenerate();
    EXPECT_EQ(form->RunLines(), CreatedRow("TS-LINO-BLU", kNuovo));
    EXPECT_EQ(Description(kNuovo), "Camicia uomo lino blu");

    // A regeneration that fails keeps the previous article and the row its code. The model loses its bill of
    // materials: the new creation fails at its last step.
    Exec("DELETE FROM PD96_LEGAMIDISBA WHERE PD96_IDDISBA_PD95 IN (SELECT PD95_IDDISBA FROM PD95_DISBA WHERE "
         "PD95_CODART_MG66 = 'MODELLO01')");
    Exec("DELETE FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'MODELLO01'");
    snapshot = Snapshot();
    Regenerate();
    EXPECT_EQ(form->RunLines(),
              FailedRow("TS-LINO-BLU", "Errore: DiBa non creata. Articolo Origine senza distinta base !!"));
    EXPECT_EQ(Snapshot(), snapshot);
    EXPECT_EQ(conn->TransactionLevel(), 0);
    EXPECT_EQ(RowCode("TS-LINO-BLU"), kNuovo);
    form->dettaglio->MoveFirst();
    EXPECT_EQ((*form->dettaglio)["FA64_ARTAGGANCIO_MG66"].Value().Text(), kNuovo);
}

// MODELLO04's three link fabrics all have a colour: three articles, each a full copy of the model,
// completed from its own row and given its fabric, with the row's quantity, in place of the main fabric.
// The company parameters every article reads are read once for the whole run.
TEST_F(GenerationRun, TheThreeRowModelCreatesThreeCompleteArticles) {
    form->LoadModel("MODELLO04");
    std::map<std::string, int> reads;  // by statement with its values
    testsupport::SqliteStatementHook hook(*conn, [&](sqlite3_stmt* statement, const char* text) {
        const std::string sql = text;
        if (sql.rfind("SELECT", 0) != 0) return;
        for (const char* table : {"FA00_PARAMETRI", "PD42_PARGEST", "MG4B_STINDMODALITA", "MG5T_STAGIONI"}) {
            if (sql.find(table) == std::string::npos) continue;
            char* expanded = sqlite3_expanded_sql(statement);
            ++reads[expanded ? expanded : sql];
            sqlite3_free(expanded);
        }
    });
    Run();
    for (const char* table : {"FA00_PARAMETRI", "PD42_PARGEST", "MG5T_STAGIONI"}) {
        const bool read = std::any_of(reads.begin(), reads.end(),
                                      [&](const auto& r) { return r.first.find(table) != std::string::npos; });
        EXPECT_TRUE(read) << table;
    }
    for (const auto& [sql, count] : reads) EXPECT_EQ(count, 1) << sql;
    struct Expected {
        std::string fabric, row;  // description|season|line|brand as the article shows them
        double quantity;
    };
    const Expected rows[] = {{"TS-DENIM-BLU", "Camicia donna denim|AI2025|DONNA|URBAN", 1.55},
                             {"TS-LINO-BLU", "Camicia donna lino blu|PE2026|DONNA|MARE-BLU", 1.5},
                             {"TS-TWILL-NERO", "Camicia donna twill nero|PE2025|DONNA|ALTA-SARTORIA", 1.45}};
    Lines expectedLines;
    for (const auto& r : rows) expectedLines = Join({expectedLines, CreatedRow(r.fabric, "DNMODELLO04" + r.fabric)});
    EXPECT_EQ(form->RunLines(), expectedLines);

    const auto rowsOf = [&](const std::string& table, const std::string& code) {
        const std::string p = table.substr(0, 4);
        return Count("SELECT COUNT(*) FROM " + table + " WHERE " + p + "_DITTA_CG18 = 1 AND " + p +
                     "_CODART_MG66 = " + db::SqlText(code));
    };
    for (const auto& r : rows) {
        const std::string code = "DNMODELLO04" + r.fabric, q = db::SqlText(code);
        SCOPED_TRACE(code);
        EXPECT_EQ(RowCode(r.fabric, "MODELLO04"), code);
        EXPECT_EQ(testsupport::Rows(*conn, "SELECT FA12_MODAGG_COD_MG66, FA12_TESAGG_COD_MG66, FA12_TIPOLOGIA_FA04, "
                                           "MG87_DESCART, FA12_STAGIONE_MG5T, FA13_LINEA_FA05, FA13_MARCHIO_FA06 "
                                           "FROM MG87_ARTDESC INNER JOIN FA12_ARTICOLI ON FA12_CODART_MG66 = "
                                           "MG87_CODART_MG66 INNER JOIN FA13_ATTRIBUTI ON FA13_GUID = MG87_GUID AND "
                                           "FA13_ENTITA_FA11 = 0 WHERE MG87_LINGUA_MG52 = '' AND MG87_CODART_MG66 = " + q),
                  Lines{"MODELLO04|" + r.fabric + "|CAMICIA|" + r.row});
        const std::string season = r.row.substr(r.row.find('|') + 1, 6);
        EXPECT_EQ(Count("SELECT FA25_IDSTAGIONE_MG5T FROM FA25_STORICOSTAGIONI WHERE FA25_CODART_MG66 = " + q),
                  SeasonId(season));
        // Copied as the model has them: variants, barcodes (new numbers), locations without stock, lots,
        // stock parameters, packagings, price lists, washing, production, customers and suppliers.
        for (const char* table : {"MG6B_GESVARART", "MG65_BARCODE", "MG69_UBICAZART", "MG4G_ANAGRLOTTI",
                                  "MG4N_ARTTRALIM", "SC06_ARTSCORTE", "MG68_CONFART", "LI10_LISTARTIC",
                                  "FA10_ARTLAVAGGI", "FA37_ASSARTITIPOCOMP", "PD18_ARTPROD", "PD27_ANAFORMULE",
                                  "MG73_ARTCLIFOR"})
            EXPECT_EQ(rowsOf(table, code), rowsOf(table, "MODELLO04")) << table;
        EXPECT_EQ(Count("SELECT COUNT(*) FROM MG69_UBICAZART WHERE MG69_QTA1UBICEFF <> 0 AND MG69_CODART_MG66 = " + q), 0);
        EXPECT_EQ(Count("SELECT COUNT(*) FROM PD52_ANAGCICLI WHERE PD52_CODICE = " + q), 1);
        const std::string bill = "FROM PD96_LEGAMIDISBA INNER JOIN PD95_DISBA ON PD95_IDDISBA = PD96_IDDISBA_PD95 "
                                 "WHERE PD95_CODART_MG66 = " + q;
        EXPECT_EQ(Count("SELECT COUNT(*) " + bill), 4);
        EXPECT_EQ(Text("SELECT PD96_COMPON " + bill + " AND PD96_SEQCOMP = 10"), r.fabric);
        EXPECT_DOUBLE_EQ(Scalar("SELECT PD96_QTA1 " + bill + " AND PD96_SEQCOMP = 10").CDbl(), r.quantity);
    }
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG65_BARCODE A INNER JOIN MG65_BARCODE B ON A.MG65_CODBARCODE = "
                    "B.MG65_CODBARCODE AND A.MG65_CODART_MG66 <> B.MG65_CODART_MG66"),
              0);
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
    EXPECT_TRUE(form->programObject->DuplicazioneAvvenuta());
    EXPECT_EQ(form->programObject->Articolo_Destinazione().Text(), "DNMODELLO04TS-TWILL-NERO");
}

// Nothing starts without link rows, without a colour variant or when the user stops; a row removed since the rows
// were read gets no article.
TEST_F(GenerationRun, NothingIsCreatedWithoutRowsOrColourVariantWhenTheUserStopsOrForARowRemovedMeanwhile) {
    const long before = Articles();
    form->LoadModel("MODELLO03");  // no links
    form->RunGeneration();
    EXPECT_TRUE(shell->Messages()->Messages().empty());
    EXPECT_TRUE(form->AllLines().empty());

    form->LoadModel(kModello);
    shell->Messages()->MessageAnswers().Push(entry::kAnswerNo);
    form->RunGeneration();
    EXPECT_EQ(Questions(), Lines{kVariantiNonConfigurate + "||4"});
    EXPECT_TRUE(form->AllLines().empty());
    EXPECT_TRUE(form->progress->Refreshes().empty());
    EXPECT_FALSE(form->cmdLog->Visible());

    // Another session removed a link row after the form read the rows: the run reads the row again under the
    // write lock and creates nothing for it, so no article is left without its link.
    form = NewForm();
    Exec("DELETE FROM FA64_AGGANCIDET WHERE FA64_CODTESS_FA12 = 'TS-LINO-BLU'");
    Run();
    EXPECT_EQ(Articles(), before);
    EXPECT_EQ(form->outcome.Count(generation::ArticleState::Created), 0);

    testsupport::SetCompanySetting(*conn, 1, "VarianteColore", "");
    program = testsupport::ProgramOnDatabase(conn);
    form = NewForm();
    form->RunGeneration();
    ASSERT_EQ(Questions().size(), 3u);
    EXPECT_EQ(Questions()[2],
              "Nei parametri fashion non è stato indicato quale variante rappresenta il colore.|Attenzione!|48");
    EXPECT_TRUE(form->AllLines().empty());
    EXPECT_EQ(Articles(), before);
}

TEST_F(GenerationRun, ACodeTooLongIsTruncatedOnYesAndSkippedWithoutLogLinesOnNo) {
    const std::string question =
        "Il codice articolo composto da Prefisso + Codice + Cod.Tess. Aggancio è piu lungo di 25 caratteri. \r\n"
        "Se non verrà indicato un codice alternativo piu corto il codice da generare verrà troncato al  25 "
        "carattere  \r\nSi desidera troncare il codice?||3";  // text|title|style
    const long before = Articles();
    // The alternative code shapes the new codes; the source stays the model. The first answer is the variant one.
    const auto runWithAlternativeCode = [&](std::initializer_list<long> answers) {
        form = NewForm();
        form->codAlt = 1;
        form->codiceAlternativo = "MODELLOLUNGO01";  // AG + 14 + the fabric: 27 to 30 characters
        shell->Messages()->MessageAnswers().Queue(answers);
        form->RunGeneration();
    };
    runWithAlternativeCode({entry::kAnswerYes, entry::kAnswerNo, entry::kAnswerNo, entry::kAnswerNo});
    EXPECT_EQ(Questions(), (Lines{kVariantiNonConfigurate + "||4", question, question, question}));
    EXPECT_TRUE(form->RunLines().empty());
    EXPECT_EQ(Articles(), before);

    runWithAlternativeCode({entry::kAnswerYes, entry::kAnswerNo, entry::kAnswerYes, entry::kAnswerYes});
    const std::string truncated = "AGMODELLOLUNGO01TS-LINO-B";
    EXPECT_EQ(form->RunLines(), Join({CreatedRow("TS-LINO-BLU", truncated), FailedRow("TS-SETA-ROSSA", kColore)}));
    EXPECT_TRUE(Exists(truncated));
    EXPECT_EQ(RowCode("TS-LINO-BLU"), truncated);
    EXPECT_EQ(Text("SELECT FA12_MODAGG_COD_MG66 FROM FA12_ARTICOLI WHERE FA12_CODART_MG66 = '" + truncated + "'"),
              kModello);
}

TEST_F(GenerationRun, TheMaximumLengthComesFromTheStructuredCodeWhenTheCompanyUsesOne) {
    EXPECT_EQ(generation::DimensioneArticolo(contesto), 25);
    Exec("INSERT INTO MG6F_DIMEART (MG6F_DITTA_CG18, MG6F_PROG, MG6F_SIZE) VALUES (1, 1, 9)");
    Exec("INSERT INTO MG6F_DIMEART (MG6F_DITTA_CG18, MG6F_PROG, MG6F_SIZE) VALUES (1, 2, 13)");
    EXPECT_EQ(generation::DimensioneArticolo(contesto), 25);  // segments, but not in use
    testsupport::SetCompanySetting(*conn, 1, "CodiceStrutturato", "1");
    contesto.programma = program = testsupport::ProgramOnDatabase(conn);
    EXPECT_EQ(generation::DimensioneArticolo(contesto), 22);

    // AGMODELLO01TS-LINO-BLU has 22 characters: only the other two rows ask, with the company's maximum.
    form = NewForm();
    shell->Messages()->MessageAnswers().Queue({entry::kAnswerYes, entry::kAnswerNo, entry::kAnswerNo});
    form->RunGeneration();
    ASSERT_EQ(shell->Messages()->Messages().size(), 3u);
    EXPECT_NE(shell->Messages()->Messages()[1].text.find("è piu lungo di 22 caratteri. "), std::string::npos);
    EXPECT_EQ(form->RunLines(), CreatedRow("TS-LINO-BLU", kNuovo));

    Exec("DELETE FROM MG6F_DIMEART");
    EXPECT_EQ(generation::DimensioneArticolo(contesto), 25);  // no segments: the sum is Null
}

// A failure at each statement of a regeneration in turn, the removal of the previous article included:
// either the new article replaced it or the database is exactly as before, the row keeping its code.
TEST_F(GenerationRun, ARegenerationFailingAtAnyStatementKeepsThePreviousArticle) {
    Run();
    std::string before = Snapshot();
    long kept = 0;
    std::size_t stopped = 0;
    for (long n = 1;; n += testsupport::SweepStride(3)) {
        form = NewForm();
        form->LoadModel(kModello, "TS-LINO-BLU");
        form->rigenera = 1;
        conn->Faults().ResetCount();
        conn->Faults().FailNth(n);
        Run();
        const bool fired = conn->Faults().StatementCount() >= n;
        conn->Faults().Clear();
        if (!fired) break;
        ASSERT_EQ(RowCode("TS-LINO-BLU"), kNuovo) << "statement " << n;
        ASSERT_TRUE(Exists(kNuovo)) << "statement " << n;
        if (form->RunLines() == CreatedRow("TS-LINO-BLU", kNuovo)) {
            // Regenerated all the same: the fault hit a step that reports and goes on.
            before = Snapshot();
            continue;
        }
        ++kept;
        // Either the creation failed and the row says so, or the run itself stopped with the error shown.
        const Lines lines = form->RunLines();
        const bool notGenerated = std::find(lines.begin(), lines.end(), kNonGenerato) != lines.end();
        const auto& boxes = shell->Messages()->ErrorBoxes();
        ASSERT_TRUE(notGenerated || (boxes.size() > stopped && boxes.back().procedure == "CMD_DUPLICA_ButtonClick"))
            << "statement " << n;
        stopped = boxes.size();
        ASSERT_EQ(Snapshot(), before) << "statement " << n;
    }
    EXPECT_GT(kept, 50 / testsupport::SweepStride(3));
}

TEST_F(GenerationRun, TwoRowsWithTheSameCodeRecordTheSameArticle) {
    // A prefix that cuts every code to the same 25 characters.
    form->prefisso = "PREFISSOLUNGO";
    shell->Messages()->MessageAnswers().Queue({entry::kAnswerYes, entry::kAnswerYes, entry::kAnswerYes, entry::kAnswerYes});
    form->RunGeneration();
    const std::string code = "PREFISSOLUNGOMODELLO01TS-";
    EXPECT_EQ(form->RunLines(),
              Join({FailedRow("TS-LANA-GRIGIA", kColore), CreatedRow("TS-LINO-BLU", code),
                    Row("TS-SETA-ROSSA", {"Errore: Codice articolo da generare già esistente! "})}));
    EXPECT_EQ(RowCode("TS-LINO-BLU"), code);
    EXPECT_EQ(RowCode("TS-SETA-ROSSA"), code);
}

}  // namespace
