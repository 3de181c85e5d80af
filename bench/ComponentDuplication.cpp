#include "bench/ComponentDuplication.h"

#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "entry/CinterfaceBase.h"
#include "erp/DemoData.h"
#include "generation/ArticleExists.h"
#include "generation/EngineSequence.h"
#include "host/GlobalObject.h"

namespace bench {
namespace {

const std::string kSeparator = std::string(96, '_') + " ";
const std::string kNotCreated = " !!! ATTENZIONE: ARTICOLO NON GENERATO !!! ";

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

// The engine part of the per-article routine, mass tab: one transaction, one engine, the step sequence.
bool ComponentDuplicator::CreateArticle(const std::string& source, const std::string& target) {
    generation::SequenceSettings settings;
    settings.linksTab = false;
    settings.variantSelection = variantSelection_;
    settings.massSelectionRows = 2;  // a run over many articles, not the duplication of a single one
    settings.fashionAttributes = global_->AttributiFashion();
    settings.productionSetting = db::Trim(global_->GestioneProduzione());
    settings.projectData = global_->DatiProgetto();
    settings.billOfMaterials = true;
    settings.program = program_;
    settings.connectionString = connectionString_;
    settings.ditta = db::Variant(company_);

    generation::SequenceReport report;
    report.log = [this](const std::string& text, long kind) { log_->ScriviLog(text, kind); };
    lastError_.clear();
    connection_->BeginTrans();
    bool ok = false;
    try {
        auto engine = std::make_shared<engine::CLSFA_DUPLICA>();
        engine->Advise(events_);
        engine->Connessione(connection_);
        engine->Initialize();
        engine->Ditta(db::Variant(company_));
        engine->DescrizioneArticoloDaGenerare(db::Variant("Copia di " + source));
        engine->DescrizioneEstesaArticoloDaGenerare(db::Variant("Copia di " + source));
        engine->EnmDatiDaDuplicare(engine::KvEnumDatiDaDuplicare(0));
        generation::EngineSequence sequence(*engine, settings, report);
        ok = sequence.Run(db::Variant(source), db::Variant(target));
        if (!ok) lastError_ = sequence.ErrorText() + " " + sequence.ErrorDetail();
    } catch (const std::exception& e) {
        lastError_ = e.what();
    }
    if (ok) {
        connection_->CommitTrans();
        log_->ScriviLog("Articolo :  " + target + " Creato ", generation::LogInformazione);
        return true;
    }
    log_->ScriviLog(lastError_, generation::LogErrore);
    log_->ScriviLog(kNotCreated, generation::LogErrore);
    try {
        connection_->RollbackTrans();
    } catch (const db::Error&) {
        // As the per-article routine does: the failure is already logged, the rollback's own error adds nothing.
    }
    return false;
}

}  // namespace bench
