// The statements of real runs (record_and_check.sh records them): they ran already, so what is left to
// check is that the translation memo, which translates a shape once and puts each statement's values back,
// gives every one of them, with other values too, what translating it as written gives.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <tuple>

#include "db/sqlite/BoundLiterals.h"
#include "db/sqlite/LiteralShape.h"
#include "db/sqlite/TsqlTranslator.h"

namespace db::sqlite {
namespace {

std::vector<std::string> Recorded() {
    const char* file = std::getenv("AGGANCI_RECORDED_STATEMENTS");
    std::vector<std::string> out;
    if (file == nullptr) return out;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) out.push_back(nlohmann::json::parse(line).get<std::string>());
    return out;
}

// The statement with each of its values replaced (texts by an empty one or one with a quote in it, numbers
// by another number), put into its shape as the memo puts values into a translation.
std::string WithOtherValues(const std::string& tsql, int round) {
    const LiteralShape shape = ShapeLiterals(tsql);
    std::vector<ShapedValue> values = shape.values;
    for (ShapedValue& v : values) v.text = v.number ? std::to_string(round * 7 + 3) : (round ? "L'ALTRO" : "");
    const auto filled = FillLiterals({shape.text}, values);
    return filled ? filled->front() : tsql;
}

auto Fields(const BoundLiteral& v) { return std::tie(v.number, v.text, v.integer); }

TEST(RecordedStatements, TranslateByShapeAsWhenWrittenOut) {
    const std::vector<std::string> statements = Recorded();
    if (statements.empty()) GTEST_SKIP() << "run through record_and_check.sh, which records the statements";
    TsqlTranslationCache cache;
    std::size_t bound = 0;
    for (const std::string& recorded : statements) {
        for (const std::string& tsql :
             {recorded, WithOtherValues(recorded, 0), WithOtherValues(recorded, 1), recorded}) {
            SCOPED_TRACE(tsql);
            const TranslatedBatch batch = cache.Translate(tsql);
            ASSERT_EQ(batch.statements, TranslateTsql(tsql).statements);
            for (std::size_t i = 0; i < batch.bound.size(); ++i) {
                if (!batch.bound[i]) continue;
                ++bound;
                const BoundLiterals direct = BindLiterals(batch.statements[i]);
                const auto values = BoundValues(*batch.bound[i], batch.values);
                ASSERT_TRUE(values.has_value());
                EXPECT_EQ(batch.bound[i]->sql, direct.sql);
                ASSERT_EQ(values->size(), direct.values.size());
                for (std::size_t k = 0; k < values->size(); ++k)
                    EXPECT_EQ(Fields((*values)[k]), Fields(direct.values[k])) << k;
            }
        }
    }
    EXPECT_GT(bound, statements.size()) << "most statements bind from the memo";
}

}  // namespace
}  // namespace db::sqlite
