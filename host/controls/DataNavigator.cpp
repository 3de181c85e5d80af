#include "host/controls/DataNavigator.h"

#include "db/Error.h"

namespace host::controls {

void DataNavigator::Terminate() {
    Control::Terminate();
    frame_.reset();
    grid_.reset();
}

bool DataNavigator::UserPress(const std::string& button) {
    UserReaches();
    if (!frame_) throw db::Error(91, "The navigator " + Name() + " has no frame");
    bool cancel = false;
    buttonClick_.Raise(button, cancel);
    if (cancel) return false;
    namespace p = entry::pulsanti;
    if (button == p::Nuovo) {
        frame_->Status(entry::kvStatoNuovo);
        return frame_->Status() == entry::kvStatoNuovo;
    }
    if (button == p::Salva) return frame_->Save();
    if (button == p::Annulla) frame_->Undo();
    else if (button == p::Elimina) return frame_->ConfirmDelete() && frame_->Delete();
    else if (button == p::Primo) frame_->MoveFirst();
    else if (button == p::Precedente) frame_->MovePrevious();
    else if (button == p::Successivo) frame_->MoveNext();
    else if (button == p::Ultimo) frame_->MoveLast();
    else throw db::Error(db::errc::InvalidProcedureCall, "The navigator " + Name() + " has no button " + button);
    return true;
}

}  // namespace host::controls
