#pragma once
// ADO-style client-side recordset: a snapshot of rows with a cursor, pending changes written on
// Update (optimistic) or UpdateBatch (batch optimistic), Clone sharing rows, and Filter.
#include <memory>
#include <string>
#include <vector>

#include "db/Constants.h"
#include "db/Field.h"
#include "db/Object.h"
#include "db/Variant.h"

namespace db {

class Connection;
struct RecordsetData;  // rows, columns and pending changes, shared between clones

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

    // Opens on a SELECT. Writes go to the base table of the SELECT (one table: joins are read-only).
    void Open(const std::string& source, const std::shared_ptr<Connection>& connection,
              long cursorType = adOpenUnspecified, long lockType = adLockUnspecified,
              long options = adOptionUnspecified);
    void Close();
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

    // For Field and the driver side.
    RecordsetData& Data();
    const RecordsetData& Data() const;
    long CurrentRow() const { return current_; }  // index into the shared rows, -1 at BOF/EOF

private:
    Recordset();
    void RequireOpen() const;
    void RequireCurrent() const;
    void Reposition();

    long cursorLocation_ = adUseClient;
    long cursorType_ = adOpenStatic;
    long lockType_ = adLockBatchOptimistic;
    std::string source_;
    std::shared_ptr<Connection> connection_;
    std::shared_ptr<RecordsetData> data_;
    std::vector<long> view_;  // shared row indices visible through filter and sort, in order
    long position_ = -1;      // index into view_; -1 BOF, view_.size() EOF
    long current_ = -1;
    Variant filter_ = Variant(0);
    std::string sort_;
    bool bof_ = true, eof_ = true;
};

using RecordsetPtr = std::shared_ptr<Recordset>;

}  // namespace db
