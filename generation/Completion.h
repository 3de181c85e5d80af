#pragma once
// Completion of a generated article: the data its link row (links tab) or the mass-duplication parameters
// (mass tab) ask for, the model and fabric it was made from, and its season history.
//
//   AggiornaFa12_Fa13                  after the duplication transaction has been committed;
//   Pcls_DuplArticolo_AfterUpdateFA12  while the engine writes the new article's fashion record, inside
//                                      that transaction (GestoreAfterUpdateFA12 subscribes it to the engine).
#include <memory>
#include <string>

#include "db/Recordset.h"
#include "db/Variant.h"
#include "engine/EngineEvents.h"
#include "entry/CLSFA_AGGANCI.h"
#include "generation/GenerationContext.h"

namespace generation {

// The fields of the link row being generated (FA64_AGGANCIDET), as the row holds them (Null allowed).
struct RigaAggancio {
    db::Variant descrizione;        // FA64_DESCRIZIONE
    db::Variant descrizioneEstesa;  // FA64_DESCRESTESA
    db::Variant stagione;           // FA64_STAGIONE_MG5T: season identifier
    db::Variant linea;              // FA64_LINEA_FA05
    db::Variant marchio;            // FA64_MARCHIO_FA06
    db::Variant tipologia;          // FA64_TIPOLOGIA_FA04
    db::Variant tessuto;            // FA64_CODTESS_FA12
    db::Variant quantita;           // FA64_QTA1DIBA
};

// The parameters frame of the mass tab.
struct ParametriMassivi {
    db::Variant stagione;           // TXT_STAGIONED: season code
    db::Variant linea;              // TXT_LINEAD
    db::Variant tipologia;          // TXT_TIPOLOGIAD
    db::Variant marchio;            // TXT_MARCHIOD
    db::Variant descrizione;        // TXT_DESCRD
    db::Variant descrizioneEstesa;  // TXT_DESCRESTD
};

// What the generated article is to become; the tab says which of the two sources counts.
struct DatiArticoloGenerato {
    entry::Util_TabNavigator scheda = entry::Util_Agganci;
    RigaAggancio riga;
    ParametriMassivi massivi;
};

// Writes the model and fabric codes, season and typology (FA12_ARTICOLI), line and brand (FA13_ATTRIBUTI
// of the standard description) and the descriptions (MG87_ARTDESC) of the new article. Values left empty
// keep what the duplication copied; on the mass tab the fabric code written is empty whatever `tessuto`
// says. True when the updates ran (one with nothing to write is not sent); on an error the error is reported under "AggiornaFa12_Fa13"
// and the result is False (the caller then removes the article).
bool AggiornaFa12_Fa13(const GenerationContext& contesto, const DatiArticoloGenerato& dati,
                       const std::string& nuovo, const std::string& origine, const std::string& tessuto);

// Opens the season history of the new article whose fashion record the engine has just written: the
// season of the link row or of the mass parameters, else the source article's; no row when there is none
// or the history has it already. Errors are reported under "Pcls_DuplArticolo_AfterUpdateFA12" and end the
// handler only: the engine goes on.
void Pcls_DuplArticolo_AfterUpdateFA12(const GenerationContext& contesto, const DatiArticoloGenerato& dati,
                                       const std::string& origine, const db::RecordsetPtr& rstFA12);

// The engine subscriber of the form for one article: handles AfterUpdateFA12 with the article's values.
class GestoreAfterUpdateFA12 : public engine::CLSFA_DUPLICA_Events {
public:
    GestoreAfterUpdateFA12(GenerationContext contesto, DatiArticoloGenerato dati, std::string origine)
        : contesto_(std::move(contesto)), dati_(std::move(dati)), origine_(std::move(origine)) {}
    bool Handles(engine::EngineEvent e) const override { return e == engine::EngineEvent::AfterUpdateFA12; }
    void AfterUpdateFA12(db::RecordsetPtr& rstFA12) override {
        Pcls_DuplArticolo_AfterUpdateFA12(contesto_, dati_, origine_, rstFA12);
    }

private:
    GenerationContext contesto_;
    DatiArticoloGenerato dati_;
    std::string origine_;
};

}  // namespace generation
