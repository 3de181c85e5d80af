#pragma once
// The demo company in memory with MODELLO01 duplicated through the product's per-article routine, as a
// generation run creates the article of a link row: the starting point of the completion, fabric
// substitution and removal tests.
//
//   ASSERT_TRUE(Duplicate(kNuovo));                        // MODELLO01 -> AGMODELLO01TS-LINO-BLU
//   generation::AggiornaFa12_Fa13(contesto, Dati(Riga("TS-LINO-BLU")), kNuovo, kModello, "TS-LINO-BLU");
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "DatabaseSnapshot.h"
#include "ArticleCopy.h"
#include "ProgramDouble.h"
#include "Queries.h"
#include "db/Connection.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "engine/CLSFA_DUPLICA.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
#include "generation/Completion.h"
#include "generation/EngineSequence.h"
#include "generation/GenerationContext.h"
#include "host/HostFactory.h"

namespace testsupport {

inline const std::string kModello = "MODELLO01";
inline const std::string kNuovo = "AGMODELLO01TS-LINO-BLU";
inline const std::string kTessutoPrincipale = "TS-COTONE-BIANCO";

// One line of the processing log as a generation routine wrote it.
struct LogLine {
    std::string text;
    long kind = 0;
    friend bool operator==(const LogLine&, const LogLine&) = default;
};
inline std::ostream& operator<<(std::ostream& os, const LogLine& l) { return os << l.kind << ": " << l.text; }

class GenerationFixture : public ::testing::Test {
protected:
    void SetUp() override {
        shell = host::InstallShellHost();
        erp::RegisterProcedures();
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        erp::BuildDemoDatabase(*conn, erp::DemoOptions{});
        program = ProgramOnDatabase(conn);
        contesto = {conn, db::Variant(1), program, shell->Messages(), "sqlite::memory:", nullptr};
    }

    // MODELLO01 duplicated into `target` as the links tab does it (variants from the model, the colour of
    // `fabric`, production data and bill of materials), in a transaction of its own - nested in the
    // test's, when one is open. `events` receives the engine's events. Committed when every step
    // succeeded, rolled back otherwise.
    bool Duplicate(const std::string& target, const std::string& fabric = "TS-LINO-BLU",
                   const std::shared_ptr<engine::CLSFA_DUPLICA_Events>& events = nullptr) {
        ArticleCopy copy;
        copy.model = kModello;
        copy.target = target;
        copy.fabric = fabric;
        copy.events = events;
        return CopyArticle(conn, program, copy).empty();
    }

    // The link row of MODELLO01 for `fabric`, as the links form hands it over.
    generation::RigaAggancio Riga(const std::string& fabric) {
        auto rs = conn->Execute(
            "SELECT FA64_AGGANCIDET.* FROM FA64_AGGANCIDET INNER JOIN FA63_AGGANCI ON FA63_GUID = FA64_GUID_FA63 "
            "WHERE FA63_CODART_MG66 = " + db::SqlText(kModello) + " AND FA64_CODTESS_FA12 = " + db::SqlText(fabric));
        EXPECT_EQ(rs->RecordCount(), 1) << fabric;
        rs->MoveFirst();
        auto& r = *rs;
        return {r["FA64_DESCRIZIONE"].Value(), r["FA64_DESCRESTESA"].Value(), r["FA64_STAGIONE_MG5T"].Value(),
                r["FA64_LINEA_FA05"].Value(),  r["FA64_MARCHIO_FA06"].Value(), r["FA64_TIPOLOGIA_FA04"].Value(),
                r["FA64_CODTESS_FA12"].Value(), r["FA64_QTA1DIBA"].Value()};
    }

    static generation::DatiArticoloGenerato Dati(const generation::RigaAggancio& riga) {
        generation::DatiArticoloGenerato d;
        d.scheda = entry::Util_Agganci;
        d.riga = riga;
        return d;
    }

    // A log writer that keeps the lines.
    generation::LogLineFn Log() {
        return [this](const std::string& text, long kind) { log.push_back({text, kind}); };
    }

    void Exec(const std::string& sql) { testsupport::Exec(*conn, sql); }
    long Count(const std::string& sql) { return testsupport::Count(*conn, sql); }
    db::Variant Scalar(const std::string& sql) { return testsupport::Scalar(*conn, sql); }
    std::string Text(const std::string& sql) { return db::RTrim(Scalar(sql).Text()); }
    bool Exists(const std::string& code) {
        return Count("SELECT COUNT(*) FROM MG66_ANAGRART WHERE MG66_CODART = " + db::SqlText(code)) > 0;
    }
    // The company's log folder set to a folder of the test's own, and the program re-read with it.
    void UseLogFolder(const std::string& name) {
        const auto folder = std::filesystem::path(::testing::TempDir()) / name;
        std::filesystem::create_directories(folder);
        SetCompanySetting(*conn, 1, "CartellaLog", folder.string() + "/");
        contesto.programma = program = ProgramOnDatabase(conn);
    }
    long SeasonId(const std::string& code) {
        return Count("SELECT MG5T_IDSTAGIONE FROM MG5T_STAGIONI WHERE MG5T_CODICE = " + db::SqlText(code));
    }

    // The whole database except the barcode numbering: numbers handed out are never given back, so an
    // article removed again leaves the counter where its creation moved it.
    std::string Snapshot() {
        std::string s = DatabaseSnapshot(*conn);
        const std::string section = "#MG4C_NUMBARCODE\n";
        const auto start = s.find(section);
        if (start == std::string::npos) return s;
        const auto end = s.find('#', start + section.size());
        return s.erase(start, end == std::string::npos ? std::string::npos : end - start);
    }

    std::shared_ptr<host::ShellHost> shell;
    db::ConnectionPtr conn;
    std::shared_ptr<ProgramDouble> program;
    generation::GenerationContext contesto;
    std::vector<LogLine> log;
};

// Rows that point to a row that is not there any more: attributes and attachments without the row whose
// identifier they hang on, bill lines without their header, cycle phases without their cycle, link rows
// without their header, grouping options without their grouping. Each text names one kind; none is
// expected in a sound database.
inline std::vector<std::string> OrphanRows(db::Connection& c) {
    const std::string identifiers =
        "SELECT MG66_GUID FROM MG66_ANAGRART UNION SELECT MG87_GUID FROM MG87_ARTDESC UNION SELECT MG4G_GUID FROM "
        "MG4G_ANAGRLOTTI UNION SELECT MG4N_GUID FROM MG4N_ARTTRALIM UNION SELECT FA63_GUID FROM FA63_AGGANCI UNION "
        "SELECT FA64_GUID FROM FA64_AGGANCIDET UNION SELECT PD52_GUID FROM PD52_ANAGCICLI";
    const std::vector<std::pair<std::string, std::string>> checks{
        {"FA13 without its row", "SELECT COUNT(*) FROM FA13_ATTRIBUTI WHERE FA13_GUID NOT IN (" + identifiers + ")"},
        {"AG01 without its row", "SELECT COUNT(*) FROM AG01_ALLEGATI WHERE AG01_GUIDRIF NOT IN (" + identifiers + ")"},
        {"PD96 without PD95", "SELECT COUNT(*) FROM PD96_LEGAMIDISBA WHERE PD96_IDDISBA_PD95 NOT IN (SELECT "
                              "PD95_IDDISBA FROM PD95_DISBA)"},
        {"PD53 without PD52", "SELECT COUNT(*) FROM PD53_CICLIFASI WHERE NOT EXISTS (SELECT 1 FROM PD52_ANAGCICLI "
                              "WHERE PD52_DITTA_CG18 = PD53_DITTA_CG18 AND PD52_CODICE = PD53_CODICE_PD52 AND "
                              "PD52_VERSIONE = PD53_VERSIONE_PD52)"},
        {"FA64 without FA63", "SELECT COUNT(*) FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 NOT IN (SELECT FA63_GUID "
                              "FROM FA63_AGGANCI)"},
        {"MG5H without MG5G", "SELECT COUNT(*) FROM MG5H_COMPRAGVAR WHERE NOT EXISTS (SELECT 1 FROM MG5G_RAGGVAR "
                              "WHERE MG5G_DITTA_CG18 = MG5H_DITTA_CG18 AND MG5G_CODICEVAR_MG5F = "
                              "MG5H_CODICEVAR_MG5F AND MG5G_CODRAGGVAR = MG5H_RAGGR_MG5G)"},
    };
    std::vector<std::string> found;
    for (const auto& [name, sql] : checks)
        if (const long n = Count(c, sql); n != 0) found.push_back(name + ": " + std::to_string(n));
    return found;
}

}  // namespace testsupport
