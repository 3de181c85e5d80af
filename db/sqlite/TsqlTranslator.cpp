#include "db/sqlite/TsqlTranslator.h"

#include "db/Error.h"
#include "db/sqlite/LiteralShape.h"
#include "db/sqlite/TsqlLexer.h"
#include "db/sqlite/TsqlRewrite.h"

namespace db::sqlite {

TranslatedBatch TranslateTsql(std::string_view tsql) {
    TranslatedBatch batch;
    for (Nodes& statement : SplitBatch(BuildTree(LexTsql(tsql)))) {
        const Nodes rewritten = RewriteStatement(std::move(statement));
        if (!rewritten.empty()) batch.statements.push_back(Emit(rewritten));
    }
    return batch;
}

TranslatedBatch TsqlTranslationCache::Translate(std::string_view tsql) {
    LiteralShape shape = ShapeLiterals(tsql);
    if (shape.Shaped()) {
        try {
            const TranslatedBatch& memo = Memo(shape.text);
            if (auto filled = FillLiterals(memo.statements, shape.values))
                return TranslatedBatch{std::move(*filled), memo.bound, std::move(shape.values)};
        } catch (const Error&) {
            // Translated with its own values below, so that the error names them.
        }
    }
    return Memo(tsql);
}

const TranslatedBatch& TsqlTranslationCache::Memo(std::string_view tsql) {
    if (auto it = entries_.find(tsql); it != entries_.end()) return it->second;
    TranslatedBatch batch = TranslateTsql(tsql);
    if (!secondSight_.Admit(tsql)) {
        once_ = std::move(batch);
        return once_;
    }
    if (entries_.size() >= capacity_) {
        entries_.erase(order_.front());
        order_.pop_front();
    }
    std::string key(tsql);
    order_.push_back(key);
    // A kept translation comes back: how its statements bind is found once, here.
    for (const std::string& statement : batch.statements) {
        auto bound = BindShape(statement);
        batch.bound.push_back(bound ? std::make_shared<const BoundShape>(std::move(*bound)) : nullptr);
    }
    return entries_.emplace(std::move(key), std::move(batch)).first->second;
}

void TsqlTranslationCache::Clear() {
    entries_.clear();
    order_.clear();
}

}  // namespace db::sqlite
