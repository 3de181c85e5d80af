// The links frames of the links tab: the header frame FME_AGGANCI over the model's link header and the
// row frame FME_AGGANCIDET over its link rows (with the grid and its navigator). They are set up when a
// valid model is typed and released when the model changes, the tab is left or the form closes.
#include "db/Constants.h"
#include "db/Field.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/FashionData.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "entry/Rif.h"
#include "links_form/Statements.h"

namespace links_form {
namespace {

using entry::HandlerTable;

bool HaRigaCorrente(const db::RecordsetPtr& rs) {
    return rs && rs->State() == db::adStateOpen && !rs->EOF() && !rs->BOF();
}

void Chiudi(db::RecordsetPtr& rs) {
    if (rs && rs->State() == db::adStateOpen) rs->Close();
    rs.reset();
}

}  // namespace

void FRMFA_AGGANCI::CollegaEventiModello() {
    ui_.TXT_MODORIGINE->Change().Connect([this] { modelloCambiato_ = true; });
    // The box has decoded the code when it raises AfterItem: only then is it known whether the code is a
    // model. Typing the same code again reloads nothing.
    ui_.TXT_MODORIGINE->AfterItem().Connect([this] {
        if (!modelloCambiato_) return;
        modelloCambiato_ = false;
        CaricaModello();
    });
}

void FRMFA_AGGANCI::CaricaModello() {
    const std::string modello = db::Trim(ui_.TXT_MODORIGINE->Text());
    const bool valido = !modello.empty() && ui_.TXT_MODORIGINE->Decodificato();
    // The user kept the links of the model shown: the box shows that model again, so that what is saved
    // belongs to the model on screen.
    auto ripristina = [&] {
        ui_.TXT_MODORIGINE->Text(modelloCaricato_);
        modelloCambiato_ = false;
        ui_.TXT_MODORIGINE->Refresh();
    };
    Procedura("TXT_MODORIGINE_AfterItem", HandlerTable::B)
        .Step([&] { ui_.CMD_LOG->Visible(false); })
        .Step([&] {
            if (valido) return true;
            ui_.FRM_PREFISSO->Enabled(false);
            if (DistruggiVFAgganci(false)) {
                modelloCaricato_.clear();
                AggiornaPulsanteGenera();
            } else {
                ui_.FRM_PREFISSO->Enabled(true);
                ripristina();
            }
            return false;
        })
        .Step([&] { ui_.FRM_PREFISSO->Enabled(true); })
        .Step([&] {
            if (DistruggiVFAgganci(false)) return true;
            ripristina();
            return false;
        })
        .Step([&] { return ImpostaVFAgganci(SqlTestataAgganci(gstrDittaCorrente_, modello), SqlRigheVuote()); })
        .Step([&] { modelloCaricato_ = modello; })
        .Step([&] {
            const auto program = ActiveInterface();
            const bool chiamato = program && program->IsCalled() &&
                                  !entry::Pfun_Testo(entry::Rif(ActiveClass()).Articolo_Origine()).empty();
            if (!chiamato) return;
            // Opened for one article by another program: that article's links only.
            ui_.INTERNAV_AGGANCI->Enabled(false);
            ui_.TXT_MODORIGINE->Enabled(false);
        })
        .Step([&] {
            if (rstTestata_->RecordCount() == 0) {
                ui_.FME_AGGANCI->Status(entry::kvStatoNuovo);
                (*rstTestata_)["FA63_CODART_MG66"].Value(db::Variant(modello));
            } else {
                const bool nuovo = entry::Rif(ActiveInterface()).ProgramMode() == entry::kvStatoNuovo;
                ui_.FME_AGGANCI->Status(nuovo ? entry::kvStatoNuovo : entry::kvStatoNavigazione);
            }
            if (ui_.FME_AGGANCI->Status() == entry::kvStatoNuovo && ui_.TXT_PREFISSO->Reachable())
                ui_.TXT_PREFISSO->SetFocus();
        })
        .Step([&] { AggiornaPulsanteGenera(); })
        .Run();
}

db::RecordsetPtr FRMFA_AGGANCI::ApriRecordset(const std::string& sql) {
    auto rs = db::Recordset::Create();
    rs->CursorLocation(db::adUseClient);
    // Changes stay in the recordset until the frame writes them together.
    rs->Open(sql, gconConnect_, db::adOpenStatic, db::adLockBatchOptimistic);
    return rs;
}

bool FRMFA_AGGANCI::ImpostaVFAgganci(const std::string& sqlTestata, const std::string& sqlRighe) {
    return Procedura("ImpostaVFAgganci", HandlerTable::A)
        .Step([&] { return InitQGRID_AGGANCI(); })
        .Step([&] {
            auto testata = ApriRecordset(sqlTestata);
            auto righe = ApriRecordset(sqlRighe);
            rstTestata_ = testata;
            rstDettaglio_ = righe;
        })
        .Step([&] {
            ui_.FME_AGGANCI->Bind(rstTestata_,
                                  {ui_.TXT_PREFISSO, ui_.TXT_TESSPRINC, ui_.TXT_CODICEALTERNATIVO, ui_.CHK_CODALT,
                                   ui_.TXT_SEQUENZA},
                                  "FA63_GUID");
        })
        .Step([&] {
            // Rows are written after their header, when the header is saved.
            ui_.FME_AGGANCIDET->DeferBatch(true);
            ui_.FME_AGGANCIDET->BindGrid(ui_.QGRD_AGGANCI);
            LegaRighe(rstDettaglio_);
        })
        .Step([&] {
            ui_.INTERNAV_AGGANCI->Frame(ui_.FME_AGGANCI);
            ui_.GRIDNAV_AGGANCI->Frame(ui_.FME_AGGANCIDET);
            ui_.GRIDNAV_AGGANCI->Grid(ui_.QGRD_AGGANCI);
        })
        .Run();
}

void FRMFA_AGGANCI::LegaRighe(const db::RecordsetPtr& righe) {
    eliminazioniInAttesa_ = false;  // a new row set has nothing deleted yet
    ui_.FME_AGGANCIDET->Bind(righe,
                             {ui_.TXT_TSAGGANCIO, ui_.TXT_DESCARTDAGENERARE, ui_.TXT_DESCARTESTDAGENERARE,
                              ui_.TXT_QTA1, ui_.TXT_LINEA, ui_.TXT_MARCHIO, ui_.TXT_TIPOLOGIA},
                             "FA64_GUID");
}

bool FRMFA_AGGANCI::RigheModificate() {
    if (!rstDettaglio_) return false;
    if (eliminazioniInAttesa_) return true;
    if (!ui_.FME_AGGANCIDET->IsChanged()) return false;
    if (!RigaNuovaVuota()) return true;
    // A new row nobody typed into is no change; other rows waiting to be written are.
    auto inAttesa = rstDettaglio_->Clone();
    inAttesa->Filter(db::Variant(static_cast<int>(db::adFilterPendingRecords)));
    return inAttesa->RecordCount() > 1;
}

bool FRMFA_AGGANCI::RigaNuovaVuota() {
    if (!rstDettaglio_ || ui_.FME_AGGANCIDET->Status() != entry::kvStatoNuovo) return false;
    if (rstDettaglio_->EditMode() != db::adEditAdd) return false;
    for (const auto& box : {ui_.TXT_TSAGGANCIO, ui_.TXT_STAGIONE, ui_.TXT_LINEA, ui_.TXT_MARCHIO, ui_.TXT_TIPOLOGIA})
        if (!db::Trim(box->Text()).empty()) return false;
    for (const auto& box : {ui_.TXT_DESCARTDAGENERARE, ui_.TXT_DESCARTESTDAGENERARE, ui_.TXT_QTA1})
        if (!db::Trim(box->Text()).empty()) return false;
    return true;
}

std::string FRMFA_AGGANCI::GuidTestata() {
    return HaRigaCorrente(rstTestata_) ? entry::Pfun_Testo((*rstTestata_)["FA63_GUID"].Value()) : std::string();
}

bool FRMFA_AGGANCI::ShowChild() {
    return Procedura("ShowChild", HandlerTable::A)
        .Step([&] {
            auto righe = ApriRecordset(SqlRigheAgganci(GuidTestata()));
            Chiudi(rstDettaglio_);
            rstDettaglio_ = righe;
            LegaRighe(rstDettaglio_);
        })
        // Browsing: the season of the first row is shown.
        .Step([&] { ui_.FME_AGGANCIDET->Status(entry::kvStatoNavigazione); })
        .Run();
}

bool FRMFA_AGGANCI::ClearChild() {
    return Procedura("ClearChild", HandlerTable::A)
        .Step([&] {
            auto righe = ApriRecordset(SqlRigheVuote());
            Chiudi(rstDettaglio_);
            rstDettaglio_ = righe;
            LegaRighe(rstDettaglio_);
        })
        .Run();
}

bool FRMFA_AGGANCI::RefreshChild() {
    // The rows are read again for the header shown now: an undone new header shows its predecessor's
    // rows again, not the empty set it started with.
    return Procedura("RefreshChild", HandlerTable::A)
        .Step([&] {
            auto righe = ApriRecordset(SqlRigheAgganci(GuidTestata()));
            Chiudi(rstDettaglio_);
            rstDettaglio_ = righe;
            LegaRighe(rstDettaglio_);
        })
        .Step([&] { ui_.FME_AGGANCIDET->Refresh(); })
        .Step([&] { MostraStagioneRiga(); })
        .Run();
}

bool FRMFA_AGGANCI::EseguiQuery() {
    return Procedura("EseguiQuery", HandlerTable::A)
        // A header being entered stays as the user typed it, unless the model has a header in the database
        // by now: then that one is shown.
        .Step([&] {
            const std::string sql = SqlTestataAgganci(gstrDittaCorrente_, modelloCaricato_);
            return entry::Rif(gconConnect_).Execute(sql)->RecordCount() > 0;
        })
        .Step([&] {
            rstTestata_ = ApriRecordset(SqlTestataAgganci(gstrDittaCorrente_, modelloCaricato_));
            ui_.FME_AGGANCI->Bind(rstTestata_,
                                  {ui_.TXT_PREFISSO, ui_.TXT_TESSPRINC, ui_.TXT_CODICEALTERNATIVO, ui_.CHK_CODALT,
                                   ui_.TXT_SEQUENZA},
                                  "FA63_GUID");
            ui_.FME_AGGANCI->Status(entry::kvStatoNavigazione);
        })
        .Run();
}

bool FRMFA_AGGANCI::EseguiQueryLibri() {
    return Procedura("EseguiQueryLibri", HandlerTable::A)
        .Step([&] {
            const std::string guid = GuidTestata();
            // Rows typed but not yet saved stay: they are keyed to the header as they are.
            if (!RigheModificate()) {
                auto righe = ApriRecordset(SqlRigheAgganciRichiave(guid));
                Chiudi(rstDettaglio_);
                rstDettaglio_ = righe;
                LegaRighe(rstDettaglio_);
            }
            if (guid.empty() || rstDettaglio_->RecordCount() == 0) return;
            auto clone = rstDettaglio_->Clone();
            for (clone->MoveFirst(); !clone->EOF(); clone->MoveNext()) {
                if (entry::Pfun_Testo((*clone)["FA64_GUID_FA63"].Value()) == guid) continue;
                (*clone)["FA64_GUID_FA63"].Value(db::Variant(guid));
                clone->Update();
            }
        })
        .Run();
}

bool FRMFA_AGGANCI::InitQGRID_AGGANCI() {
    return Procedura("InitQGRID_AGGANCI", HandlerTable::C)
        .Step([&] { ui_.QGRD_AGGANCI->ClearColumns(); })
        .Step([&] {
            auto& g = *ui_.QGRD_AGGANCI;
            g.AddColumn({"FA64_CODTESS_FA12", "Tessuto Aggancio", 2500});
            g.AddColumn({"FA64_DESCRIZIONE", "Descrizione", 3000});
            g.AddColumn({"FA64_QTA1DIBA", "Qtà", 1000});
            g.AddColumn({"FA64_STAGIONE_MG5T", "IdStagione", 1000, false});
            g.AddColumn({"MG5T_CODICE", "Stagione", 1000});
            g.AddColumn({"FA64_MARCHIO_FA06", "Marchio", 1000});
            g.AddColumn({"FA64_LINEA_FA05", "Linea", 1000});
            g.AddColumn({"FA64_TIPOLOGIA_FA04", "Tipologia", 1000});
            g.AddColumn({"FA64_ARTAGGANCIO_MG66", "Articolo Generato", 2500});
        })
        .Step([&] { ui_.QGRD_AGGANCI->KeyField("FA64_GUID"); })
        .Run();
}

void FRMFA_AGGANCI::ScartaRigaNuovaVuota() {
    if (RigaNuovaVuota()) ui_.FME_AGGANCIDET->Status(entry::kvStatoNavigazione);
}

bool FRMFA_AGGANCI::NewHeaderBlank() {
    if (ui_.FME_AGGANCI->Status() != entry::kvStatoNuovo) return false;
    for (const auto& box : {ui_.TXT_PREFISSO, ui_.TXT_TESSPRINC, ui_.TXT_SEQUENZA})
        if (!db::Trim(box->Text()).empty()) return false;
    return db::Trim(ui_.TXT_CODICEALTERNATIVO->Text()).empty() && ui_.CHK_CODALT->Value() == 0;
}

bool FRMFA_AGGANCI::LinksPending() {
    if (RigheModificate()) return true;
    // The form set the model code of a new header itself: untyped, the header is no change of the user's.
    if (!rstTestata_ || NewHeaderBlank()) return false;
    return ui_.FME_AGGANCI->IsChanged();
}

bool FRMFA_AGGANCI::LinksMayBeReleased() {
    if (!rstTestata_ && !rstDettaglio_) return true;
    ScartaRigaNuovaVuota();
    if (!LinksPending()) return true;
    // Rows belong to their header: saving them is saving the header, which writes the rows after it.
    // Asked of the row frame alone, a "save" would write rows under a header that was never saved; and the
    // header frame counts the rows' changes with its own, so one question covers both.
    return ui_.FME_AGGANCI->QueryClose(-1, 0, -1) != 0;
}

bool FRMFA_AGGANCI::DistruggiVFAgganci(bool forza) {
    bool distrutti = false;
    Procedura("DistruggiVFAgganci", HandlerTable::A)
        .Step([&] {
            if (rstTestata_ || rstDettaglio_) return true;
            distrutti = true;
            return false;
        })
        .Step([&] {
            if (!forza) return LinksMayBeReleased();
            ui_.FME_AGGANCIDET->Close(0, 0, 0);
            ui_.FME_AGGANCI->Close(0, 0, 0);
            return true;
        })
        .Step([&] {
            ui_.GRIDNAV_AGGANCI->Frame(nullptr);
            ui_.GRIDNAV_AGGANCI->Grid(nullptr);
            ui_.INTERNAV_AGGANCI->Frame(nullptr);
            ui_.INTERNAV_AGGANCI->Grid(nullptr);
        })
        .Step([&] {
            ui_.FME_AGGANCIDET->Release();
            Chiudi(rstDettaglio_);
            eliminazioniInAttesa_ = false;
        })
        .Step([&] {
            ui_.FME_AGGANCI->Release();
            Chiudi(rstTestata_);
        })
        .Step([&] {
            ui_.QGRD_AGGANCI->Unbind();
            ui_.QGRD_AGGANCI->Reset();
        })
        .Step([&] { SvuotaCampiAgganci(); })
        .Step([&] { distrutti = true; })
        .Run();
    if (distrutti) AggiornaPulsanteGenera();
    return distrutti;
}

void FRMFA_AGGANCI::SvuotaCampiAgganci() {
    for (const auto& box :
         {ui_.TXT_PREFISSO, ui_.TXT_TESSPRINC, ui_.TXT_SEQUENZA, ui_.TXT_TSAGGANCIO, ui_.TXT_STAGIONE, ui_.TXT_LINEA,
          ui_.TXT_MARCHIO, ui_.TXT_TIPOLOGIA})
        box->Text("");
    for (const auto& box : {ui_.TXT_CODICEALTERNATIVO, ui_.TXT_DESCTESAGGANCIO, ui_.TXT_DESCARTDAGENERARE,
                            ui_.TXT_DESCARTESTDAGENERARE, ui_.TXT_QTA1, ui_.TXT_DESCSTAGIONE, ui_.TXT_DESCLINEA,
                            ui_.TXT_DESCMARCHIO, ui_.TXT_DESCTIPOLOGIA})
        box->Text("");
    ui_.CHK_CODALT->Value(0);
}

void FRMFA_AGGANCI::MostraStagioneRiga() {
    // The frame shows the row's codes; their descriptions are decoded here.
    for (const auto& box : {ui_.TXT_TSAGGANCIO, ui_.TXT_LINEA, ui_.TXT_MARCHIO, ui_.TXT_TIPOLOGIA}) box->Refresh();
    std::string codice;
    if (HaRigaCorrente(rstDettaglio_)) {
        const db::Variant id = (*rstDettaglio_)["FA64_STAGIONE_MG5T"].Value();
        if (!id.IsNull() && !id.IsEmpty())
            codice = generation::CodiceStagione(entry::Rif(gconConnect_), Contesto().ditta, id);
    }
    ui_.TXT_STAGIONE->Text(codice);
    ui_.TXT_STAGIONE->Refresh();  // its description
}

}  // namespace links_form
