// Customer and supplier codes of the article: one event pair and one batch per row written.
#include "db/CommonSql.h"
#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/RowCopy.h"
#include "entry/MDLFA_AGGANCI.h"

namespace engine {

// kind 0: customers, 1: suppliers.
void CLSFA_DUPLICA::CopyCustomerSupplierCodes(int kind, const db::Variant& Articolo_Origine,
                                              const db::Variant& Articolo_DaGenerare) {
    const std::string company = DittaText();
    const std::string kindClause = " AND MG73_TIPOCF_CG44 = " + std::to_string(kind) + " ";
    const std::string newCode = db::SqlEscape(Articolo_DaGenerare.Text());

    CopySpec plan;
    plan.sourceSql = "SELECT * FROM MG73_ARTCLIFOR WHERE  MG73_DITTA_CG18 = " + company + kindClause +
                     " AND MG73_CODART_MG66 = '" + db::SqlEscape(Articolo_Origine.Text()) + "'" +
                     " AND MG73_OPZIONE_MG5E = ' '";
    plan.emptySql = "SELECT * FROM MG73_ARTCLIFOR WHERE 0=1";
    plan.commonSql = true;
    plan.firstField = 5;
    plan.batchPerRow = true;
    plan.before = kind == 0 ? EngineEvent::BeforeUpdateMG73CLIENTI : EngineEvent::BeforeUpdateMG73FORNITORI;
    plan.after = kind == 0 ? EngineEvent::AfterUpdateMG73CLIENTI : EngineEvent::AfterUpdateMG73FORNITORI;
    // The table keeps one code per article, option and customer (or supplier): a row collides only
    // when the new article already has a code for that customer. Checking the customer's own code
    // alone would always find the source row itself and copy nothing.
    plan.accept = [&](db::Recordset& source) {
        auto existing = UsableConnection()->Execute(
            "SELECT * FROM MG73_ARTCLIFOR WHERE  MG73_DITTA_CG18 = " + company + " AND MG73_CODART_MG66 = '" + newCode +
                "'" + " AND MG73_OPZIONE_MG5E = ' '" + kindClause + " AND MG73_CLIFOR_CG44 = " +
                db::SqlNumber(db::Variant(entry::Pfun_Testo(source.GetFields()[3].Value()))),
            nullptr, db::kCommonSqlText);
        return existing->RecordCount() == 0;
    };
    plan.complete = [&](db::Recordset& source, db::Recordset& target) {
        target["MG73_DITTA_CG18"].Value(ditta_);
        target["MG73_ARTCLIFOR"].Value(db::Variant(entry::Pfun_Testo(source.GetFields()[1].Value())));
        target["MG73_TIPOCF_CG44"].Value(db::Variant(kind));
        target["MG73_CLIFOR_CG44"].Value(db::Variant(entry::Pfun_Testo(source.GetFields()[3].Value())));
        target["MG73_CODART_MG66"].Value(db::Variant(Articolo_DaGenerare.Text()));
    };
    // The same two hooks for the copy in one statement: the check as NOT EXISTS, the values as expressions.
    plan.hooksAsSql = true;
    plan.table = "MG73_ARTCLIFOR";
    // The codes go in as values of their own: the statement is the same for every article.
    plan.sourceFrom = "FROM MG73_ARTCLIFOR s WHERE s.MG73_DITTA_CG18 = " + company + " AND s.MG73_TIPOCF_CG44 = " +
                      std::to_string(kind) +
                      " AND s.MG73_CODART_MG66 = ? AND s.MG73_OPZIONE_MG5E = ' ' AND NOT EXISTS (SELECT 1 FROM "
                      "MG73_ARTCLIFOR e WHERE e.MG73_DITTA_CG18 = " + company +
                      " AND e.MG73_CODART_MG66 = ? AND e.MG73_OPZIONE_MG5E = ' ' AND e.MG73_TIPOCF_CG44 = " +
                      std::to_string(kind) + " AND e.MG73_CLIFOR_CG44 = s.MG73_CLIFOR_CG44)";
    plan.valuesApart = true;
    plan.sourceArgs = {db::Variant(Articolo_Origine.Text()), db::Variant(Articolo_DaGenerare.Text())};
    plan.sourceArticle = Articolo_Origine.Text();
    plan.setSql = {{"MG73_DITTA_CG18", company},
                   {"MG73_ARTCLIFOR", "RTRIM(MG73_ARTCLIFOR)"},
                   {"MG73_TIPOCF_CG44", std::to_string(kind)},
                   {"MG73_CLIFOR_CG44", "MG73_CLIFOR_CG44"},
                   {"MG73_CODART_MG66", "?", {db::Variant(Articolo_DaGenerare.Text())}}};
    RowCopy(*this).Run(plan);
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneArticoliClienti(const db::Variant& Articolo_Origine,
                                                            const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneArticoliClienti", [&] {
        CopyCustomerSupplierCodes(0, Articolo_Origine, Articolo_DaGenerare);
        return kvMethodOK;
    });
}

EnumMethodResult CLSFA_DUPLICA::DuplicazioneArticoliFornitori(const db::Variant& Articolo_Origine,
                                                              const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneArticoliFornitori", [&] {
        CopyCustomerSupplierCodes(1, Articolo_Origine, Articolo_DaGenerare);
        return kvMethodOK;
    });
}

}  // namespace engine
