#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "Queries.h"
#include "host/FileAccess.h"
#include "host/ProcessingLogService.h"

namespace fs = std::filesystem;

namespace {

template <class F>
long ErrorNumberOf(F call) {
    try {
        call();
    } catch (const db::Error& e) {
        return e.Number();
    }
    return 0;
}

class JournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn = testsupport::EmptyCompany();
        service = std::make_shared<host::ProcessingLogService>([this] { return now; });
        service->Connection(conn);
    }

    long Count(const std::string& sql) { return testsupport::Count(*conn, sql); }

    // "run|line|kind|highlight|text|company" of every journal line, in run and line order.
    std::vector<std::string> Lines() {
        return testsupport::Rows(*conn, "SELECT CG9M_IDELAB_CG9L, CG9M_RIGA, CG9M_TIPO, CG9M_FLGEVIDENZA, CG9M_TESTO, "
                                        "CG9M_DITTA_CG18 FROM CG9M_LOGELABRIG ORDER BY CG9M_IDELAB_CG9L, CG9M_RIGA");
    }

    db::ConnectionPtr conn;
    db::Date now = db::Date::FromParts(2026, 12, 4, 15, 7, 9);
    std::shared_ptr<host::ProcessingLogService> service;
};

TEST_F(JournalTest, ARunIsOneHeaderRowAndOneRowPerLineClosedWithItsStatus) {
    host::ProcessingLogService unconnected;
    EXPECT_EQ(ErrorNumberOf([&] { unconnected.Apri(db::Variant(1), "", db::Date{}, "T"); }), db::errc::ObjectRequired);
    EXPECT_EQ(ErrorNumberOf([&] { service->Riga("senza apertura", 2, false); }), db::errc::OperationNotAllowed);
    EXPECT_EQ(ErrorNumberOf([&] { service->Chiudi(1); }), db::errc::OperationNotAllowed);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CG9L_LOGELAB"), 0);

    service->Apri(db::Variant(3), "Mario Rossi", db::Date::FromParts(2026, 12, 4), "Generazione_Agganci_Aperture_3__4");
    ASSERT_TRUE(service->IdElaborazione().has_value());
    const std::string id = std::to_string(*service->IdElaborazione());
    service->Riga("Inizio", 2, false);
    service->Riga("Errore", 3, false);
    service->Riga("Evidenza", 4, true);

    // The header's company, date, title and user: tests/generation/processing_log_test.cpp.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT CG9L_STATO, CG9L_DTFINE FROM CG9L_LOGELAB"),
              std::vector<std::string>{"0|<null>"});
    EXPECT_EQ(service->RigheInAttesa(), 3u);  // gathered for one write

    now = db::Date::FromParts(2026, 12, 4, 15, 9, 0);
    service->Chiudi(1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{id + "|1|2|0|Inizio|3", id + "|2|3|0|Errore|3",
                                                 id + "|3|4|1|Evidenza|3"}));
    EXPECT_EQ(Count("SELECT CG9L_STATO FROM CG9L_LOGELAB"), 1);
    EXPECT_EQ(testsupport::Scalar(*conn, "SELECT CG9L_DTFINE FROM CG9L_LOGELAB").CDate(), now);
    EXPECT_EQ(ErrorNumberOf([&] { service->Riga("dopo", 2, false); }), db::errc::OperationNotAllowed);
}

// The run and its lines wait while a transaction is open and survive its rollback; written several to a
// statement, each line keeps its own number and text across the statements' edges, a long one too. A run
// opened inside a transaction waits for it as well.
TEST_F(JournalTest, WhileATransactionIsOpenTheRunAndItsLinesWaitAndSurviveItsRollbackEachWholeInItsPlace) {
    service->Apri(db::Variant(1), "", db::Date::FromParts(2026, 12, 4), "T");
    service->Riga("prima", 2, false);
    ASSERT_TRUE(service->IdElaborazione().has_value());  // the run is registered: only its lines wait
    conn->BeginTrans();
    service->Riga("dentro", 3, false);
    const std::string longLine(5000, 'x');  // among short ones
    auto filler = [&](std::size_t riga) { return riga == 7 ? longLine : "filler"; };
    for (std::size_t i = 2; i < host::ProcessingLogService::kLinesPerWrite; ++i) service->Riga(filler(i + 1), 2, false);
    EXPECT_EQ(service->RigheInAttesa(), host::ProcessingLogService::kLinesPerWrite);  // a full batch waits too
    conn->RollbackTrans();
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CG9M_LOGELABRIG"), 0);
    service->Riga("dopo", 2, false);  // outside the transaction: the batch goes, in one commit

    EXPECT_EQ(service->RigheInAttesa(), 0u);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), host::ProcessingLogService::kLinesPerWrite + 1);
    EXPECT_NE(lines[1].find("|2|3|0|dentro|"), std::string::npos);
    EXPECT_NE(lines.back().find("|" + std::to_string(lines.size()) + "|2|0|dopo|"), std::string::npos);
    for (std::size_t i = 2; i + 1 < lines.size(); ++i)
        EXPECT_NE(lines[i].find("|" + std::to_string(i + 1) + "|2|0|" + filler(i + 1) + "|1"), std::string::npos) << i;
    service->Chiudi(1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CG9L_LOGELAB WHERE CG9L_STATO = 1"), 1);

    // A run opened inside a transaction is registered after it, with its line.
    conn->BeginTrans();
    service->Apri(db::Variant(1), "", db::Date::FromParts(2026, 12, 4), "T");
    service->Riga("ultima", 2, false);
    EXPECT_FALSE(service->IdElaborazione().has_value());
    conn->RollbackTrans();
    service->Chiudi(1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CG9L_LOGELAB WHERE CG9L_STATO = 1"), 2);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CG9M_LOGELABRIG WHERE CG9M_TESTO = 'ultima'"), 1);
}

TEST(FileAccess, WritesCrLfLinesAndRewritesAnExistingFile) {
    const fs::path path = fs::temp_directory_path() / ("agg-files-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(path) << "vecchio contenuto";
    host::FileAccess access;
    auto stream = access.CreaFile(path.string());
    stream->WriteLine("uno");
    stream->WriteLine("due\r\ntre");
    std::ifstream written(path, std::ios::binary);  // each line on disk as soon as written
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}), "uno\r\ndue\r\ntre\r\n");
    stream->Close();
    stream->Close();
    EXPECT_EQ(ErrorNumberOf([&] { stream->WriteLine("chiuso"); }), 54);
    fs::remove(path);
}

}  // namespace
