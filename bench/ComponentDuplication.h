#pragma once
// Duplication of articles through the component, one article at a time, the way a mass-duplication run
// does it: per article a transaction, a new engine with an event subscriber, the shared step sequence
// and lines in the run's processing log.
//
// DuplicateOneArticle is the one place that says how an article goes "through the component": when the
// mass-duplication run can be driven without its form, this is where the benchmark switches to it.
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "engine/EngineEvents.h"
#include "entry/HostInterfaces.h"
#include "generation/ProcessingLog.h"

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

class ComponentDuplicator {
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
    const generation::ProcessingLog& Log() const { return *log_; }

private:
    bool CreateArticle(const std::string& source, const std::string& target);

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
