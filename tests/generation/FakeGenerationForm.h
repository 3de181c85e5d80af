#pragma once
// The links form as the generation run sees it, without a window: the link rows of a model read from the
// database as the form loads them, the fields set by the test, the shell's progress bar and log button,
// message boxes answered by the scripted message service. The processing log journals on a connection of
// its own, so that faults injected into the company connection hit only the run's statements.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Constants.h"
#include "db/Quote.h"
#include "db/Recordset.h"
#include "entry/CLSFA_AGGANCI.h"
#include "erp/DemoBuilder.h"
#include "generation/IGenerationForm.h"
#include "generation/ProcessingLog.h"
#include "host/ScriptedMessageService.h"
#include "host/controls/BasicControls.h"
#include "host/controls/ProgressBar.h"

namespace testsupport {

class FakeGenerationForm : public generation::IGenerationForm {
public:
    FakeGenerationForm(db::ConnectionPtr connection, std::shared_ptr<entry::Cinterface> program,
                       std::shared_ptr<host::ScriptedMessageService> messages)
        : connection_(std::move(connection)), interface_(std::move(program)), messages_(std::move(messages)) {
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

    // --- generation::IGenerationForm ---
    std::shared_ptr<entry::Cinterface> ActiveInterface() const override { return interface_; }
    std::shared_ptr<entry::CLSFA_AGGANCI> ActiveClass() const override { return programObject; }
    db::ConnectionPtr Gcon_Connect() const override { return connection_; }
    std::string Gstr_Connect() const override { return connection_->ConnectionString(); }
    std::string Gstr_DittaCorrente() const override { return "1"; }
    std::shared_ptr<entry::IMessageService> Gcls_Log() const override { return messages_; }
    entry::Util_TabNavigator tabVisible() const override { return tab; }
    generation::ProcessingLog& LogElaborazione() override { return *log_; }
    db::RecordsetPtr RstAggDettaglio() const override { return dettaglio; }
    std::string TXT_PREFISSO() const override { return prefisso; }
    std::string TXT_MODORIGINE() const override { return modello; }
    std::int16_t CHK_CODALT() const override { return codAlt; }
    std::string TXT_CODICEALTERNATIVO() const override { return codiceAlternativo; }
    std::int16_t ZEL_CHKRIGENERA() const override { return rigenera; }
    std::string TXT_DESCARTDAGENERARE() const override { return descrizione; }
    std::string TXT_DESCARTESTDAGENERARE() const override { return descrizioneEstesa; }
    std::string TXT_TESSPRINC() const override { return tessutoPrincipale; }
    std::string TXT_SEQUENZA() const override { return sequenza; }
    void FocusDescrizioneDaGenerare() override { ++focusOnDescription; }
    std::string TXT_DESCRD() const override { return descrizioneMassiva; }
    generation::ParametriMassivi ParametriDuplicazione() const override { return parametri; }
    db::RecordsetPtr RstSelezioneMassiva() const override { return selezioneMassiva; }
    db::RecordsetPtr RstSelezioneVarianti() const override { return selezioneVarianti; }
    std::shared_ptr<entry::IProgressBar> ZEL_PROGRESS1() const override { return progress; }
    std::shared_ptr<entry::IButton> CMD_LOG() const override { return cmdLog; }
    long MsgBox(const std::string& text, long style, const std::string& title) override {
        return messages_->MsgBox(text, style, title);
    }
    void MousePointer(long pointer) override {
        pointers.push_back(pointer);
        if (pointer == generation::vbHourglass && onHourglass) onHourglass();
    }
    void TestoStato(const std::string& text) override { statusTexts.push_back(text); }

    // Lines of the last run, without the banners and the start and end lines the writer adds itself.
    std::vector<std::string> RunLines() const {
        std::vector<std::string> lines;
        for (const auto& l : log_->RigheAccumulate())
            if (l != generation::BannerLog && l.rfind("Inizio elaborazione : ", 0) != 0 &&
                l.rfind("Termine elaborazione : ", 0) != 0)
                lines.push_back(l);
        return lines;
    }
    const std::vector<std::string>& AllLines() const { return log_->RigheAccumulate(); }

    // --- What the test sets ---
    std::shared_ptr<entry::CLSFA_AGGANCI> programObject = entry::CLSFA_AGGANCI::Create();
    entry::Util_TabNavigator tab = entry::Util_Agganci;
    db::RecordsetPtr dettaglio, selezioneMassiva, selezioneVarianti;
    std::string prefisso, modello, codiceAlternativo, descrizione, descrizioneEstesa, tessutoPrincipale, sequenza;
    std::string descrizioneMassiva;
    std::int16_t codAlt = 0, rigenera = 0;
    generation::ParametriMassivi parametri;
    std::shared_ptr<host::controls::ProgressBar> progress = std::make_shared<host::controls::ProgressBar>("ZEL_PROGRESS1");
    std::shared_ptr<host::controls::Button> cmdLog = std::make_shared<host::controls::Button>("CMD_LOG");
    // Called when an article's creation starts (the hourglass appears).
    std::function<void()> onHourglass;

    // --- What the run did ---
    std::vector<long> pointers;
    std::vector<std::string> statusTexts;
    int focusOnDescription = 0;

private:
    db::ConnectionPtr connection_;
    std::shared_ptr<entry::Cinterface> interface_;
    std::shared_ptr<host::ScriptedMessageService> messages_;
    std::unique_ptr<generation::ProcessingLog> log_;
};

}  // namespace testsupport
