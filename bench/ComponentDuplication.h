#pragma once
// Duplication of articles through the component, one article at a time, the way a mass-duplication run
// does it: the run's lines around each article, its existence check and the product's per-article routine
// (CreaArticolo), with an event subscriber counting what a form that listens would receive.
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "engine/EngineEvents.h"
#include "entry/HostInterfaces.h"
#include "generation/ProcessingLog.h"
#include "generation/RunPort.h"

namespace bench {

// Counts the events the engine raises, as a form that handles them would receive them.
class EventCounter : public engine::CLSFA_DUPLICA_Events {
public:
    void Raise(engine::EngineEvent, db::RecordsetPtr& target) override {
        ++events;
        if (target) rows += target->RecordCount();
    }
    long events = 0;
    long rows = 0;  // rows the events carried
};

// It drives the routine as a run's port: nothing is asked, the lines go to the run's log.
class ComponentDuplicator : private generation::IRunPort {
public:
    // `connection` is open on the company database named by `connectionString`; the processing log of
    // the run goes to `logFolder`.
    ComponentDuplicator(db::ConnectionPtr connection, const std::string& connectionString, long company,
                        const std::string& logFolder);
    ~ComponentDuplicator();
    ComponentDuplicator(const ComponentDuplicator&) = delete;
    ComponentDuplicator& operator=(const ComponentDuplicator&) = delete;

    // Creates `target` as a copy of `source`. False when the article was not created (its failure is in
    // the log and nothing of it is left in the database).
    bool DuplicateOneArticle(const std::string& source, const std::string& target);

    // Closes the processing log of the run.
    void Finish();

    const EventCounter& Events() const { return *events_; }
    const std::string& LastError() const { return lastError_; }
    const generation::ProcessingLog& RunLog() const { return *log_; }

private:
    bool CreateArticle(const std::string& source, const std::string& target);
    long Ask(const std::string&, long, const std::string&) override { return 7; }  // No
    generation::ProcessingLog& Log() override { return *log_; }

    db::ConnectionPtr connection_;
    std::string connectionString_;
    long company_;
    std::shared_ptr<entry::IClsGlobal> global_;
    std::shared_ptr<entry::Cinterface> program_;
    db::RecordsetPtr variantSelection_;
    std::shared_ptr<EventCounter> events_ = std::make_shared<EventCounter>();
    std::unique_ptr<generation::ProcessingLog> log_;

    std::string lastError_;
    bool finished_ = false;
};

}  // namespace bench
