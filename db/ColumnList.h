#pragma once
// A result's column descriptions, shared by the statement that keeps them and by every recordset it fills:
// a kept statement runs thousands of times, and a copy of its descriptions per run costs a few allocations
// per column. Whoever changes one gets a copy of its own first.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "db/Field.h"

namespace db {

class ColumnList {
public:
    ColumnList() = default;

    std::size_t size() const { return list_ ? list_->size() : 0; }
    bool empty() const { return size() == 0; }
    const ColumnInfo& operator[](std::size_t i) const { return (*list_)[i]; }
    const ColumnInfo* begin() const { return list_ ? list_->data() : nullptr; }
    const ColumnInfo* end() const { return list_ ? list_->data() + list_->size() : nullptr; }

    void clear() { list_.reset(); }
    void push_back(ColumnInfo column) { Edit().push_back(std::move(column)); }
    ColumnInfo& Edit(std::size_t i) { return Edit()[i]; }

private:
    std::vector<ColumnInfo>& Edit() {
        if (!list_) list_ = std::make_shared<std::vector<ColumnInfo>>();
        else if (list_.use_count() > 1) list_ = std::make_shared<std::vector<ColumnInfo>>(*list_);
        return *list_;
    }

    std::shared_ptr<std::vector<ColumnInfo>> list_;
};

}  // namespace db
