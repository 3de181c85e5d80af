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

TEST_F(BomServicesTest, NewIdentifiersAreUniqueUpperCaseGuidTextsInTimeOrder) {
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

    entry::Guid random;
    random.Data1 = 0xFFFFFFFF;
    random.Data2 = 0xFFFF;
    random.Data3 = 0x4ABC;
    random.Data4[7] = 0x5A;
    EXPECT_EQ(host::FormatIdentifier(host::TimeOrdered(random, 0x0123456789ABull)),
              "01234567-89AB-7ABC-0000-00000000005A");
}

TEST_F(BomServicesTest, LinkedDataOfTheEntityAreCopiedAfterWhatTheTargetHasAndMisuseIsRefused) {
    Exec("INSERT INTO AG01_ALLEGATI (AG01_DITTA_CG18, AG01_GUIDRIF, AG01_ENTITA, AG01_PROG, AG01_DESCR, AG01_PERCORSO, "
         "AG01_NOTE) VALUES (1, 'SRC-G', 21, 1, 'Scheda', '/doc/scheda.pdf', 'nota'), "
         "(1, 'SRC-G', 21, 2, 'Foto', NULL, NULL), (1, 'SRC-G', 4, 1, 'other entity', NULL, NULL), "
         "(1, 'OTHER', 21, 1, 'other row', NULL, NULL), (1, 'NEW-G', 21, 1, 'already there', NULL, NULL)");
    host::IdentifierService ids;
    ids.Connection(conn);
    ids.CopiaDatiCollegati("SRC-G", "NEW-G", 21, 21, 0, 0);

    EXPECT_EQ(Count("SELECT COUNT(*) FROM AG01_ALLEGATI WHERE AG01_GUIDRIF = 'NEW-G'"), 3);
    EXPECT_EQ(
        Count("SELECT COUNT(*) FROM AG01_ALLEGATI WHERE AG01_GUIDRIF = 'NEW-G' AND AG01_ENTITA = 21 AND "
              "AG01_PROG = 2 AND AG01_DESCR = 'Scheda' AND AG01_PERCORSO = '/doc/scheda.pdf' AND AG01_NOTE = 'nota'"),
        1);
    EXPECT_EQ(Scalar("SELECT AG01_DESCR FROM AG01_ALLEGATI WHERE AG01_GUIDRIF = 'NEW-G' AND AG01_PROG = 3").Text(),
              "Foto");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM AG01_ALLEGATI WHERE AG01_GUIDRIF = 'SRC-G'"), 3);

    // Under another entity of the target.
    ids.CopiaDatiCollegati("SRC-G", "NEW-G", 4, 9, 0, 0);
    EXPECT_EQ(Scalar("SELECT AG01_DESCR FROM AG01_ALLEGATI WHERE AG01_GUIDRIF = 'NEW-G' AND AG01_ENTITA = 9 AND "
                     "AG01_PROG = 1").Text(), "other entity");

    ExpectError([&] { ids.CopiaDatiCollegati("A", "B", 21, 21, 1, 0); }, db::errc::InvalidProcedureCall, "1, 0");
    // A quote in an identifier is data, not statement.
    ids.CopiaDatiCollegati("O'BRIEN", "X'Y", 21, 21, 0, 0);
    host::IdentifierService unset;
    ExpectError([&] { unset.CopiaDatiCollegati("A", "B", 21, 21, 0, 0); }, db::errc::ObjectRequired, "Connessione");
}

// --- Cycle service ---

class CycleServiceTest : public BomServicesTest {
protected:
    void SetUp() override {
        BomServicesTest::SetUp();
        Exec("INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE, PD52_GUID) VALUES "
             "(1, 'SRC', 2, 'A'), (1, 'SRC', 5, 'B'), (1, 'NEW', 2, 'C'), (2, 'SRC', 2, 'D'), (2, 'NEW', 2, 'E')");
        Exec("INSERT INTO PD53_CICLIFASI (PD53_DITTA_CG18, PD53_CODICE_PD52, PD53_VERSIONE_PD52, PD53_NUMFASE, "
             "PD53_DESCR, PD53_REPARTO, PD53_TEMPOLAV, PD53_NOTE) VALUES "
             "(1, 'SRC', 2, 10, 'Taglio', 'T1', 1.5, NULL), (1, 'SRC', 2, 20, 'Cucito', 'C1', 3, 'a mano'), "
             "(1, 'SRC', 5, 10, 'Laser', 'T2', 0.5, NULL), (2, 'SRC', 2, 10, 'other company', NULL, 9, NULL)");
        cycles.Connection(conn);
        cycles.Ditta(db::Variant(1));
    }
    db::Variant Copy(const std::string& to, long from, long toVersion) {
        return cycles.CopiaCiclo("SRC", to, "descr", "", "", true, "", "", db::Variant(from), db::Variant(toVersion));
    }
    host::CycleService cycles;
};

TEST_F(CycleServiceTest, ThePhasesOfOneVersionAreCopiedWithinTheCompany) {
    EXPECT_EQ(Copy("NEW", 2, 2).CLng(), 2);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 = 'NEW'"), 2);
    EXPECT_EQ(
        Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_DITTA_CG18 = 1 AND PD53_CODICE_PD52 = 'NEW' AND "
              "PD53_VERSIONE_PD52 = 2 AND PD53_NUMFASE = 20 AND PD53_DESCR = 'Cucito' AND PD53_REPARTO = 'C1' AND "
              "PD53_TEMPOLAV = 3 AND PD53_NOTE = 'a mano'"),
        1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_DITTA_CG18 = 2 AND PD53_CODICE_PD52 = 'NEW'"), 0);
    // A source version without phases copies none, to a header that exists: no error.
    EXPECT_EQ(Copy("NEW", 9, 2).CLng(), 0);
}

TEST_F(CycleServiceTest, ANewVersionWithoutHeaderIsRefused) {
    ExpectError([&] { Copy("NEW", 5, 5); }, db::errc::InvalidArgument, "NEW versione 5");
    ExpectError([&] { Copy("NONE", 2, 2); }, db::errc::InvalidArgument, "inesistente");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 <> 'SRC'"), 0);
    host::CycleService unset;
    unset.Connection(conn);
    ExpectError([&] { unset.CopiaCiclo("SRC", "NEW", "", "", "", true, "", "", 2, 2); }, db::errc::ObjectRequired,
                "Ditta");
}

// --- Bill-of-materials processing ---

class ElabDisbaTest : public BomServicesTest {
protected:
    void SetUp() override {
        BomServicesTest::SetUp();
        sourceId = Bill("SRC", {{"1", "TESS-A", "1.8"}, {"2", "BOTTONE", "6"}, {"3", "FILO", "0.25"}});
        otherId = Bill("OTHER", {{"1", "TESS-B", "2"}});
        settings.connessione = conn;
        settings.origine = {"SRC", "", 0, ""};
        settings.destinazione = {"NEW", "", 0, ""};
        settings.utente = "Mario Rossi";
        elab.Impostazioni(settings);
    }
    long Bill(const std::string& article, const std::vector<std::vector<std::string>>& lines) {
        Exec("INSERT INTO PD95_DISBA (PD95_DITTA_CG18, PD95_CODART_MG66, PD95_OPZIONE, PD95_DESCR, PD95_QTABASE, "
             "PD95_UTENTE) VALUES (1, '" + article + "', ' ', 'Distinta " + article + "', 2, 'Amministratore')");
        const long id = Scalar("SELECT MAX(PD95_IDDISBA) FROM PD95_DISBA").CLng();
        for (const auto& l : lines)
            Exec("INSERT INTO PD96_LEGAMIDISBA (PD96_DITTA_CG18, PD96_IDDISBA_PD95, PD96_SEQCOMP, PD96_COMPON, "
                 "PD96_QTA1, PD96_NOTE) VALUES (1, " + std::to_string(id) + ", " + l[0] + ", '" + l[1] + "', " +
                 l[2] + ", 'n" + l[0] + "')");
        return id;
    }
    long NewId() { return Scalar("SELECT PD95_IDDISBA FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'").CLng(); }

    entry::ImpostazioniElabDisba settings;
    host::ClsElabDisba elab;
    long sourceId = 0, otherId = 0;
};

TEST_F(ElabDisbaTest, ABlankOptionOfTheDestinationKeepsTheSourcesWithItsLines) {
    Exec("UPDATE PD95_DISBA SET PD95_OPZIONE = 'XL' WHERE PD95_IDDISBA = " + std::to_string(sourceId));
    settings.origine = {"SRC", "XL", 0, ""};
    elab.Impostazioni(settings);
    elab.Elabora(db::Variant(1));

    EXPECT_EQ(Scalar("SELECT PD95_OPZIONE FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'").Text(), "XL");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA WHERE PD96_IDDISBA_PD95 = " + std::to_string(NewId()) +
                    " AND PD96_COMPON IN ('TESS-A', 'BOTTONE', 'FILO')"),
              3);
    // The header just written is the one a second copy finds.
    ExpectError([&] { elab.Elabora(db::Variant(1)); }, db::errc::InvalidArgument, "esiste già");
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA WHERE PD95_CODART_MG66 = 'NEW'"), 1);
}

TEST_F(ElabDisbaTest, BillsOfAnIdentifierListAreDeletedAndOnlyANumberList) {
    elab.Elabora(db::Variant(1));
    const long newId = NewId();
    elab.Connection(nullptr);
    host::ClsElabDisba remover;
    remover.Connection(conn);
    remover.EliminaDistinte("(" + std::to_string(sourceId) + ", " + std::to_string(newId) + ")");

    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA"), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD95_DISBA WHERE PD95_IDDISBA = " + std::to_string(otherId)), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA"), 1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD96_LEGAMIDISBA WHERE PD96_IDDISBA_PD95 = " + std::to_string(otherId)), 1);

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
