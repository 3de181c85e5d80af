#include "db/Recordset.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

#include "db/AdoErrors.h"
#include "db/CommonSql.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/RecordsetData.h"
#include "db/RecordsetFilter.h"

namespace db {
namespace {

// Decides where the rows of a SELECT are written: the table of its first column that comes from a
// table; columns of that table read once each are written, everything else stays local.
void ChooseWriteTarget(RecordsetData& data, Driver& driver) {
    const auto& cols = data.columns;
    data.writable.assign(cols.size(), 0);
    auto first = std::find_if(cols.begin(), cols.end(), [](const ColumnInfo& c) { return !c.baseTable.empty(); });
    if (first == cols.end()) {
        data.readOnly = true;
        data.readOnlyReason = "no field of the recordset comes from a table";
        return;
    }
    data.table = TableRef{first->baseSchema, first->baseTable};
    // The same column read twice (a self-join) cannot tell which row it belongs to: neither is written.
    // Found by sorting the columns by the hash of their folded name, then comparing the names of equal hashes
    // only: a recordset of a wide table has dozens of columns.
    std::vector<std::pair<std::size_t, std::size_t>> byHash;  // (hash, column)
    byHash.reserve(cols.size());
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const ColumnInfo& c = cols[i];
        if (!c.baseColumn.empty() && c.baseTable == data.table.name && c.baseSchema == data.table.schema)
            byHash.emplace_back(FoldedNameHash{}(c.baseColumn), i);
    }
    std::sort(byHash.begin(), byHash.end());
    for (std::size_t k = 0; k < byHash.size(); ++k) {
        bool twice = false;
        for (std::size_t m = k; m-- > 0 && byHash[m].first == byHash[k].first && !twice;)
            twice = SameFoldedName{}(cols[byHash[m].second].baseColumn, cols[byHash[k].second].baseColumn);
        for (std::size_t m = k + 1; m < byHash.size() && byHash[m].first == byHash[k].first && !twice; ++m)
            twice = SameFoldedName{}(cols[byHash[m].second].baseColumn, cols[byHash[k].second].baseColumn);
        data.writable[byHash[k].second] = twice ? 0 : 1;
    }

    data.keyFields.clear();
    data.keyIsPrimary = true;
    const std::vector<std::string> key = driver.PrimaryKey(data.table);
    for (const std::string& k : key) {
        std::size_t i = 0;
        while (i < cols.size() && !(data.writable[i] && SameFoldedName{}(cols[i].baseColumn, k))) ++i;
        if (i == cols.size()) {
            data.keyIsPrimary = false;
            break;
        }
        data.keyFields.push_back(i);
    }
    if (key.empty()) data.keyIsPrimary = false;
    if (!data.keyIsPrimary) {
        // Without the whole primary key a row is found by every value read from it.
        data.keyFields.clear();
        for (std::size_t i = 0; i < cols.size(); ++i)
            if (data.writable[i]) data.keyFields.push_back(i);
    }
}

// The write of one pending row; nullopt when nothing of it reaches the table.
std::optional<RowWrite> BuildWrite(const RecordsetData& data, const RowData& row) {
    RowWrite w;
    w.table = data.table;
    const auto& cols = data.columns;
    if (row.status == adRecNew) {
        w.kind = RowWrite::Kind::Insert;
        for (std::size_t i = 0; i < cols.size(); ++i) {
            if (!data.writable[i]) continue;
            w.readBack.push_back(cols[i].baseColumn);
            if (!row.Changed(i)) continue;  // never assigned: the table's default applies
            w.setColumns.push_back(cols[i].baseColumn);
            w.setValues.push_back(row.Value(i));
        }
        return w;
    }
    w.kind = row.status == adRecDeleted ? RowWrite::Kind::Delete : RowWrite::Kind::Update;
    if (w.kind == RowWrite::Kind::Update) {
        for (std::size_t i = 0; i < cols.size(); ++i) {
            if (!data.writable[i] || !row.Changed(i)) continue;
            w.setColumns.push_back(cols[i].baseColumn);
            w.setValues.push_back(row.Value(i));
        }
        if (w.setColumns.empty()) return std::nullopt;  // only local (computed) fields changed
    }
    w.keyIsPrimary = data.keyIsPrimary;
    for (std::size_t i : data.keyFields) {
        w.keyColumns.push_back(cols[i].baseColumn);
        w.keyValues.push_back(row.Original(i));
    }
    return w;
}

// After a successful write: the row as the database holds it now.
void MarkWritten(RecordsetData& data, RowData& row, const RowWriteResult& result) {
    if (row.status == adRecDeleted) {
        row.gone = true;
    } else if (row.status == adRecNew && !result.readBack.empty()) {
        std::vector<Variant>& values = row.EditedValues();  // a new row has its values until written
        std::size_t k = 0;
        for (std::size_t i = 0; i < data.columns.size() && k < result.readBack.size(); ++i) {
            if (data.writable[i]) values[i] = result.readBack[k++];
        }
    }
    if (!row.gone) row.Settle(true);  // the values are the database's now
    row.status = adRecUnmodified;
    row.affected = true;
}

void Revert(RowData& row) {
    if (row.status == adRecNew) {
        row.gone = true;
        return;
    }
    row.Settle(false);
    row.status = adRecUnmodified;
}

}  // namespace

std::shared_ptr<Recordset> Recordset::Create() { return std::shared_ptr<Recordset>(new Recordset()); }

Recordset::Recordset() = default;
Recordset::~Recordset() = default;

void Recordset::CursorType(long v) {
    if (data_) throw ado::OpenError();
    if (v != adOpenUnspecified) cursorType_ = v;
}

void Recordset::LockType(long v) {
    if (data_) throw ado::OpenError();
    if (v != adLockUnspecified) lockType_ = v;
}

RecordsetData& Recordset::Data() {
    RequireOpen();
    return *data_;
}

const RecordsetData& Recordset::Data() const {
    RequireOpen();
    return *data_;
}

long Recordset::State() const { return data_ ? adStateOpen : adStateClosed; }

void Recordset::RequireOpen() const {
    if (!data_) throw ado::ClosedError();
}

void Recordset::RequireCurrent() const {
    RequireOpen();
    if (CurrentRow() < 0) throw ado::Raise(errc::EofOrBof);
}

void Recordset::RequireUpdatable() const {
    RequireOpen();
    if (data_->readOnly) throw ado::NotUpdatableError(data_->readOnlyReason);
}

// ---- opening -------------------------------------------------------------------------------------------

void Recordset::Open(const std::string& source, const std::shared_ptr<Connection>& connection, long cursorType,
                     long lockType, long options) {
    if (data_) throw ado::OpenError();
    if (!connection || connection->State() != adStateOpen) throw ado::ConnectionError();
    if (cursorType != adOpenUnspecified) cursorType_ = cursorType;
    if (lockType != adLockUnspecified) lockType_ = lockType;
    connection_ = connection;
    source_ = source;
    options_ = options;
    filter_ = Variant(0);
    filterExpression_.reset();
    filterGroup_ = adFilterNone;
    sort_.clear();
    sortKeys_.clear();
    Requery();
}

void Recordset::Requery() {
    if (!connection_ || connection_->State() != adStateOpen) throw ado::ConnectionError();
    const bool table = options_ != adOptionUnspecified && (options_ & 0xFF) == adCmdTable;
    const std::string text = table ? "SELECT * FROM " + source_ : source_;
    const bool asWritten = options_ != adOptionUnspecified && (options_ & adExecuteCommonSql) != 0;
    try {
        Driver& driver = connection_->DriverForStatement();
        std::optional<StatementResult> last;
        ForEachStatement(driver, text, asWritten, [&](const std::string& sql) {
            StatementResult r = driver.Run(sql);
            if (r.hasRowSet) last = std::move(r);
        });
        if (!last) {
            data_.reset();  // nothing to show: the recordset stays closed, as ADO leaves it
            return;
        }
        Load(std::move(*last), lockType_ == adLockReadOnly);
    } catch (const Error& e) {
        connection_->RecordError(e);
        throw;
    }
}

std::shared_ptr<Recordset> Recordset::FromResult(StatementResult result, const std::string& source,
                                                 const std::shared_ptr<Connection>& connection) {
    auto rs = Create();
    rs->connection_ = connection;
    rs->source_ = source;
    rs->lockType_ = adLockReadOnly;
    rs->Load(std::move(result), true);
    return rs;
}

void Recordset::Load(StatementResult result, bool readOnly) {
    auto data = std::make_shared<RecordsetData>();
    data->columns = std::move(result.columns);
    data->IndexNames();
    data->rows.reserve(result.rows.size());
    for (auto& packed : result.rows) {
        RowData row;
        row.stored = std::move(packed);
        data->rows.push_back(std::move(row));
    }
    if (readOnly) {
        data->readOnly = true;
        data->readOnlyReason = lockType_ == adLockReadOnly && connection_ ? "the lock type is read-only"
                                                                          : "the rows are a read-only result";
        data->writable.assign(data->columns.size(), 0);
    } else {
        ChooseWriteTarget(*data, connection_->GetDriver());
    }
    data_ = std::move(data);
    editMode_ = adEditNone;
    editRow_ = -1;
    editBefore_.reset();
    addedHere_.clear();
    if (filter_.IsString() && !filter_.Text().empty()) {
        filterExpression_ =
            FilterExpression::Parse(filter_.Text(), [this](const std::string& name) { return data_->IndexOf(name); });
    }
    if (!sort_.empty()) {
        sortKeys_ = ParseSort(sort_, [this](const std::string& name) { return data_->IndexOf(name); });
    }
    ResetCursor();
}

void Recordset::ResetCursor() {
    current_ = -1;
    position_ = -1;
    ghost_ = false;
    BuildView(false);
    MoveTo(0);
}

void Recordset::Close() {
    RequireOpen();
    data_.reset();
    view_.clear();
    addedHere_.clear();
    editMode_ = adEditNone;
    editRow_ = -1;
    editBefore_.reset();
    current_ = position_ = -1;
    ghost_ = false;
}

std::shared_ptr<Recordset> Recordset::Clone() {
    RequireOpen();
    auto c = Create();
    c->cursorLocation_ = cursorLocation_;
    c->cursorType_ = cursorType_;
    c->lockType_ = lockType_;
    c->source_ = source_;
    c->options_ = options_;
    c->connection_ = connection_;
    c->data_ = data_;
    c->ResetCursor();
    return c;
}

// ---- the view and the cursor ---------------------------------------------------------------------------

void Recordset::Sync() const {
    if (data_ && viewVersion_ != data_->version) BuildView(true);
}

void Recordset::BuildView(bool keepPosition) const {
    std::vector<long> view;
    const auto& rows = data_->rows;
    for (long i = 0; i < static_cast<long>(rows.size()); ++i) {
        const RowData& row = rows[static_cast<std::size_t>(i)];
        if (!row.Live()) continue;
        bool visible = false;
        if (std::find(addedHere_.begin(), addedHere_.end(), i) != addedHere_.end()) {
            visible = true;
        } else if (filterGroup_ == adFilterPendingRecords) {
            visible = row.Pending();
        } else if (filterGroup_ == adFilterAffectedRecords) {
            visible = row.affected;
        } else {
            visible = !filterExpression_ ||
                      filterExpression_->Matches([&row](std::size_t c) { return row.Value(c); });
        }
        if (visible) view.push_back(i);
    }
    if (!sortKeys_.empty()) {
        std::stable_sort(view.begin(), view.end(), [&](long a, long b) {
            const RowData& x = rows[static_cast<std::size_t>(a)];
            const RowData& y = rows[static_cast<std::size_t>(b)];
            return SortsBefore([&x](std::size_t c) { return x.Value(c); }, [&y](std::size_t c) { return y.Value(c); },
                               sortKeys_);
        });
    }

    long position = -1;
    bool ghost = false;
    if (keepPosition && current_ >= 0) {
        auto found = std::find(view.begin(), view.end(), current_);
        if (found != view.end()) {
            position = static_cast<long>(found - view.begin());
        } else {
            // The current row left the view: stand just before the next row of the old view that remains.
            ghost = true;
            position = static_cast<long>(view.size());
            for (long k = ghost_ ? position_ : position_ + 1; k >= 0 && k < static_cast<long>(view_.size()); ++k) {
                auto next = std::find(view.begin(), view.end(), view_[static_cast<std::size_t>(k)]);
                if (next != view.end()) {
                    position = static_cast<long>(next - view.begin());
                    break;
                }
            }
        }
    } else if (keepPosition && position_ >= static_cast<long>(view_.size())) {
        position = static_cast<long>(view.size());  // stays at EOF
    }
    view_ = std::move(view);
    position_ = position;
    ghost_ = ghost;
    if (!ghost) {
        current_ = position_ >= 0 && position_ < static_cast<long>(view_.size()) ? view_[static_cast<std::size_t>(position_)]
                                                                                 : -1;
    }
    viewVersion_ = data_->version;
}

void Recordset::MoveTo(long position) {
    const long size = static_cast<long>(view_.size());
    position_ = std::clamp(position, -1L, size);
    ghost_ = false;
    current_ = position_ >= 0 && position_ < size ? view_[static_cast<std::size_t>(position_)] : -1;
}

long Recordset::CurrentRow() const {
    if (!data_) return -1;
    Sync();
    return ghost_ ? -1 : current_;
}

long Recordset::RecordCount() const {
    RequireOpen();
    Sync();
    return static_cast<long>(view_.size());
}

// On a deleted current row neither is True yet, as in ADO: the next move decides.
bool Recordset::BOF() const {
    RequireOpen();
    Sync();
    return !ghost_ && (view_.empty() || position_ < 0);
}

bool Recordset::EOF() const {
    RequireOpen();
    Sync();
    return !ghost_ && (view_.empty() || position_ >= static_cast<long>(view_.size()));
}

void Recordset::MoveFirst() {
    RequireOpen();
    FinishEditIfAny();
    Sync();
    MoveTo(0);
}

void Recordset::MoveLast() {
    RequireOpen();
    FinishEditIfAny();
    Sync();
    MoveTo(view_.empty() ? 0 : static_cast<long>(view_.size()) - 1);
}

void Recordset::MoveNext() {
    RequireOpen();
    FinishEditIfAny();
    Sync();
    if (EOF()) throw ado::Raise(errc::EofOrBof);
    if (ghost_) {
        MoveTo(position_);  // the row after the deleted one
        return;
    }
    MoveTo(position_ + 1);
}

void Recordset::MovePrevious() {
    RequireOpen();
    FinishEditIfAny();
    Sync();
    if (BOF()) throw ado::Raise(errc::EofOrBof);
    MoveTo(position_ - 1);
}

long Recordset::AbsolutePosition() const {
    RequireOpen();
    Sync();
    if (ghost_ || position_ < 0 || position_ >= static_cast<long>(view_.size())) return -1;
    return position_ + 1;
}

void Recordset::AbsolutePosition(long position) {
    RequireOpen();
    FinishEditIfAny();
    Sync();
    if (position < 1 || position > static_cast<long>(view_.size()))
        throw ado::ArgumentError("AbsolutePosition " + std::to_string(position) + " is outside 1.." +
                                 std::to_string(view_.size()) + ".");
    MoveTo(position - 1);
}

// ---- filter and sort -----------------------------------------------------------------------------------

void Recordset::Filter(const Variant& criteria) {
    RequireOpen();
    FinishEditIfAny();
    std::shared_ptr<const FilterExpression> expression;
    long group = adFilterNone;
    switch (criteria.Type()) {
    case VarType::Empty:
    case VarType::Null: break;
    case VarType::String: {
        const std::string text = Trim(criteria.Text());
        if (!text.empty())
            expression = FilterExpression::Parse(text, [this](const std::string& name) { return data_->IndexOf(name); });
        break;
    }
    case VarType::Integer:
    case VarType::Long:
    case VarType::Decimal:
    case VarType::Double:
        group = criteria.CLng();
        if (group != adFilterNone && group != adFilterPendingRecords && group != adFilterAffectedRecords)
            throw ado::ArgumentError("Filter " + criteria.CStr() + " is not a filter group.");
        break;
    default: throw ado::ArgumentError("A filter is a text or a filter group number.");
    }
    filter_ = criteria;
    filterExpression_ = std::move(expression);
    filterGroup_ = group;
    addedHere_.clear();
    BuildView(false);
    MoveTo(0);
}

void Recordset::Sort(const std::string& fields) {
    RequireOpen();
    FinishEditIfAny();
    sortKeys_ = ParseSort(fields, [this](const std::string& name) { return data_->IndexOf(name); });
    sort_ = fields;
    Sync();
    BuildView(true);
}

// ---- editing -------------------------------------------------------------------------------------------

long Recordset::EditMode() const { return editMode_; }

long Recordset::Status() const {
    RequireOpen();
    Sync();
    if (current_ < 0) throw ado::Raise(errc::EofOrBof);
    return data_->rows[static_cast<std::size_t>(current_)].status;
}

void Recordset::BeginEdit() {
    editMode_ = adEditInProgress;
    editRow_ = current_;
    editBefore_ = std::make_shared<RowData>(data_->rows[static_cast<std::size_t>(current_)]);
}

void Recordset::SetFieldValue(long index, const Variant& value) {
    RequireCurrent();
    RequireUpdatable();
    if (editMode_ == adEditNone) BeginEdit();
    // No database value is an object, and rows keep only what a database can hold.
    if (value.IsObject()) throw ado::WrongTypeError();
    RowData& row = data_->rows[static_cast<std::size_t>(editRow_)];
    row.Assign(static_cast<std::size_t>(index), value, data_->columns.size());
}

void Recordset::AddNew() {
    RequireUpdatable();
    FinishEditIfAny();
    Sync();
    const std::size_t n = data_->columns.size();
    RowData row;
    row.StartNew(n);
    row.status = adRecNew;
    rowBeforeAdd_ = ghost_ ? -1 : current_;
    data_->rows.push_back(std::move(row));
    const long index = static_cast<long>(data_->rows.size()) - 1;
    ++data_->version;
    addedHere_.push_back(index);
    BuildView(true);
    MoveTo(static_cast<long>(std::find(view_.begin(), view_.end(), index) - view_.begin()));
    editMode_ = adEditAdd;
    editRow_ = index;
    editBefore_.reset();
}

void Recordset::Update() {
    RequireOpen();
    EndEdit();
}

void Recordset::FinishEditIfAny() {
    if (editMode_ != adEditNone) EndEdit();
}

void Recordset::EndEdit() {
    if (editMode_ == adEditNone) return;
    RowData& row = data_->rows[static_cast<std::size_t>(editRow_)];
    const long mode = editMode_;
    const long status = row.status;
    if (row.status == adRecUnmodified) row.status = adRecModified;
    editMode_ = adEditNone;
    if (lockType_ == adLockBatchOptimistic) {
        editBefore_.reset();
        return;
    }
    try {
        WriteRows({editRow_});
        editBefore_.reset();
    } catch (...) {
        // The edit stays open with its values, so the caller can correct it or cancel it.
        data_->rows[static_cast<std::size_t>(editRow_)].status = status;
        editMode_ = mode;
        throw;
    }
}

void Recordset::CancelUpdate() {
    RequireOpen();
    if (editMode_ == adEditAdd) {
        data_->rows[static_cast<std::size_t>(editRow_)].gone = true;
        ++data_->version;
        addedHere_.erase(std::remove(addedHere_.begin(), addedHere_.end(), editRow_), addedHere_.end());
        editMode_ = adEditNone;
        editRow_ = -1;
        BuildView(true);
        // Back to the row that was current before AddNew, as ADO does.
        const auto back = std::find(view_.begin(), view_.end(), rowBeforeAdd_);
        MoveTo(rowBeforeAdd_ >= 0 && back != view_.end() ? static_cast<long>(back - view_.begin())
                                                         : static_cast<long>(view_.size()));
        return;
    }
    if (editMode_ == adEditInProgress) {
        data_->rows[static_cast<std::size_t>(editRow_)] = *editBefore_;
        editMode_ = adEditNone;
        editRow_ = -1;
        editBefore_.reset();
    }
}

void Recordset::Delete(long affectRecords) {
    RequireUpdatable();
    Sync();
    std::vector<long> rows;
    if (affectRecords == adAffectCurrent) {
        RequireCurrent();
        rows.push_back(current_);
    } else if (affectRecords == adAffectGroup || affectRecords == adAffectAll) {
        rows = affectRecords == adAffectGroup ? view_ : RowsAffected(adAffectAll, false);
    } else {
        throw ado::ArgumentError("Delete takes adAffectCurrent, adAffectGroup or adAffectAll.");
    }
    if (editMode_ == adEditAdd) {
        CancelUpdate();  // deleting the row being added only drops it
        return;
    }
    if (editMode_ == adEditInProgress) {
        data_->rows[static_cast<std::size_t>(editRow_)] = *editBefore_;
        editMode_ = adEditNone;
        editBefore_.reset();
    }
    std::vector<long> toWrite;
    std::vector<long> before;
    for (long r : rows) {
        RowData& row = data_->rows[static_cast<std::size_t>(r)];
        before.push_back(row.status);
        if (row.status == adRecNew) {
            row.gone = true;  // never written: nothing to delete in the table
        } else {
            row.status = adRecDeleted;
            toWrite.push_back(r);
        }
    }
    ++data_->version;
    if (lockType_ == adLockBatchOptimistic || toWrite.empty()) return;
    try {
        WriteRows(toWrite);
    } catch (...) {
        for (std::size_t k = 0; k < rows.size(); ++k) {
            RowData& row = data_->rows[static_cast<std::size_t>(rows[k])];
            row.status = before[k];
            row.gone = false;
        }
        ++data_->version;
        throw;
    }
}

std::vector<long> Recordset::RowsAffected(long affectRecords, bool pendingOnly) const {
    std::vector<long> rows;
    auto wanted = [&](long r) {
        const RowData& row = data_->rows[static_cast<std::size_t>(r)];
        return pendingOnly ? row.Pending() : row.Live();
    };
    if (affectRecords == adAffectCurrent) {
        if (current_ >= 0 && wanted(current_)) rows.push_back(current_);
    } else if (affectRecords == adAffectGroup) {
        for (long r : view_)
            if (wanted(r)) rows.push_back(r);
    } else if (affectRecords == adAffectAll) {
        for (long r = 0; r < static_cast<long>(data_->rows.size()); ++r)
            if (wanted(r)) rows.push_back(r);
    } else {
        throw ado::ArgumentError("Expected adAffectCurrent, adAffectGroup or adAffectAll.");
    }
    return rows;
}

void Recordset::UpdateBatch(long affectRecords) {
    RequireOpen();
    FinishEditIfAny();
    Sync();
    const std::vector<long> rows = RowsAffected(affectRecords, true);
    if (rows.empty()) return;
    RequireUpdatable();
    WriteRows(rows);
}

void Recordset::CancelBatch(long affectRecords) {
    RequireOpen();
    CancelUpdate();
    Sync();
    for (long r : RowsAffected(affectRecords, true)) Revert(data_->rows[static_cast<std::size_t>(r)]);
    ++data_->version;
}

// Writes the given pending rows in one unit: when one fails, what the others wrote is undone and every
// row stays pending as it was.
void Recordset::WriteRows(const std::vector<long>& rows) {
    if (rows.empty()) return;
    if (!connection_ || connection_->State() != adStateOpen) throw ado::ConnectionError();
    std::vector<std::pair<long, RowWriteResult>> written;
    try {
        Driver& driver = connection_->DriverForStatement();
        std::vector<std::optional<RowWrite>> writes;
        writes.reserve(rows.size());
        for (long r : rows) writes.push_back(BuildWrite(*data_, data_->rows[static_cast<std::size_t>(r)]));
        // One row written by one statement is undone by the database itself when it fails; anything more (an
        // insert read again, several rows) is a unit of its own.
        std::optional<SavepointScope> unit;
        if (writes.size() > 1 || (writes.front() && !driver.WritesInOneStatement(*writes.front())))
            unit.emplace(driver, "agg_batch");
        for (std::size_t i = 0; i < rows.size(); ++i)
            written.emplace_back(rows[i], writes[i] ? driver.WriteRow(*writes[i]) : RowWriteResult{});
        if (unit) unit->Release();
    } catch (const Error& e) {
        connection_->RecordError(e);
        throw;
    }
    for (RowData& row : data_->rows) row.affected = false;
    for (auto& [r, result] : written) MarkWritten(*data_, data_->rows[static_cast<std::size_t>(r)], result);
    ++data_->version;
}

}  // namespace db
