#pragma once
// The two steps of the mass tab: the selection (FRM_SELDUPL: the advanced query) and the parameters
// (FRM_PARDUPL: the articles grid, the code mode and text, the values of the new articles). Next builds
// the selection and moves on; Back returns keeping the parameters; the parameters frame's tear-down
// clears the parameters and both selections.
#include <functional>
#include <memory>
#include <string>

#include "db/Recordset.h"
#include "entry/Controls.h"
#include "entry/ControlsAdvancedQuery.h"
#include "entry/ControlsGrid.h"
#include "entry/ControlsLookup.h"
#include "generation/Completion.h"
#include "generation/GenerationContext.h"

namespace mass_duplication {

inline constexpr const char* kSottoFrameParametri = "FRM_PARDUPL";
inline constexpr const char* kSottoFrameSelezione = "FRM_SELDUPL";
inline constexpr const char* kMsgNessunArticolo = "Nessun articolo recuperato.";
inline constexpr const char* kTitoloNessunArticolo = "Agganci\\Aperture";

struct ControlliMassivi {
    std::shared_ptr<entry::IFrame> FRM_SELDUPL, FRM_PARDUPL;
    std::shared_ptr<entry::IAdvancedQuery> ADVQ_ARTICOLI;
    std::shared_ptr<entry::IGrid> QGRD_DUPLMASS;
    std::shared_ptr<entry::IButton> CMD_AVANTI, CMD_INDIETRO, CMD_DUPLMASS, CMD_LOGDUPL, CMD_GESTVARD;
    std::shared_ptr<entry::IComboBox> CBO_PREFISSO;
    std::shared_ptr<entry::ILookupTextBox> TXT_PREFISSODART, TXT_STAGIONED, TXT_LINEAD, TXT_MARCHIOD, TXT_TIPOLOGIAD;
    std::shared_ptr<entry::ITextBox> TXT_DESCRD, TXT_DESCRESTD;
    // Where the decodes of season, line, brand and typology show their descriptions.
    std::shared_ptr<entry::ITextBox> TXT_DESCSTAGIONED, TXT_DESCLINEAD, TXT_DESCMARCHIOD, TXT_DESCTIPOLOGD;
};

class ProceduraGuidata {
public:
    // `entita`: the attribute entity of articles (company fashion parameters).
    // `scartaVarianti`, when given, lets go of a variant selection kept outside the wizard (the form's).
    ProceduraGuidata(ControlliMassivi controlli, generation::GenerationContext contesto, long entita,
                     std::function<void()> scartaVarianti = {});

    const ControlliMassivi& Controlli() const { return c_; }

    // "FRM_PARDUPL" shows the parameters, "FRM_SELDUPL" the selection.
    void MostraSottoFrame(const std::string& nome);
    bool InitFrameDuplMass();
    void CMD_AVANTI_Click();
    void CMD_INDIETRO_Click() { MostraSottoFrame(kSottoFrameSelezione); }
    // Clears the parameters and lets go of both selections. True.
    bool ScaricaFrameParDupl();
    // The articles grid's columns, caption and binding; False when the set-up failed.
    bool InitQGRID_AGGANCI();

    db::RecordsetPtr RstSelezioneMassiva() const { return selezione_; }
    db::RecordsetPtr RstSelezioneVarianti() const { return varianti_; }
    void RstSelezioneVarianti(const db::RecordsetPtr& v) { varianti_ = v; }
    generation::ParametriMassivi ParametriDuplicazione() const;

private:
    ControlliMassivi c_;
    generation::GenerationContext contesto_;
    long entita_ = 0;
    db::RecordsetPtr selezione_;
    db::RecordsetPtr varianti_;
    std::function<void()> scartaVarianti_;
};

}  // namespace mass_duplication
