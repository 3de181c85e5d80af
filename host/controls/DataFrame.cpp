#include "host/controls/DataFrame.h"

#include "db/Constants.h"
#include "db/Error.h"
#include "db/Field.h"
#include "entry/ControlsLookup.h"
#include "entry/HostInterfaces.h"
#include "host/controls/Grid.h"

namespace host::controls {

namespace {

constexpr long kInvalidPropertyValue = 380;
constexpr long kAnswerYes = 6;
constexpr long kAnswerNo = 7;
constexpr long kYesNoCancelQuestion = 3 + 32;
constexpr long kYesNoQuestion = 4 + 32;

bool IsTextType(long type) {
    switch (type) {
    case db::adChar: case db::adWChar: case db::adVarChar: case db::adVarWChar: case db::adLongVarChar:
    case db::adLongVarWChar:
        return true;
    default:
        return false;
    }
}

std::string DataFieldOf(const entry::IControl& control) {
    if (auto box = dynamic_cast<const entry::ITextBox*>(&control)) return box->DataField();
    if (auto check = dynamic_cast<const entry::ICheckBox*>(&control)) return check->DataField();
    return {};
}

}  // namespace

DataFrame::~DataFrame() {
    Disconnect();
    DisconnectGrid();
}

bool DataFrame::HasRecord() const {
    return recordset_ && recordset_->State() == db::adStateOpen && !recordset_->EOF() && !recordset_->BOF();
}

bool DataFrame::IsEditing() const {
    return recordset_ && recordset_->State() == db::adStateOpen && recordset_->EditMode() != db::adEditNone;
}

bool DataFrame::OnNewRecord() const {
    return status_ == entry::kvStatoNuovo && IsEditing() && recordset_->EditMode() == db::adEditAdd;
}

bool DataFrame::HasPendingRows() const {
    if (!recordset_ || recordset_->State() != db::adStateOpen) return false;
    auto pending = recordset_->Clone();
    pending->Filter(db::Variant(static_cast<int>(db::adFilterPendingRecords)));
    return pending->RecordCount() > 0;
}

void DataFrame::Disconnect() {
    for (auto& [weak, id] : connections_) {
        auto control = weak.lock();
        if (!control) continue;
        if (auto box = std::dynamic_pointer_cast<entry::ITextBox>(control)) box->Change().Disconnect(id);
        else if (auto check = std::dynamic_pointer_cast<entry::ICheckBox>(control)) check->Click().Disconnect(id);
    }
    connections_.clear();
}

void DataFrame::DisconnectGrid() {
    if (!grid_) return;
    grid_->RowChange().Disconnect(gridMoveConnection_);
    if (auto grid = std::dynamic_pointer_cast<Grid>(grid_)) grid->BeforeRowChange().Disconnect(gridBeforeMoveConnection_);
}

void DataFrame::Bind(const db::RecordsetPtr& recordset, const std::vector<std::shared_ptr<entry::IControl>>& controls,
                     const std::string& keyField) {
    Disconnect();
    recordset_ = recordset;
    controls_ = controls;
    keyField_ = keyField;
    status_ = entry::kvStatoNavigazione;
    for (const auto& control : controls_) {
        if (!control) throw db::Error(db::errc::ObjectRequired);
        entry::IControl* raw = control.get();
        if (auto box = std::dynamic_pointer_cast<entry::ITextBox>(control))
            connections_.emplace_back(control, box->Change().Connect([this, raw] { ControlEdited(*raw); }));
        else if (auto check = std::dynamic_pointer_cast<entry::ICheckBox>(control))
            connections_.emplace_back(control, check->Click().Connect([this, raw] { ControlEdited(*raw); }));
    }
    if (grid_) {
        grid_->Bind(recordset_);
        grid_->Refresh();
    }
    Show();
}

void DataFrame::BindGrid(const std::shared_ptr<entry::IGrid>& grid) {
    DisconnectGrid();
    grid_ = grid;
    if (!grid_) return;
    grid_->Bind(recordset_);
    gridMoveConnection_ = grid_->RowChange().Connect([this] { Moved(); });
    if (auto shellGrid = std::dynamic_pointer_cast<Grid>(grid_))
        gridBeforeMoveConnection_ = shellGrid->BeforeRowChange().Connect([this](bool& cancel) {
            if (!LeaveRecord()) cancel = true;
        });
}

void DataFrame::Show() {
    showing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{showing_};
    const bool hasRecord = HasRecord();
    for (const auto& control : controls_) {
        const std::string field = DataFieldOf(*control);
        if (field.empty()) continue;
        const db::Variant value = hasRecord ? (*recordset_)[field].Value() : db::Variant();
        if (auto box = std::dynamic_pointer_cast<entry::ITextBox>(control)) box->Text(value.Text());
        else if (auto check = std::dynamic_pointer_cast<entry::ICheckBox>(control))
            check->Value(value.IsNull() || value.IsEmpty() ? 0 : value.CInt());
    }
}

void DataFrame::ControlEdited(entry::IControl& control) {
    if (showing_ || !HasRecord()) return;
    const std::string field = DataFieldOf(control);
    if (field.empty()) return;
    auto target = (*recordset_)[field];
    db::Variant value;
    if (auto box = dynamic_cast<entry::ITextBox*>(&control)) {
        const std::string text = box->Text();
        // An empty number or date is no value at all.
        value = text.empty() && !IsTextType(target.Type()) ? db::Variant::Null() : db::Variant(text);
    } else if (auto check = dynamic_cast<entry::ICheckBox*>(&control)) {
        value = db::Variant(static_cast<int>(check->Value()));
    }
    target.Value(value);
    // The form learns of the edit as it is typed, not only at the next status change: what it allows
    // while something waits to be saved (a run on the rows) follows at once.
    IsChanged();
}

void DataFrame::Status(std::int16_t status) {
    if (status != entry::kvStatoNavigazione && status != entry::kvStatoNuovo)
        throw db::Error(kInvalidPropertyValue, "Invalid property value");
    if (!recordset_) throw db::Error(91, "The frame " + Name() + " is not bound");
    if (status == entry::kvStatoNuovo) {
        // A new record dropped on leaving may have the form offer a new one in its place: that one is the new
        // record (a second would save the first as a blank row).
        if (!LeaveRecord() || OnNewRecord()) return;
        recordset_->AddNew();
        status_ = entry::kvStatoNuovo;
        Show();
        if (grid_) grid_->Refresh();
        afterAddNew_.Raise();
        changeStatus_.Raise(status_, entry::kvMotivoStato);
        return;
    }
    if (OnNewRecord()) recordset_->CancelUpdate();
    status_ = entry::kvStatoNavigazione;
    Show();
    if (grid_) grid_->Refresh();
    changeStatus_.Raise(status_, entry::kvMotivoStato);
}

bool DataFrame::IsChanged() {
    bool changed = IsEditing() || HasPendingRows();
    isRecordChanged_.Raise(changed);
    return changed;
}

void DataFrame::ReportWriteError(const db::Error& error) {
    // The frame shows the cause itself, as the shell's frames do; without a shell nobody could see it,
    // so the error goes on to the caller.
    std::shared_ptr<entry::IMessageService> messages;
    try {
        messages = entry::Host().CreateMessageService();
    } catch (const db::Error&) {
        throw error;
    }
    if (!messages) throw error;
    messages->MsgBox(error.Description(), 16, Caption().empty() ? Name() : Caption(), true, 0);
}

bool DataFrame::Save() {
    if (!recordset_ || recordset_->State() != db::adStateOpen) return false;
    bool cancel = false;
    beforeUpdate_.Raise(cancel);
    if (cancel) {
        afterUpdate_.Raise(false);
        return false;
    }
    try {
        if (IsEditing()) recordset_->Update();
        if (!deferBatch_) recordset_->UpdateBatch(db::adAffectAll);
    } catch (const db::Error& error) {
        ReportWriteError(error);
        afterUpdate_.Raise(false);
        return false;
    }
    const bool wasNew = status_ == entry::kvStatoNuovo;
    status_ = entry::kvStatoNavigazione;
    Show();
    if (grid_) grid_->Refresh();
    afterUpdate_.Raise(true);
    if (wasNew) changeStatus_.Raise(status_, entry::kvMotivoAggiornamento);
    return true;
}

bool DataFrame::SaveAll() { return IsEditing() ? Save() : true; }

void DataFrame::SaveBatch() {
    if (updateBatchAll_.Connected()) updateBatchAll_.Raise();
    else WriteBatch();
}

void DataFrame::WriteBatch() {
    if (!recordset_ || recordset_->State() != db::adStateOpen) return;
    recordset_->UpdateBatch(db::adAffectAll);
    if (grid_) grid_->Refresh();
}

void DataFrame::Undo() {
    if (!recordset_ || recordset_->State() != db::adStateOpen) return;
    if (IsEditing()) recordset_->CancelUpdate();
    recordset_->CancelBatch(db::adAffectAll);
    status_ = entry::kvStatoNavigazione;
    Show();
    if (grid_) grid_->Refresh();
    afterUndo_.Raise(true);
}

// The form's handlers remove what goes with the record (generated articles): nothing goes unconfirmed.
bool DataFrame::ConfirmDelete() { return HasRecord() && Ask(kDomandaEliminazione, kYesNoQuestion) == kAnswerYes; }

bool DataFrame::Delete() {
    if (!HasRecord()) return false;
    bool cancel = false;
    beforeDelete_.Raise(cancel);
    if (cancel) return false;
    if (recordset_->EditMode() == db::adEditAdd) {
        recordset_->CancelUpdate();
    } else {
        if (IsEditing()) recordset_->CancelUpdate();
        recordset_->Delete();
        try {
            if (!deferBatch_) recordset_->UpdateBatch(db::adAffectAll);
        } catch (const db::Error& error) {
            recordset_->CancelBatch(db::adAffectAll);
            ReportWriteError(error);
            Show();
            return false;
        }
        recordset_->MoveNext();
        if (recordset_->EOF() && recordset_->RecordCount() > 0) recordset_->MoveLast();
    }
    status_ = entry::kvStatoNavigazione;
    Moved();
    return true;
}

void DataFrame::Requery() {
    if (!recordset_) return;
    recordset_->Requery();
    status_ = entry::kvStatoNavigazione;
    Moved();
}

void DataFrame::Refresh() {
    Show();
    if (grid_) grid_->Refresh();
}

bool DataFrame::LeaveRecord() {
    // Rows that wait for their header only keep the edit pending: nothing reaches the database yet.
    if (deferBatch_) return !IsEditing() || Save();
    // Here saving writes the record and whatever the form saves with it: only what the user confirms.
    return AskToSave();
}

// A new record dropped on leaving may leave nothing, or the form may offer a new one in its place: either
// way there is nothing to move to.
bool DataFrame::LeaveForMove() {
    return LeaveRecord() && recordset_->RecordCount() > 0 && Status() != entry::kvStatoNuovo;
}

void DataFrame::Moved() {
    Show();
    if (grid_) grid_->Refresh();
    changeStatus_.Raise(status_, entry::kvMotivoSpostamento);
}

void DataFrame::MoveFirst() {
    if (!recordset_ || recordset_->RecordCount() == 0 || !LeaveForMove()) return;
    recordset_->MoveFirst();
    Moved();
}

void DataFrame::MoveLast() {
    if (!recordset_ || recordset_->RecordCount() == 0 || !LeaveForMove()) return;
    recordset_->MoveLast();
    Moved();
}

// A new record dropped on leaving puts back the record current before it, or none.
void DataFrame::MoveNext() {
    if (!HasRecord() || !LeaveForMove()) return;
    if (!recordset_->EOF()) recordset_->MoveNext();
    if (recordset_->EOF()) recordset_->MoveLast();
    Moved();
}

void DataFrame::MovePrevious() {
    if (!HasRecord() || !LeaveForMove()) return;
    if (!recordset_->BOF()) recordset_->MovePrevious();
    if (recordset_->BOF()) recordset_->MoveFirst();
    Moved();
}

long DataFrame::Ask(const char* question, long style) {
    return entry::Host().CreateMessageService()->MsgBox(question, style, Caption(), true, 0);
}

bool DataFrame::AskToSave() {
    if (!IsChanged()) return true;
    const long answer = Ask(kDomandaChiusura, kYesNoCancelQuestion);
    if (answer == kAnswerYes) {
        if (!Save()) return false;
        WriteBatch();
        return true;
    }
    if (answer == kAnswerNo) {
        Undo();
        return true;
    }
    return false;
}

long DataFrame::QueryClose(long, long, long) { return AskToSave() ? -1 : 0; }

void DataFrame::Close(long, long, long) {
    if (recordset_ && recordset_->State() == db::adStateOpen) {
        if (IsEditing()) recordset_->CancelUpdate();
        recordset_->CancelBatch(db::adAffectAll);
    }
    status_ = entry::kvStatoNavigazione;
}

void DataFrame::Release() {
    Disconnect();
    DisconnectGrid();
    controls_.clear();
    if (grid_) grid_->Unbind();
    grid_.reset();
    recordset_.reset();
    status_ = entry::kvStatoNavigazione;
}

void DataFrame::Terminate() {
    Control::Terminate();
    Release();
}

}  // namespace host::controls
