// The two tabs and the side bar that switches between them: each tab's frame is set up when it is shown
// and torn down when it is left; a tab that refuses to go keeps the side bar on its item.
#include "entry/MDLFA_AGGANCI.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "entry/Rif.h"
#include "links_form/Statements.h"

namespace links_form {
namespace {

using entry::HandlerTable;

constexpr long kSinistraTab = 1800;  // twips: right of the side bar
constexpr const char* kFrameAgganci = "FRM_MODORIGINE";
constexpr const char* kFrameDuplMassiva = "FRM_DUPLMASS";

}  // namespace

void FRMFA_AGGANCI::CollegaEventiSchede() {
    ui_.SIDEBAR_MAIN->BeforeItemClick().Connect(
        [this](const std::string&, const std::string& key, bool& cancel) { SIDEBAR_MAIN_BeforeItemClick(key, cancel); });
    ui_.SIDEBAR_MAIN->ItemClick().Connect([this](const std::string&, const std::string& key) { SIDEBAR_MAIN_ItemClick(key); });
    ui_.CMD_NUOVO->Click().Connect([this] { CMD_NUOVO_Click(); });
}

void FRMFA_AGGANCI::SIDEBAR_MAIN_BeforeItemClick(const std::string& key, bool& cancel) {
    Procedura("SIDEBAR_MAIN_BeforeItemClick", HandlerTable::B)
        .Step([&] { return !caricamento_; })
        .Step([&] {
            if (!db::SameCode(key, voceCorrente_)) return true;
            cancel = true;  // the tab shown already
            return false;
        })
        .Step([&] {
            const auto frame = db::SameCode(voceCorrente_, kVoceDuplMassiva) ? ui_.FRM_DUPLMASS : ui_.FRM_MODORIGINE;
            if (ScaricaFrame(frame)) return;
            ui_.SIDEBAR_MAIN->SelectItem(kGruppoSideBar, voceCorrente_);
            cancel = true;
        })
        .Run();
}

void FRMFA_AGGANCI::SIDEBAR_MAIN_ItemClick(const std::string& key) {
    const entry::Util_TabNavigator precedente = tabVisible_;
    std::string voce = db::RTrim(key);
    Procedura("SIDEBAR_MAIN_ItemClick", HandlerTable::B)
        .Step([&] { return attivato_; })
        .Step([&] { ui_.SIDEBAR_MAIN->Enabled(false); })
        .Step([&] {
            if (db::SameCode(voce, kVoceAgganci)) MostraTab(entry::Util_Agganci);
            else if (db::SameCode(voce, kVoceDuplMassiva)) MostraTab(entry::Util_Duplmassiva);
        })
        .Step([&] { ui_.SIDEBAR_MAIN->Enabled(true); })
        .Step([&] {
            const entry::Util_TabNavigator chiesta =
                db::SameCode(voce, kVoceDuplMassiva) ? entry::Util_Duplmassiva : entry::Util_Agganci;
            if (tabVisible_ == chiesta) {
                voceCorrente_ = voce;
                return;
            }
            // The new tab did not set up, and the old one was already torn down: the user gets the old
            // tab back rather than no tab at all, and the side bar stays on its item.
            MostraTab(precedente);
            ui_.SIDEBAR_MAIN->SelectItem(kGruppoSideBar, voceCorrente_);
        })
        .Run();
}

void FRMFA_AGGANCI::MostraTab(entry::Util_TabNavigator tab) {
    entry::Procedure::ResumeNext("MostraTab")
        .Step([&] {
            const auto frame = tab == entry::Util_Duplmassiva ? ui_.FRM_DUPLMASS : ui_.FRM_MODORIGINE;
            if (!InizializzaFrame(frame)) return false;
            tabVisible_ = tab;
            return true;
        })
        .Run();
}

bool FRMFA_AGGANCI::InizializzaFrame(const std::shared_ptr<entry::IFrame>& frame) {
    bool pronto = false;
    Procedura("InizializzaFrame", HandlerTable::B)
        .Step([&] {
            entry::Rif(frame).Move(kSinistraTab, 0);
            frame->Visible(true);
        })
        .Step([&] {
            if (frame->Name() == kFrameAgganci) {
                pronto = InizializzaFrameAgganci();
            } else if (frame->Name() == kFrameDuplMassiva) {
                pronto = massTab_->InitFrameDuplMass();
                if (pronto) MostraSottoFrame("FRM_SELDUPL");
            }
        })
        .Run();
    if (!pronto && frame) frame->Visible(false);  // a tab that did not set up is not shown
    return pronto;
}

bool FRMFA_AGGANCI::ScaricaFrame(const std::shared_ptr<entry::IFrame>& frame) {
    bool scaricato = false;
    const bool eraVisibile = frame && frame->Visible();
    Procedura("ScaricaFrame", HandlerTable::B)
        .Step([&] { entry::Rif(frame).Visible(false); })
        .Step([&] {
            if (frame->Name() == kFrameAgganci) scaricato = ScaricaFrameAgganci();
            else if (frame->Name() == kFrameDuplMassiva) scaricato = massTab_->ScaricaFrameDuplMass();
        })
        .Run();
    if (!scaricato && frame) frame->Visible(eraVisibile);  // the tab stays as it was
    return scaricato;
}

bool FRMFA_AGGANCI::InizializzaFrameAgganci() {
    return Procedura("InizializzaFrameAgganci", HandlerTable::B)
        .Step([&] {
            for (const auto& box : {ui_.TXT_MODORIGINE, ui_.TXT_TSAGGANCIO, ui_.TXT_TESSPRINC}) {
                box->ActiveInterface(ActiveInterface());
                box->Connection(gconConnect_);
                box->Ditta(db::Variant(gstrDittaCorrente_));
                box->LookupAttivo(true);
            }
        })
        .Step([&] { InitQGRID_AGGANCI(); })
        .Step([&] { ui_.CMD_NUOVO->Enabled(!ModaleForm()); })
        // Before the model is loaded: loading it enables the header frame again, and a frame disabled
        // afterwards would leave the model's links shown but out of reach.
        .Step([&] { ui_.FRM_PREFISSO->Enabled(false); })
        .Step([&] {
            const std::string articolo = entry::Pfun_Testo(entry::Rif(ActiveClass()).Articolo_Origine());
            if (articolo.empty()) {
                if (ui_.TXT_MODORIGINE->Reachable()) ui_.TXT_MODORIGINE->SetFocus();
                return;
            }
            ui_.TXT_MODORIGINE->Text(articolo);
            modelloCambiato_ = true;
            ui_.TXT_MODORIGINE->Refresh();  // decodes the model and loads its links
            ui_.TXT_PREFISSO->Refresh();
        })
        .Step([&] {
            if (entry::Rif(ActiveClass()).TipoAnagrafica() != entry::KvEnumTipoAnagraficaArticoli_Base) return;
            ui_.TXT_DESCARTESTDAGENERARE->Visible(false);
            ui_.LBL_DESCARTESTDAGENERARE->Visible(false);
        })
        .Run();
}

bool FRMFA_AGGANCI::ScaricaFrameAgganci() {
    bool scaricato = false;
    Procedura("ScaricaFrameAgganci", HandlerTable::B)
        // The frames first: when the user keeps them, the tab keeps its boxes working too.
        .Step([&] {
            scaricato = DistruggiVFAgganci(false);
            return scaricato;
        })
        .Step([&] {
            for (const auto& box : {ui_.TXT_MODORIGINE, ui_.TXT_TSAGGANCIO, ui_.TXT_TESSPRINC}) {
                box->ActiveInterface(nullptr);
                box->Connection(nullptr);
            }
        })
        .Step([&] { rstVarianti_.reset(); })  // the next variant form builds a fresh list
        .Run();
    return scaricato;
}

void FRMFA_AGGANCI::MostraSottoFrame(const std::string& nome) {
    entry::Procedure::ResumeNext("MostraSottoFrame")
        .Step([&] {
            const bool parametri = nome == "FRM_PARDUPL";
            ui_.FRM_PARDUPL->Visible(parametri);
            ui_.FRM_SELDUPL->Visible(!parametri);
        })
        .Run();
}

void FRMFA_AGGANCI::CMD_NUOVO_Click() {
    Procedura("CMD_NUOVO_Click", HandlerTable::B)
        // Asked first: a user who keeps unsaved links keeps the model they belong to.
        .Step([&] { return DistruggiVFAgganci(false); })
        .Step([&] {
            ui_.TXT_MODORIGINE->Text("");
            ui_.TXT_DESCMODORIGINE->Text("");
        })
        .Step([&] { ImpostaVFAgganci(SqlTestataAgganci(gstrDittaCorrente_, ""), SqlRigheVuote()); })
        .Step([&] { ui_.FRM_PREFISSO->Enabled(false); })
        .Step([&] { ui_.CMD_LOG->Visible(false); })
        .Step([&] {
            if (ui_.TXT_MODORIGINE->Reachable()) ui_.TXT_MODORIGINE->SetFocus();
        })
        .Run();
}

}  // namespace links_form
