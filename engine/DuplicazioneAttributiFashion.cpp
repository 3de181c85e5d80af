// Fashion data: washing instructions, the fashion record, the attributes of the standard description
// and the component types. Fashion tables keep the base article under the empty option ('').
#include <string_view>

#include "db/CommonSql.h"
#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/RowCopy.h"

namespace engine {

EnumMethodResult CLSFA_DUPLICA::DuplicazioneAttributiFashion(const db::Variant& Articolo_Origine,
                                                             const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneAttributiFashion", [&] {
        const std::string company = DittaText();
        const std::string code = db::SqlEscape(Articolo_Origine.Text());
        const db::Variant newCode(Articolo_DaGenerare.Text());

        auto fashionTable = [&](const std::string& prefix, const std::string& table, const std::string& sourceSql, const std::string& emptySql) {
            CopySpec plan;
            plan.sourceSql = sourceSql;
            plan.emptySql = emptySql;
            plan.set = {{prefix + "_DITTA_CG18", ditta_},
                        {prefix + "_CODART_MG66", newCode},
                        {prefix + "_OPZIONE_MG5E", db::Variant("")}};
            plan.firstField = 3;
            // The same rows for the copy in one statement: the source statement's FROM clause, and the new
            // article's rows under the empty option.
            plan.table = prefix + table;
            plan.sourceFrom = sourceSql.substr(sourceSql.find("FROM "));
            // A read hint has no place in a statement that writes what it reads.
            if (const auto hint = plan.sourceFrom.find(" WITH (NOLOCK)"); hint != std::string::npos)
                plan.sourceFrom.erase(hint, std::string_view(" WITH (NOLOCK)").size());
            // The source's code, the only quoted code in the clause, goes in as a value of its own.
            const std::string quoted = "'" + code + "'";
            if (const auto at = plan.sourceFrom.find(quoted); at != std::string::npos) {
                plan.sourceFrom.replace(at, quoted.size(), "?");
                plan.valuesApart = true;
                plan.sourceArgs = {db::Variant(Articolo_Origine.Text())};
                plan.sourceArticle = Articolo_Origine.Text();
            }
            plan.writtenWhere = prefix + "_DITTA_CG18 = " + company + " AND " + prefix + "_CODART_MG66 = " +
                                db::SqlText(newCode.Text()) + " AND " + prefix + "_OPZIONE_MG5E = ''";
            return plan;
        };

        auto washing = fashionTable("FA10", "_ARTLAVAGGI",
                                    "SELECT * FROM FA10_ARTLAVAGGI WITH (NOLOCK) WHERE FA10_DITTA_CG18   = " + company +
                                        " AND       FA10_CODART_MG66  = '" + code +
                                        "' AND       FA10_OPZIONE_MG5E = ''",
                                    "SELECT * FROM FA10_ARTLAVAGGI WITH (NOLOCK) WHERE 0=1");
        washing.before = EngineEvent::BeforeUpdateFA10;
        washing.after = EngineEvent::AfterUpdateFA10;
        RowCopy(*this).Run(washing);

        auto record = fashionTable("FA12", "_ARTICOLI",
                                   "SELECT * FROM FA12_ARTICOLI WHERE FA12_DITTA_CG18   = " + company +
                                       " AND       FA12_CODART_MG66  = '" + code +
                                       "' AND       FA12_OPZIONE_MG5E = ''",
                                   "SELECT * FROM FA12_ARTICOLI WHERE 0=1");
        record.commonSql = true;
        record.before = EngineEvent::BeforeUpdateFA12;
        record.after = EngineEvent::AfterUpdateFA12;
        RowCopy(*this).Run(record);

        CopyDescriptionAttributes(company, code, Articolo_Origine, Articolo_DaGenerare);

        auto components = fashionTable("FA37", "_ASSARTITIPOCOMP",
                                       "SELECT FA37_ASSARTITIPOCOMP.* FROM FA37_ASSARTITIPOCOMP WHERE FA37_DITTA_CG18   = " +
                                           company + " AND       FA37_CODART_MG66  = '" + code +
                                           "' AND       FA37_OPZIONE_MG5E = ''  ",
                                       "SELECT * FROM FA37_ASSARTITIPOCOMP WHERE 0=1");
        components.commonSql = true;
        RowCopy(*this).Run(components);  // component types are written without events
        return kvMethodOK;
    });
}

// The attributes hang on the standard description's identifier: the new rows go to the identifier
// of the new article's standard description, which the base duplication created.
void CLSFA_DUPLICA::CopyDescriptionAttributes(const std::string& company, const std::string& escapedSource,
                                              const db::Variant& Articolo_Origine,
                                              const db::Variant& Articolo_DaGenerare) {
    const auto sourceWith = [&](const std::string& code) {
        return "FROM MG87_ARTDESC INNER JOIN FA13_ATTRIBUTI ON FA13_GUID        = MG87_GUID AND "
               "   FA13_ENTITA_FA11 = 0 WHERE MG87_DITTA_CG18   = " + company + " AND       MG87_CODART_MG66  = " +
               code + " AND       MG87_OPZIONE_MG5E = '' AND       MG87_LINGUA_MG52  = ''";
    };
    const std::string sourceFrom = sourceWith("'" + escapedSource + "'");
    // The new article's standard description, whose identifier the new rows take.
    auto newDescription = [&] {
        return UsableConnection()->Execute(
            "SELECT MG87_GUID FROM MG87_ARTDESC WHERE MG87_DITTA_CG18   = " + company +
                " AND       MG87_CODART_MG66  = '" + db::SqlEscape(Articolo_DaGenerare.Text()) +
                "' AND       MG87_OPZIONE_MG5E = '' AND       MG87_LINGUA_MG52  = ''",
            nullptr, db::kCommonSqlText);
    };
    CopySpec plan;
    plan.sourceSql = "SELECT FA13_ATTRIBUTI.* " + sourceFrom;
    plan.emptySql = "SELECT * FROM FA13_ATTRIBUTI WHERE 0=1";
    plan.commonSql = true;
    plan.firstField = 1;
    plan.before = EngineEvent::BeforeUpdateFA13;
    plan.after = EngineEvent::AfterUpdateFA13;
    std::string guid;
    // Without a handler of the Before event the rows may go in one statement, with the identifier read
    // first. A new article without a standard description keeps the row copy, which reports it.
    if (!Listened(EngineEvent::BeforeUpdateFA13)) {
        auto rs = newDescription();
        if (rs->RecordCount() > 0) guid = rs->GetFields()["MG87_GUID"].Value().Text();
    }
    if (!guid.empty()) {
        plan.set = {{"FA13_GUID", db::Variant(guid)}};
        plan.table = "FA13_ATTRIBUTI";
        // The source's code and the identifier go in as values of their own: the statement is the same for
        // every article.
        plan.sourceFrom = sourceWith("?");
        plan.valuesApart = true;
        plan.sourceArgs = {db::Variant(Articolo_Origine.Text())};
        plan.writtenWhere = "FA13_GUID = " + db::SqlText(guid) + " AND FA13_ENTITA_FA11 = 0";
    } else {
        plan.beforeTarget = [&] {
            auto rs = newDescription();
            rs->MoveFirst();
            guid = rs->GetFields()["MG87_GUID"].Value().Text();
            return !guid.empty();
        };
        plan.complete = [&](db::Recordset&, db::Recordset& target) { target["FA13_GUID"].Value(db::Variant(guid)); };
    }
    RowCopy(*this).Run(plan);
}

db::Variant CLSFA_DUPLICA::NVL(const db::Variant& Valore, const db::Variant& ValIfNull) {
    // Never fails: a value that cannot even be read as text counts as missing.
    try {
        if (!Valore.IsEmpty() && !Valore.IsNull() && !Valore.IsMissing())
            return db::Trim(Valore.CStr()).empty() ? ValIfNull : Valore;
    } catch (const db::Error&) {
    }
    return ValIfNull;
}

}  // namespace engine
