#include "host/controls/Grid.h"

#include <algorithm>

#include "db/Constants.h"
#include "db/Error.h"
#include "db/Field.h"

namespace host::controls {

namespace {
constexpr long kNotBound = 91;
}

void Grid::Reset() {
    Unbind();
    ClearColumns();
}

void Grid::Terminate() {
    Control::Terminate();
    Unbind();
}

db::Recordset& Grid::Bound() const {
    if (!recordset_ || recordset_->State() == db::adStateClosed)
        throw db::Error(kNotBound, "The grid " + Name() + " is not bound to open data");
    return *recordset_;
}

long Grid::RowCount() const {
    if (!recordset_ || recordset_->State() == db::adStateClosed) return 0;
    return recordset_->RecordCount();
}

long Grid::Row() const {
    if (!recordset_ || recordset_->State() == db::adStateClosed) return 0;
    const long position = recordset_->AbsolutePosition();
    return position > 0 ? position : 0;
}

void Grid::Row(long row) {
    auto& rs = Bound();
    if (row < 1 || row > rs.RecordCount()) throw db::Error(381, "Invalid property array index");
    if (row == Row()) return;
    bool cancel = false;
    beforeRowChange_.Raise(cancel);
    if (cancel) return;
    rs.AbsolutePosition(row);
    rowChange_.Raise();
}

const entry::GridColumn& Grid::Column(const std::string& field) const {
    for (const auto& column : columns_)
        if (db::SameText(column.field, field)) return column;
    throw db::Error(db::errc::ItemNotFound, "The grid " + Name() + " has no column " + field);
}

std::string Grid::CellText(long row, const std::string& field) { return RowTexts(row, 1, {field}).front().front(); }

std::vector<std::vector<std::string>> Grid::RowTexts(long first, long count, const std::vector<std::string>& fields) {
    auto& rs = Bound();
    if (first < 1 || first > rs.RecordCount()) throw db::Error(381, "Invalid property array index");
    // A cursor of its own on the same rows, so that painting does not move the form's record.
    auto cursor = rs.Clone();
    cursor->Filter(rs.Filter());
    cursor->AbsolutePosition(first);
    std::vector<std::vector<std::string>> rows;
    const long shown = std::min(std::max(count, 0L), rs.RecordCount() - first + 1);
    for (long n = 0; n < shown; ++n) {
        if (n > 0) cursor->MoveNext();
        std::vector<std::string> texts;
        for (const auto& field : fields) {
            db::Variant value = (*cursor)[field].Value();
            fetchCell_.Raise(*cursor, field, value);
            texts.push_back(value.Text());
        }
        rows.push_back(std::move(texts));
    }
    return rows;
}

std::vector<std::string> Grid::ColumnTexts(const std::string& field) {
    std::vector<std::string> texts;
    if (RowCount() == 0) return texts;
    for (auto& row : RowTexts(1, RowCount(), {field})) texts.push_back(std::move(row.front()));
    return texts;
}

void Grid::EndRowUpdate() {
    if (pendingUpdates_ == 0) throw db::Error(db::errc::InvalidProcedureCall, "EndRowUpdate without BeginRowUpdate");
    --pendingUpdates_;
    ++rowUpdates_;
}

void Grid::UserScroll(long row) {
    UserReaches();
    topRow_ = std::clamp(row, 1L, std::max(RowCount(), 1L));
}

long Grid::TopRow() const { return std::clamp(topRow_, 1L, std::max(RowCount(), 1L)); }

void Grid::UserSelectRow(long row) {
    UserReaches();
    Row(row);
}

void Grid::UserTickCell(long row, const std::string& field) {
    const auto& column = Column(field);
    if (column.kind == entry::GridColumnKind::Text)
        throw db::Error(db::errc::InvalidProcedureCall, "The column " + field + " of " + Name() + " is no check box");
    UserReaches();
    Row(row);
    const bool ticked = db::Trim(Bound()[field].Value().Text()) == "1";
    EditCell(row, field, db::Variant(ticked ? 0 : 1));
}

void Grid::UserEditCell(long row, const std::string& field, const db::Variant& value) {
    const auto& column = Column(field);
    if (!column.editable && column.kind == entry::GridColumnKind::Text)
        throw db::Error(db::errc::InvalidProcedureCall, "The column " + field + " of " + Name() + " is read-only");
    UserReaches();
    Row(row);
    EditCell(row, field, value);
}

void Grid::EditCell(long, const std::string& field, const db::Variant& value) {
    auto& rs = Bound();
    const db::Variant previous = rs[field].Value();
    rs[field].Value(value);
    // The grid commits the cell at once; a batch recordset keeps the row pending for its owner.
    if (rs.EditMode() != db::adEditNone) rs.Update();
    afterCellEdit_.Raise(field, previous);
}

}  // namespace host::controls
