#pragma once
// The duplication engine: copies one article of a company, with its satellite data, to a new code.
// A caller creates one engine per new article, sets connection, company and descriptions, switches
// data groups in CollDatiDaDuplicare and calls the operations one group at a time, inside its own
// transaction (the engine opens none).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/Command.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Variant.h"
#include "engine/EngineEvents.h"
#include "engine/Enums.h"
#include "engine/RowCopy.h"
#include "engine/RunConstants.h"
#include "engine/SourceRows.h"
#include "entry/Collection.h"
#include "entry/HostInterfaces.h"
#include "entry/Trace.h"

namespace engine {

class CLSFA_DUPLICA : public db::Object {
public:
    CLSFA_DUPLICA();
    ~CLSFA_DUPLICA() override;
    CLSFA_DUPLICA(const CLSFA_DUPLICA&) = delete;
    CLSFA_DUPLICA& operator=(const CLSFA_DUPLICA&) = delete;

    // Event subscribers, called in the order they were added.
    void Advise(const std::shared_ptr<CLSFA_DUPLICA_Events>& sink);
    void Unadvise(const std::shared_ptr<CLSFA_DUPLICA_Events>& sink);

    // --- Session properties ---
    KvEnumDatiDaDuplicare EnmDatiDaDuplicare() const { return enmDatiDaDuplicare_; }
    void EnmDatiDaDuplicare(KvEnumDatiDaDuplicare v) { enmDatiDaDuplicare_ = v; }
    entry::CollectionPtr CollDatiDaDuplicare() const { return collDatiDaDuplicare_; }
    void CollDatiDaDuplicare(const entry::CollectionPtr& v) { collDatiDaDuplicare_ = v; }
    std::int16_t Stato() const { return stato_; }
    void Stato(std::int16_t v) { stato_ = v; }
    db::RecordsetPtr RstDuplVarianti() const { return rstDuplVarianti_; }
    void RstDuplVarianti(const db::RecordsetPtr& v) { rstDuplVarianti_ = v; }
    void Initialize();
    db::ConnectionPtr Connessione() const { return connessione_; }
    void Connessione(const db::ConnectionPtr& v);
    const db::Variant& ActInterface() const { return actInterface_; }
    void ActInterface(const db::Variant& v) { actInterface_ = v; }
    void Ditta(const db::Variant& v);
    void DescrizioneArticoloDaGenerare(const db::Variant& v);
    void DescrizioneEstesaArticoloDaGenerare(const db::Variant& v);
    bool ModalitaDuplicaSingola() const { return modalitaDuplicaSingola_; }
    void ModalitaDuplicaSingola(bool v) { modalitaDuplicaSingola_ = v; }
    // The company parameters of the caller's run (RunConstants.h); none: read for every operation.
    void Constants(const std::shared_ptr<RunConstants>& v) { constants_ = v; }

    // --- Operations (all: source code, new code; result kvMethodOK or an error) ---
    EnumMethodResult DuplicazioneAnagraficaBase(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneDescrizioni(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneDescrizioniInLingua(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneDatiIntra(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneConfezioni(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneScorte(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneAlternativi(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneSostitutivi(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneConcorrenti(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazionePackingList(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneUbicazioniFisse(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneUbicazioniDinamiche(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneBarcode(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneArticoliClienti(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneArticoliFornitori(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneAgentiPerArticolo(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneListiniVendita(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneListiniAcquisto(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneUltimiPrezzi(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    std::int16_t Pfun_GetProgressivo(std::int16_t& FlgVenAcq, const db::Variant& Articolo_Origine);
    EnumMethodResult DuplicazioneApplicazioni(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneDatiPersonalizzati(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneVarianti(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneColoredaTessuto(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneDatiProduzione(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneDiBa(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare,
                                      const std::shared_ptr<entry::Cinterface>& ActiveInterface,
                                      const db::Variant& StringaConnessione, const db::Variant& Ditta);
    EnumMethodResult DuplicazioneDatiLotto(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneDatiTracciabilitaProdotti(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneParamGestScorte(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    EnumMethodResult DuplicazioneAttributiFashion(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    static db::Variant NVL(const db::Variant& Valore, const db::Variant& ValIfNull);
    EnumMethodResult DuplicazioneVariantiDaModello(const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);

    // The stored procedure's command, for callers and tests that inspect what it was given.
    const db::CommandPtr& Command() const { return command_; }
    // The last SELECT a row-copy operation built.
    const std::string& StatementText() const { return statementText_; }
    // The caller vouches that, until it says otherwise, nothing writes rows of the articles the operations
    // copy from (their own copies write the new article's rows only). The copies by article code may then ask
    // once per source article which of their tables it has rows in, and skip the others (SourceRows.h). The
    // answers are kept until the caller says so again.
    void SourceRowsUnchanged(bool v) {
        sourceRowsUnchanged_ = v;
        sourceRows_.clear();
    }
    // The variant groupings (variant, grouping code) the operations created because they did not exist, in
    // the order created.
    const std::vector<std::pair<std::string, std::string>>& GroupingsCreated() const { return groupingsCreated_; }

private:
    // The families of operations keep their working steps in classes of their own files.
    friend class RowCopy;
    friend class VariantCopy;
    friend class ProductionCopy;
    void CreateCommand();
    void CreateParameters();
    void DestroyCommand();
    void DuplicaBatchByCommand(const std::string& origine, const std::string& nuovo);
    void SetDescriptionParameter(const char* name, const db::Variant& value);
    // Raises the event with the target recordset by reference. Error 91 when the handlers leave the reference
    // empty: the engine then works on a new target from its next operation on.
    void RaiseEvent(EngineEvent e);
    // How an operation that works on data runs: refused while a row copy of this engine is under way, its
    // errors raised again under its name.
    EnumMethodResult Operation(const char* name, const std::function<EnumMethodResult()>& body);
    // Error 5 while a row copy is under way: its event handlers may not start an operation of the engine,
    // which would reopen the recordsets the copy still holds.
    void RefuseWhileCopying() const;
    // The connection every statement of the engine runs on: error 3709, the data layer's for a connection it
    // cannot use, when the caller has set none.
    // A copy of the pointer: a handler that sets another connection meanwhile does not pull it from under the copy.
    db::ConnectionPtr UsableConnection() const;
    // Some subscriber handles the event.
    bool Listened(EngineEvent e) const;
    std::string DittaText() const;
    void CopyCustomerSupplierCodes(int kind, const db::Variant& Articolo_Origine,
                                   const db::Variant& Articolo_DaGenerare);
    void CopyDescriptionAttributes(const std::string& company, const std::string& escapedSource,
                                   const db::Variant& Articolo_Origine, const db::Variant& Articolo_DaGenerare);
    // The batch row copy of a table keyed by company and article, before its own rule and events.
    CopySpec ArticleTableCopy(const std::string& table, const std::string& prefix,
                                     const db::Variant& origine, const db::Variant& nuovo,
                                     const std::string& extra, int firstField) const;

    entry::TraceId traceId_;
    std::vector<std::shared_ptr<CLSFA_DUPLICA_Events>> sinks_;

    KvEnumDatiDaDuplicare enmDatiDaDuplicare_ = KvEnumDatiDaDuplicare(0);
    entry::CollectionPtr collDatiDaDuplicare_;
    std::int16_t stato_ = 0;
    db::RecordsetPtr rstDuplVarianti_;
    bool modalitaDuplicaSingola_ = false;
    db::ConnectionPtr connessione_;
    db::Variant actInterface_;
    db::Variant ditta_;
    db::Variant descrizioneArticoloDaGenerare_;
    db::Variant descrizioneEstesaArticoloDaGenerare_;
    std::shared_ptr<RunConstants> constants_;

    std::string statementText_;
    std::vector<std::pair<std::string, std::string>> groupingsCreated_;
    bool sourceRowsUnchanged_ = false;
    std::vector<SourceRows> sourceRows_;  // one per source article asked about
    // Whether the copy's source rows may be asked about: the caller vouched, and the copy is by article code.
    bool SourceRowsAsked(const CopySpec& plan) const;
    // Whether the copy's source has no row, by SourceRows (false when not known).
    bool SourceKnownEmpty(const CopySpec& plan);
    // A copy by article code found no source row: the next articles of the run ask about its table.
    void NoteCopiedNothing(const CopySpec& plan);
    db::RecordsetPtr rstSource_;
    db::RecordsetPtr rstTarget_;
    bool copying_ = false;  // a row copy is under way (RowCopy::Run), its events included
    std::int16_t fieldIndex_ = 0;
    db::CommandPtr command_;
};

}  // namespace engine
