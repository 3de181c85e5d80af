#include "bench/ComponentDuplication.h"

#include "db/Quote.h"
#include "entry/CinterfaceBase.h"
#include "erp/DemoData.h"
#include "host/GlobalObject.h"
#include "mass_duplication/CodiceArticolo.h"
#include "mass_duplication/DuplicazioneMassiva.h"
#include "mass_duplication/SelezioneArticoli.h"

namespace bench {
namespace {

// The variant choice a user makes once for a mass run: every variant of the bench articles active, no
// new grouping.
db::RecordsetPtr VariantSelection(const db::ConnectionPtr& c) {
    std::string sql;
    for (const char* variant : {erp::demo::kColourVariant, erp::demo::kSizeVariant, erp::demo::kFitVariant}) {
        sql += sql.empty() ? "SELECT " : " UNION ALL SELECT ";
        sql += db::SqlText(variant) +
               " AS MG5F_CODICEVAR, 1 AS SEL, 0 AS RAGGRAUTOMATICO, '' AS RAGGRPERSONALIZZATO";
    }
    auto rs = db::Recordset::Create();
    rs->Open(sql, c);
    return rs;
}

class BenchProgram : public entry::CinterfaceBase {};

}  // namespace

ComponentDuplicator::ComponentDuplicator(db::ConnectionPtr connection, const std::string& connectionString,
                                         long company, const std::string& logFolder) {
    auto global = std::make_shared<host::GlobalObject>(connectionString, company, *connection);
    global->Imposta(entry::impostazioni::CartellaLog, db::Variant(logFolder));
    auto program = std::make_shared<BenchProgram>();
    program->ClsGlobal(global);
    program->Connection(connection);
    context_ = generation::GenerationContext{connection, db::Variant(company), program, nullptr, connectionString,
                                             nullptr};
    variantSelection_ = VariantSelection(connection);
    log_ = std::make_unique<generation::ProcessingLog>(global, connection);
}

// The product's selection of the mass tab, its condition the continuation of the WHERE clause as the
// query control writes it.
db::RecordsetPtr ComponentDuplicator::Select(const std::string& first, const std::string& last) {
    db::RecordsetPtr selection;
    const std::string condition = " AND MG66_CODART BETWEEN " + db::SqlText(first) + " AND " + db::SqlText(last);
    if (!mass_duplication::RecuperaArticoli(context_, 0, condition, selection) || !selection)
        throw db::Error(db::errc::ProviderError, "the article selection failed", "agganci_bench");
    return selection;
}

long ComponentDuplicator::MassRun(const std::string& first, const std::string& last, const std::string& prefix) {
    done_ = 0;
    mass_duplication::MassRequest request;
    request.selection = Select(first, last);
    request.text = prefix;
    request.mode = mass_duplication::kAggiungiPrefisso;
    request.variantSelection = variantSelection_;
    const auto outcome = mass_duplication::RunMassDuplication(context_, *this, request);
    long created = 0;
    lastError_.clear();
    for (const auto& article : outcome.articles) {
        if (article.state == generation::ArticleState::Created) ++created;
        else if (lastError_.empty()) lastError_ = article.source + ": " + article.reason;
    }
    if (!outcome.completed && lastError_.empty()) lastError_ = "the run stopped: " + outcome.stopReason;
    return created;
}

long ComponentDuplicator::DryRun(const std::string& first, const std::string& last, const std::string& prefix) {
    mass_duplication::MassRequest request;
    request.selection = Select(first, last);
    request.text = prefix;
    request.mode = mass_duplication::kAggiungiPrefisso;
    return static_cast<long>(mass_duplication::AnteprimaDuplicazione(context_, request).size());
}

}  // namespace bench
