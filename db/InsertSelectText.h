#pragma once
// "INSERT INTO T (columns) SELECT values <rest>": the statement that copies rows within the database in one go.
// Its column and value lists are built a column at a time, by whoever knows what each column gets.
#include <cstddef>
#include <string>
#include <string_view>

#include "db/JoinText.h"

namespace db {

class InsertSelectText {
public:
    explicit InsertSelectText(std::size_t columns) {
        columns_.reserve(columns * 24);
        values_.reserve(columns * 24);
    }

    // The column is written with `value`, an SQL expression (a column of the source rows, a quoted literal...).
    void Add(std::string_view column, std::string_view value) {
        if (!columns_.empty()) {
            columns_ += ", ";
            values_ += ", ";
        }
        columns_ += column;
        values_ += value;
    }

    // `rest` follows the values: "FROM T WHERE ...".
    std::string Statement(std::string_view table, std::string_view rest) const {
        return JoinText({"INSERT INTO ", table, " (", columns_, ") SELECT ", values_, " ", rest});
    }

private:
    std::string columns_;
    std::string values_;
};

}  // namespace db
