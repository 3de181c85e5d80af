// The processing log of a run: its file, its text, its journal rows and the viewers. The journal service
// itself (lines kept through a rollback, files rewritten) is tested in tests/host.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

#include "ProgramDouble.h"
#include "Queries.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "generation/LogClock.h"
#include "generation/LogViewer.h"
#include "generation/ProcessingLog.h"
#include "host/HostFactory.h"

namespace fs = std::filesystem;
using generation::ProcessingLog;

namespace {

const std::string kBanner = std::string(96, '*') + " ";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text a list of lines makes, each line ended by `end`: CR LF in the file, CR in the accumulated text.
std::string Joined(const std::vector<std::string>& lines, const std::string& end) {
    std::string text;
    for (const auto& l : lines) text += l + end;
    return text;
}

class ProcessingLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        shell = host::InstallShellHost();
        conn = testsupport::EmptyCompany();
        folder = fs::temp_directory_path() /
                 ("agg-log-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        global = std::make_shared<testsupport::GlobalDouble>();
        global->dittaCorrente = "7";
        global->cartellaLog = folder.string() + "/";
        global->utenteDescrizione = "Mario Rossi";
        now = db::Date::FromParts(2026, 3, 1, 9, 5, 3);
        log = std::make_unique<ProcessingLog>(global, conn, [this] { return now; });
    }
    void TearDown() override {
        log.reset();
        fs::remove_all(folder);
        entry::SetHost(nullptr);
    }

    // A run of `l` that logs one line.
    static void OneLineRun(ProcessingLog& l) {
        l.ApriLog();
        l.ScriviLog("Articolo :  PM01T9 Creato ", generation::LogInformazione);
        l.ChiudiLog();
    }

    std::shared_ptr<host::ShellHost> shell;
    db::ConnectionPtr conn;
    fs::path folder;
    std::shared_ptr<testsupport::GlobalDouble> global;
    db::Date now;
    std::unique_ptr<ProcessingLog> log;
};

// Blank texts are never written, nor anything after the log is closed; line breaks inside a text stay as they
// are. The file is named after company and moment; the journal's title is cut at fifty characters (52 here).
TEST_F(ProcessingLogTest, WritesTheRunToItsFileItsJournalAndItsAccumulatedText) {
    global->dittaCorrente = "1234567";
    log->ApriLog();
    log->ScriviLog("Inizio elaborazione per tessuto:  T9", generation::LogInformazione);
    log->ScriviLog("   ", generation::LogInformazione);
    log->ScriviLog("", generation::LogErrore);
    log->ScriviLog("Errore in duplicazione dati lotto \r\n", generation::LogErrore);
    log->ScriviLog("Riga in evidenza", generation::LogEvidenziato);
    now = db::Date::FromParts(2026, 3, 1, 9, 6, 10);
    log->ChiudiLog();
    log->ScriviLog("dopo la chiusura", generation::LogInformazione);

    const std::vector<std::string> lines{kBanner, "Inizio elaborazione : 01/03/2026 09:05:03", kBanner,
                                         "Inizio elaborazione per tessuto:  T9",
                                         "Errore in duplicazione dati lotto \r\n", "Riga in evidenza", kBanner,
                                         "Termine elaborazione : 01/03/2026 09:06:10", kBanner};
    EXPECT_EQ(log->FileLog(), folder.string() + "/Generazione_Agganci_Aperture_1234567__1.3.2026.9.5.3.txt");
    EXPECT_EQ(ReadFile(log->FileLog()), Joined(lines, "\r\n"));
    EXPECT_EQ(log->RigheAccumulate(), lines);
    EXPECT_EQ(log->TestoAccumulato(), Joined(lines, "\r"));

    EXPECT_EQ(testsupport::Rows(*conn, "SELECT CG9L_TITOLO, CG9L_DITTA_CG18, CG9L_UTENTE, CG9L_STATO "
                                       "FROM CG9L_LOGELAB"),
              std::vector<std::string>{"Generazione_Agganci_Aperture_1234567__1.3.2026.9.5|1234567|Mario Rossi|1"});
    EXPECT_EQ(testsupport::Scalar(*conn, "SELECT CG9L_DATA FROM CG9L_LOGELAB").CDate(),
              db::Date::FromParts(2026, 3, 1));
    // The journal's lines as kind|highlight|text: information 2, error 3, highlighted 4.
    std::vector<std::string> journal;
    for (std::size_t i = 0; i < lines.size(); ++i)
        journal.push_back((i == 4 ? "3|0|" : i == 5 ? "4|1|" : "2|0|") + lines[i]);
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT CG9M_TIPO, CG9M_FLGEVIDENZA, CG9M_TESTO FROM CG9M_LOGELABRIG ORDER BY "
                                       "CG9M_RIGA"),
              journal);

    // The accumulated text outlives the run until the next one.
    log->ApriLog();
    EXPECT_EQ(log->TestoAccumulato(), kBanner + "\rInizio elaborazione : 01/03/2026 09:06:10\r" + kBanner + "\r");
    // A general date at midnight is the date alone.
    EXPECT_EQ(generation::DataOraGenerale(db::Date::FromParts(2026, 12, 4)), "04/12/2026");
}

// A shell without a journal of runs.
class ShellWithoutJournal : public host::ShellHost {
public:
    std::shared_ptr<entry::IProcessingLogService> CreateProcessingLogService() override {
        throw entry::OggettoNonDisponibile("ProcessingLogService");
    }
};

// A folder that cannot hold the file, or a journal that cannot register the run, switches logging off silently.
TEST_F(ProcessingLogTest, AFolderOrJournalThatCannotHoldTheRunSwitchesLoggingOffSilently) {
    const fs::path plainFile = folder / "plain";
    std::ofstream(plainFile) << "x";
    for (const std::string& bad : {(folder / "missing").string() + "/", plainFile.string() + "/"}) {
        SCOPED_TRACE(bad);
        global->cartellaLog = bad;
        OneLineRun(*log);

        EXPECT_TRUE(log->LogDisabilitato());
        ASSERT_TRUE(log->UltimoErrore().has_value());
        EXPECT_EQ(log->UltimoErrore()->Number(), 76);
        EXPECT_TRUE(log->RigheAccumulate().empty());
        EXPECT_FALSE(fs::exists(log->FileLog()));
        EXPECT_EQ(testsupport::Count(*conn, "SELECT COUNT(*) FROM CG9L_LOGELAB"), 0);
    }
    EXPECT_TRUE(shell->Messages()->Messages().empty());

    // The next run with a usable folder logs again.
    global->cartellaLog = folder.string() + "/";
    log->ApriLog();
    EXPECT_FALSE(log->LogDisabilitato());
    EXPECT_TRUE(fs::exists(log->FileLog()));

    // A journal that cannot register the run switches logging off; a host without a journal still gets the file.
    auto bare = db::Connection::Create();
    bare->Open("sqlite::memory:");  // no tables: the run cannot be registered
    ProcessingLog other(global, bare, [this] { return now; });
    OneLineRun(other);
    EXPECT_TRUE(other.LogDisabilitato());
    EXPECT_TRUE(other.RigheAccumulate().empty());
    EXPECT_EQ(ReadFile(other.FileLog()), "");

    entry::SetHost(std::make_shared<ShellWithoutJournal>());
    OneLineRun(*log);
    EXPECT_FALSE(log->LogDisabilitato());
    EXPECT_NE(ReadFile(log->FileLog()).find("Articolo :  PM01T9 Creato \r\n"), std::string::npos);
}

// The browser saves a copy of the last run's file where the user chose and shows it, or only tells the
// user when no file was chosen. (The desktop viewer opening the file: links_form/generation_test.cpp.)
TEST_F(ProcessingLogTest, TheBrowserViewerShowsACopyOfTheLastRunsFileWhenTheWebRenderVariableSaysSo) {
    OneLineRun(*log);
    const std::string copy = (folder / "copia.txt").string();
    shell->SaveDialog()->Queue(copy);
    generation::MostraLogElaborazione(*log, *shell->Messages(), true);
    ASSERT_EQ(shell->SaveDialog()->Shown().size(), 1u);
    const auto& d = shell->SaveDialog()->Shown()[0];
    EXPECT_EQ(std::tie(d.startFolder, d.filter, d.title),
              std::make_tuple("c:\\", "TXT File|*.txt", "Salvataggio file"));
    EXPECT_EQ(ReadFile(copy), ReadFile(log->FileLog()));
    ASSERT_EQ(shell->Viewer()->Shown().size(), 1u);
    EXPECT_EQ(shell->Viewer()->Shown()[0].path, copy);
    EXPECT_EQ(shell->Viewer()->Shown()[0].contents, ReadFile(log->FileLog()));
    EXPECT_TRUE(shell->Messages()->Messages().empty());

    generation::MostraLogElaborazione(*log, *shell->Messages(), true);  // nothing scripted: cancelled
    ASSERT_EQ(shell->Messages()->Messages().size(), 1u);
    const auto& box = shell->Messages()->Messages()[0];
    EXPECT_EQ(std::tie(box.text, box.style, box.title),
              std::make_tuple(" Non è stata selezionato un file - OK", 48L, "Attenzione!"));
    EXPECT_EQ(shell->Viewer()->Shown().size(), 1u);

    // Without the choice given, the mode comes from the WEBRender variable.
    const char* saved = std::getenv("WEBRender");
    const std::string previous = saved ? saved : "";
    for (const bool web : {false, true}) {  // the desktop viewer, or the save dialog (nothing chosen)
        SCOPED_TRACE(web);
        ::setenv("WEBRender", web ? "1" : "0", 1);
        EXPECT_EQ(generation::WebRenderAttivo(), web);
        const auto dialogs = shell->SaveDialog()->Shown().size(), viewed = shell->Viewer()->Shown().size();
        generation::MostraLogElaborazione(*log, *shell->Messages());
        EXPECT_EQ(shell->SaveDialog()->Shown().size(), dialogs + (web ? 1 : 0));
        EXPECT_EQ(shell->Viewer()->Shown().size(), viewed + (web ? 0 : 1));
    }
    ::unsetenv("WEBRender");
    EXPECT_FALSE(generation::WebRenderAttivo());
    if (saved) ::setenv("WEBRender", previous.c_str(), 1);
}

}  // namespace

// The run's kept lines come back one by one as written, across the blocks they are kept in, a line longer
// than a block and long lines kept once included.
TEST(KeptLinesTest, LinesComeBackAsWrittenAcrossBlocks) {
    generation::KeptLines kept;
    std::vector<std::string> written;
    for (int i = 0; i < 3000; ++i) written.push_back("Articolo :  C-" + std::to_string(i) + " Creato ");
    written.insert(written.begin() + 1500, std::string(70000, '*'));
    for (int i = 0; i < 6; ++i)  // long lines, some repeated (a banner, a separator)
        for (int j = 0; j <= i; ++j) written.insert(written.begin() + 10 * i + j, std::string(64 + i, 'a' + i));
    written.push_back("");
    written.push_back("last\r\n");
    for (const auto& line : written) kept.Add(line);
    EXPECT_EQ(kept.Lines(), written);
    kept.Clear();
    EXPECT_TRUE(kept.Lines().empty());
}
