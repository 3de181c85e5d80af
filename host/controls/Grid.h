#pragma once
// The shell's grid: columns over the fields of the bound recordset; its current row is the recordset's
// current record. The scripted user selects rows and ticks check cells.
#include <string>
#include <vector>

#include "db/Recordset.h"
#include "entry/ControlsGrid.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class Grid : public Control<entry::IGrid> {
public:
    using Control::Control;

    std::string Caption() const override { return caption_; }
    void Caption(const std::string& v) override { caption_ = v; }
    void ClearColumns() override { columns_.clear(); }
    void AddColumn(const entry::GridColumn& column) override { columns_.push_back(column); }
    const std::vector<entry::GridColumn>& Columns() const override { return columns_; }
    std::string KeyField() const override { return keyField_; }
    void KeyField(const std::string& v) override { keyField_ = v; }
    std::string LayoutKey() const override { return layoutKey_; }
    void LayoutKey(const std::string& v) override { layoutKey_ = v; }

    // A new recordset is shown from its first row.
    void Bind(const db::RecordsetPtr& recordset) override {
        recordset_ = recordset;
        topRow_ = 1;
    }
    db::RecordsetPtr Recordset() const override { return recordset_; }
    void Unbind() override {
        recordset_.reset();
        topRow_ = 1;
    }
    void Reset() override;
    void Terminate() override;

    long RowCount() const override;
    long Row() const override;
    void Row(long row) override;
    std::string CellText(long row, const std::string& field) override;
    void Refresh() override { ++refreshes_; }
    void BeginRowUpdate() override { ++pendingUpdates_; }
    void EndRowUpdate() override;

    entry::Event<>& RowChange() override { return rowChange_; }
    entry::Event<const std::string&, const db::Variant&>& AfterCellEdit() override { return afterCellEdit_; }
    entry::Event<db::Recordset&, const std::string&, db::Variant&>& FetchCell() override { return fetchCell_; }
    // The shell's own: raised before the current row moves (a data frame saves its edit first, or keeps
    // the row by cancelling).
    entry::Event<bool&>& BeforeRowChange() { return beforeRowChange_; }

    // --- What the scripted user does ---
    void UserSelectRow(long row);
    // Clicks the check cell of the field in the row: "1" becomes "0", anything else "1".
    void UserTickCell(long row, const std::string& field);
    // Types a value into an editable cell.
    void UserEditCell(long row, const std::string& field, const db::Variant& value);

    // Scrolls the grid: `row` becomes the first row shown (a row past the last shows the last one).
    void UserScroll(long row);
    // The first row shown (1 when the grid has no rows).
    long TopRow() const;

    // The texts of `count` rows from `first` on (fewer at the end of the rows), each row in the fields' order,
    // as CellText gives them; read through one cursor, so that painting many cells filters the rows once.
    std::vector<std::vector<std::string>> RowTexts(long first, long count, const std::vector<std::string>& fields);
    // The texts of one column, row by row, as the grid shows them.
    std::vector<std::string> ColumnTexts(const std::string& field);
    int Refreshes() const { return refreshes_; }
    // Row updates the form announced and closed (BeginRowUpdate / EndRowUpdate pairs).
    int RowUpdates() const { return rowUpdates_; }

private:
    const entry::GridColumn& Column(const std::string& field) const;
    db::Recordset& Bound() const;
    void EditCell(long row, const std::string& field, const db::Variant& value);

    std::string caption_, keyField_, layoutKey_;
    std::vector<entry::GridColumn> columns_;
    db::RecordsetPtr recordset_;
    long topRow_ = 1;
    int refreshes_ = 0;
    int pendingUpdates_ = 0;
    int rowUpdates_ = 0;
    entry::Event<bool&> beforeRowChange_;
    entry::Event<> rowChange_;
    entry::Event<const std::string&, const db::Variant&> afterCellEdit_;
    entry::Event<db::Recordset&, const std::string&, db::Variant&> fetchCell_;
};

}  // namespace host::controls
