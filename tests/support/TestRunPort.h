#pragma once
// A run's port and the data a window would hand to the run, without a window: the link rows of a model read
// from the database as the links form loads them, the fields set by the test, a progress bar and log button,
// message boxes answered by the scripted message service. The processing log journals on a connection of
// its own, so that faults injected into the company connection hit only the run's statements.
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Constants.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/MDLFA_AGGANCI.h"
#include "erp/DemoBuilder.h"
#include "generation/ControlRunPort.h"
#include "generation/CreaArticolo.h"
#include "generation/GenerationRun.h"
#include "generation/ProcessingLog.h"
#include "host/ScriptedMessageService.h"
#include "host/controls/BasicControls.h"
#include "host/controls/ProgressBar.h"
#include "mass_duplication/DuplicazioneMassiva.h"

namespace testsupport {

// The window's controls the run drives; a base of its own so that they exist before the port takes them.
struct TestRunControls {
    std::shared_ptr<host::controls::ProgressBar> progress =
        std::make_shared<host::controls::ProgressBar>("ZEL_PROGRESS1");
    std::shared_ptr<host::controls::Button> cmdLog = std::make_shared<host::controls::Button>("CMD_LOG");
};

class TestRunPort : public TestRunControls, public generation::ControlRunPort {
public:
    TestRunPort(db::ConnectionPtr connection, std::shared_ptr<entry::Cinterface> program,
                std::shared_ptr<host::ScriptedMessageService> messages)
        : ControlRunPort("TestRunPort", progress, cmdLog, "CMD_LOG"), connection_(std::move(connection)),
          interface_(std::move(program)), messages_(std::move(messages)) {
        auto journal = db::Connection::Create();
        journal->Open("sqlite::memory:");
        erp::CreateSchema(*journal);
        log_ = std::make_unique<generation::ProcessingLog>(interface_->ClsGlobal(), journal);
        progress->Visible(false);
        cmdLog->Visible(false);
    }

    // The link header and rows of `model` as the form shows them (rows ordered by fabric, the first one
    // current in the text boxes); `onlyFabric` keeps the row of that fabric only.
    void LoadModel(const std::string& model, const std::string& onlyFabric = {}) {
        modello = model;
        dettaglio = nullptr;
        auto header = connection_->Execute("SELECT * FROM FA63_AGGANCI WHERE FA63_DITTA_CG18 = 1 AND FA63_CODART_MG66 = " +
                                           db::SqlText(model));
        if (header->RecordCount() == 0) return;
        header->MoveFirst();
        auto text = [&](const char* f) { return db::RTrim((*header)[f].Value().Text()); };
        prefisso = text("FA63_PREFISSO");
        tessutoPrincipale = text("FA63_TSPRINCIPALE");
        sequenza = text("FA63_SEQUENZA");
        codiceAlternativo = text("FA63_CODALT");
        dettaglio = db::Recordset::Create();
        dettaglio->CursorLocation(db::adUseClient);
        dettaglio->Open("SELECT * FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 = " + db::SqlText(text("FA63_GUID")) +
                            (onlyFabric.empty() ? "" : " AND FA64_CODTESS_FA12 = " + db::SqlText(onlyFabric)) +
                            " ORDER BY FA64_CODTESS_FA12",
                        connection_, db::adOpenStatic, db::adLockBatchOptimistic);
        if (dettaglio->RecordCount() == 0) return;
        dettaglio->MoveFirst();
        descrizione = db::RTrim((*dettaglio)["FA64_DESCRIZIONE"].Value().Text());
        descrizioneEstesa = db::RTrim((*dettaglio)["FA64_DESCRESTESA"].Value().Text());
    }

    // --- generation::IRunPort ---
    long Ask(const std::string& text, long style, const std::string& title) override {
        return messages_->MsgBox(text, style, title);
    }
    generation::ProcessingLog& Log() override { return *log_; }
    generation::ProcessingLog& LogElaborazione() { return *log_; }
    void Busy(bool busy, const std::string& status) override {
        pointers.push_back(busy ? generation::vbHourglass : generation::vbDefault);
        statusTexts.push_back(status);
    }
    void FocusOn(const std::string& control) override { focused.push_back(control); }

    // --- What a window hands to the runs ---
    generation::GenerationContext Context() const {
        return {connection_, db::Variant(1), interface_, messages_, connection_->ConnectionString(), programObject};
    }
    generation::GenerationRequest LinksRequest() const {
        generation::GenerationRequest r;
        r.model = modello;
        r.prefix = prefisso;
        r.useAlternativeCode = codAlt == 1;
        r.alternativeCode = codiceAlternativo;
        r.regenerate = rigenera == 1;
        r.mainFabric.codice = tessutoPrincipale;
        r.mainFabric.sequenza = sequenza.empty() ? 0 : db::Variant(sequenza).CLng();
        r.rows = dettaglio;
        r.variantSelection = selezioneVarianti;
        return r;
    }
    mass_duplication::MassRequest MassRequest(const std::string& text, const std::string& mode) const {
        mass_duplication::MassRequest r;
        r.selection = selezioneMassiva;
        r.text = text;
        r.mode = mode;
        r.description = descrizioneMassiva;
        r.parameters = parametri;
        r.variantSelection = selezioneVarianti;
        return r;
    }
    // One article as the run of the tab in `tab` asks for it: on the links tab the row's descriptions (the
    // text boxes' without a row), on the mass tab the typed description or the selected article's own.
    generation::ArticleRequest Article(const std::string& origine, const std::string& nuovo,
                                       const std::string& tessuto, const generation::RigaAggancio* riga) const {
        generation::ArticleRequest a;
        a.source = origine;
        a.newCode = nuovo;
        a.fabric = tessuto;
        a.mainFabric = LinksRequest().mainFabric;
        a.variantSelection = selezioneVarianti;
        a.parameters = parametri;
        a.events = subscriber;
        if (tab == entry::Util_Agganci) {
            a.origin = generation::ArticleOrigin::LinkRow;
            if (riga) a.row = *riga;
            a.description = riga ? entry::Pfun_Testo(riga->descrizione) : db::RTrim(descrizione);
            a.extendedDescription = riga ? entry::Pfun_Testo(riga->descrizioneEstesa) : descrizioneEstesa;
            return a;
        }
        a.origin = generation::ArticleOrigin::MassTab;
        a.description = db::RTrim(descrizioneMassiva);
        if (a.description.empty() && selezioneMassiva && !selezioneMassiva->EOF() && !selezioneMassiva->BOF())
            a.description = entry::Pfun_Testo((*selezioneMassiva)["MG87_DESCART"].Value());
        a.extendedDescription = generation::GivenOrNone(entry::Pfun_Testo(parametri.descrizioneEstesa));
        if (selezioneMassiva) a.selectionSize = selezioneMassiva->RecordCount();
        return a;
    }

    // --- The runs ---
    // True when the caller may record the code: created, or existing already.
    bool CreaArticolo(const std::string& origine, const std::string& nuovo, const std::string& tessuto,
                      const generation::RigaAggancio* riga = nullptr) {
        const auto state = generation::CreaArticolo(Context(), Article(origine, nuovo, tessuto, riga), *this).state;
        return state == generation::ArticleState::Created || state == generation::ArticleState::AlreadyExists;
    }
    const generation::RunOutcome& RunGeneration() { return outcome = generation::RunGeneration(Context(), *this, LinksRequest()); }
    const generation::RunOutcome& RunMass(const std::string& text, const std::string& mode = "0") {
        return outcome = mass_duplication::RunMassDuplication(Context(), *this, MassRequest(text, mode));
    }

    // Lines of the last run, without the banners and the start and end lines the writer adds itself.
    std::vector<std::string> RunLines() const {
        std::vector<std::string> lines;
        for (const auto& l : log_->RigheAccumulate())
            if (l != generation::BannerLog && l.rfind("Inizio elaborazione : ", 0) != 0 &&
                l.rfind("Termine elaborazione : ", 0) != 0)
                lines.push_back(l);
        return lines;
    }
    std::vector<std::string> AllLines() const { return log_->RigheAccumulate(); }

    // --- What the test sets ---
    std::shared_ptr<entry::CLSFA_AGGANCI> programObject = entry::CLSFA_AGGANCI::Create();
    entry::Util_TabNavigator tab = entry::Util_Agganci;
    db::RecordsetPtr dettaglio, selezioneMassiva, selezioneVarianti;
    std::string prefisso, modello, codiceAlternativo, descrizione, descrizioneEstesa, tessutoPrincipale, sequenza;
    std::string descrizioneMassiva;
    std::int16_t codAlt = 0, rigenera = 0;
    generation::ParametriMassivi parametri;

    // --- What the run did ---
    std::vector<long> pointers;
    std::vector<std::string> statusTexts;
    std::vector<std::string> focused;
    std::shared_ptr<engine::CLSFA_DUPLICA_Events> subscriber;  // the caller's own, for each article
    generation::RunOutcome outcome;

private:
    db::ConnectionPtr connection_;
    std::shared_ptr<entry::Cinterface> interface_;
    std::shared_ptr<host::ScriptedMessageService> messages_;
    std::unique_ptr<generation::ProcessingLog> log_;
};

}  // namespace testsupport
