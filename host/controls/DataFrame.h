#pragma once
// The shell's data-bound frame (see entry/ControlsDataFrame.h for the events and their order).
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/Recordset.h"
#include "entry/ControlsDataFrame.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class DataFrame : public Control<entry::IDataFrame> {
public:
    using Control::Control;
    ~DataFrame() override;

    std::string Caption() const override { return caption_; }
    void Caption(const std::string& v) override { caption_ = v; }

    void Bind(const db::RecordsetPtr& recordset, const std::vector<std::shared_ptr<entry::IControl>>& controls,
              const std::string& keyField) override;
    void BindGrid(const std::shared_ptr<entry::IGrid>& grid) override;
    db::RecordsetPtr Recordset() const override { return recordset_; }
    std::string KeyField() const override { return keyField_; }
    bool DeferBatch() const override { return deferBatch_; }
    void DeferBatch(bool v) override { deferBatch_ = v; }

    std::int16_t Status() const override { return status_; }
    void Status(std::int16_t status) override;
    bool IsChanged() override;
    bool Save() override;
    bool SaveAll() override;
    void SaveBatch() override;
    void WriteBatch() override;
    void Undo() override;
    bool ConfirmDelete() override;
    bool Delete() override;
    void Requery() override;
    void Refresh() override;
    void MoveFirst() override;
    void MoveNext() override;
    void MovePrevious() override;
    void MoveLast() override;
    long QueryClose(long a, long b, long c) override;
    void Close(long a, long b, long c) override;
    void Release() override;
    void Terminate() override;

    entry::Event<bool>& AfterUndo() override { return afterUndo_; }
    entry::Event<bool>& AfterUpdate() override { return afterUpdate_; }
    entry::Event<bool&>& BeforeDelete() override { return beforeDelete_; }
    entry::Event<bool&>& BeforeUpdate() override { return beforeUpdate_; }
    entry::Event<bool&>& IsRecordChanged() override { return isRecordChanged_; }
    entry::Event<>& AfterAddNew() override { return afterAddNew_; }
    entry::Event<std::int16_t, long>& ChangeStatus() override { return changeStatus_; }
    entry::Event<>& UpdateBatchAll() override { return updateBatchAll_; }

    const std::vector<std::shared_ptr<entry::IControl>>& BoundControls() const { return controls_; }
    std::shared_ptr<entry::IGrid> BoundGrid() const { return grid_; }
    // The text of the close query the frame asks when it holds changes; leaving a record asks it too.
    static constexpr const char* kDomandaChiusura = "Salvare le modifiche?";
    // The shell's confirmation of a deletion, asked before the form hears of it.
    static constexpr const char* kDomandaEliminazione = "Eliminare il record corrente?";

private:
    bool HasRecord() const;
    bool IsEditing() const;
    // A new record is being entered.
    bool OnNewRecord() const;
    bool HasPendingRows() const;
    // Shows the current record in the bound controls (without writing it back).
    void Show();
    void ControlEdited(entry::IControl& control);
    // Asks the frame's question and returns the user's answer.
    long Ask(const char* question, long style);
    // Asks whether to save the changes: yes saves them, no drops them. False when they stay (cancel, or a
    // refused save).
    bool AskToSave();
    // Deals with the changes before another record becomes the current one; False when the user stays.
    bool LeaveRecord();
    // LeaveRecord for a move; False as well when no record is left to move to.
    bool LeaveForMove();
    void Moved();
    void Disconnect();      // the bound controls' events
    void DisconnectGrid();  // the grid's events
    // Shows a failed write to the user, as the frame's own message.
    void ReportWriteError(const db::Error& error);

    std::string caption_;
    db::RecordsetPtr recordset_;
    std::vector<std::shared_ptr<entry::IControl>> controls_;
    std::vector<std::pair<std::weak_ptr<entry::IControl>, std::size_t>> connections_;
    std::shared_ptr<entry::IGrid> grid_;
    std::size_t gridMoveConnection_ = 0, gridBeforeMoveConnection_ = 0;
    std::string keyField_;
    bool deferBatch_ = false;
    std::int16_t status_ = entry::kvStatoNavigazione;
    bool showing_ = false;
    entry::Event<bool> afterUndo_, afterUpdate_;
    entry::Event<bool&> beforeDelete_, beforeUpdate_, isRecordChanged_;
    entry::Event<> afterAddNew_;
    entry::Event<std::int16_t, long> changeStatus_;
    entry::Event<> updateBatchAll_;
};

}  // namespace host::controls
