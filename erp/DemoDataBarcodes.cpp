// Barcode types and barcodes of the demo company. Types 1 and 2 are numbered automatically (mode 2): a
// code is the type's prefix, the number zero-padded to the type's length and, for type 1, the GS1 check
// digit (type 1 is an EAN-13 on the company's prefix, type 2 a twelve-digit internal code). The numbers
// run within the type's bounds, which are 16-bit. Type 3 is typed by hand (mode 1), so a duplication
// never carries it over.
#include <stdexcept>
#include <string>
#include <utility>

#include "db/Quote.h"
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

struct BarcodeType {
    int type;
    const char* prefix;
    int length;  // digits of the whole code, check digit included
    int checkDigit;
    int lowest;   // numbering bounds
    int highest;
};

constexpr BarcodeType kEan13{1, "8012345", 13, 1, 1, 32767};
constexpr BarcodeType kInternal{2, "20", 12, 0, 1, 32767};
// Internal codes of the generated articles: taken over from an earlier numbering, outside the type's
// sequence, so that duplications of those articles have the whole range of the type to draw from.
constexpr const char* kTakenOverPrefix = "21";

const BarcodeType& TypeOf(int type) {
    if (type == kEan13.type) return kEan13;
    if (type == kInternal.type) return kInternal;
    throw std::logic_error("Demo barcodes: type " + std::to_string(type) + " is not numbered automatically");
}

int NumberDigits(const BarcodeType& t) {
    return t.length - static_cast<int>(std::char_traits<char>::length(t.prefix)) - t.checkDigit;
}

}  // namespace

char Barcodes::Ean13CheckDigit(const std::string& twelveDigits) {
    int sum = 0;
    for (std::size_t i = 0; i < twelveDigits.size(); ++i) sum += (twelveDigits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

void Barcodes::AddTypes() {
    ValueTable types{{"MG4B_INDBARCODE", "MG4B_DESCR", "MG4B_STINDMODALITA", "MG4B_STULTNUMDA", "MG4B_STULTNUMA",
                      "MG4B_STFLGCHECKDIG", "MG4B_LUNGHEZZA", "MG4B_PREFISSO"},
                     {}};
    for (const auto& [t, description] : {std::pair{kEan13, "EAN 13"}, std::pair{kInternal, "Codice interno"}})
        types.rows.push_back({t.type, description, 2, t.lowest, t.highest, t.checkDigit, t.length, t.prefix});
    types.rows.push_back({3, "Codice manuale", 1, 0, 0, 0, 20, ""});
    w_.Insert("MG4B_PARMAGBARCODE", types);
}

std::string Barcodes::Add(const std::string& article, int type, const std::string& option, bool preferred) {
    const BarcodeType& t = TypeOf(type);
    const long number = ++last_[type];
    if (number > t.highest) throw std::length_error("Demo barcodes: type " + std::to_string(type) + " is full");
    std::string digits = std::to_string(number);
    std::string code = t.prefix + std::string(static_cast<std::size_t>(NumberDigits(t)) - digits.size(), '0') + digits;
    if (t.checkDigit) code += Ean13CheckDigit(code);
    w_.InsertForArticle("MG65_BARCODE", article,
                        {{"MG65_OPZIONE_MG5E", "MG65_CODBARCODE", "MG65_TIPOBARCODE_MG4B", "MG65_INDTIPOGEST",
                          "MG65_PROGDA", "MG65_PROGA", "MG65_FLGCHECKDIG", "MG65_UM", "MG65_FLGPREDEF"},
                         {{option, code, type, 0, t.lowest, t.highest, t.checkDigit, "PZ", preferred ? 1 : 0}}});
    return code;
}

void Barcodes::AddManual(const std::string& article, const std::string& code) {
    w_.InsertForArticle("MG65_BARCODE", article,
                        {{"MG65_OPZIONE_MG5E", "MG65_CODBARCODE", "MG65_TIPOBARCODE_MG4B", "MG65_INDTIPOGEST", "MG65_UM"},
                         {{kWarehouseOption, code, 3, 0, "PZ"}}});
}

void Barcodes::AddTakenOverCodes(const std::string& source, const std::string& condition,
                                 const std::string& articleSql, const std::string& numberSql) {
    const int digits = NumberDigits(kInternal);
    const std::string code = db::SqlText(kTakenOverPrefix) + " + RIGHT(" +
                             db::SqlText(std::string(static_cast<std::size_t>(digits), '0')) + " + CAST(" + numberSql +
                             " AS VARCHAR(" + std::to_string(digits) + ")), " + std::to_string(digits) + ")";
    w_.InsertSelect({"MG65_BARCODE",
                     {{"MG65_DITTA_CG18", w_.CompanySql()}, {"MG65_CODART_MG66", articleSql}, {"MG65_CODBARCODE", code}},
                     source,
                     condition,
                     {{"MG65_OPZIONE_MG5E", "MG65_TIPOBARCODE_MG4B", "MG65_INDTIPOGEST", "MG65_PROGDA", "MG65_PROGA",
                       "MG65_FLGCHECKDIG", "MG65_UM", "MG65_FLGPREDEF"},
                      {{kWarehouseOption, kInternal.type, 0, kInternal.lowest, kInternal.highest, kInternal.checkDigit,
                        "PZ", 1}}}});
}

void Barcodes::AddManualCodes(const std::string& source, const std::string& condition, const std::string& articleSql,
                              const std::string& codeSql) {
    w_.InsertSelect({"MG65_BARCODE",
                     {{"MG65_DITTA_CG18", w_.CompanySql()}, {"MG65_CODART_MG66", articleSql}, {"MG65_CODBARCODE", codeSql}},
                     source,
                     condition,
                     {{"MG65_OPZIONE_MG5E", "MG65_TIPOBARCODE_MG4B", "MG65_INDTIPOGEST", "MG65_UM"},
                      {{kWarehouseOption, 3, 0, "PZ"}}}});
}

void Barcodes::WriteNumbering() {
    w_.Insert("MG4C_NUMBARCODE", {{"MG4C_INDTIPOGEST", "MG4C_TIPOBARCODE_MG4B", "MG4C_ULTNUM"},
                                  {
                                      {0, kEan13.type, last_[kEan13.type]},
                                      {0, kInternal.type, last_[kInternal.type]},
                                      {1, kEan13.type, 0},
                                  }});
}

}  // namespace erp::demo
