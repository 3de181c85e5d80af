// The statement of a copy in one go: which value each column gets when names, positions and expressions meet.
#include <gtest/gtest.h>

#include "engine/InsertSelect.h"

using engine::FieldAction;

TEST(InsertSelectSql, NamesMatchWithoutRegardToCaseTheLastNamingWinsAndExpressionsComeLast) {
    engine::CopySpec plan;
    plan.table = "T";
    plan.sourceFrom = "FROM T WHERE T_K = 'a'";
    plan.firstField = 2;
    plan.set = {{"t_ditta", db::Variant(1)}, {"T_K", db::Variant("x")}, {"T_K", db::Variant("y's")}};
    plan.setSql = {{"t_note", "UPPER(T_NOTE)"}};
    const std::vector<std::string> columns{"T_DITTA", "T_K", "T_A", "T_B", "T_NOTE", "T_Z"};
    const std::vector<FieldAction> actions{FieldAction::Copy, FieldAction::Copy, FieldAction::Copy,
                                           FieldAction::Skip, FieldAction::Copy, FieldAction::Zero};
    EXPECT_EQ(engine::InsertSelectSql(plan, columns, actions),
              "INSERT INTO T (T_DITTA, T_K, T_A, T_NOTE, T_Z) SELECT 1, 'y''s', T_A, UPPER(T_NOTE), 0 "
              "FROM T WHERE T_K = 'a'");

    // A column copied by position takes the source's value over a name's; one that keeps its Null or the
    // default cannot be written as one expression.
    plan.firstField = 0;
    EXPECT_EQ(engine::InsertSelectSql(plan, columns, actions),
              "INSERT INTO T (T_DITTA, T_K, T_A, T_NOTE, T_Z) SELECT T_DITTA, T_K, T_A, UPPER(T_NOTE), 0 "
              "FROM T WHERE T_K = 'a'");
    const std::vector<FieldAction> unlessNull{FieldAction::Copy, FieldAction::Copy, FieldAction::CopyUnlessNull,
                                              FieldAction::Copy, FieldAction::Copy, FieldAction::Copy};
    EXPECT_EQ(engine::InsertSelectSql(plan, columns, unlessNull), "");
}
