#pragma once
// An in-memory company with the ERP schema and an article "SRC", and an engine that has already created
// "NEW" from it through the base duplication: the starting point of every row-copy test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "engine/CLSFA_DUPLICA.h"
#include "erp/DemoBuilder.h"
#include "erp/Procedures.h"
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

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override {
        host::InstallShellHost();
        erp::RegisterProcedures();
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        erp::CreateSchema(*conn);
        Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'SRC')");
        Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_DESCART) VALUES (1, 'SRC', 'Source')");
        recorder = std::make_shared<EventRecorder>();
    }

    // Creates the engine and the new article "NEW" (base duplication), ready for the operations.
    void CreateNewArticle() {
        engine = std::make_shared<engine::CLSFA_DUPLICA>();
        engine->Connessione(conn);
        engine->Initialize();
        engine->Ditta(db::Variant(1));
        engine->DescrizioneArticoloDaGenerare(db::Variant("New article"));
        engine->DescrizioneEstesaArticoloDaGenerare(db::Variant("New article, extended"));
        ASSERT_EQ(engine->DuplicazioneAnagraficaBase(db::Variant("SRC"), db::Variant("NEW")), engine::kvMethodOK);
        engine->Advise(recorder);
    }

    void Exec(const std::string& sql) { conn->Execute(sql, nullptr, db::adExecuteNoRecords); }

    long Count(const std::string& sql) {
        auto rs = conn->Execute(sql);
        rs->MoveFirst();
        return rs->GetFields().Item(0).Value().CLng();
    }

    db::Variant Scalar(const std::string& sql) {
        auto rs = conn->Execute(sql);
        if (rs->RecordCount() == 0) return db::Variant::Null();
        rs->MoveFirst();
        return rs->GetFields().Item(0).Value();
    }

    db::ConnectionPtr conn;
    std::shared_ptr<engine::CLSFA_DUPLICA> engine;
    std::shared_ptr<EventRecorder> recorder;
    const db::Variant src{"SRC"}, dst{"NEW"};
};

}  // namespace testsupport
