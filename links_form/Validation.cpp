// What a link header or row must hold before it is saved. A generation run trusts these values (they make
// the new article's code, its bill of materials and its fashion data), so a value the database does not
// know is refused here, with the field named, rather than failing an article later.
#include "db/Variant.h"
#include "entry/LookupServices.h"
#include "entry/MDLFA_AGGANCI.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Messaggi.h"
#include "entry/Rif.h"
#include "links_form/Statements.h"

namespace links_form {
namespace {

std::string Testo(const std::shared_ptr<entry::ITextBox>& box) { return db::Trim(box->Text()); }

}  // namespace

bool FRMFA_AGGANCI::Rifiuta(const std::shared_ptr<entry::IControl>& campo, const std::string& messaggio) {
    entry::Rif(ILinksForm::Gcls_Log).MsgBox(messaggio, kStileAttenzione, kTitoloDatiErrati, true, 0);
    if (campo->Reachable()) campo->SetFocus();
    return false;
}

bool FRMFA_AGGANCI::Decodifica(const entry::DecodeRequest& richiesta) { return Decodifica(richiesta.statement); }

bool FRMFA_AGGANCI::Decodifica(const std::string& sql) {
    if (db::Trim(sql).empty()) return false;
    auto rs = entry::Rif(gconConnect_).Execute(sql);
    return rs && rs->RecordCount() > 0;
}

bool FRMFA_AGGANCI::ValidaTestata() {
    // The bill is the one of the model whose links are saved: when another model is typed, the model box
    // shows it already while the links of the one loaded are saved.
    const std::string principale = entry::Pfun_Testo(db::Variant(ui_.TXT_TESSPRINC->Text()));
    const std::string tessuto = Testo(ui_.TXT_TESSPRINC);
    if (!tessuto.empty() && !Decodifica(SqlDecodificaTessutoDiba(gstrDittaCorrente_, modelloCaricato_, principale)))
        return Rifiuta(ui_.TXT_TESSPRINC, MsgValoreNonValido(etichette::TessutoPrincipale, tessuto));

    // The line of the main fabric in the model's bill: a number that the bill has for that fabric.
    const std::string sequenza = Testo(ui_.TXT_SEQUENZA);
    if (!sequenza.empty() &&
        (!db::Variant(sequenza).IsNumeric() ||
         !Decodifica(SqlDecodificaSequenza(gstrDittaCorrente_, modelloCaricato_, principale, sequenza))))
        return Rifiuta(ui_.TXT_SEQUENZA, MsgValoreNonValido(etichette::Sequenza, sequenza));

    if (ui_.CHK_CODALT->Value() == 1 && Testo(ui_.TXT_CODICEALTERNATIVO).empty())
        return Rifiuta(ui_.TXT_CODICEALTERNATIVO, MsgCampoObbligatorio(etichette::CodiceAlternativo));
    return true;
}

bool FRMFA_AGGANCI::ValidaRiga() {
    const std::string tessuto = Testo(ui_.TXT_TSAGGANCIO);
    if (tessuto.empty()) return Rifiuta(ui_.TXT_TSAGGANCIO, MsgCampoObbligatorio(etichette::TessutoAggancio));
    if (!Decodifica(RichiestaTessutoAggancio()))
        return Rifiuta(ui_.TXT_TSAGGANCIO, MsgValoreNonValido(etichette::TessutoAggancio, tessuto));

    if (Testo(ui_.TXT_DESCARTDAGENERARE).empty())
        return Rifiuta(ui_.TXT_DESCARTDAGENERARE, MsgCampoObbligatorio(etichette::Descrizione));

    const std::string quantita = Testo(ui_.TXT_QTA1);
    if (!quantita.empty() && !db::Variant(quantita).IsNumeric())
        return Rifiuta(ui_.TXT_QTA1, MsgValoreNonValido(db::Trim(etichette::Quantita), quantita));

    return ValidaCodici({{ui_.TXT_STAGIONE, entry::lookup::Stagione, etichette::Stagione, {}},
                         {ui_.TXT_LINEA, entry::lookup::Linea, etichette::Linea, {}},
                         {ui_.TXT_MARCHIO, entry::lookup::Marchio, etichette::Marchio, {}},
                         {ui_.TXT_TIPOLOGIA, entry::lookup::Tipologia, etichette::Tipologia, {}}});
}

bool FRMFA_AGGANCI::ValidaCodici(const std::vector<CodiceCondiviso>& codici) {
    for (const CodiceCondiviso& c : codici) {
        const std::string valore = Testo(c.box);
        if (valore.empty()) continue;
        // A season is stored as its identifier: known when it has one.
        const bool noto = std::string(c.tipo) == entry::lookup::Stagione
                              ? Get_MG5T_IDSTAGIONE(valore) != 0
                              : Decodifica(RichiestaCondivisa(c.tipo, *c.box, nullptr,
                                                              c.parametri ? c.parametri() : ParametriTabLegami(c.tipo)));
        if (!noto) return Rifiuta(c.box, MsgValoreNonValido(c.etichetta, valore));
    }
    return true;
}

}  // namespace links_form
