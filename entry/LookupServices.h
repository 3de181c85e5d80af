#pragma once
// The shell's lookup and decode services (warehouse and fashion): for a kind of value they give the
// statement, the columns and the title of the lookup list, or the statement and columns that decode a
// typed code. The forms copy these into the requests of their lookup boxes (entry/ControlsLookup.h).
#include <memory>
#include <string>
#include <vector>

#include "db/Object.h"
#include "db/Variant.h"
#include "entry/ControlsLookup.h"

namespace entry {

class Cinterface;

// Kinds of value the services know. The product kinds "TS" (fabrics) and "PF" (finished products) are
// kinds of their own: the articles of that product kind.
namespace lookup {
inline constexpr const char* Linea = "LINEA";
inline constexpr const char* Marchio = "MARCHIO";
inline constexpr const char* Stagione = "STAGIONE";
inline constexpr const char* Tipologia = "TIPOLOGIA";  // parameter: the product kind ("PF", "TS")
inline constexpr const char* Tessuti = "TS";
inline constexpr const char* ProdottiFiniti = "PF";
inline constexpr const char* Articolo = "ARTICOLO";
inline constexpr const char* Famiglia = "FAMIGLIA";
inline constexpr const char* Sottofamiglia = "SOTTOFAMIGLIA";  // parameter: family
inline constexpr const char* Gruppo = "GRUPPO";                // parameters: family, subfamily
inline constexpr const char* Sottogruppo = "SOTTOGRUPPO";      // parameters: family, subfamily, group
inline constexpr const char* GruppoStatistico1 = "GRUSTAT1";
inline constexpr const char* GruppoStatistico2 = "GRUSTAT2";
inline constexpr const char* GruppoStatistico3 = "GRUSTAT3";
inline constexpr const char* GruppoStatistico4 = "GRUSTAT4";
}  // namespace lookup

// What a lookup service gives for one kind.
struct LookupDefinition {
    std::string statement;
    std::vector<LookupField> fields;
    std::string title;
    std::string idLookup;  // the id the lookup box keeps (IDLookup)
};

// What a decode service gives for one code: the statement finds the code's row; the first field is
// its description (the form puts its description box there).
struct DecodeDefinition {
    std::string statement;
    std::vector<DecodeField> fields;
};

enum class ServiceArea { Magazzino, Fashion };

class ILookupService : public db::Object {
public:
    virtual void Initialize(const std::shared_ptr<Cinterface>& program) = 0;
    // Error 5 for a kind the service does not know.
    virtual LookupDefinition Prepara(const std::string& kind, const std::vector<db::Variant>& parameters = {}) = 0;
    virtual void Release() = 0;
};

class IDecodeService : public db::Object {
public:
    virtual void Initialize(const std::shared_ptr<Cinterface>& program) = 0;
    // Error 5 for a kind the service does not know.
    virtual DecodeDefinition Decodifica(const std::string& kind, const std::string& text,
                                        const std::vector<db::Variant>& parameters = {}) = 0;
    virtual void Release() = 0;
};

}  // namespace entry
