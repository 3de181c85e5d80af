#pragma once
// The public program object: the shell creates one per opened program, drives it through the program
// interface Cinterface, subscribes it to its navigator, sets the program properties, asks it to show its
// window (the links form) and reads the results back afterwards.
//
// Every member runs with its errors ignored statement by statement: the shell gets no error from it.
#include <cstdint>
#include <memory>
#include <vector>

#include "db/Variant.h"
#include "entry/CinterfaceBase.h"
#include "entry/HostInterfaces.h"
#include "entry/ILinksForm.h"
#include "entry/Trace.h"

namespace entry {

enum Util_TabNavigator : std::int32_t {
    Util_Agganci = 0,      // links tab
    Util_Duplmassiva = 1,  // mass-duplication tab
};

enum KvEnumTipoAnagraficaArticoli : std::int32_t {
    KvEnumTipoAnagraficaArticoli_Nothing = 0,
    KvEnumTipoAnagraficaArticoli_Base = 1,
    KvEnumTipoAnagraficaArticoli_Estesa = 2,
};

// Texts the program object shows.
inline constexpr const char* kMsgCambioDitta =
    "Il cambio ditta è consentito solo dopo la chiusura del programma in uso!";
inline constexpr const char* kMsgExportToOffice = "Il programma non prevede il trasferimento dati in MsOffice !!!";
inline constexpr const char* kTitoloInformazione = "Informazione";
inline constexpr long kStileInformazione = 64;

// Outgoing events of the program object (DataTransfer, dispatch id 1).
class CLSFA_AGGANCI_Events {
public:
    virtual ~CLSFA_AGGANCI_Events() = default;
    virtual void DataTransfer(db::Variant& Data) {}
};

class CLSFA_AGGANCI : public CinterfaceBase, public INavigatorEvents {
public:
    static constexpr const char* kClassName = "CLSFA_AGGANCI";

    // Create through std::make_shared (or Create): the program interface is the instance itself, held
    // through its shared pointer.
    CLSFA_AGGANCI();
    ~CLSFA_AGGANCI() override;
    CLSFA_AGGANCI(const CLSFA_AGGANCI&) = delete;
    CLSFA_AGGANCI& operator=(const CLSFA_AGGANCI&) = delete;
    static std::shared_ptr<CLSFA_AGGANCI> Create() { return std::make_shared<CLSFA_AGGANCI>(); }

    // --- Public properties ---
    bool DuplicazioneAvvenuta() const { return duplicazioneAvvenuta_; }
    db::Variant Articolo_Origine() const { return articoloOrigine_; }
    void Articolo_Origine(const db::Variant& v) { articoloOrigine_ = v; }
    db::Variant Articolo_Destinazione() const { return articoloDestinazione_; }
    bool InvocaGestione() const { return invocaGestione_; }
    void InvocaGestione(bool v) { invocaGestione_ = v; }
    bool InvocaGestioneArticoliClienti() const { return invocaGestioneArticoliClienti_; }
    bool InvocaGestioneArticoliFornitori() const { return invocaGestioneArticoliFornitori_; }
    bool InvocaGestioneParamGestScorte() const { return invocaGestioneParamGestScorte_; }
    KvEnumTipoAnagraficaArticoli TipoAnagrafica() const { return tipoAnagrafica_; }
    void TipoAnagrafica(KvEnumTipoAnagraficaArticoli v) { tipoAnagrafica_ = v; }
    Util_TabNavigator Tab_Attivo() const { return tabAttivo_; }
    void Tab_Attivo(Util_TabNavigator v) { tabAttivo_ = v; }

    // --- Component-internal setters: only the links form writes its results through them ---
    void DuplicazioneAvvenuta(bool v) { duplicazioneAvvenuta_ = v; }
    void Articolo_Destinazione(const db::Variant& v) { articoloDestinazione_ = v; }
    void InvocaGestioneArticoliClienti(bool v) { invocaGestioneArticoliClienti_ = v; }
    void InvocaGestioneArticoliFornitori(bool v) { invocaGestioneArticoliFornitori_ = v; }
    void InvocaGestioneParamGestScorte(bool v) { invocaGestioneParamGestScorte_ = v; }

    // --- Event DataTransfer: subscribers in the order they were added ---
    void Advise(const std::shared_ptr<CLSFA_AGGANCI_Events>& sink);
    void Unadvise(const std::shared_ptr<CLSFA_AGGANCI_Events>& sink);

    // --- Cinterface members with more than a stored value ---
    using CinterfaceBase::ActiveNavigator;
    // Stores the navigator and subscribes to its events (ending the subscription to the previous one).
    void ActiveNavigator(const std::shared_ptr<INavigator>& v) override;
    // Creates and shows the links form; returns Empty. A modal show returns once the form is unloaded.
    db::Variant ShowForm() override;
    // Deregisters the program and unloads the form; True when the form is gone (also when there is none).
    db::Variant CloseForm() override;
    // Raises DataTransfer with the value; returns Empty.
    db::Variant TransferData(const db::Variant& Data) override;

    // --- Navigator events ---
    void BeforeChangeDitta(bool& Cancel) override;
    void BeforeExportToOffice(bool& Cancel, const db::ObjectPtr& Pcls_ExpToOffice) override;
    void InitializeLayoutObjectModel(const std::shared_ptr<ILayoutObjectModel>& ClsLayout) override;
    void InitializeScriptObjectModel(const std::shared_ptr<IScriptObjectModel>& ClsScript) override;

    // The links form, while the program holds one (the shell drives the window through it).
    std::shared_ptr<ILinksForm> LinksForm() const { return form_; }

private:
    // Whether the program interface says the program is active; a program interface that is missing or
    // cannot answer counts as not active, so a handler never acts on a question it could not ask.
    bool ProgramIsActive() const;
    // The reference a layout or script model hands back for the form.
    void ReplaceForm(const db::ObjectPtr& handedBack);

    TraceId traceId_;
    bool duplicazioneAvvenuta_ = false;
    db::Variant articoloOrigine_;
    db::Variant articoloDestinazione_;
    Util_TabNavigator tabAttivo_ = Util_Agganci;
    KvEnumTipoAnagraficaArticoli tipoAnagrafica_ = KvEnumTipoAnagraficaArticoli_Estesa;
    bool invocaGestione_ = false;
    bool invocaGestioneArticoliClienti_ = false;
    bool invocaGestioneArticoliFornitori_ = false;
    bool invocaGestioneParamGestScorte_ = false;
    std::shared_ptr<ILinksForm> form_;
    std::vector<std::shared_ptr<CLSFA_AGGANCI_Events>> sinks_;
};

}  // namespace entry
