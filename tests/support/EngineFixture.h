#pragma once
// An empty company with an article "SRC", and an engine that has already created "NEW" from it through
// the base duplication: the starting point of the engine tests, which add exactly the rows they need.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Queries.h"
#include "db/FaultInjector.h"
#include "engine/CLSFA_DUPLICA.h"
#include "host/HostFactory.h"

namespace testsupport {

// Records every event with the number of rows its target recordset carried; optionally acts on it.
class EventRecorder : public engine::CLSFA_DUPLICA_Events {
public:
    void Raise(engine::EngineEvent e, db::RecordsetPtr& target) override {
        names.emplace_back(engine::EventName(e));
        rows.push_back(target ? target->RecordCount() : -1);
        if (onEvent) onEvent(e, target);
    }
    std::vector<std::string> names;
    std::vector<long> rows;
    std::function<void(engine::EngineEvent, db::RecordsetPtr&)> onEvent;
};

using Names = std::vector<std::string>;

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        host::InstallShellHost();
        conn = EmptyCompany();
        Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'SRC')");
        Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_DESCART) VALUES (1, 'SRC', 'Source')");
        recorder = std::make_shared<EventRecorder>();
    }

    // An engine on the test's connection for company `ditta`, ready for its operations.
    std::shared_ptr<engine::CLSFA_DUPLICA> NewEngine(long ditta = 1) {
        auto e = std::make_shared<engine::CLSFA_DUPLICA>();
        e->Connessione(conn);
        e->Initialize();
        e->Ditta(db::Variant(ditta));
        e->DescrizioneArticoloDaGenerare(db::Variant("New article"));
        e->DescrizioneEstesaArticoloDaGenerare(db::Variant("New article, extended"));
        return e;
    }

    // Creates the engine and the new article "NEW" (base duplication); the recorder hears what follows.
    void CreateNewArticle() {
        engine = NewEngine();
        ASSERT_EQ(engine->DuplicazioneAnagraficaBase(src, dst), engine::kvMethodOK);
        engine->Advise(recorder);
    }

    // The article "SET" created by an engine that only `listener` hears (no one when null): the operations
    // that follow on it copy each table in one statement where they can.
    std::shared_ptr<engine::CLSFA_DUPLICA> QuietEngine(
        const std::shared_ptr<engine::CLSFA_DUPLICA_Events>& listener = nullptr) {
        auto quiet = NewEngine();
        EXPECT_EQ(quiet->DuplicazioneAnagraficaBase(src, db::Variant("SET")), engine::kvMethodOK);
        if (listener) quiet->Advise(listener);
        return quiet;
    }

    // The statements `run` sends through the connection.
    long StatementsOf(const std::function<void()>& run) {
        conn->Faults().ResetCount();
        run();
        return conn->Faults().StatementCount();
    }

    void Exec(const std::string& sql) { testsupport::Exec(*conn, sql); }
    long Count(const std::string& sql) { return testsupport::Count(*conn, sql); }
    db::Variant Scalar(const std::string& sql) { return testsupport::Scalar(*conn, sql); }

    // Expects `call` to throw a db::Error whose source starts with `operation`; returns the error.
    template <class F>
    db::Error ErrorOf(F&& call, const std::string& operation) {
        try {
            call();
        } catch (const db::Error& e) {
            EXPECT_EQ(e.Source().rfind(operation + "\r\n", 0), 0u) << e.Source();
            return e;
        }
        ADD_FAILURE() << "no error from " << operation;
        return db::Error(0, "");
    }

    db::ConnectionPtr conn;
    std::shared_ptr<engine::CLSFA_DUPLICA> engine;
    std::shared_ptr<EventRecorder> recorder;
    const db::Variant src{"SRC"}, dst{"NEW"};
};

}  // namespace testsupport
