// The form's layout: what the resize control keeps proportional (areas and anchored controls), the
// two tab frames kept the same size, and the structure the media control asks for.
#include <vector>

#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Messaggi.h"
#include "entry/Rif.h"

namespace links_form {
namespace {

using entry::HandlerTable;

// Anchoring codes of the shell's resize control.
constexpr long kAreaSideBar = 11;
constexpr long kAreaTab = 15;

struct Ancora {
    const char* controllo;
    long codice;
};

// The links tab's controls, in the order they are registered.
const std::vector<Ancora>& AncoreAgganci() {
    static const std::vector<Ancora> ancore = {
        {"FRM_PREFISSO", 15}, {"FRM_AGGANCI", 15}, {"QGRD_AGGANCI", 15},
        {"GRIDNAV_AGGANCI", 13},
        {"CMD_DUPLICA", 12}, {"CMD_VARIANTI", 12}, {"LBL_DUPLICA", 12}, {"ZEL_CHKRIGENERA", 12}, {"ZEL_PROGRESS1", 12},
        {"INTERNAV_AGGANCI", 12},
        {"LBL_TSAGGANCIO", 10}, {"TXT_TSAGGANCIO", 10}, {"TXT_DESCTESAGGANCIO", 10},
        {"LBL_QTA1", 10}, {"TXT_QTA1", 10},
        {"LBL_DESCARTDAGENERARE", 10}, {"TXT_DESCARTDAGENERARE", 10},
        {"LBL_DESCARTESTDAGENERARE", 10}, {"TXT_DESCARTESTDAGENERARE", 10},
        {"LBL_STAGIONE", 10}, {"TXT_STAGIONE", 10}, {"TXT_DESCSTAGIONE", 10},
        {"LBL_LINEA", 10}, {"TXT_LINEA", 10}, {"TXT_DESCLINEA", 10},
        {"LBL_MARCHIO", 10}, {"TXT_MARCHIO", 10}, {"TXT_DESCMARCHIO", 10},
        {"LBL_TIPOLOGIA", 10}, {"TXT_TIPOLOGIA", 10}, {"TXT_DESCTIPOLOGIA", 10},
        {"LBL_CODICEALTERNATIVO", 5}, {"TXT_CODICEALTERNATIVO", 5}, {"CHK_CODALT", 5},
        {"LBL_MODORIGINE", 3}, {"TXT_MODORIGINE", 3}, {"TXT_DESCMODORIGINE", 3}, {"CMD_NUOVO", 3}, {"CMD_LOG", 3},
        {"LBL_PREFISSO", 3}, {"TXT_PREFISSO", 3}, {"LBL_TESSPRINC", 3}, {"TXT_TESSPRINC", 3},
        {"LBL_SEQUENZA", 3}, {"TXT_SEQUENZA", 3},
    };
    return ancore;
}

// The mass tab's own frames; its controls are the tab's (IMassTab::RegistraLayout).
const std::vector<Ancora>& AncoreDuplMassiva() {
    static const std::vector<Ancora> ancore = {
        {"FRM_SELDUPL", 15}, {"FRM_PARDUPL", 15}, {"TXT_PREFISSODART", 10},
    };
    return ancore;
}

}  // namespace

void FRMFA_AGGANCI::CollegaEventiLayout() {
    ui_.ZEL_RESIZEFORM->Layout().Connect([this] { ZEL_RESIZEFORM_Layout(); });
    ui_.ZEL_RESIZEFORM->QueryResize().Connect([](bool& consentito) { consentito = true; });
    ui_.ZEL_RESIZEFORM->AfterResize().Connect([this] { MainResize(); });
    ui_.LAYSCRIPTMEDIA->AddStructure().Connect([this](const std::shared_ptr<entry::IMediaStructure>& struttura) {
        Procedura("LAYSCRIPTMEDIA_AddStructure", HandlerTable::B)
            .Step([&] { entry::Rif(struttura).Add(shared_from_this(), kCaptionForm, 0, 0, 0); })
            .Run();
    });
}

void FRMFA_AGGANCI::ZEL_RESIZEFORM_Layout() {
    auto& resize = *ui_.ZEL_RESIZEFORM;
    auto registra = [&](const std::vector<Ancora>& ancore) {
        for (const auto& a : ancore) {
            const auto control = Control(a.controllo);
            entry::Rif(control);
            resize.AddControl(control, a.codice);
        }
    };
    Procedura("ZEL_RESIZEFORM_Layout", HandlerTable::B)
        .Step([&] { resize.AddArea(ui_.SIDEBAR_MAIN, kAreaSideBar); })
        .Step([&] { resize.AddArea(ui_.FRM_MODORIGINE, kAreaTab); })
        .Step([&] { registra(AncoreAgganci()); })
        .Step([&] { resize.AddArea(ui_.FRM_DUPLMASS, kAreaTab); })
        .Step([&] { registra(AncoreDuplMassiva()); })
        .Step([&] { massTab_->RegistraLayout(resize); })
        .Run();
}

void FRMFA_AGGANCI::MainResize() {
    Procedura("MainResize", HandlerTable::B)
        .Step([&] {
            const long larghezza = ui_.FRM_MODORIGINE->Width();
            const long altezza = ui_.FRM_MODORIGINE->Height();
            for (const auto& frame : {ui_.FRM_MODORIGINE, ui_.FRM_DUPLMASS}) {
                frame->Move(frame->Left(), frame->Top(), larghezza, altezza);
                ui_.ZEL_RESIZEFORM->Relayout(frame);
            }
        })
        .Run();
}

}  // namespace links_form
