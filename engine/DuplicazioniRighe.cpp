// Satellite tables copied row by row: descriptions in other languages, dynamic locations, agents, lots,
// traceability and stock parameters.
#include <algorithm>
#include <array>
#include <string_view>

#include "db/JoinText.h"
#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/RowCopy.h"

namespace engine {
namespace {

constexpr std::array<std::string_view, 9> kLocationQuantities = {
    "MG69_QTA1UBICEFF", "MG69_QTA1ATTESACAR", "MG69_QTA1ATTESASCA", "MG69_QTA2UBICEFF",   "MG69_QTA2ATTESACAR",
    "MG69_QTA2ATTESASCA", "MG69_COLLIUBICEFF", "MG69_COLLIATTESACAR", "MG69_COLLIATTESASCA"};

constexpr std::array<std::string_view, 17> kStockLevels = {
    "SC06_SCORMIN", "SC06_CONSPEROSS", "SC06_CONSPERANAL", "SC06_CONSGGANAL", "SC06_CONSMEDIO", "SC06_SCORMAX",
    "SC06_LEADTIME", "SC06_TRAND", "SC06_RAPPMEDIE", "SC06_INDTRAND", "SC06_LOTTRIORD", "SC06_SCORSIC",
    "SC06_LIVRIORD", "SC06_DAANNOVIS", "SC06_AANNOVIS", "SC06_DAPERVIS", "SC06_APERVIS"};

}  // namespace

// The common part of the tables copied by the batch row copy: company and article set by name.
CopySpec CLSFA_DUPLICA::ArticleTableCopy(const std::string& table, const std::string& prefix,
                                         const db::Variant& origine, const db::Variant& nuovo,
                                         const std::string& extra, int firstField) const {
    CopySpec plan;
    plan.sourceSql = ArticleRowsSql(table, prefix, DittaText(), origine, extra);
    plan.emptySql = db::JoinText({"SELECT * FROM ", table, " WHERE 0=1"});
    plan.commonSql = true;
    plan.set = {{prefix + "_DITTA_CG18", ditta_},
                {prefix + "_CODART_MG66", db::Variant(nuovo.Text())}};
    plan.firstField = firstField;
    plan.table = table;
    // The copy in one statement takes the source's code as a value of its own.
    plan.sourceFrom = db::JoinText({"FROM ", table, " WHERE ", ArticleRowsMarkerWhere(prefix, DittaText(), extra)});
    plan.valuesApart = true;
    plan.sourceArgs = {db::Variant(origine.Text())};
    plan.sourceArticle = origine.Text();
    plan.writtenWhere = ArticleRowsWhere(prefix, DittaText(), nuovo, extra);
    return plan;
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneDescrizioniInLingua(const db::Variant& Articolo_Origine,
                                                                const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneDescrizioniInLingua", [&] {
        stato_ = 0;
        auto plan = ArticleTableCopy("MG87_ARTDESC", "MG87", Articolo_Origine, Articolo_DaGenerare,
                                     " AND MG87_OPZIONE_MG5E = ' '" " AND MG87_LINGUA_MG52 <> ' '", 2);
        plan.rule = [](const std::string& name) {
            if (NameIsOneOf(name, {"MG87_GUID", "MG87_LASTCHANGE"})) return FieldAction::Skip;
            // The note is carried over also when it is Null.
            return db::SameText(name, "MG87_NOTEART") ? FieldAction::Copy : FieldAction::CopyUnlessNull;
        };
        plan.before = EngineEvent::BeforeUpdateMG87DescrInLingua;
        plan.after = EngineEvent::AfterUpdateMG87DescrInLingua;
        RowCopy(*this).Run(plan);
        return kvMethodOK;
    });
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneUbicazioniDinamiche(const db::Variant& Articolo_Origine,
                                                                const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneUbicazioniDinamiche", [&] {
        auto plan = ArticleTableCopy("MG69_UBICAZART", "MG69", Articolo_Origine, Articolo_DaGenerare,
                                     " AND MG69_OPZIONE_MG5E = ' '", 2);
        // A new article has no stock in its locations.
        plan.rule = [](const std::string& name) {
            return NameIsOneOf(name, kLocationQuantities) ? FieldAction::Zero : FieldAction::Copy;
        };
        plan.before = EngineEvent::BeforeUpdateMG69;
        plan.after = EngineEvent::AfterUpdateMG69;
        RowCopy(*this).Run(plan);
        return kvMethodOK;
    });
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneAgentiPerArticolo(const db::Variant& Articolo_Origine,
                                                              const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneAgentiPerArticolo", [&] {
        auto plan = ArticleTableCopy("MG6C_ANAGRARTAGE", "MG6C", Articolo_Origine, Articolo_DaGenerare,
                                     {}, 2);
        plan.before = EngineEvent::BeforeUpdateMG6C;
        plan.after = EngineEvent::AfterUpdateMG6C;
        RowCopy(*this).Run(plan);
        return kvMethodOK;
    });
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneDatiLotto(const db::Variant& Articolo_Origine,
                                                      const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneDatiLotto", [&] {
        auto plan = ArticleTableCopy("MG4G_ANAGRLOTTI", "MG4G", Articolo_Origine, Articolo_DaGenerare,
                                     " AND MG4G_OPZIONE_MG5E = ' '", 2);
        plan.rule = [](const std::string& name) {
            return NameIsOneOf(name, {"MG4G_GUID"}) ? FieldAction::Skip : FieldAction::Copy;
        };
        // The lots raise the events of the lot table's historical name.
        plan.before = EngineEvent::BeforeUpdateMG6G;
        plan.after = EngineEvent::AfterUpdateMG6G;
        RowCopy(*this).Run(plan);
        return kvMethodOK;
    });
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneDatiTracciabilitaProdotti(const db::Variant& Articolo_Origine,
                                                                      const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneDatiTracciabilitaProdotti", [&] {
        // An article may have lot traceability without product traceability: an empty first table goes on.
        auto products = ArticleTableCopy("MG4N_ARTTRALIM", "MG4N", Articolo_Origine, Articolo_DaGenerare,
                                         {}, 3);
        products.before = EngineEvent::BeforeUpdateMG4N;
        products.after = EngineEvent::AfterUpdateMG4N;
        RowCopy(*this).Run(products);

        auto lots = ArticleTableCopy("MG4P_LOTTRALIM", "MG4P", Articolo_Origine, Articolo_DaGenerare,
                                     " AND MG4P_OPZIONE_MG5E = ' '", 3);
        lots.before = EngineEvent::BeforeUpdateMG4P;
        lots.after = EngineEvent::AfterUpdateMG4P;
        RowCopy(*this).Run(lots);
        return kvMethodOK;
    });
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneParamGestScorte(const db::Variant& Articolo_Origine,
                                                            const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneParamGestScorte", [&] {
        auto plan = ArticleTableCopy("SC06_ARTSCORTE", "SC06", Articolo_Origine, Articolo_DaGenerare,
                                     " AND SC06_OPZIONE_MG5E = ' '", 2);
        // Stock levels and consumption belong to the article's own history: the new one starts from the defaults.
        plan.rule = [](const std::string& name) {
            return NameIsOneOf(name, kStockLevels) ? FieldAction::Skip : FieldAction::Copy;
        };
        plan.before = EngineEvent::BeforeUpdateSC06;
        plan.after = EngineEvent::AfterUpdateSC06;
        RowCopy(*this).Run(plan);
        return kvMethodOK;
    });
}

// The statement keeps the text it has always been sent with, no blank before the first AND: a number followed
// by a keyword reads the same to both databases.
std::int16_t CLSFA_DUPLICA::Pfun_GetProgressivo(std::int16_t& FlgVenAcq, const db::Variant& Articolo_Origine) {
    const std::string sql = "SELECT MAX(LI11_PROG) FROM LI11_ULTPRACQVEN WHERE LI11_DITTA_CG18 =" + DittaText() +
                            "AND LI11_FLGVENACQ =" + std::to_string(FlgVenAcq) + " AND LI11_CODART_MG66 = '" +
                            db::SqlEscape(Articolo_Origine.Text()) + "'";
    auto rs = UsableConnection()->Execute(sql);
    if (rs->RecordCount() < 1) return 0;
    rs->MoveFirst();
    // An article without last prices has a Null maximum: no progressive yet.
    const db::Variant max = rs->GetFields().Item(0).Value();
    return max.IsNull() ? std::int16_t{0} : max.CInt();
}

}  // namespace engine
