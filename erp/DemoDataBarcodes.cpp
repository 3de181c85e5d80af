// Barcode types and barcodes of the demo company. Types 1 and 2 are numbered automatically (mode 2):
// type 1 is an EAN-13 (company prefix, five-digit progressive in positions 8 to 12, check digit), type 2
// an internal twelve-digit code without check digit (progressive in positions 3 to 12). Type 3 is typed
// by hand (mode 1), so a duplication never carries it over.
#include <stdexcept>

#include "db/Quote.h"
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

struct BarcodeType {
    int type;
    const char* prefix;
    int from;  // position of the progressive's first digit (1-based)
    int to;    // and of its last
    int checkDigit;
};

constexpr BarcodeType kEan13{1, "8012345", 8, 12, 1};
constexpr BarcodeType kInternal{2, "20", 3, 12, 0};

const BarcodeType& TypeOf(int type) {
    if (type == kEan13.type) return kEan13;
    if (type == kInternal.type) return kInternal;
    throw std::logic_error("Demo barcodes: type " + std::to_string(type) + " is not numbered automatically");
}

std::string ZeroPadded(long number, int digits) {
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) > digits)
        throw std::length_error("Demo barcodes: progressive " + text + " does not fit in " + std::to_string(digits) +
                                " digits");
    return std::string(static_cast<std::size_t>(digits) - text.size(), '0') + text;
}

}  // namespace

char Barcodes::Ean13CheckDigit(const std::string& twelveDigits) {
    int sum = 0;
    for (std::size_t i = 0; i < twelveDigits.size(); ++i) sum += (twelveDigits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

void Barcodes::AddTypes() {
    w_.Insert("MG4B_PARMAGBARCODE",
              {{"MG4B_INDBARCODE", "MG4B_DESCR", "MG4B_STINDMODALITA", "MG4B_STULTNUMDA", "MG4B_STULTNUMA",
                "MG4B_STFLGCHECKDIG", "MG4B_LUNGHEZZA", "MG4B_PREFISSO"},
               {
                   {kEan13.type, "EAN 13", 2, kEan13.from, kEan13.to, kEan13.checkDigit, 13, kEan13.prefix},
                   {kInternal.type, "Codice interno", 2, kInternal.from, kInternal.to, kInternal.checkDigit, 12,
                    kInternal.prefix},
                   {3, "Codice manuale", 1, 0, 0, 0, 20, ""},
               }});
}

std::string Barcodes::Add(const std::string& article, int type, const std::string& option, bool preferred) {
    const BarcodeType& t = TypeOf(type);
    std::string code = t.prefix + ZeroPadded(++last_[type], t.to - t.from + 1);
    if (t.checkDigit) code += Ean13CheckDigit(code);
    w_.InsertForArticle("MG65_BARCODE", article,
                        {{"MG65_OPZIONE_MG5E", "MG65_CODBARCODE", "MG65_TIPOBARCODE_MG4B", "MG65_INDTIPOGEST",
                          "MG65_PROGDA", "MG65_PROGA", "MG65_FLGCHECKDIG", "MG65_UM", "MG65_FLGPREDEF"},
                         {{option, code, type, 0, t.from, t.to, t.checkDigit, "PZ", preferred ? 1 : 0}}});
    return code;
}

void Barcodes::AddManual(const std::string& article, const std::string& code) {
    w_.InsertForArticle("MG65_BARCODE", article,
                        {{"MG65_OPZIONE_MG5E", "MG65_CODBARCODE", "MG65_TIPOBARCODE_MG4B", "MG65_INDTIPOGEST", "MG65_UM"},
                         {{kWarehouseOption, code, 3, 0, "PZ"}}});
}

void Barcodes::AddInternalCodes(const std::string& source, const std::string& condition,
                                const std::string& articleSql, const std::string& numberSql, long count) {
    const long start = last_[kInternal.type] + 1;
    const int digits = kInternal.to - kInternal.from + 1;
    ZeroPadded(start + count - 1, digits);  // the whole block must fit
    last_[kInternal.type] += count;
    const std::string code = db::SqlText(kInternal.prefix) + " + RIGHT(" +
                             db::SqlText(std::string(static_cast<std::size_t>(digits), '0')) + " + CAST(" +
                             db::SqlNumber(db::Variant(start - 1)) + " + " + numberSql + " AS VARCHAR(" +
                             std::to_string(digits) + ")), " + std::to_string(digits) + ")";
    w_.InsertSelect({"MG65_BARCODE",
                     {{"MG65_DITTA_CG18", w_.CompanySql()}, {"MG65_CODART_MG66", articleSql}, {"MG65_CODBARCODE", code}},
                     source,
                     condition,
                     {{"MG65_OPZIONE_MG5E", "MG65_TIPOBARCODE_MG4B", "MG65_INDTIPOGEST", "MG65_PROGDA", "MG65_PROGA",
                       "MG65_FLGCHECKDIG", "MG65_UM", "MG65_FLGPREDEF"},
                      {{kWarehouseOption, kInternal.type, 0, kInternal.from, kInternal.to, kInternal.checkDigit, "PZ", 1}}}});
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
