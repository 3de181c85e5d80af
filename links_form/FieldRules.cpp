// The rules that tie fields together: the prefix text, the main fabric and its sequence in the bill,
// the season code and the season identifier the row stores.
#include <algorithm>

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

// A prefix goes into article codes: a quote has no place in one.
std::string SenzaApici(std::string testo) {
    testo.erase(std::remove(testo.begin(), testo.end(), '\''), testo.end());
    return testo;
}

}  // namespace

void FRMFA_AGGANCI::CollegaEventiCampi() {
    ui_.TXT_PREFISSO->AfterItem().Connect([this] { TXT_PREFISSO_AfterItem(); });
    ui_.TXT_PREFISSODART->AfterItem().Connect([this] { TXT_PREFISSODART_AfterItem(); });
    ui_.TXT_TESSPRINC->BeforeItem().Connect([this] { TXT_TESSPRINC_BeforeItem(); });
    ui_.TXT_TESSPRINC->AfterItem().Connect([this] { TXT_TESSPRINC_AfterItem(); });
    ui_.TXT_TESSPRINC->ItemSelected().Connect([this](const std::vector<db::Variant>& riga) { TXT_TESSPRINC_ItemSelected(riga); });
    ui_.TXT_STAGIONE->AfterItem().Connect([this] { TXT_STAGIONE_AfterItem(); });
}

void FRMFA_AGGANCI::TXT_PREFISSO_AfterItem() {
    Procedura("TXT_PREFISSO_AfterItem", HandlerTable::A)
        .Step([&] { return rstTestata_ != nullptr; })  // only while the header frame is set up
        .Step([&] {
            const db::Variant testo(ui_.TXT_PREFISSO->Text());
            ui_.TXT_PREFISSO->Text(SenzaApici(entry::Pfun_Testo(NVLTesto(testo, db::Variant(std::string())))));
        })
        .Step([&] {
            if (!HaRigaCorrente(rstTestata_) || !ui_.TXT_PREFISSO->Text().empty()) return;
            // A header whose prefix is empty already is left alone: writing the same value would make a
            // saved header look changed, and keep the generate button disabled.
            auto prefisso = (*rstTestata_)["FA63_PREFISSO"];
            if (!prefisso.Value().IsNull() && prefisso.Value().Text().empty()) return;
            prefisso.Value(db::Variant(std::string()));
            rstTestata_->Update();
        })
        .Step([&] {
            if (ui_.FME_AGGANCI->Status() != entry::kvStatoNuovo) return;
            EseguiQuery();
            if (ui_.FME_AGGANCI->Status() == entry::kvStatoNuovo) EseguiQueryLibri();
        })
        .Run();
}

void FRMFA_AGGANCI::TXT_PREFISSODART_AfterItem() {
    entry::Procedure::ResumeNext("TXT_PREFISSODART_AfterItem")
        .Step([&] {
            const db::Variant testo(ui_.TXT_PREFISSODART->Text());
            ui_.TXT_PREFISSODART->Text(SenzaApici(NVLTesto(testo, db::Variant(std::string())).Text()));
        })
        .Run();
}

void FRMFA_AGGANCI::TXT_TESSPRINC_BeforeItem() {
    entry::Procedure::ResumeNext("TXT_TESSPRINC_BeforeItem")
        .Step([&] { ultimoTessutoPrincipale_ = ui_.TXT_TESSPRINC->Text(); })
        .Run();
}

void FRMFA_AGGANCI::TXT_TESSPRINC_AfterItem() {
    // The sequence names a line of the previous fabric: another fabric makes it meaningless.
    entry::Procedure::ResumeNext("TXT_TESSPRINC_AfterItem")
        .Step([&] {
            const std::string prima = db::Trim(ultimoTessutoPrincipale_);
            if (!prima.empty() && prima != db::Trim(ui_.TXT_TESSPRINC->Text())) ui_.TXT_SEQUENZA->Text("");
        })
        .Run();
}

void FRMFA_AGGANCI::TXT_TESSPRINC_ItemSelected(const std::vector<db::Variant>& riga) {
    // The row chosen from the bill's fabrics carries the line's sequence.
    entry::Procedure::ResumeNext("TXT_TESSPRINC_ItemSelected")
        .Step([&] { return riga.size() >= 3 && HaRigaCorrente(rstTestata_); })
        .Step([&] {
            (*rstTestata_)["FA63_SEQUENZA"].Value(riga[2]);
            rstTestata_->Update();
        })
        .Step([&] { ui_.TXT_SEQUENZA->Text(entry::Pfun_Testo(riga[2])); })
        .Step([&] { ultimoTessutoPrincipale_ = ui_.TXT_TESSPRINC->Text(); })
        .Run();
}

void FRMFA_AGGANCI::TXT_STAGIONE_AfterItem() {
    entry::Procedure::ResumeNext("TXT_STAGIONE_AfterItem")
        .Step([&] { return HaRigaCorrente(rstDettaglio_); })
        .Step([&] {
            const std::string codice = NVLTesto(db::Variant(ui_.TXT_STAGIONE->Text()), db::Variant(std::string())).Text();
            const std::int16_t id = Get_MG5T_IDSTAGIONE(codice);
            if (id == 0) return;  // an unknown season leaves the row's season as it is
            auto campo = (*rstDettaglio_)["FA64_STAGIONE_MG5T"];
            const db::Variant attuale = campo.Value();
            // The row shown again writes nothing: only a different season is an edit.
            if (!attuale.IsNull() && !attuale.IsEmpty() && attuale.CLng() == id) return;
            campo.Value(db::Variant(id));
        })
        // The box is not bound: the row frame learns of the edit as it does for its own boxes.
        .Step([&] { ui_.FME_AGGANCIDET->IsChanged(); })
        .Run();
}

std::int16_t FRMFA_AGGANCI::Get_MG5T_IDSTAGIONE(const std::string& codice) {
    std::int16_t id = 0;
    Procedura("Get_MG5T_IDSTAGIONE", HandlerTable::B)
        .Step([&] {
            const long trovato = generation::Get_MG5T_IDSTAGIONE(entry::Rif(gconConnect_), Contesto().ditta, entry::Pfun_Testo(db::Variant(codice)));
            id = db::Variant(entry::Pfun_Numero(db::Variant(trovato))).CInt();
        })
        .Run();
    return id;
}

}  // namespace links_form
