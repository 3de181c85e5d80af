// Engine session: creation and release, properties, the stored-procedure call and the group switches.
#include "engine/CLSFA_DUPLICA.h"

#include <algorithm>

#include "db/AdoErrors.h"
#include "db/Quote.h"
#include "engine/Trap.h"
#include "entry/Rif.h"

namespace engine {
namespace {

constexpr const char* kClassName = "CLSFA_DUPLICA";
constexpr const char* kProcedure = "SPMG_DUPLICAART";

struct SwitchKey {
    const char* key;
    bool initial;
    const char* flag;  // flag of the stored procedure that a True switch clears; nullptr: none
};

// The group switches, in the order Initialize adds them and DuplicaBatchByCommand reads them.
constexpr SwitchKey kSwitches[] = {
    {"KEY1", true, "@NODUP_MG68_CONFART"},
    {"KEY2", true, "@NODUP_MG67_SCORTE"},
    {"KEY3", true, "@NODUP_MG84_ARTALTER"},
    {"KEY4", true, "@NODUP_MG85_ARTSOST"},
    {"KEY5", true, "@NODUP_MG86_ARTCONC"},
    {"KEY8", true, "@NODUP_MG92_ARTPACKL"},
    {"KEY9", true, "@NODUP_MG7A_UBICAZARTFIX"},
    {"KEY13", true, "@NODUP_LI10_LISTARTICVEN"},
    {"KEY14", true, "@NODUP_LI10_LISTARTICACQ"},
    {"KEY15", true, "@NODUP_LI11_ULTPRACQVEN"},
    {"KEY16", true, "@NODUP_MG72_APPLICART"},
    {"KEY17", true, "@NODUP_MG43_ARTPERS"},
    {"KEY19", true, "@NODUP_MG98_MAGINTRA"},
    {"KEY20", true, "@NODUP_MG6M_PARAMARTLOTTI"},
    {"KEY26", false, nullptr},
};

struct ParameterDef {
    const char* name;
    long type;
    long size;  // text size; for numerics the precision
    int scale;
    bool hasValue;
    int value;
};

// The 29 parameters of SPMG_DUPLICAART, in the order they are appended.
constexpr ParameterDef kParameters[] = {
    {"@DITTA", db::adNumeric, 5, 0, false, 0},
    {"@ARTICOLO_ORIG", db::adVarChar, 25, 0, false, 0},
    {"@ARTICOLO_NEW", db::adVarChar, 25, 0, false, 0},
    {"@DESCRIZIONE_NEW", db::adVarWChar, 72, 0, false, 0},
    {"@DESCRIZIONEEST_NEW", db::adVarWChar, 1672, 0, false, 0},
    {"@NODUP_MG68_CONFART", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG67_SCORTE", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG84_ARTALTER", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG85_ARTSOST", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG86_ARTCONC", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG92_ARTPACKL", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG7A_UBICAZARTFIX", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG69_UBICAZART", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG65_BARCODE", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG6C_ANAGRARTAGE", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_LI10_LISTARTICVEN", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_LI10_LISTARTICACQ", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_LI11_ULTPRACQVEN", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG72_APPLICART", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG43_ARTPERS", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG6D_FLGTABARTVAR", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG98_MAGINTRA", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG6M_PARAMARTLOTTI", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG4N_ARTTRALIM", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_SC06_ARTSCORTE", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_MG87_ARTDESC", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_PK07_ARTIMB", db::adNumeric, 1, 0, true, 1},
    {"@NODUP_PD18_ARTPROD", db::adNumeric, 1, 0, true, 1},
    {"@STATO", db::adNumeric, 1, 0, true, 0},
};

db::Variant Flag(int v) { return db::Variant(db::Decimal::FromInt(v)); }

// A recordset of the host's recordset provider, with its presets: the engine's source and target.
db::RecordsetPtr NewRecordset() { return entry::Host().CreateRecordsetProvider()->Recordset(); }

}  // namespace

CLSFA_DUPLICA::CLSFA_DUPLICA() {
    entry::WriteTraceLine(traceId_, entry::TracePhase::Ini, kClassName);
    rstSource_ = NewRecordset();
    rstTarget_ = NewRecordset();
    if (!command_) CreateCommand();
}

CLSFA_DUPLICA::~CLSFA_DUPLICA() {
    entry::WriteTraceLine(traceId_, entry::TracePhase::Ter, kClassName);
    rstSource_.reset();
    rstTarget_.reset();
    rstDuplVarianti_.reset();
    DestroyCommand();
}

void CLSFA_DUPLICA::Advise(const std::shared_ptr<CLSFA_DUPLICA_Events>& sink) {
    if (sink) sinks_.push_back(sink);
}

void CLSFA_DUPLICA::Unadvise(const std::shared_ptr<CLSFA_DUPLICA_Events>& sink) {
    sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void CLSFA_DUPLICA::RaiseEvent(EngineEvent e) {
    // A handler may replace the reference; the engine goes on with what the last one leaves. Until then it keeps
    // its own, so that a handler's error leaves it a target for its next operation.
    db::RecordsetPtr target = rstTarget_;
    for (auto& sink : std::vector(sinks_)) sink->Raise(e, target);
    if (!target) {
        // The rows to write or read back went with the reference: the operation fails, and the operations that
        // follow work on a new target.
        rstTarget_ = NewRecordset();
        entry::Rif(target);
    }
    rstTarget_ = std::move(target);
}

EnumMethodResult CLSFA_DUPLICA::Operation(const char* name, const std::function<EnumMethodResult()>& body) {
    return RaiseAs(name, [&] {
        RefuseWhileCopying();
        return body();
    });
}

void CLSFA_DUPLICA::RefuseWhileCopying() const {
    if (copying_)
        throw db::Error(db::errc::InvalidProcedureCall,
                        db::StandardDescription(db::errc::InvalidProcedureCall) +
                            ": an operation of the engine cannot start while one of its events is being handled");
}

db::ConnectionPtr CLSFA_DUPLICA::UsableConnection() const {
    if (!connessione_) throw db::ado::ConnectionError();
    return connessione_;
}

bool CLSFA_DUPLICA::Listened(EngineEvent e) const {
    return std::any_of(sinks_.begin(), sinks_.end(), [e](const auto& sink) { return sink->Handles(e); });
}

// Only tables an earlier article of the run had no row in are asked about: asking about one that has rows
// costs more than it saves. An article's question covers the tables listed when its first copy of one of them
// comes; a table listed later is copied as usual for this article.
bool CLSFA_DUPLICA::SourceRowsAsked(const CopySpec& plan) const {
    return sourceRowsUnchanged_ && constants_ && connessione_ && !plan.sourceArticle.empty();
}

bool CLSFA_DUPLICA::SourceKnownEmpty(const CopySpec& plan) {
    if (!SourceRowsAsked(plan)) return false;
    const auto& tables = constants_->ArticleTables();
    if (std::find(tables.begin(), tables.end(), plan.table) == tables.end()) return false;
    const std::string company = DittaText();
    auto known = std::find_if(sourceRows_.begin(), sourceRows_.end(), [&](const SourceRows& s) {
        return s.Code() == plan.sourceArticle && s.Company() == company;
    });
    if (known == sourceRows_.end()) {
        sourceRows_.emplace_back(*connessione_, *constants_, company, plan.sourceArticle, tables);
        known = sourceRows_.end() - 1;
    }
    return known->KnownEmpty(plan.table);
}

void CLSFA_DUPLICA::NoteCopiedNothing(const CopySpec& plan) {
    if (!SourceRowsAsked(plan)) return;
    auto& tables = constants_->ArticleTables();
    if (std::find(tables.begin(), tables.end(), plan.table) == tables.end()) tables.push_back(plan.table);
}

void CLSFA_DUPLICA::CreateCommand() {
    command_ = db::Command::Create();
    command_->ActiveConnection(connessione_);
    command_->CommandType(db::adCmdStoredProc);
    command_->CommandText(kProcedure);
    command_->NamedParameters(true);
    command_->GetParameters().Refresh();
    CreateParameters();
}

void CLSFA_DUPLICA::DestroyCommand() { command_.reset(); }

void CLSFA_DUPLICA::CreateParameters() {
    RaiseAs("CreateParameters", [&] {
        for (const auto& def : kParameters) {
            auto p = command_->CreateParameter();
            p->Name(def.name);
            p->Type(def.type);
            if (def.type == db::adNumeric) {
                p->Precision(static_cast<int>(def.size));
                p->NumericScale(def.scale);
            } else {
                p->Size(def.size);
            }
            p->Direction(db::adParamInput);
            if (def.hasValue) p->Value(Flag(def.value));
            command_->GetParameters().Append(p);
        }
    });
}

void CLSFA_DUPLICA::Initialize() {
    RaiseAs("Initialize", [&] {
        collDatiDaDuplicare_ = std::make_shared<entry::Collection>();
        for (const auto& s : kSwitches) collDatiDaDuplicare_->Add(db::Variant(s.initial), s.key);
    });
}

void CLSFA_DUPLICA::Connessione(const db::ConnectionPtr& v) {
    connessione_ = v;
    if (command_) command_->ActiveConnection(v);
}

void CLSFA_DUPLICA::Ditta(const db::Variant& v) {
    ditta_ = v;
    command_->GetParameters()["@DITTA"].Value(v);
}

void CLSFA_DUPLICA::SetDescriptionParameter(const char* name, const db::Variant& value) {
    auto& p = command_->GetParameters()[name];
    db::Variant sent = value;
    // A description cut to the column's size may end in half of a doubled quote; drop it.
    if (value.IsString()) {
        const std::string text = value.CStr();
        if (db::Len(text) == static_cast<std::size_t>(p.Size()) && !text.empty() && text.back() == '\'')
            sent = db::Variant(text.substr(0, text.size() - 1));
    }
    p.Value(sent);
}

void CLSFA_DUPLICA::DescrizioneArticoloDaGenerare(const db::Variant& v) {
    descrizioneArticoloDaGenerare_ = v;
    SetDescriptionParameter("@DESCRIZIONE_NEW", v);
}

void CLSFA_DUPLICA::DescrizioneEstesaArticoloDaGenerare(const db::Variant& v) {
    descrizioneEstesaArticoloDaGenerare_ = v;
    SetDescriptionParameter("@DESCRIZIONEEST_NEW", v);
}

std::string CLSFA_DUPLICA::DittaText() const { return db::SqlNumber(ditta_); }

EnumMethodResult CLSFA_DUPLICA::DuplicazioneAnagraficaBase(const db::Variant& Articolo_Origine,
                                                           const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneAnagraficaBase", [&] {
        stato_ = 0;
        DuplicaBatchByCommand(Articolo_Origine.Text(), Articolo_DaGenerare.Text());
        return kvMethodOK;
    });
}

void CLSFA_DUPLICA::DuplicaBatchByCommand(const std::string& origine, const std::string& nuovo) {
    RaiseAs("DuplicaBatchByCommand", [&] {
        auto& params = command_->GetParameters();
        params["@ARTICOLO_ORIG"].Value(db::Variant(origine));
        params["@ARTICOLO_NEW"].Value(db::Variant(nuovo));
        params["@NODUP_MG87_ARTDESC"].Value(Flag(0));
        for (const auto& s : kSwitches) {
            if (!s.flag) continue;
            const db::Variant& item = collDatiDaDuplicare_ ? collDatiDaDuplicare_->Item(s.key)
                                                           : throw db::Error(db::errc::ObjectRequired, "Object required");
            if (item.Equals(db::Variant(true))) params[s.flag].Value(Flag(0));
        }
        params["@STATO"].Value(Flag(0));
        command_->Execute(nullptr, db::adExecuteNoRecords);
        stato_ = params["@STATO"].Value().CInt();
    });
}

// Groups the stored procedure copies inside DuplicazioneAnagraficaBase: nothing left to do here.
EnumMethodResult CLSFA_DUPLICA::DuplicazioneDescrizioni(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneDatiIntra(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneConfezioni(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneScorte(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneAlternativi(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneSostitutivi(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneConcorrenti(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazionePackingList(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneUbicazioniFisse(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneListiniVendita(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneListiniAcquisto(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneUltimiPrezzi(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneDatiPersonalizzati(const db::Variant&, const db::Variant&) { return kvMethodOK; }
EnumMethodResult CLSFA_DUPLICA::DuplicazioneApplicazioni(const db::Variant&, const db::Variant&) {
    return RaiseAs("DuplicazioneApplicazioni", [] { return kvMethodOK; });
}

}  // namespace engine
