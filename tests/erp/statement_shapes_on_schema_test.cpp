// Every statement shape the component sends, run through the data-access layer against the full ERP
// schema of the demo company: each must translate and run (or fail only where the data says so).
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/tsql_statement_shapes.h"
#include "erp/DemoBuilder.h"

namespace {

TEST(StatementShapesOnTheErpSchema, EveryShapeRuns) {
    auto c = db::Connection::Create();
    c->Open("sqlite::memory:");
    erp::BuildDemoDatabase(*c, erp::DemoOptions{});
    int ran = 0;
    for (const auto& shape : tsql_shapes::AllShapes()) {
        SCOPED_TRACE(shape.name);
        // Each shape in a transaction of its own, so one statement's writes do not feed the next; the
        // lists built in ##TABTEMP stay for the statements that read them back.
        const bool buildsList = shape.tsql.find("##TABTEMP") != std::string::npos;
        c->BeginTrans();
        try {
            c->Execute(shape.tsql);
            ++ran;
        } catch (const db::Error& e) {
            ADD_FAILURE() << shape.name << ": " << e.Description() << "\n" << shape.tsql;
        }
        if (buildsList) c->CommitTrans();
        else c->RollbackTrans();
    }
    EXPECT_GT(ran, 60);
}

}  // namespace
