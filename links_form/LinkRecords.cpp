// The events of the links frames: what each status shows, what is filled in when a header or a row is
// saved (keys made by the database), and what a deletion removes with the records (the articles that
// were generated from them).
#include <utility>

#include "db/Constants.h"
#include "db/Field.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleRemoval.h"
#include "generation/FashionData.h"
#include "generation/GeneratedArticles.h"
#include "db/Transaction.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Messaggi.h"
#include "entry/Rif.h"
#include "links_form/Statements.h"

namespace links_form {
namespace {

using entry::HandlerTable;

bool HaRigaCorrente(const db::RecordsetPtr& rs) {
    return rs && rs->State() == db::adStateOpen && !rs->EOF() && !rs->BOF();
}

// A second cursor on the current row: it keeps that row when the row is deleted, so that the deletion
// can be written alone through it.
db::RecordsetPtr CursoreSullaRiga(db::Recordset& rs) {
    auto cursore = rs.Clone();
    const long riga = rs.CurrentRow();
    for (cursore->MoveFirst(); !cursore->EOF(); cursore->MoveNext())
        if (cursore->CurrentRow() == riga) break;
    return cursore;
}

// A handler left on an error must not let the frame go on with a save or a deletion it did not prepare.
void AnnullaSeInterrotta(const entry::Procedure& procedura, bool& cancel) {
    if (procedura.LeftOnError()) cancel = true;
}

}  // namespace

void FRMFA_AGGANCI::CollegaEventiAgganci() {
    auto& testata = *ui_.FME_AGGANCI;
    auto& righe = *ui_.FME_AGGANCIDET;
    testata.ChangeStatus().Connect([this](std::int16_t stato, long motivo) { FME_AGGANCI_ChangeStatus(stato, motivo); });
    righe.ChangeStatus().Connect([this](std::int16_t stato, long motivo) { FME_AGGANCIDET_ChangeStatus(stato, motivo); });
    testata.IsRecordChanged().Connect([this](bool& changed) { FME_AGGANCI_IsRecordChanged(changed); });
    righe.IsRecordChanged().Connect([this](bool& changed) { FME_AGGANCIDET_IsRecordChanged(changed); });
    testata.BeforeUpdate().Connect([this](bool& cancel) { FME_AGGANCI_BeforeUpdate(cancel); });
    testata.AfterUpdate().Connect([this](bool success) { FME_AGGANCI_AfterUpdate(success); });
    testata.AfterUndo().Connect([this](bool success) { FME_AGGANCI_AfterUndo(success); });
    testata.BeforeDelete().Connect([this](bool& cancel) { FME_AGGANCI_BeforeDelete(cancel); });
    righe.BeforeUpdate().Connect([this](bool& cancel) { FME_AGGANCIDET_BeforeUpdate(cancel); });
    righe.BeforeDelete().Connect([this](bool& cancel) { FME_AGGANCIDET_BeforeDelete(cancel); });
    righe.UpdateBatchAll().Connect([this] { FME_AGGANCIDET_UpdateBatchAll(); });
    // An undone row edit may leave nothing pending: the row shown and the generate button follow.
    righe.AfterUndo().Connect([this](bool) {
        Procedura("FME_AGGANCIDET_AfterUndo", HandlerTable::B)
            .Step([&] { eliminazioniInAttesa_ = false; })  // the deleted rows are back
            .Step([&] { MostraStagioneRiga(); })
            .Step([&] { AggiornaPulsanteGenera(); })
            .Run();
    });
    ui_.INTERNAV_AGGANCI->ButtonClick().Connect(
        [this](const std::string& button, bool& cancel) { INTERNAV_AGGANCI_ButtonClick(button, cancel); });
    ui_.GRIDNAV_AGGANCI->ButtonClick().Connect(
        [this](const std::string& button, bool& cancel) { GRIDNAV_AGGANCI_ButtonClick(button, cancel); });
    ui_.CHK_CODALT->Click().Connect([this] { CHK_CODALT_Click(); });
    ui_.QGRD_AGGANCI->FetchCell().Connect(
        [this](db::Recordset& record, const std::string& field, db::Variant& value) {
            QGRD_AGGANCI_FetchCell(record, field, value);
        });
}

// --- Statuses ---

void FRMFA_AGGANCI::FME_AGGANCI_ChangeStatus(std::int16_t stato, long motivo) {
    Procedura("FME_AGGANCI_ChangeStatus", HandlerTable::A)
        .Step([&] {
            if (stato == entry::kvStatoNavigazione) {
                ui_.TXT_PREFISSO->Enabled(false);  // the prefix of a saved header does not change
                if (motivo == entry::kvMotivoAggiornamento) return;
                ShowChild();
                ui_.CMD_LOG->Visible(false);
                AggiornaPulsanteGenera();
            } else if (stato == entry::kvStatoNuovo) {
                ui_.TXT_PREFISSO->Enabled(true);
                if (ui_.TXT_PREFISSO->Reachable()) ui_.TXT_PREFISSO->SetFocus();
                ui_.TXT_STAGIONE->Text("");
                ui_.TXT_DESCSTAGIONE->Text("");
                ui_.CMD_LOG->Visible(false);
                ui_.CMD_DUPLICA->Enabled(false);
                ui_.CMD_VARIANTI->Enabled(false);
                ClearChild();
            }
        })
        .Run();
}

void FRMFA_AGGANCI::FME_AGGANCIDET_ChangeStatus(std::int16_t stato, long motivo) {
    Procedura("FME_AGGANCIDET_ChangeStatus", HandlerTable::B)
        .Step([&] {
            if (stato == entry::kvStatoNuovo) {
                ui_.CMD_DUPLICA->Enabled(false);
                ui_.TXT_STAGIONE->Text("");
                ui_.TXT_DESCSTAGIONE->Text("");
            } else if (stato == entry::kvStatoNavigazione && motivo != entry::kvMotivoAggiornamento) {
                MostraStagioneRiga();
            }
        })
        .Step([&] {
            if (stato == entry::kvStatoNavigazione) AggiornaPulsanteGenera();
        })
        .Run();
}

void FRMFA_AGGANCI::FME_AGGANCI_IsRecordChanged(bool& changed) {
    Procedura("FME_AGGANCI_IsRecordChanged", HandlerTable::B)
        .Step([&] {
            if (!changed && RigheModificate()) changed = true;
        })
        .Step([&] { ui_.CMD_DUPLICA->Enabled(!changed); })
        .Run();
}

// A row edited is pending until its header is saved. Only the header may enable the button again: it
// counts the rows' changes with its own.
void FRMFA_AGGANCI::FME_AGGANCIDET_IsRecordChanged(bool& changed) {
    Procedura("FME_AGGANCIDET_IsRecordChanged", HandlerTable::B)
        .Step([&] {
            if (changed) ui_.CMD_DUPLICA->Enabled(false);
        })
        .Run();
}

void FRMFA_AGGANCI::AggiornaPulsanteGenera() {
    // The frame asks its IsRecordChanged handler, which sets the button.
    // The variant choice belongs to the generation of a loaded model, whether or not rows wait to be saved.
    ui_.CMD_VARIANTI->Enabled(rstTestata_ != nullptr);
    if (rstTestata_) ui_.FME_AGGANCI->IsChanged();
    else ui_.CMD_DUPLICA->Enabled(false);
}

// --- Saving ---

std::string FRMFA_AGGANCI::NuovaChiave() {
    auto rs = entry::Rif(gconConnect_).Execute(kSqlNuovaChiave);
    if (!rs || rs->RecordCount() == 0) throw db::Error(db::errc::EofOrBof, "No key from the database", "NuovaChiave");
    rs->MoveFirst();
    return entry::Pfun_Testo((*rs)["NEWGUID"].Value());
}

void FRMFA_AGGANCI::FME_AGGANCI_BeforeUpdate(bool& cancel) {
    auto procedura = Procedura("FME_AGGANCI_BeforeUpdate", HandlerTable::B);
    procedura
        .Step([&] {
            if (ValidaTestata()) return true;
            cancel = true;
            return false;
        })
        .Step([&] {
            auto& rs = entry::Rif(rstTestata_);
            rs["FA63_DITTA_CG18"].Value(Contesto().ditta);
            // The model whose links the frames hold: when another model is typed, the box shows it already
            // while the links of the one loaded are saved.
            rs["FA63_CODART_MG66"].Value(db::Variant(modelloCaricato_));
            if (rs["FA63_TSPRINCIPALE"].Value().IsNull()) rs["FA63_TSPRINCIPALE"].Value(db::Variant(std::string()));
        })
        // The key is the database's, made at the first save.
        .Step([&] {
            if (GuidTestata().empty()) (*rstTestata_)["FA63_GUID"].Value(db::Variant(NuovaChiave()));
        })
        .Step([&] {
            if (cancel) return;
            ScartaRigaNuovaVuota();
            if (!RigheModificate()) return;
            if (!ui_.FME_AGGANCIDET->SaveAll()) cancel = true;
        })
        .Run();
    AnnullaSeInterrotta(procedura, cancel);
}

void FRMFA_AGGANCI::FME_AGGANCI_AfterUpdate(bool success) {
    Procedura("FME_AGGANCI_AfterUpdate", HandlerTable::B)
        .Step([&] {
            if (success) ui_.FME_AGGANCIDET->SaveBatch();
        })
        .Step([&] { AggiornaPulsanteGenera(); })
        .Run();
}

void FRMFA_AGGANCI::FME_AGGANCI_AfterUndo(bool success) {
    Procedura("FME_AGGANCI_AfterUndo", HandlerTable::B)
        // The rows go with their header: read again for the header shown now, they drop their unsaved edits.
        .Step([&] {
            if (success) RefreshChild();
        })
        // A new header undone leaves the frame without a record: it offers a new one again, as for a model
        // without links, rather than a tab nothing can be saved from. Not while its rows still hold edits:
        // leaving the header would ask about them again, and the answer No would undo it again, for ever.
        .Step([&] {
            if (rstTestata_ && rstTestata_->RecordCount() == 0 && !RigheModificate())
                ui_.FME_AGGANCI->Status(entry::kvStatoNuovo);
        })
        // Undone, the header browses again: a saved header keeps its prefix.
        .Step([&] {
            if (ui_.FME_AGGANCI->Status() == entry::kvStatoNavigazione) ui_.TXT_PREFISSO->Enabled(false);
        })
        .Step([&] { AggiornaPulsanteGenera(); })
        .Run();
}

void FRMFA_AGGANCI::FME_AGGANCIDET_BeforeUpdate(bool& cancel) {
    auto procedura = Procedura("FME_AGGANCIDET_BeforeUpdate", HandlerTable::B);
    procedura
        .Step([&] {
            if (ValidaRiga()) return true;
            cancel = true;
            return false;
        })
        .Step([&] { entry::Rif(rstDettaglio_)["FA64_DITTA_CG18"].Value(Contesto().ditta); })
        .Step([&] {
            if (!HaRigaCorrente(rstTestata_))
                throw db::Error(db::errc::EofOrBof, "The link header of the row is not there", "FME_AGGANCIDET_BeforeUpdate");
            if (GuidTestata().empty()) (*rstTestata_)["FA63_GUID"].Value(db::Variant(NuovaChiave()));
        })
        .Step([&] {
            auto& riga = *rstDettaglio_;
            if (entry::Pfun_Testo(riga["FA64_GUID"].Value()).empty()) riga["FA64_GUID"].Value(db::Variant(NuovaChiave()));
        })
        .Step([&] {
            (*rstDettaglio_)["FA64_GUID_FA63"].Value(db::Variant(GuidTestata()));
            rstTestata_->Update();
            rstDettaglio_->Update();
        })
        .Run();
    AnnullaSeInterrotta(procedura, cancel);
}

void FRMFA_AGGANCI::FME_AGGANCIDET_UpdateBatchAll() {
    Procedura("FME_AGGANCIDET_UpdateBatchAll", HandlerTable::B)
        .Step([&] {
            entry::Rif(rstDettaglio_);
            return RigheModificate();
        })
        .Step([&] {
            // A row begun and never saved is not written.
            if (ui_.FME_AGGANCIDET->Status() == entry::kvStatoNuovo) ui_.FME_AGGANCIDET->Status(entry::kvStatoNavigazione);
        })
        .Step([&] {
            ui_.FME_AGGANCIDET->WriteBatch();
            eliminazioniInAttesa_ = false;
        })
        .Step([&] {
            if (rstDettaglio_->RecordCount() == 0) ui_.FME_AGGANCIDET->Status(entry::kvStatoNuovo);
            else ui_.FME_AGGANCIDET->Refresh();
        })
        .Step([&] { AggiornaPulsanteGenera(); })
        .Run();
}

// --- Deleting ---

void FRMFA_AGGANCI::INTERNAV_AGGANCI_ButtonClick(const std::string& button, bool& cancel) {
    Procedura("INTERNAV_AGGANCI_ButtonClick", HandlerTable::B)
        .Step([&] { return button == entry::pulsanti::Elimina && HaRigaCorrente(rstTestata_); })
        .Step([&] {
            entry::Rif(ILinksForm::Gcls_Log)
                .MsgBox(kAvvisoEliminaTestata + db::Trim((*rstTestata_)["FA63_CODART_MG66"].Value().Text()) + ".",
                        kStileAttenzione, kTitoloAttenzione, true, 0);
        })
        .Step([&] {
            cancel = true;  // the form runs the deletion, as one unit with what goes with it
            EliminaInTransazione(ui_.FME_AGGANCI, false);
        })
        .Run();
}

void FRMFA_AGGANCI::GRIDNAV_AGGANCI_ButtonClick(const std::string& button, bool& cancel) {
    Procedura("GRIDNAV_AGGANCI_ButtonClick", HandlerTable::B)
        .Step([&] { return button == entry::pulsanti::Elimina && HaRigaCorrente(rstDettaglio_); })
        .Step([&] {
            entry::Rif(ILinksForm::Gcls_Log)
                .MsgBox(kAvvisoEliminaRiga + db::Trim((*rstDettaglio_)["FA64_CODTESS_FA12"].Value().Text()) + ".",
                        kStileAttenzione, kTitoloAttenzione, true, 0);
        })
        .Step([&] {
            cancel = true;
            EliminaInTransazione(ui_.FME_AGGANCIDET, true);
        })
        .Run();
}

void FRMFA_AGGANCI::EliminaInTransazione(const std::shared_ptr<entry::IDataFrame>& frame, bool scriviRighe) {
    // Confirmed before the transaction: the database stays free for others while the user answers.
    if (!entry::Rif(frame).ConfirmDelete()) return;
    avvisiEliminazione_.clear();
    EliminaEScrivi(frame, scriviRighe);
    for (const std::string& avviso : std::exchange(avvisiEliminazione_, {}))
        entry::Rif(ILinksForm::Gcls_Log).MsgBox(avviso, kStileInformazione, kTitoloAttenzione, true, 0);
}

void FRMFA_AGGANCI::EliminaEScrivi(const std::shared_ptr<entry::IDataFrame>& frame, bool scriviRighe) {
    db::Transaction unita(entry::Rif(gconConnect_));
    articoloRimosso_ = false;
    const db::RecordsetPtr record = entry::Rif(frame).Recordset();
    const bool rigaNuova = entry::Rif(record).EditMode() == db::adEditAdd;
    const db::RecordsetPtr cancellato = scriviRighe ? CursoreSullaRiga(*record) : nullptr;
    const bool eliminato = frame->Delete();
    // A row whose article is gone is deleted now, not when the header is saved: undoing it would bring
    // back a link to an article that no longer exists. Only that row is written: the other rows' edits
    // and deletions wait for the header, as before.
    if (eliminato && scriviRighe) {
        if (articoloRimosso_) ScriviEliminazione(*cancellato);
        else if (!rigaNuova) eliminazioniInAttesa_ = true;
    }
    if (eliminato) unita.Commit();
    else unita.Rollback();
    // Nothing left to show: the frame waits for a new record, as for a model without links.
    if (eliminato && record->RecordCount() == 0) frame->Status(entry::kvStatoNuovo);
    AggiornaPulsanteGenera();
}

void FRMFA_AGGANCI::ScriviEliminazione(db::Recordset& riga) {
    try {
        riga.UpdateBatch(db::adAffectCurrent);
    } catch (const db::Error&) {
        // The article comes back with the rollback: so does its row.
        riga.CancelBatch(db::adAffectCurrent);
        ui_.FME_AGGANCIDET->Refresh();
        throw;
    }
}

void FRMFA_AGGANCI::FME_AGGANCIDET_BeforeDelete(bool& cancel) {
    auto procedura = Procedura("FME_AGGANCIDET_BeforeDelete", HandlerTable::B);
    procedura
        .Step([&] {
            // A generated article that cannot be removed keeps its link row: deleting the row would leave
            // the article without the link that generated it.
            if (!EliminaArticoloDellaRiga(entry::Rif(rstDettaglio_), articoloRimosso_)) cancel = true;
        })
        .Run();
    AnnullaSeInterrotta(procedura, cancel);
}

void FRMFA_AGGANCI::FME_AGGANCI_BeforeDelete(bool& cancel) {
    auto procedura = Procedura("FME_AGGANCI_BeforeDelete", HandlerTable::B);
    procedura
        .Step([&] {
            if (!rstDettaglio_ || rstDettaglio_->RecordCount() == 0) return true;
            auto clone = rstDettaglio_->Clone();
            bool rimosso = false;
            for (clone->MoveFirst(); !clone->EOF(); clone->MoveNext())
                if (!EliminaArticoloDellaRiga(*clone, rimosso)) {
                    cancel = true;
                    return false;
                }
            return true;
        })
        .Step([&] {
            const std::string guid = GuidTestata();
            if (guid.empty()) return;  // a header never saved has no rows in the database
            entry::Rif(gconConnect_).Execute(SqlEliminaRigheTestata(guid, gstrDittaCorrente_), nullptr,
                                      db::adCmdText | db::adExecuteNoRecords);
        })
        .Run();
    AnnullaSeInterrotta(procedura, cancel);
}

bool FRMFA_AGGANCI::EliminaArticoloDellaRiga(db::Recordset& riga, bool& rimosso) {
    auto& c = entry::Rif(gconConnect_);
    const std::string guid = entry::Pfun_Testo(riga["FA64_GUID"].Value());
    // The row as the database holds it now (the deletion holds the write lock): a run elsewhere may have
    // recorded an article on it since the rows were read.
    std::string articolo = entry::Pfun_Testo(riga["FA64_ARTAGGANCIO_MG66"].Value());
    if (!guid.empty())
        if (const auto registrato = generation::RecordedArticle(c, guid)) articolo = *registrato;
    if (articolo.empty()) return true;
    if (!generation::CreatedByLinkRow(c, Contesto().ditta, articolo, guid)) {
        avvisiEliminazione_.push_back(MsgArticoloNonGenerato(articolo));
        return true;
    }
    if (!generation::EliminaArticoloGenerato(Contesto(), articolo)) return false;
    rimosso = true;
    return true;
}

// --- Other controls of the links ---

void FRMFA_AGGANCI::CHK_CODALT_Click() {
    Procedura("CHK_CODALT_Click", HandlerTable::B)
        .Step([&] {
            if (ui_.CHK_CODALT->Value() == 1) {
                ui_.TXT_CODICEALTERNATIVO->Enabled(true);
                return;
            }
            ui_.TXT_CODICEALTERNATIVO->Text("");
            ui_.TXT_CODICEALTERNATIVO->Enabled(false);
        })
        .Run();
}

void FRMFA_AGGANCI::QGRD_AGGANCI_FetchCell(db::Recordset& record, const std::string& field, db::Variant& value) {
    if (db::UCase(field) != "MG5T_CODICE") return;
    Procedura("QGRD_AGGANCI_FetchCell", HandlerTable::B)
        .Step([&] {
            const db::Variant id = record["FA64_STAGIONE_MG5T"].Value();
            value = db::Variant(id.IsNull() || id.IsEmpty()
                                    ? std::string()
                                    : generation::CodiceStagione(entry::Rif(gconConnect_), Contesto().ditta, id));
        })
        .Run();
}

}  // namespace links_form
