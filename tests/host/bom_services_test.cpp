// The shell's identifier, cycle and bill-of-materials services on a real company database. The bill's
// copy is tested through the engine (tests/engine/production_test.cpp).
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <set>
#include <thread>

#include "DatabaseSnapshot.h"
#include "Queries.h"
#include "host/ClsElabDisba.h"
#include "host/CycleService.h"
#include "host/IdentifierService.h"

namespace {

class BomServicesTest : public ::testing::Test {
protected:
    void SetUp() override { conn = testsupport::EmptyCompany(); }
    void Exec(const std::string& sql) { testsupport::Exec(*conn, sql); }
    long Count(const std::string& sql) { return testsupport::Count(*conn, sql); }
    db::Variant Scalar(const std::string& sql) { return testsupport::Scalar(*conn, sql); }
    std::vector<std::string> Rows(const std::string& sql) { return testsupport::Rows(*conn, sql); }
    template <class F>
    void ExpectError(F&& f, long number, const std::string& fragment) {
        try {
            f();
            ADD_FAILURE() << "expected error " << number;
        } catch (const db::Error& e) {
            EXPECT_EQ(e.Number(), number) << e.Description();
            EXPECT_NE(e.Description().find(fragment), std::string::npos) << e.Description();
        }
    }

    db::ConnectionPtr conn;
};

// --- Identifier service ---

// New identifiers are unique upper-case GUID texts in time order; linked data of an entity are copied after what
// the target has, and misuse is refused.
TEST_F(BomServicesTest, IdentifiersAreTimeOrderedGuidTextsAndLinkedDataAreCopiedAfterWhatTheTargetHas) {
    host::IdentifierService ids;
    std::set<std::string> seen;
    const std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-7[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    for (int i = 0; i < 50; ++i) {
        const std::string id = ids.NuovoIdentificativo();
        EXPECT_TRUE(std::regex_match(id, shape)) << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 50u);
    // A later identifier sorts after an earlier one once the clock has moved on.
    const std::string earlier = ids.NuovoIdentificativo();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_LT(earlier, ids.NuovoIdentificativo());

    const entry::Guid random{0xFFFFFFFF, 0xFFFF, 0x4ABC, {0, 0, 0, 0, 0, 0, 0, 0x5A}};
    EXPECT_EQ(host::FormatIdentifier(host::TimeOrdered(random, 0x0123456789ABull)),
              "01234567-89AB-7ABC-0000-00000000005A");

    Exec("INSERT INTO AG01_ALLEGATI (AG01_DITTA_CG18, AG01_GUIDRIF, AG01_ENTITA, AG01_PROG, AG01_DESCR, AG01_PERCORSO, "
         "AG01_NOTE) VALUES (1, 'SRC-G', 21, 1, 'Scheda', '/doc/scheda.pdf', 'nota'), "
         "(1, 'SRC-G', 21, 2, 'Foto', NULL, NULL), (1, 'SRC-G', 4, 1, 'other entity', NULL, NULL), "
         "(1, 'OTHER', 21, 1, 'other row', NULL, NULL), (1, 'NEW-G', 21, 1, 'already there', NULL, NULL)");
    ids.Connection(conn);
    ids.CopiaDatiCollegati("SRC-G", "NEW-G", 21, 21, 0, 0);
    // Under another entity of the target.
    ids.CopiaDatiCollegati("SRC-G", "NEW-G", 4, 9, 0, 0);

    const std::string rows = "SELECT AG01_ENTITA, AG01_PROG, AG01_DESCR, AG01_PERCORSO, AG01_NOTE FROM AG01_ALLEGATI "
                             "WHERE AG01_GUIDRIF = ";
    EXPECT_EQ(Rows(rows + "'NEW-G' ORDER BY AG01_ENTITA DESC, AG01_PROG"),
              (std::vector<std::string>{"21|1|already there|<null>|<null>", "21|2|Scheda|/doc/scheda.pdf|nota",
                                        "21|3|Foto|<null>|<null>", "9|1|other entity|<null>|<null>"}));
    EXPECT_EQ(Rows(rows + "'SRC-G'").size(), 3u);

    ExpectError([&] { ids.CopiaDatiCollegati("A", "B", 21, 21, 1, 0); }, db::errc::InvalidProcedureCall, "1, 0");
    // A quote in an identifier is data, not statement.
    ids.CopiaDatiCollegati("O'BRIEN", "X'Y", 21, 21, 0, 0);
    host::IdentifierService unset;
    ExpectError([&] { unset.CopiaDatiCollegati("A", "B", 21, 21, 0, 0); }, db::errc::ObjectRequired, "Connessione");
}

// --- Cycle service ---

TEST_F(BomServicesTest, CycleServiceCopiesThePhasesOfOneVersionWithinTheCompanyToAnExistingHeaderOnly) {
    Exec("INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE, PD52_GUID) VALUES "
         "(1, 'SRC', 2, 'A'), (1, 'SRC', 5, 'B'), (1, 'NEW', 2, 'C'), (2, 'SRC', 2, 'D'), (2, 'NEW', 2, 'E')");
    Exec("INSERT INTO PD53_CICLIFASI (PD53_DITTA_CG18, PD53_CODICE_PD52, PD53_VERSIONE_PD52, PD53_NUMFASE, "
         "PD53_DESCR, PD53_REPARTO, PD53_TEMPOLAV, PD53_NOTE) VALUES "
         "(1, 'SRC', 2, 10, 'Taglio', 'T1', 1.5, NULL), (1, 'SRC', 2, 20, 'Cucito', 'C1', 3, 'a mano'), "
         "(1, 'SRC', 5, 10, 'Laser', 'T2', 0.5, NULL), (2, 'SRC', 2, 10, 'other company', NULL, 9, NULL)");
    host::CycleService cycles;
    cycles.Connection(conn);
    cycles.Ditta(db::Variant(1));
    auto copy = [&](const std::string& to, long from, long toVersion) {
        return cycles.CopiaCiclo("SRC", to, "descr", "", "", true, "", "", db::Variant(from), db::Variant(toVersion));
    };

    ExpectError([&] { copy("NEW", 5, 5); }, db::errc::InvalidArgument, "NEW versione 5");
    ExpectError([&] { copy("NONE", 2, 2); }, db::errc::InvalidArgument, "inesistente");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 <> 'SRC'"), 0);

    EXPECT_EQ(copy("NEW", 2, 2).CLng(), 2);
    EXPECT_EQ(Rows("SELECT PD53_DITTA_CG18, PD53_VERSIONE_PD52, PD53_NUMFASE, PD53_DESCR, PD53_REPARTO, PD53_TEMPOLAV, "
                   "PD53_NOTE FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 = 'NEW' ORDER BY PD53_NUMFASE"),
              (std::vector<std::string>{"1|2|10|Taglio|T1|1.5|<null>", "1|2|20|Cucito|C1|3|a mano"}));
    // A source version without phases copies none, to a header that exists: no error.
    EXPECT_EQ(copy("NEW", 9, 2).CLng(), 0);
    host::CycleService unset;
    unset.Connection(conn);
    ExpectError([&] { unset.CopiaCiclo("SRC", "NEW", "", "", "", true, "", "", 2, 2); }, db::errc::ObjectRequired,
                "Ditta");
}

// --- Bill-of-materials processing ---

// A blank option of the destination keeps the source's; bills are deleted by a list of numbers only.
TEST_F(BomServicesTest, ABillIsCopiedWithItsLinesOnceAndBillsOfAnIdentifierListAreDeleted) {
    // The bill of `article` with option `option` and `lines` (sequence, component, quantity); its number.
    auto bill = [&](const std::string& article, const std::string& option,
                    const std::vector<std::vector<std::string>>& lines) {
        Exec("INSERT INTO PD95_DISBA (PD95_DITTA_CG18, PD95_CODART_MG66, PD95_OPZIONE, PD95_DESCR, PD95_QTABASE, "
             "PD95_UTENTE) VALUES (1, '" + article + "', '" + option + "', 'Distinta " + article +
             "', 2, 'Amministratore')");
        const long id = Scalar("SELECT MAX(PD95_IDDISBA) FROM PD95_DISBA").CLng();
        for (const auto& l : lines)
            Exec("INSERT INTO PD96_LEGAMIDISBA (PD96_DITTA_CG18, PD96_IDDISBA_PD95, PD96_SEQCOMP, PD96_COMPON, "
                 "PD96_QTA1, PD96_NOTE) VALUES (1, " + std::to_string(id) + ", " + l[0] + ", '" + l[1] + "', " +
                 l[2] + ", 'n" + l[0] + "')");
        return id;
    };
    const long sourceId = bill("SRC", "XL", {{"1", "TESS-A", "1.8"}, {"2", "BOTTONE", "6"}, {"3", "FILO", "0.25"}});
    const long otherId = bill("OTHER", " ", {{"1", "TESS-B", "2"}});
    entry::ImpostazioniElabDisba settings;
    settings.connessione = conn;
    settings.origine = {"SRC", "XL", 0, ""};
    settings.destinazione = {"NEW", "", 0, ""};
    settings.utente = "Mario Rossi";
    host::ClsElabDisba elab;
    elab.Impostazioni(settings);
    elab.Elabora(db::Variant(1));

    EXPECT_EQ(Scalar("SELECT PD95_OPZIONE FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'").Text(), "XL");
    const long newId = Scalar("SELECT PD95_IDDISBA FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'").CLng();
    EXPECT_EQ(Rows("SELECT PD96_COMPON FROM PD96_LEGAMIDISBA WHERE PD96_IDDISBA_PD95 = " + std::to_string(newId) +
                   " ORDER BY PD96_SEQCOMP"),
              (std::vector<std::string>{"TESS-A", "BOTTONE", "FILO"}));
    // The header just written is the one a second copy finds.
    ExpectError([&] { elab.Elabora(db::Variant(1)); }, db::errc::InvalidArgument, "esiste già");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'"), 1);

    elab.Connection(nullptr);
    host::ClsElabDisba remover;
    remover.Connection(conn);
    remover.EliminaDistinte("(" + std::to_string(sourceId) + ", " + std::to_string(newId) + ")");

    // Only the other bill is left, with its line.
    const std::vector<std::string> other{std::to_string(otherId)};
    EXPECT_EQ(Rows("SELECT PD95_IDDISBA FROM PD95_DISBA"), other);
    EXPECT_EQ(Rows("SELECT PD96_IDDISBA_PD95 FROM PD96_LEGAMIDISBA"), other);

    remover.EliminaDistinte("()");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA"), 1);

    // An identifier list that is not numbers deletes nothing.
    const std::string before = testsupport::DatabaseSnapshot(*conn);
    for (const std::string& list :
         std::vector<std::string>{"(1, 2) OR 1=1", "(" + std::to_string(otherId) + ", x)", "(1,,2)", "(1; DROP)"}) {
        SCOPED_TRACE(list);
        ExpectError([&] { remover.EliminaDistinte(list); }, db::errc::TypeMismatch, "non valido");
    }
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), before);
    EXPECT_EQ(host::IdentificativiDistinte(" ( 12 ,15 ) "), (std::vector<std::string>{"12", "15"}));

    host::ClsElabDisba unset;
    ExpectError([&] { unset.EliminaDistinte("(1)"); }, db::errc::ObjectRequired, "Connessione");
}

}  // namespace
