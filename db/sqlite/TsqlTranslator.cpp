#include "db/sqlite/TsqlTranslator.h"

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
    std::string key(tsql);
    if (auto it = entries_.find(key); it != entries_.end()) return it->second;
    TranslatedBatch batch = TranslateTsql(tsql);
    if (entries_.size() >= capacity_) {
        entries_.erase(order_.front());
        order_.pop_front();
    }
    entries_.emplace(key, batch);
    order_.push_back(std::move(key));
    return batch;
}

void TsqlTranslationCache::Clear() {
    entries_.clear();
    order_.clear();
}

}  // namespace db::sqlite
