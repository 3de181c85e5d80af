#pragma once
// Duplication of articles through the component the way a user's mass duplication does it: the product's
// article selection (RecuperaArticoli) over a range of bench articles, then the product's mass run
// (RunMassDuplication) with a code prefix, the variant choice made once.
#include <functional>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/HostInterfaces.h"
#include "generation/GenerationContext.h"
#include "generation/ProcessingLog.h"
#include "generation/RunPort.h"

namespace bench {

// It drives the run as a run's port: a question is answered No, the lines go to the run's log.
class ComponentDuplicator : private generation::IRunPort {
public:
    // `connection` is open on the company database named by `connectionString`; the processing logs of
    // the runs go to `logFolder`.
    ComponentDuplicator(db::ConnectionPtr connection, const std::string& connectionString, long company,
                        const std::string& logFolder);
    ComponentDuplicator(const ComponentDuplicator&) = delete;
    ComponentDuplicator& operator=(const ComponentDuplicator&) = delete;

    // A mass run over the articles whose codes lie from `first` to `last`, each created as `prefix` + its
    // code. Returns the articles created; LastError tells the first that was not.
    long MassRun(const std::string& first, const std::string& last, const std::string& prefix);
    // The same selection and the preview of a dry run (the code each article would get, whether it
    // exists): nothing written. Returns the articles previewed.
    long DryRun(const std::string& first, const std::string& last, const std::string& prefix);

    const std::string& LastError() const { return lastError_; }
    // Called after each article of a mass run with the articles the run has done so far, between two
    // articles (no transaction of the run open): the benchmark gives the reference its turn there.
    void OnArticleDone(std::function<void(long done)> hook) { articleDone_ = std::move(hook); }
    const generation::ProcessingLog& RunLog() const { return *log_; }

private:
    db::RecordsetPtr Select(const std::string& first, const std::string& last);
    long Ask(const std::string&, long, const std::string&) override { return 7; }  // No
    generation::ProcessingLog& Log() override { return *log_; }
    void ArticleDone(const generation::ArticleOutcome&) override {
        if (articleDone_) articleDone_(++done_);
    }

    generation::GenerationContext context_;
    db::RecordsetPtr variantSelection_;
    std::unique_ptr<generation::ProcessingLog> log_;
    std::string lastError_;
    std::function<void(long)> articleDone_;
    long done_ = 0;  // articles of the current mass run done
};

}  // namespace bench
