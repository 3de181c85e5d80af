#pragma once
// The shell's data-bound frame (FME_...) and its navigator (INTERNAV_..., GRIDNAV_...).
//
// A data frame shows the current record of its recordset in the controls bound to it (each by its
// DataField) and in its grid, and writes what the user types back into the record. It has two
// statuses, browse (0) and new record (2), and raises the events the form handles:
//   Status(2)        AddNew, AfterAddNew, ChangeStatus(2, kvMotivoStato)
//   Save()           BeforeUpdate(cancel); Update; the batch write unless DeferBatch; AfterUpdate(ok);
//                    ChangeStatus(0, kvMotivoAggiornamento) when it was new
//   Undo()           the edit and the pending rows dropped; AfterUndo(ok)
//   Delete()         BeforeDelete(cancel); the record deleted (written unless DeferBatch); the navigator's
//                    Elimina asks ConfirmDelete() first
//   a move           ChangeStatus(0, kvMotivoSpostamento)
//   IsChanged()      IsRecordChanged(changed): the form may add its own pending changes
//   a bound control  the value written into the record, then IsRecordChanged(changed) as for IsChanged()
//   SaveBatch()      the UpdateBatchAll event when a handler is connected, otherwise WriteBatch
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/Recordset.h"
#include "entry/Controls.h"
#include "entry/ControlsGrid.h"

namespace entry {

inline constexpr std::int16_t kvStatoNavigazione = 0;  // browse
inline constexpr std::int16_t kvStatoNuovo = 2;        // new record

// The second value of ChangeStatus: why the status (or the record shown) changed.
inline constexpr long kvMotivoStato = 0;          // the status was set
inline constexpr long kvMotivoSpostamento = 1;    // another record became the current one
inline constexpr long kvMotivoAggiornamento = 7;  // the same record shown again after a save: nothing to reload

class IDataFrame : public IFrame {
public:
    static constexpr ControlKind kKind = ControlKind::DataFrame;

    // Binds the recordset and the controls (text boxes, lookup boxes, check boxes by their DataField)
    // and shows the current record. keyField names the column that identifies a record.
    virtual void Bind(const db::RecordsetPtr& recordset, const std::vector<std::shared_ptr<IControl>>& controls,
                      const std::string& keyField) = 0;
    // The grid shows the frame's records; moving in the grid moves the frame.
    virtual void BindGrid(const std::shared_ptr<IGrid>& grid) = 0;
    virtual db::RecordsetPtr Recordset() const = 0;
    virtual std::string KeyField() const = 0;

    // When True, saving a record leaves it pending in the recordset: the rows are written together by
    // WriteBatch (a detail frame whose rows are written after their header).
    virtual bool DeferBatch() const = 0;
    virtual void DeferBatch(bool v) = 0;

    virtual std::int16_t Status() const = 0;
    // 2 starts a new record; 0 drops a new record not yet saved and goes back to browsing.
    virtual void Status(std::int16_t status) = 0;

    // True when the current record is being edited or rows wait for the batch write, or a handler of
    // IsRecordChanged says so. The frame asks it itself each time the user edits a bound control.
    virtual bool IsChanged() = 0;
    // Saves the current record; False when a handler cancelled it or the write failed.
    virtual bool Save() = 0;
    // Validates and saves every pending record (the current edit); False when one was refused.
    virtual bool SaveAll() = 0;
    // The batch save of the frame's rows: raises UpdateBatchAll, whose handler does the work (through
    // WriteBatch); without a handler the frame calls WriteBatch itself.
    virtual void SaveBatch() = 0;
    // Writes the pending rows in batch.
    virtual void WriteBatch() = 0;
    virtual void Undo() = 0;
    // Asks the user to confirm the deletion of the current record; False when not confirmed or there is none.
    // Asked before anything is locked for the deletion: the answer may take the user a while.
    virtual bool ConfirmDelete() = 0;
    // Deletes the current record (confirmed first through ConfirmDelete).
    virtual bool Delete() = 0;
    // Reads the records again / shows the current record again.
    virtual void Requery() = 0;
    virtual void Refresh() = 0;

    virtual void MoveFirst() = 0;
    virtual void MoveNext() = 0;
    virtual void MovePrevious() = 0;
    virtual void MoveLast() = 0;

    // Close query: 0 when the frame stays (the user kept it open), -1 when it may close. The three
    // values are the shell's own options.
    virtual long QueryClose(long a, long b, long c) = 0;
    // Closes without asking: pending changes are dropped.
    virtual void Close(long a, long b, long c) = 0;
    // Lets go of the recordset, the bound controls and the grid.
    virtual void Release() = 0;

    virtual Event<bool>& AfterUndo() = 0;                      // success
    virtual Event<bool>& AfterUpdate() = 0;                    // success
    virtual Event<bool&>& BeforeDelete() = 0;                  // cancel
    virtual Event<bool&>& BeforeUpdate() = 0;                  // cancel
    virtual Event<bool&>& IsRecordChanged() = 0;               // changed
    virtual Event<>& AfterAddNew() = 0;
    virtual Event<std::int16_t, long>& ChangeStatus() = 0;     // status, reason
    virtual Event<>& UpdateBatchAll() = 0;
};

// Buttons of a data navigator.
namespace pulsanti {
inline constexpr const char* Nuovo = "Nuovo";
inline constexpr const char* Salva = "Salva";
inline constexpr const char* Annulla = "Annulla";
inline constexpr const char* Elimina = "Elimina";
inline constexpr const char* Primo = "Primo";
inline constexpr const char* Precedente = "Precedente";
inline constexpr const char* Successivo = "Successivo";
inline constexpr const char* Ultimo = "Ultimo";
}  // namespace pulsanti

// The navigator bar of a data frame. A pressed button raises ButtonClick (the form may cancel); the
// navigator then asks its frame to do the button's work.
class IDataNavigator : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::DataNavigator;
    virtual std::shared_ptr<IDataFrame> Frame() const = 0;
    virtual void Frame(const std::shared_ptr<IDataFrame>& frame) = 0;
    virtual std::shared_ptr<IGrid> Grid() const = 0;
    virtual void Grid(const std::shared_ptr<IGrid>& grid) = 0;
    virtual Event<const std::string&, bool&>& ButtonClick() = 0;  // button, cancel
};

}  // namespace entry
