#pragma once
// The engine calls that create one article, in their fixed order, with the rule of each: when it runs,
// the text reported when it fails and whether that failure ends the article. The per-article routine of
// both tabs and the command line's duplicate run the same table.
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "db/Recordset.h"
#include "db/Variant.h"
#include "engine/CLSFA_DUPLICA.h"
#include "entry/HostInterfaces.h"

namespace generation {

struct SequenceSettings {
    bool linksTab = true;           // links tab: variants from the model plus the fabric's colour
    std::string fabric;             // link fabric (links tab)
    bool invocaGestione = false;    // customer and supplier codes left to the caller
    db::RecordsetPtr variantSelection;  // the user's variant choices; may be null
    long massSelectionRows = -1;    // rows of the mass selection; -1 when there is none
    bool fashionAttributes = false; // the company copies fashion attributes
    std::string productionSetting;  // "1": production data with their cycle; "0": only with project data
    bool projectData = false;
    bool billOfMaterials = false;   // the bill-of-materials step applies
    std::shared_ptr<entry::Cinterface> program;
    std::string connectionString;
    db::Variant ditta;
    std::set<std::string> skipSteps;  // engine operations left out by the caller (by name)
    std::set<int> groupsOff;          // groups of the stored procedure left out (KvEnumDatiDaDuplicare)
    bool everyStepFatal = false;      // a step that may fail on the mass tab ends the article too (a source
                                      // without a bill of materials is no failed step)
};

// What the run tells its caller besides success: the texts it logged on the way and the groups it left
// to the caller.
struct SequenceReport {
    // Kind 3: the error text of a non-fatal step, or of a source without a bill of materials (or whose
    // typology takes none); neither ends the article.
    std::function<void(const std::string& text, long kind)> log;
    bool clientiLasciati = false;
    bool fornitoriLasciati = false;
    bool scorteGestite = false;
    bool duplicazioneAvvenuta = true;  // the bill-of-materials step may say otherwise
    std::string step;                  // the step running or failed
};

class EngineSequence {
public:
    EngineSequence(engine::CLSFA_DUPLICA& engine, SequenceSettings settings, SequenceReport& report);

    // True when every fatal step succeeded. Otherwise ErrorText() is the failing step's text and
    // ErrorDetail() the error raised, if one was.
    bool Run(const db::Variant& origine, const db::Variant& destinazione);

    const std::string& ErrorText() const { return errorText_; }
    const std::string& ErrorDetail() const { return errorDetail_; }

private:
    using Call = std::function<engine::EnumMethodResult()>;
    // Runs one step: false when it failed (a kvMethodCanceled result or an error).
    bool Step(const std::string& name, const std::string& errorText, const Call& call);
    bool BillOfMaterials(const db::Variant& origine, const db::Variant& destinazione);
    // Logs the text of a step whose failure does not end the article, then the error it raised.
    void Logged(const std::string& text);
    void SetKey(int group, bool value);

    engine::CLSFA_DUPLICA& engine_;
    SequenceSettings settings_;
    SequenceReport& report_;
    std::string errorText_;
    std::string errorDetail_;
};

}  // namespace generation
