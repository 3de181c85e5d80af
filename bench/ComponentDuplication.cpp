#include "bench/ComponentDuplication.h"

#include "db/Quote.h"
#include "entry/CinterfaceBase.h"
#include "erp/DemoData.h"
#include "generation/ArticleExists.h"
#include "generation/CreaArticolo.h"
#include "host/GlobalObject.h"

namespace bench {
namespace {

const std::string kSeparator = std::string(96, '_') + " ";

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
                                         long company, const std::string& logFolder)
    : connection_(std::move(connection)), connectionString_(connectionString), company_(company) {
    auto global = std::make_shared<host::GlobalObject>(connectionString_, company_, *connection_);
    global->Imposta(entry::impostazioni::CartellaLog, db::Variant(logFolder));
    global_ = global;
    auto program = std::make_shared<BenchProgram>();
    program->ClsGlobal(global_);
    program->Connection(connection_);
    program_ = program;
    variantSelection_ = VariantSelection(connection_);
    log_ = std::make_unique<generation::ProcessingLog>(global_, connection_);
    log_->ApriLog();
}

ComponentDuplicator::~ComponentDuplicator() {
    if (!finished_) Finish();
}

void ComponentDuplicator::Finish() {
    log_->ChiudiLog();
    finished_ = true;
}

// The mass run's lines around each article, and the existence check it makes first.
bool ComponentDuplicator::DuplicateOneArticle(const std::string& source, const std::string& target) {
    log_->ScriviLog("Inizio duplicazione per l'articolo:  " + source, generation::LogInformazione);
    bool created = false;
    if (generation::EsisteArticolo(*connection_, db::Variant(company_), target)) {
        log_->ScriviLog("L'articolo " + target + " è già esistente. ARTICOLO NON GENERATO!! ",
                        generation::LogInformazione);
        lastError_ = "article exists";
    } else {
        created = CreateArticle(source, target);
    }
    log_->ScriviLog("Fine duplicazione per l'articolo:  " + source, generation::LogInformazione);
    log_->ScriviLog(kSeparator, generation::LogInformazione);
    return created;
}

// The per-article routine of the product, as the mass run calls it for one ticked article.
bool ComponentDuplicator::CreateArticle(const std::string& source, const std::string& target) {
    generation::ArticleRequest request;
    request.source = source;
    request.newCode = target;
    request.origin = generation::ArticleOrigin::MassTab;
    request.description = "Copia di " + source;
    request.extendedDescription = "Copia di " + source;
    request.variantSelection = variantSelection_;
    request.selectionSize = 2;  // a run over many articles, not the duplication of a single one
    request.events = events_;
    const generation::GenerationContext context{connection_, db::Variant(company_), program_, nullptr,
                                                connectionString_, nullptr};
    const auto outcome = generation::CreaArticolo(context, request, *this);
    lastError_ = outcome.reason;
    return outcome.state == generation::ArticleState::Created;
}

}  // namespace bench
