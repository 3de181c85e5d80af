#pragma once
// The groups of data the demo company is made of, in the order BuildDemoDatabase writes them.
#include <map>
#include <string>

#include "erp/DemoDataWriter.h"

namespace erp::demo {

// Codes other groups refer to.
inline constexpr const char* kColourVariant = "COL";
inline constexpr const char* kSizeVariant = "TAG";
inline constexpr const char* kFitVariant = "VES";
inline constexpr const char* kWarehouseOption = " ";  // base article in warehouse, production and stock tables
inline constexpr const char* kFashionOption = "";     // base article in fashion tables
inline constexpr const char* kBenchPrefix = "BENCH-";
inline constexpr long kMaxBenchArticles = 999999;  // six digits after the prefix

// Company settings (AG00), fashion and production parameters, product types.
void AddCompanySettings(Writer& w);
// Languages, customers and suppliers, article classification, fashion lookups, attribute entities.
void AddLookups(Writer& w);
// Seasons; returns their database identifiers by code.
std::map<std::string, long> AddSeasons(Writer& w);
// Variants, their options and groupings.
void AddVariants(Writer& w);

// Barcode types (MG4B) and the barcodes of the demo articles, numbered as the automatic numbering
// would; the last numbers used are written to MG4C_NUMBARCODE by WriteNumbering.
class Barcodes {
public:
    explicit Barcodes(Writer& w) : w_(w) {}
    void AddTypes();
    // A new barcode of an automatic type (1 EAN-13 with check digit, 2 internal code) for the article.
    std::string Add(const std::string& article, int type, const std::string& option = kWarehouseOption,
                    bool preferred = false);
    // A barcode typed by hand (type 3).
    void AddManual(const std::string& article, const std::string& code);
    // Set-based, for many articles at once: an internal code (type 2) taken over from an earlier
    // numbering, outside the type's sequence, for every row of source that meets condition; numberSql
    // (a whole number below a million, different on every row) makes the code, articleSql names the
    // article.
    void AddTakenOverCodes(const std::string& source, const std::string& condition, const std::string& articleSql,
                           const std::string& numberSql);
    // Set-based: a code typed by hand (type 3), given by codeSql, for every row of source meeting condition.
    void AddManualCodes(const std::string& source, const std::string& condition, const std::string& articleSql,
                        const std::string& codeSql);
    void WriteNumbering();

    // The EAN-13 check digit of twelve digits.
    static char Ean13CheckDigit(const std::string& twelveDigits);

private:
    Writer& w_;
    std::map<int, long> last_{{1, 100}, {2, 5000}};  // numbers up to these belong to the company's history
};

// Articles: master data and the satellites shared by every kind of article.
struct ArticleSpec {
    std::string code;
    std::string kind;  // FA03: "PF" finished product, "TS" fabric, "AC" accessory
    std::string description;
    std::string extended;
    std::string english;  // EN description; empty = none
    std::string family, subfamily, group, subgroup;
    std::string make;  // MG66_MARCA_MG64
    std::string stat1, stat2, stat3, stat4;
    std::string unit = "PZ";
    std::string season, typology, composition;  // FA12
    std::string line, brand, theme;             // FA13 on the standard description
};
// "company and article of table = ..." for a WHERE clause.
std::string ArticleCondition(Writer& w, const std::string& table, const std::string& article);
// The article's description (option blank) in language (" " = the standard one), for a WHERE clause on MG87.
std::string DescriptionCondition(Writer& w, const std::string& article, const std::string& language);
// MG66, MG87 (standard and English), FA12, FA13.
void AddArticle(Writer& w, const ArticleSpec& a);
// MG6B rows (variant, active flag, grouping code or Null, sequence) and the MG6D flags.
void AddArticleVariants(Writer& w, const std::string& article, const ValueTable& variants);
// The SC06 columns after company and article: minimum, maximum and reorder level as given, the other
// levels derived from them, each different from its column default.
ValueTable StockParameters(double minimum, double maximum, double reorder, long supplier);
void AddStockParameters(Writer& w, const std::string& article, double minimum, double maximum, double reorder,
                        long supplier);
// PD18 with the article's own cycle (cycle per article) and the cycle versions with their phases.
void AddProduction(Writer& w, const std::string& article, const std::string& productType,
                   const std::string& cycleDescription, const std::map<int, ValueTable>& phasesByVersion);
// PD95 header (standard bill, option blank) and its PD96 lines (SEQ, COMPON, QTA, UM, SCARTO).
void AddBillOfMaterials(Writer& w, const std::string& article, const std::string& description,
                        const ValueTable& lines);

// Fabrics (kind TS) and accessories (kind AC) the models are made of.
void AddComponents(Writer& w);
// MODELLO01, with data in every satellite table a duplication reads.
void AddMainModel(Writer& w, Barcodes& barcodes, const std::map<std::string, long>& seasons);
// The model articles: MODELLO01, MODELLO02 (trousers, one link) and MODELLO03 (no links, no bill).
void AddModels(Writer& w, Barcodes& barcodes, const std::map<std::string, long>& seasons);
// Article families for mass duplication: CAM-100..CAM-105 and PAN-200..PAN-203.
void AddFamilies(Writer& w, Barcodes& barcodes);
// Link headers and rows of MODELLO01 and MODELLO02.
void AddLinks(Writer& w, const std::map<std::string, long>& seasons);
// count generated articles BENCH-000001... with full satellite data, written set-based
// (count up to kMaxBenchArticles).
void AddBenchArticles(Writer& w, Barcodes& barcodes, long count);

}  // namespace erp::demo
