#include "entry/CLSFA_AGGANCI.h"

#include <algorithm>

#include "db/Error.h"
#include "entry/ErrorHandler.h"
#include "entry/Rif.h"
#include "entry/NavigatorModels.h"

namespace entry {

CLSFA_AGGANCI::CLSFA_AGGANCI() {
    WriteTraceLine(traceId_, TracePhase::Ini, kClassName);
    // The program interface is the instance itself (CinterfaceBase), until the shell replaces it.
    articoloOrigine_ = db::Variant(std::string());
    articoloDestinazione_ = db::Variant(std::string());
}

CLSFA_AGGANCI::~CLSFA_AGGANCI() {
    WriteTraceLine(traceId_, TracePhase::Ter, kClassName);
    form_.reset();
    // Status bar and active frame, connection, menu item, global object, navigator, program interface.
    ReleaseReferences();
}

void CLSFA_AGGANCI::Advise(const std::shared_ptr<CLSFA_AGGANCI_Events>& sink) {
    if (sink) sinks_.push_back(sink);
}

void CLSFA_AGGANCI::Unadvise(const std::shared_ptr<CLSFA_AGGANCI_Events>& sink) {
    sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void CLSFA_AGGANCI::ActiveNavigator(const std::shared_ptr<INavigator>& v) {
    Procedure::ResumeNext("ActiveNavigator")
        .Step([&] {
            if (auto previous = std::dynamic_pointer_cast<IFormNavigator>(navigator_)) previous->Unadvise(this);
        })
        .Step([&] { navigator_ = v; })
        .Step([&] {
            auto source = std::dynamic_pointer_cast<IFormNavigator>(v);
            if (!source) return;  // a navigator without events
            auto self = std::dynamic_pointer_cast<CLSFA_AGGANCI>(weak_from_this().lock());
            Rif(self);  // only an instance the shell holds can be subscribed
            source->Advise(std::shared_ptr<INavigatorEvents>(self, static_cast<INavigatorEvents*>(self.get())));
        })
        .Run();
}

db::Variant CLSFA_AGGANCI::ShowForm() {
    Procedure::ResumeNext("ShowForm")
        .Step([&] { form_ = NewLinksForm(); })
        .Step([&] { Rif(form_).ActiveInterface = ActiveDll(); })
        .Step([&] {
            auto program = std::dynamic_pointer_cast<CLSFA_AGGANCI>(ActiveDll());
            if (!program) throw db::Error(db::errc::TypeMismatch);
            Rif(form_).ActiveClass = program;
        })
        .Step([&] { Rif(form_).WindowState(windowState_); })
        .Step([&] { Rif(form_).Caption(caption_.CStr()); })
        .Step([&] { Rif(form_).Show(windowModal_ ? vbModal : vbModeless); })
        .Run();
    return {};
}

db::Variant CLSFA_AGGANCI::CloseForm() {
    db::Variant closed;
    Procedure::ResumeNext("CloseForm")
        .Step([&] { Rif(ClsGlobal()).Deregistra(ActiveDll()); })
        .Step([&] { Rif(ActiveNavigator()).Deregistra(ActiveDll()); })
        .Step([&] {
            // No window was ever made: there is nothing left open.
            if (!form_) closed = db::Variant(true);
            return static_cast<bool>(form_);
        })
        .Step([&] { Rif(form_).Unload(vbFormCode); })
        .Step([&] { closed = db::Variant(Rif(form_).ActiveInterface == nullptr); })
        .Run();
    return closed;
}

db::Variant CLSFA_AGGANCI::TransferData(const db::Variant& Data) {
    Procedure::ResumeNext("TransferData")
        .Step([&] {
            db::Variant data = Data;
            for (const auto& sink : std::vector(sinks_)) sink->DataTransfer(data);
        })
        .Run();
    return {};
}

bool CLSFA_AGGANCI::ProgramIsActive() const {
    try {
        const auto program = ActiveDll();
        return program && program->IsActive();
    } catch (const db::Error&) {
        return false;  // see the declaration: an unanswerable question is a "no"
    }
}

void CLSFA_AGGANCI::ReplaceForm(const db::ObjectPtr& handedBack) {
    // A model that hands back Nothing leaves the form we have: dropping it would leave an open window
    // that CloseForm could no longer reach.
    if (!handedBack) return;
    auto form = std::dynamic_pointer_cast<ILinksForm>(handedBack);
    if (!form) throw db::Error(db::errc::TypeMismatch);
    form_ = form;
}

void CLSFA_AGGANCI::BeforeChangeDitta(bool& Cancel) {
    Procedure::ResumeNext("BeforeChangeDitta")
        .Step([&] { return !Cancel; })
        .Step([&] { Cancel = true; })
        .Step([&] {
            Rif(Rif(form_).Gcls_Log).MsgBox(kMsgCambioDitta, kStileInformazione, kTitoloInformazione, true, 0);
        })
        .Run();
}

void CLSFA_AGGANCI::BeforeExportToOffice(bool& Cancel, const db::ObjectPtr&) {
    Procedure::ResumeNext("BeforeExportToOffice")
        .Step([&] { return ProgramIsActive(); })
        .Step([&] { Cancel = true; })
        .Step([&] {
            Rif(Rif(form_).Gcls_Log)
                .MsgBox(kMsgExportToOffice, kStileInformazione, kTitoloInformazione, true, 0);
        })
        .Run();
}

void CLSFA_AGGANCI::InitializeLayoutObjectModel(const std::shared_ptr<ILayoutObjectModel>& ClsLayout) {
    Procedure::ResumeNext("InitializeLayoutObjectModel")
        .Step([&] { return ProgramIsActive(); })
        .Step([&] {
            Rif(form_);
            ReplaceForm(Rif(ClsLayout).Add(form_, "Parametri"));
        })
        .Run();
}

void CLSFA_AGGANCI::InitializeScriptObjectModel(const std::shared_ptr<IScriptObjectModel>& ClsScript) {
    Procedure::ResumeNext("InitializeScriptObjectModel")
        .Step([&] { return ProgramIsActive(); })
        .Step([&] {
            auto& form = Rif(form_);
            ReplaceForm(Rif(ClsScript).Add(form_, form.Name(), form.Caption()));
        })
        .Run();
}

}  // namespace entry
