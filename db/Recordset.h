#pragma once
// ADO-style client-side recordset: a snapshot of rows with a cursor, pending changes written on
// Update (optimistic) or UpdateBatch (batch optimistic), Clone sharing rows, and Filter.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "db/Constants.h"
#include "db/Field.h"
#include "db/Object.h"
#include "db/Variant.h"

// <cstdio> defines EOF as a macro, which would turn every rs->EOF() into "rs->(-1)()". It is included
// above and undefined here for good; code that needs the value uses std::char_traits<char>::eof().
#undef EOF

namespace db {

class Connection;
class FilterExpression;
struct RecordsetData;    // rows, columns and pending changes, shared between clones
struct RowData;
struct SortKey;
struct StatementResult;

class Recordset : public Object, public std::enable_shared_from_this<Recordset> {
public:
    static std::shared_ptr<Recordset> Create();
    ~Recordset() override;

    // Properties that apply before Open; -1 (unspecified) keeps the preset.
    long CursorLocation() const { return cursorLocation_; }
    void CursorLocation(long v) { cursorLocation_ = v; }
    long CursorType() const { return cursorType_; }
    void CursorType(long v);
    long LockType() const { return lockType_; }
    void LockType(long v);

    // Opens on a SELECT (options adCmdTable: on a table name). Writes go to the base table of the SELECT:
    // the table of its first column that comes from a table; columns of other tables (joins) and
    // computed columns can be assigned locally but are never written. A text whose statements yield no
    // row set (DDL, DML) leaves the recordset closed, as ADO does. Options may carry adExecuteCommonSql
    // (CommonSql.h): the text is run as written, untranslated.
    void Open(const std::string& source, const std::shared_ptr<Connection>& connection,
              long cursorType = adOpenUnspecified, long lockType = adLockUnspecified,
              long options = adOptionUnspecified);
    void Close();  // an edit in progress and pending changes are dropped
    void Requery();  // reads the rows again (pending changes are dropped); filter and sort are kept
    long State() const;
    const std::string& Source() const { return source_; }
    std::shared_ptr<Connection> ActiveConnection() const { return connection_; }

    long RecordCount() const;  // rows visible through the filter; deleted rows excluded
    bool EOF() const;
    bool BOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    long AbsolutePosition() const;  // 1-based, or -1 at BOF/EOF
    void AbsolutePosition(long position);

    Fields GetFields() { return Fields(this); }
    Field operator[](long index) { return Fields(this).Item(index); }
    Field operator[](int index) { return Fields(this).Item(static_cast<long>(index)); }
    Field operator[](const std::string& name) { return Fields(this).Item(name); }
    Field operator[](const char* name) { return Fields(this).Item(std::string(name)); }

    // Editing. A field never assigned on a new row is left out of its INSERT, so the table default applies.
    void AddNew();
    void Update();  // ends the edit; writes at once unless the lock type is batch optimistic
    void UpdateBatch(long affectRecords = adAffectAll);
    void CancelUpdate();
    void CancelBatch(long affectRecords = adAffectAll);
    void Delete(long affectRecords = adAffectCurrent);
    long EditMode() const;    // 0 none, 1 in progress, 2 adding
    long Status() const;      // RecordStatusEnum of the current row

    // A second cursor on the same rows: own position and filter, changes visible to both.
    std::shared_ptr<Recordset> Clone();

    // ADO filter: "" / 0 clears; text in ADO's grammar (field op value joined by AND / OR, parentheses,
    // strings in single quotes, LIKE with * or %); adFilterPendingRecords shows the rows not yet written.
    const Variant& Filter() const { return filter_; }
    void Filter(const Variant& criteria);
    std::string Sort() const { return sort_; }
    void Sort(const std::string& fields);  // "A, B DESC"

    // For Field and the data-access layer.
    RecordsetData& Data();
    const RecordsetData& Data() const;
    long CurrentRow() const;  // index into the shared rows, -1 at BOF/EOF or on a row deleted from the view

    // An open, read-only recordset over rows already read (what Connection::Execute returns).
    static std::shared_ptr<Recordset> FromResult(StatementResult result, const std::string& source,
                                                 const std::shared_ptr<Connection>& connection);

private:
    friend class Field;
    Recordset();
    void RequireOpen() const;
    void RequireCurrent() const;
    void RequireUpdatable() const;
    void Load(StatementResult result, bool readOnly);
    void Sync() const;  // rebuilds the view when the shared rows changed since it was built
    void BuildView(bool keepPosition) const;
    void MoveTo(long position);
    void SetFieldValue(long index, const Variant& value);
    void BeginEdit();
    void EndEdit();       // Update's work: the row becomes pending, or is written now (optimistic)
    void FinishEditIfAny();
    void WriteRows(const std::vector<long>& rows);
    std::vector<long> RowsAffected(long affectRecords, bool pendingOnly) const;
    void ResetCursor();

    long cursorLocation_ = adUseClient;
    long cursorType_ = adOpenStatic;
    long lockType_ = adLockBatchOptimistic;
    std::string source_;
    long options_ = adOptionUnspecified;
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<RecordsetData> data_;
    Variant filter_ = Variant(0);
    std::shared_ptr<const FilterExpression> filterExpression_;
    long filterGroup_ = adFilterNone;
    std::string sort_;
    std::vector<SortKey> sortKeys_;

    // The cursor. view_ holds the shared row indices visible through filter and sort, in order;
    // position_ indexes it (-1 BOF, size EOF). When the current row leaves the view (deleted), current_
    // keeps it and ghost_ is set: position_ is then the row that follows it.
    mutable std::vector<long> view_;
    mutable std::uint64_t viewVersion_ = 0;
    mutable long position_ = -1;
    mutable long current_ = -1;
    mutable bool ghost_ = false;
    std::vector<long> addedHere_;  // rows added through this cursor stay visible whatever the filter

    long editMode_ = adEditNone;
    long editRow_ = -1;
    long rowBeforeAdd_ = -1;               // where CancelUpdate of a new row goes back to
    std::shared_ptr<RowData> editBefore_;  // the row before an edit of an existing row, for CancelUpdate
};

using RecordsetPtr = std::shared_ptr<Recordset>;

}  // namespace db
