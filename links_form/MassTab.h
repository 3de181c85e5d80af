#pragma once
// The mass-duplication tab as the links form drives it: the form owns the tab's frames (FRM_DUPLMASS with
// FRM_SELDUPL and FRM_PARDUPL) and calls these steps at the points of its lifecycle; the tab's own
// controls, selection and run live behind this interface (MassTab.cpp).
#include <functional>
#include <memory>
#include <string>

#include "db/Recordset.h"
#include "entry/Controls.h"
#include "generation/Completion.h"
#include "mass_duplication/DuplicazioneMassiva.h"

namespace links_form {

class FRMFA_AGGANCI;

class IMassTab {
public:
    virtual ~IMassTab() = default;

    // First activation of the form: the advanced query of the selection (InitAdvQuery).
    virtual void InitAdvQuery() {}
    // The tab is shown: its set-up before the selection step appears (InitFrameDuplMass). False keeps
    // the tab hidden.
    virtual bool InitFrameDuplMass() { return true; }
    // The tab is left or the form closes: the parameters frame's tear-down (ScaricaFrameParDupl), the
    // temporary selection closed and the advanced query cleared. False keeps the tab.
    virtual bool ScaricaFrameDuplMass() { return true; }
    // The resize control asks for the layout: the tab's own controls inside FRM_DUPLMASS, with their
    // anchoring codes, after the tab's frames.
    virtual void RegistraLayout(entry::IResizeControl& resize) {}
    // The form is unloaded: the tab lets go of what would keep the form alive (the program interface).
    virtual void Rilascia() {}

    // What the per-article routine reads on the mass tab.
    virtual db::RecordsetPtr RstSelezioneMassiva() const { return nullptr; }
    virtual std::string TXT_DESCRD() const { return {}; }
    virtual generation::ParametriMassivi ParametriDuplicazione() const { return {}; }
    // What the tab holds for a mass run.
    virtual mass_duplication::MassRequest RunRequest() const { return {}; }
    // The new articles' codes (season, line, brand, typology) checked as the Duplicate button checks them:
    // false, with the message shown, when the database does not know one.
    virtual bool CodiciNoti() { return true; }
};

// Makes the tab of a new form; the tab adds its controls to the form (FRMFA_AGGANCI::NuovoControllo).
std::unique_ptr<IMassTab> NewMassTab(FRMFA_AGGANCI& form);

}  // namespace links_form
