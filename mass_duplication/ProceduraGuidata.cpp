#include "mass_duplication/ProceduraGuidata.h"

#include "entry/ErrorHandler.h"
#include "mass_duplication/ModiCodice.h"
#include "mass_duplication/SelezioneArticoli.h"

namespace mass_duplication {

ProceduraGuidata::ProceduraGuidata(ControlliMassivi controlli, generation::GenerationContext contesto, long entita,
                                   std::function<void()> scartaVarianti)
    : c_(std::move(controlli)), contesto_(std::move(contesto)), entita_(entita),
      scartaVarianti_(std::move(scartaVarianti)) {}

void ProceduraGuidata::MostraSottoFrame(const std::string& nome) {
    // Errors ignored on purpose: a frame that cannot be switched leaves the step shown, nothing to undo.
    try {
        const bool parametri = nome == kSottoFrameParametri;
        c_.FRM_PARDUPL->Visible(parametri);
        c_.FRM_SELDUPL->Visible(!parametri);
    } catch (...) {
    }
}

bool ProceduraGuidata::InitFrameDuplMass() {
    auto messaggi = contesto_.messaggi;
    auto connessione = contesto_.connessione;
    return entry::Procedure("InitFrameDuplMass", entry::HandlerTable::B, entry::ErrorContext(&messaggi, &connessione))
               .Step([&] {
                   // The prefix is free text: the box gets its host settings, not a list.
                   c_.TXT_PREFISSODART->ActiveInterface(contesto_.programma);
                   c_.TXT_PREFISSODART->Ditta(contesto_.ditta);
                   c_.TXT_PREFISSODART->LookupAttivo(false);
                   c_.CMD_AVANTI->Enabled(true);
               })
               .Run();
}

bool ProceduraGuidata::ScaricaFrameParDupl() {
    auto messaggi = contesto_.messaggi;
    auto connessione = contesto_.connessione;
    entry::Procedure("ScaricaFrameParDupl", entry::HandlerTable::B, entry::ErrorContext(&messaggi, &connessione))
        .Step([&] {
            for (const auto& t : {c_.TXT_PREFISSODART, c_.TXT_STAGIONED, c_.TXT_LINEAD, c_.TXT_MARCHIOD,
                                  c_.TXT_TIPOLOGIAD})
                t->Text("");
            c_.TXT_DESCRD->Text("");
            c_.TXT_DESCRESTD->Text("");
            // The codes are gone: their descriptions go with them.
            for (const auto& d : {c_.TXT_DESCSTAGIONED, c_.TXT_DESCLINEAD, c_.TXT_DESCMARCHIOD, c_.TXT_DESCTIPOLOGD})
                if (d) d->Text("");
            c_.CMD_LOGDUPL->Visible(false);
            c_.QGRD_DUPLMASS->Unbind();
            selezione_.reset();
            varianti_.reset();
            if (scartaVarianti_) scartaVarianti_();
        })
        .Run();
    return true;
}

bool ProceduraGuidata::InitQGRID_AGGANCI() {
    auto messaggi = contesto_.messaggi;
    auto connessione = contesto_.connessione;
    return entry::Procedure("InitQGRID_AGGANCI", entry::HandlerTable::B, entry::ErrorContext(&messaggi, &connessione))
        .Step([&] {
            using K = entry::GridColumnKind;
            auto& g = *c_.QGRD_DUPLMASS;
            g.Reset();
            g.Caption("Articoli da duplicare");
            g.AddColumn({"SEL", "Sel", 500, true, K::Check, true});
            g.AddColumn({"MG66_CODART", "Codice Articolo", 2500});
            g.AddColumn({"MG87_DESCART", "Descrizione Articolo", 3000});
            g.AddColumn({"FA12_STAGIONE_MG5T", "IdStagione", 1000});
            g.AddColumn({"FA12_STAGIONE_MG5T", "Stagione", 1000});
            g.AddColumn({"FA13_MARCHIO_FA06", "Marchio", 1000});
            g.AddColumn({"FA13_LINEA_FA05", "Linea", 1000});
            g.AddColumn({"FA12_TIPOLOGIA_FA04", "Tipologia", 1000});
            g.KeyField("MG66_CODART");
            // A clone sharing the rows: a tick in the grid is a tick in the run's selection.
            g.Bind(selezione_->Clone());
        })
        .Run();
}

void ProceduraGuidata::CMD_AVANTI_Click() {
    ScaricaFrameParDupl();
    const std::string condizione = c_.ADVQ_ARTICOLI ? c_.ADVQ_ARTICOLI->Condizione() : std::string();
    RecuperaArticoli(contesto_, entita_, condizione, selezione_);
    if (!selezione_ || !InitQGRID_AGGANCI()) return;
    c_.TXT_PREFISSODART->ActiveInterface(contesto_.programma);
    c_.TXT_PREFISSODART->Connection(contesto_.connessione);
    c_.TXT_PREFISSODART->Ditta(contesto_.ditta);
    if (selezione_->RecordCount() == 0) {
        if (contesto_.messaggi) contesto_.messaggi->MsgBox(kMsgNessunArticolo, 0, kTitoloNessunArticolo);
        return;
    }
    MostraSottoFrame(kSottoFrameParametri);
    const long n = selezione_->RecordCount();
    c_.CBO_PREFISSO->Clear();
    for (const auto& m : ModiOfferti(CodiceStrutturato(contesto_), n)) c_.CBO_PREFISSO->AddItem(m.key, m.caption);
    c_.CBO_PREFISSO->ListIndex(0);
    c_.TXT_DESCRD->Enabled(n < 2);
    c_.TXT_DESCRESTD->Enabled(n < 2);
    c_.TXT_TIPOLOGIAD->Enabled(n < 2);
    c_.CMD_DUPLMASS->Enabled(true);
}

generation::ParametriMassivi ProceduraGuidata::ParametriDuplicazione() const {
    generation::ParametriMassivi p;
    p.stagione = db::Variant(c_.TXT_STAGIONED->Text());
    p.linea = db::Variant(c_.TXT_LINEAD->Text());
    p.tipologia = db::Variant(c_.TXT_TIPOLOGIAD->Text());
    p.marchio = db::Variant(c_.TXT_MARCHIOD->Text());
    p.descrizione = db::Variant(c_.TXT_DESCRD->Text());
    p.descrizioneEstesa = db::Variant(c_.TXT_DESCRESTD->Text());
    return p;
}

}  // namespace mass_duplication
