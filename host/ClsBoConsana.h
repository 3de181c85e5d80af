#pragma once
// The article business object: deletes an article with everything that belongs to it, and formats values
// as SQL literals.
//
// What belongs to an article, and goes with it:
//   - its row in every table with an article column (erp::ArticleTables), the master last;
//   - the attributes (FA13_ATTRIBUTI) and the notes and attachments (AG01_ALLEGATI) hung on the
//     identifier of any of those rows;
//   - the lines of its bills of materials (PD96 of its PD95 headers);
//   - its own production cycle (PD52_CODICE = the article) with its phases and the attachments of its
//     versions, unless the production data of another article use that cycle;
//   - the link rows (FA64) of its link headers, with what hangs on their identifiers;
//   - the variant groupings created when it was made (AG03_RAGGRCREATI), unless another article uses them;
//     a grouping that existed already and was only reused stays.
//
// What is refused (nothing is deleted, the status says why):
//   1  the article does not exist;
//   2  the article is a component in the bill of materials of another article: deleting it would leave
//      that bill pointing to nothing.
// References by other articles that are only informative stay as they are: the model and fabric an
// article was made from (FA12_MODAGG/TESAGG), alternatives and substitutes, the generated article of a link
// row (the generation run writes a new one right after removing the old).
#include <string>

#include "entry/HostInterfaces.h"

namespace host {

inline constexpr long kBoArticoloInesistente = 1;
inline constexpr long kBoArticoloComponente = 2;

class ClsBoConsana : public entry::IBoConsana {
public:
    void Connection(const db::ConnectionPtr& c) override { connection_ = c; }
    void ActiveInterface(const std::shared_ptr<entry::Cinterface>& program) override { program_ = program; }

    long EliminaArticolo(const std::string& articolo, std::string& errorText) override;
    std::string FormattaValore(const db::Variant& value, bool senzaSpazi, bool vuotoSeAssente) override;

private:
    db::Connection& RequireConnection() const;
    std::string Company() const;

    db::ConnectionPtr connection_;
    std::shared_ptr<entry::Cinterface> program_;
};

}  // namespace host
