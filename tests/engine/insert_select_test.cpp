// The statement of a copy in one go: which value each column gets when names, positions and expressions meet.
#include <gtest/gtest.h>

#include "engine/InsertSelect.h"

using engine::FieldAction;

TEST(InsertSelectSql, NamesMatchWithoutRegardToCaseTheLastNamingWinsExpressionsComeLastAndValuesMayBeApart) {
    engine::CopySpec plan;
    plan.table = "T";
    plan.sourceFrom = "FROM T WHERE T_K = 'a'";
    plan.firstField = 2;
    plan.set = {{"t_ditta", db::Variant(1)}, {"T_K", db::Variant("x")}, {"T_K", db::Variant("y's")}};
    plan.setSql = {{"t_note", "UPPER(T_NOTE)"}};
    const std::vector<std::string> columns{"T_DITTA", "T_K", "T_A", "T_B", "T_NOTE", "T_Z"};
    const std::vector<FieldAction> actions{FieldAction::Copy, FieldAction::Copy, FieldAction::Copy,
                                           FieldAction::Skip, FieldAction::Copy, FieldAction::Zero};
    EXPECT_EQ(engine::InsertSelect(plan, columns, actions).sql,
              "INSERT INTO T (T_DITTA, T_K, T_A, T_NOTE, T_Z) SELECT 1, 'y''s', T_A, UPPER(T_NOTE), 0 "
              "FROM T WHERE T_K = 'a'");

    // A column copied by position takes the source's value over a name's; one that keeps its Null or the
    // default cannot be written as one expression.
    plan.firstField = 0;
    EXPECT_EQ(engine::InsertSelect(plan, columns, actions).sql,
              "INSERT INTO T (T_DITTA, T_K, T_A, T_NOTE, T_Z) SELECT T_DITTA, T_K, T_A, UPPER(T_NOTE), 0 "
              "FROM T WHERE T_K = 'a'");
    const std::vector<FieldAction> unlessNull{FieldAction::Copy, FieldAction::Copy, FieldAction::CopyUnlessNull,
                                              FieldAction::Copy, FieldAction::Copy, FieldAction::Copy};
    EXPECT_EQ(engine::InsertSelect(plan, columns, unlessNull).sql, "");

    // With the values apart, texts set by name and the expressions' own values become markers, in the order the
    // statement reads them, the source clause's last; numbers stay in the text. One article's statement serves
    // another article's plan of the same shape.
    plan.sourceFrom = "FROM T WHERE T_DITTA = 1 AND T_K = ?";
    plan.valuesApart = true;
    plan.sourceArgs = {db::Variant("SRC")};
    plan.firstField = 3;
    plan.set = {{"T_DITTA", db::Variant(1)}, {"T_K", db::Variant("NEW")}, {"T_A", db::Variant("o'k")}};
    plan.setSql = {{"T_NOTE", "COALESCE(T_NOTE, ?)", {db::Variant("none")}}, {"T_Z", "T_Z + 1"}};
    const engine::InsertSelectStatement statement =
        engine::InsertSelect(plan, columns, std::vector<FieldAction>(columns.size(), FieldAction::Copy));
    EXPECT_EQ(statement.sql, "INSERT INTO T (T_DITTA, T_K, T_A, T_B, T_NOTE, T_Z) SELECT 1, ?, ?, T_B, "
                             "COALESCE(T_NOTE, ?), T_Z + 1 FROM T WHERE T_DITTA = 1 AND T_K = ?");
    auto texts = [](const std::vector<db::BoundValue>& values) {
        std::vector<std::string> out;
        for (const auto& v : values) out.push_back(v.value.Text());
        return out;
    };
    EXPECT_EQ(texts(engine::MarkerValues(plan, statement)), (std::vector<std::string>{"NEW", "o'k", "none", "SRC"}));

    plan.set[1].second = db::Variant("NEW2");
    plan.sourceArgs = {db::Variant("SRC2")};
    EXPECT_EQ(texts(engine::MarkerValues(plan, statement)), (std::vector<std::string>{"NEW2", "o'k", "none", "SRC2"}));
}
