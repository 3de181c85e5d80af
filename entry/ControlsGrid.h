#pragma once
// The shell's grid (QGRD_...): columns over the fields of a bound recordset, one row per record. The
// current row of the grid is the current record of the recordset it is bound to.
#include <memory>
#include <string>
#include <vector>

#include "db/Recordset.h"
#include "db/Variant.h"
#include "entry/Controls.h"

namespace entry {

enum class GridColumnKind {
    Text,
    Check,   // check box: "1" ticked, "0" not
    Check2,  // the shell's second kind of selection column (two states, same values)
};

struct GridColumn {
    std::string field;
    std::string caption;
    long width = 1000;
    bool visible = true;
    GridColumnKind kind = GridColumnKind::Text;
    bool editable = false;  // check columns are editable unless the form says otherwise
};

class IGrid : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::Grid;

    virtual std::string Caption() const = 0;
    virtual void Caption(const std::string& v) = 0;

    virtual void ClearColumns() = 0;
    virtual void AddColumn(const GridColumn& column) = 0;
    virtual const std::vector<GridColumn>& Columns() const = 0;
    // The field that identifies a row, and the key under which the grid keeps its layout.
    virtual std::string KeyField() const = 0;
    virtual void KeyField(const std::string& v) = 0;
    virtual std::string LayoutKey() const = 0;
    virtual void LayoutKey(const std::string& v) = 0;

    // Binding. Unbind lets go of the recordset; Reset also drops the columns.
    virtual void Bind(const db::RecordsetPtr& recordset) = 0;
    virtual db::RecordsetPtr Recordset() const = 0;
    virtual void Unbind() = 0;
    virtual void Reset() = 0;

    virtual long RowCount() const = 0;  // 0 when unbound
    // 1-based current row (0 when there is none). Setting it moves the recordset and raises RowChange.
    virtual long Row() const = 0;
    virtual void Row(long row) = 0;
    // The text the grid shows in a cell (row 1-based, column by field; the first column of that field).
    virtual std::string CellText(long row, const std::string& field) = 0;
    virtual void Refresh() = 0;

    // The form tells the grid that it is about to write the current row, and that it has written it,
    // so that the grid shows the new values.
    virtual void BeginRowUpdate() = 0;
    virtual void EndRowUpdate() = 0;

    // The current row moved.
    virtual Event<>& RowChange() = 0;
    // A cell was edited by the user: the field and the value the cell had before the edit.
    virtual Event<const std::string&, const db::Variant&>& AfterCellEdit() = 0;
    // The grid is about to show a cell: the record (a cursor on that row), the field and the value to
    // show, which the handler may replace (for columns computed by the form).
    virtual Event<db::Recordset&, const std::string&, db::Variant&>& FetchCell() = 0;
};

}  // namespace entry
