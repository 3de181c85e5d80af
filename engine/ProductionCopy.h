#pragma once
// The working steps of the production operations of the engine: production data, formulas, the article's
// own production cycle, and the settings handed to the host's bill-of-materials processing.
#include <memory>
#include <string>
#include <vector>

#include "db/Variant.h"
#include "entry/HostInterfaces.h"

namespace engine {

class CLSFA_DUPLICA;

class ProductionCopy {
public:
    explicit ProductionCopy(CLSFA_DUPLICA& engine) : engine_(engine) {}

    // True when the company gives each article a production cycle of its own code (PD42_FLGCICLOCODART 1);
    // False for a company without production parameters.
    bool CicloPerArticolo();

    // Copies the production data (PD18_ARTPROD) of the base article. With `cicloPerArticolo`, the only case
    // that needs it, returns the cycle code of the source row, trailing blanks trimmed ("" when the source
    // has none); otherwise "".
    std::string CopyProductionData(const db::Variant& origine, const db::Variant& nuovo, bool cicloPerArticolo);

    // Copies the formulas (PD27_ANAFORMULE) of the base article.
    void CopyFormulas(const db::Variant& origine, const db::Variant& nuovo);

    // Gives the new article a cycle of its own code from the first version of the source cycle, unless a
    // cycle of that code exists already; its contents follow when the group switch "KEY26" is True.
    void CopyCycle(const std::string& cicloOrigine, const db::Variant& nuovo);

    // What the host's bill-of-materials processing is given to copy the standard bill of `origine` to
    // `nuovo`.
    static entry::ImpostazioniElabDisba BillSettings(const db::Variant& origine, const db::Variant& nuovo,
                                                     const std::shared_ptr<entry::Cinterface>& programma,
                                                     const db::Variant& stringaConnessione,
                                                     const db::ConnectionPtr& connessione);

private:
    // A cycle row written by CopyCycle, with the source row it came from.
    struct NewCycle {
        std::string sourceCode, sourceGuid;
        std::string code, description, guid;
        db::Variant version;
    };

    // Phases and linked data of each new cycle row, from its source row.
    void CopyCycleContents(entry::IIdentifierService& identifiers, const std::vector<NewCycle>& written);

    CLSFA_DUPLICA& engine_;
};

}  // namespace engine
