// The answers the form gives its lookup boxes: for a lookup, the statement, columns and title of the
// list; for a decode, the statement that finds the typed code and where its description goes. Lists run
// on the form's connection, decodes on the company database's connection string.
#include "entry/LookupServices.h"
#include "entry/MDLFA_AGGANCI.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Messaggi.h"
#include "entry/Rif.h"
#include "links_form/Statements.h"

namespace links_form {
namespace {

using entry::HandlerTable;
namespace lookup = entry::lookup;

void Copia(const entry::LookupDefinition& definizione, entry::LookupRequest& richiesta) {
    richiesta.statement = definizione.statement;
    richiesta.fields = definizione.fields;
    richiesta.title = definizione.title;
}

}  // namespace

// On the links tab the typology lists the typologies of finished products.
std::vector<db::Variant> FRMFA_AGGANCI::ParametriTabLegami(const std::string& tipo) {
    if (tipo == lookup::Tipologia) return {db::Variant(lookup::ProdottiFiniti)};
    return {};
}

void FRMFA_AGGANCI::CollegaEventiRicerche() {
    CollegaRicercaCondivisa(ui_.TXT_LINEA, ui_.TXT_DESCLINEA, lookup::Linea, "TXT_LINEA_StartLookup",
                            "TXT_LINEA_StartDecode");
    CollegaRicercaCondivisa(ui_.TXT_MARCHIO, ui_.TXT_DESCMARCHIO, lookup::Marchio, "TXT_MARCHIO_StartLookup",
                            "TXT_MARCHIO_StartDecode");
    CollegaRicercaCondivisa(ui_.TXT_STAGIONE, ui_.TXT_DESCSTAGIONE, lookup::Stagione, "TXT_STAGIONE_StartLookup",
                            "TXT_STAGIONE_StartDecode");
    CollegaRicercaCondivisa(ui_.TXT_TIPOLOGIA, ui_.TXT_DESCTIPOLOGIA, lookup::Tipologia, "TXT_TIPOLOGIA_StartLookup",
                            "TXT_TIPOLOGIA_StartDecode");

    ui_.TXT_MODORIGINE->StartLookup().Connect([this](entry::LookupRequest& r) {
        Procedura("TXT_MODORIGINE_StartLookup", HandlerTable::B)
            .Step([&] {
                const auto definizione = entry::Rif(clsLookupFashion_).Prepara(lookup::ProdottiFiniti);
                Copia(definizione, r);
                r.connectionString = entry::Rif(gconConnect_).ConnectionString();
                ui_.TXT_MODORIGINE->IDLookup(definizione.idLookup + "0");
            })
            .Run();
    });
    ui_.TXT_MODORIGINE->StartDecode().Connect([this](entry::DecodeRequest& r) {
        Procedura("TXT_MODORIGINE_StartDecode", HandlerTable::B).Step([&] { r = RichiestaModello(); }).Run();
    });

    ui_.TXT_TSAGGANCIO->StartLookup().Connect([this](entry::LookupRequest& r) {
        Procedura("TXT_TSAGGANCIO_StartLookup", HandlerTable::B)
            .Step([&] {
                const auto definizione = entry::Rif(clsLookupFashion_).Prepara(lookup::Tessuti);
                Copia(definizione, r);
                r.connectionString = entry::Rif(gconConnect_).ConnectionString();
                ui_.TXT_TSAGGANCIO->IDLookup(definizione.idLookup + lookup::Tessuti);
            })
            .Run();
    });
    ui_.TXT_TSAGGANCIO->StartDecode().Connect([this](entry::DecodeRequest& r) {
        Procedura("TXT_TSAGGANCIO_StartDecode", HandlerTable::B).Step([&] { r = RichiestaTessutoAggancio(); }).Run();
    });

    ui_.TXT_TESSPRINC->StartLookup().Connect([this](entry::LookupRequest& r) { TXT_TESSPRINC_StartLookup(r); });
    // The main fabric's decode shares the link fabric's error-report name: support looks errors up by it.
    ui_.TXT_TESSPRINC->StartDecode().Connect([this](entry::DecodeRequest& r) {
        Procedura("TXT_TSAGGANCIO_StartDecode", HandlerTable::B).Step([&] { r = RichiestaTessutoPrincipale(); }).Run();
    });

    // A sequence that cannot be decoded (not a number, say) simply does not decode.
    ui_.TXT_SEQUENZA->StartDecode().Connect([this](entry::DecodeRequest& r) {
        entry::Procedure::ResumeNext("TXT_SEQUENZA_StartDecode").Step([&] { r = RichiestaSequenza(); }).Run();
    });

    ui_.TXT_PREFISSO->StartLookup().Connect([this](entry::LookupRequest& r) { TXT_PREFISSO_StartLookup(r); });
}

void FRMFA_AGGANCI::CollegaRicercaCondivisa(const std::shared_ptr<entry::ILookupTextBox>& box,
                                            const std::shared_ptr<entry::ITextBox>& descrizione, const char* tipo,
                                            const char* ricerca, const char* decodifica, ParametriRicerca parametri) {
    if (!parametri) parametri = [tipo] { return ParametriTabLegami(tipo); };
    // The handlers live in the box's own events: they hold the boxes weakly, or a box would keep itself.
    entry::ILookupTextBox* b = box.get();
    std::weak_ptr<entry::ITextBox> d = descrizione;
    box->StartLookup().Connect([this, b, tipo, ricerca, parametri](entry::LookupRequest& r) {
        Procedura(ricerca, HandlerTable::B)
            .Step([&] {
                const auto definizione = entry::Rif(clsLookupFashion_).Prepara(tipo, parametri());
                Copia(definizione, r);
                r.connectionString = entry::Rif(gconConnect_).ConnectionString();
                b->IDLookup(definizione.idLookup);
            })
            .Run();
    });
    box->StartDecode().Connect([this, b, tipo, decodifica, d, parametri](entry::DecodeRequest& r) {
        Procedura(decodifica, HandlerTable::B).Step([&] { r = RichiestaCondivisa(tipo, *b, d.lock(), parametri()); }).Run();
    });
}

entry::DecodeRequest FRMFA_AGGANCI::RichiestaCondivisa(const std::string& tipo, entry::ILookupTextBox& box,
                                                       const std::shared_ptr<entry::IControl>& descrizione,
                                                       const std::vector<db::Variant>& parametri) {
    const auto definizione = entry::Rif(clsDecodeFashion_).Decodifica(tipo, box.Text(), parametri);
    entry::DecodeRequest richiesta;
    richiesta.statement = definizione.statement;
    richiesta.fields = definizione.fields;
    if (richiesta.fields.empty()) richiesta.fields.push_back({});
    richiesta.fields[0].target = descrizione;
    richiesta.connectionString = gstrConnect_;
    return richiesta;
}

entry::DecodeRequest FRMFA_AGGANCI::RichiestaModello() {
    const auto definizione =
        entry::Rif(clsDecodeFashion_).Decodifica(lookup::ProdottiFiniti, entry::Pfun_Testo(db::Variant(ui_.TXT_MODORIGINE->Text())));
    entry::DecodeRequest richiesta{definizione.statement, definizione.fields, gstrConnect_};
    if (richiesta.fields.empty()) richiesta.fields.push_back({});
    richiesta.fields[0].target = ui_.TXT_DESCMODORIGINE;
    return richiesta;
}

entry::DecodeRequest FRMFA_AGGANCI::RichiestaTessutoAggancio() {
    const auto definizione =
        entry::Rif(clsDecodeMagazzino_).Decodifica(lookup::Tessuti, entry::Pfun_Testo(db::Variant(ui_.TXT_TSAGGANCIO->Text())));
    entry::DecodeRequest richiesta{definizione.statement, definizione.fields, gstrConnect_};
    if (richiesta.fields.empty()) richiesta.fields.push_back({});
    richiesta.fields[0].target = ui_.TXT_DESCTESAGGANCIO;
    return richiesta;
}

entry::DecodeRequest FRMFA_AGGANCI::RichiestaTessutoPrincipale() {
    entry::DecodeRequest richiesta;
    richiesta.statement = SqlDecodificaTessutoDiba(gstrDittaCorrente_, entry::Pfun_Testo(db::Variant(ui_.TXT_MODORIGINE->Text())),
                                                   entry::Pfun_Testo(db::Variant(ui_.TXT_TESSPRINC->Text())));
    richiesta.fields = {{"PD96_COMPON", nullptr}, {"MG87_DESCART", nullptr}, {"PD96_SEQCOMP", nullptr}};
    richiesta.connectionString = gstrConnect_;
    return richiesta;
}

entry::DecodeRequest FRMFA_AGGANCI::RichiestaSequenza() {
    entry::DecodeRequest richiesta;
    const std::string sequenza = db::Trim(ui_.TXT_SEQUENZA->Text());
    if (sequenza.empty()) return richiesta;
    richiesta.statement =
        SqlDecodificaSequenza(gstrDittaCorrente_, entry::Pfun_Testo(db::Variant(ui_.TXT_MODORIGINE->Text())),
                              entry::Pfun_Testo(db::Variant(ui_.TXT_TESSPRINC->Text())), sequenza);
    // Found or not, the typed sequence stays as the user typed it; saving the header refuses one that is
    // not a line of the main fabric.
    richiesta.fields = {{"PD96_SEQCOMP", nullptr}};
    richiesta.connectionString = gstrConnect_;
    return richiesta;
}

void FRMFA_AGGANCI::TXT_TESSPRINC_StartLookup(entry::LookupRequest& richiesta) {
    Procedura("TXT_TESSPRINC_StartLookup", HandlerTable::B)
        .Step([&] {
            richiesta.statement =
                SqlTessutiDiba(gstrDittaCorrente_, entry::Pfun_Testo(db::Variant(ui_.TXT_MODORIGINE->Text())));
            richiesta.fields = {{"Tessuto", "PD96_COMPON"}, {"Descrizione", "MG87_DESCART"}, {"Sequenza in Diba", "PD96_SEQCOMP"}};
            richiesta.title = kTitoloTessutiDiba;
            richiesta.connectionString = entry::Rif(gconConnect_).ConnectionString();
        })
        .Step([&] { ui_.TXT_TSAGGANCIO->IDLookup(kLookupTessutiDiba); })
        .Run();
}

void FRMFA_AGGANCI::TXT_PREFISSO_StartLookup(entry::LookupRequest& richiesta) {
    // The prefix lookup reports under the decode's name, the one support knows it by.
    Procedura("TXT_PREFISSO_StartDecode", HandlerTable::B)
        .Step([&] {
            richiesta.statement =
                SqlPrefissiModello(gstrDittaCorrente_, NVLTesto(db::Variant(ui_.TXT_MODORIGINE->Text()), db::Variant(std::string())).Text());
            richiesta.fields = {{"Cod Prefisso", "FA63_PREFISSO"}};
            richiesta.connectionString = entry::Rif(gconConnect_).ConnectionString();
        })
        .Step([&] { ui_.TXT_PREFISSO->IDLookup(kLookupPrefissi); })
        .Run();
}

}  // namespace links_form
