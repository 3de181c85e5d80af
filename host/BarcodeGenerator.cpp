#include "host/BarcodeGenerator.h"

#include <algorithm>

#include "db/CommonSql.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace host {
namespace {

struct TypeLayout {
    std::string prefix;
    long length = 0;  // total digits including the check digit; 0 = just the number
};

// The type's layout and the last number it gave, read together; the numbering has no row before a type's
// first code (`last` is then null). Both tables are keyed by what is asked, and none of these columns may be
// null: a null says the row is missing.
struct Numbering {
    db::Variant last;
    TypeLayout layout;
};

Numbering ReadNumbering(db::Connection& c, const std::string& company, const std::string& numberingKey,
                        std::int16_t type) {
    const std::string typeKey =
        " FROM MG4B_PARMAGBARCODE WHERE MG4B_DITTA_CG18 = " + company + " AND MG4B_INDBARCODE = " + std::to_string(type);
    auto rs = c.Execute("SELECT (SELECT MG4C_ULTNUM FROM MG4C_NUMBARCODE" + numberingKey + ") AS MG4C_ULTNUM, " +
                            "(SELECT MG4B_PREFISSO" + typeKey + ") AS MG4B_PREFISSO, (SELECT MG4B_LUNGHEZZA" + typeKey +
                            ") AS MG4B_LUNGHEZZA",
                        nullptr, db::kCommonSqlText);
    rs->MoveFirst();
    Numbering n;
    n.last = (*rs)["MG4C_ULTNUM"].Value();
    n.layout.prefix = db::Trim((*rs)["MG4B_PREFISSO"].Value().Text());
    const db::Variant len = (*rs)["MG4B_LUNGHEZZA"].Value();
    n.layout.length = len.IsNull() ? 0 : len.CLng();
    return n;
}

// " WHERE ..." naming the numbering row of a company, management type and barcode type.
std::string NumberingKey(const std::string& company, std::int16_t tipoGestione, std::int16_t tipoBarcode) {
    return " WHERE MG4C_DITTA_CG18 = " + company + " AND MG4C_INDTIPOGEST = " + std::to_string(tipoGestione) +
           " AND MG4C_TIPOBARCODE_MG4B = " + std::to_string(tipoBarcode);
}

std::string Compose(const TypeLayout& layout, long number, bool checkDigit) {
    std::string digits = std::to_string(number);
    const long body = layout.length - static_cast<long>(layout.prefix.size()) - (checkDigit ? 1 : 0);
    if (body > static_cast<long>(digits.size())) digits.insert(0, static_cast<std::size_t>(body) - digits.size(), '0');
    std::string code = layout.prefix + digits;
    if (checkDigit) code += Gs1CheckDigit(code);
    return code;
}

}  // namespace

char Gs1CheckDigit(const std::string& digits) {
    int sum = 0, weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it < '0' || *it > '9')
            throw db::Error(db::errc::InvalidArgument, "Barcode con caratteri non numerici: " + digits, "BarcodeGenerator");
        sum += (*it - '0') * weight;
        weight = 4 - weight;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::string BarcodeGenerator::Genera(long, const db::Variant& ditta, const std::string&, std::int16_t tipoGestione,
                                     std::int16_t flagCheckDigit, std::int16_t tipoBarcode, std::int16_t progDa,
                                     std::int16_t progA) {
    if (!connection_) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", "BarcodeGenerator");
    auto& c = *connection_;
    const std::string company = db::SqlNumber(ditta);
    const std::string key = NumberingKey(company, tipoGestione, tipoBarcode);
    stamped_.clear();
    const Numbering numbering = ReadNumbering(c, company, key, tipoBarcode);
    const bool known = !numbering.last.IsNull();
    long last = progDa - 1;
    if (known) last = std::max<long>(last, numbering.last.CLng());
    const TypeLayout& layout = numbering.layout;
    // A number is taken together with the check that its code is free: the statement writes nothing when a
    // barcode of the company has the code, and the next number is tried. Under row versioning
    // (READ_COMMITTED_SNAPSHOT) the check would see the barcodes as they were when the statement began, not the
    // one another user's article has just written with the same number: it reads them locked. The first number
    // of a type has no hint (common SQL): two users then both insert the numbering row, and its key stops one.
    const std::string noBarcode = "NOT EXISTS (SELECT 1 FROM MG65_BARCODE";
    const std::string ofCompany = " WHERE MG65_DITTA_CG18 = " + company + " AND MG65_CODBARCODE = ";
    for (long n = last + 1; n <= progA; ++n) {
        const std::string code = Compose(layout, n, flagCheckDigit == 1);
        // Codes only grow with their number: once one is longer than the type allows, the numbering is exhausted.
        if (layout.length > 0 && static_cast<long>(code.size()) > layout.length)
            throw db::Error(db::errc::InvalidArgument,
                            "Numerazione esaurita per il barcode di tipo " + std::to_string(tipoBarcode) +
                                " (gestione " + std::to_string(tipoGestione) + "): dal numero " + std::to_string(n) +
                                " il codice supera la lunghezza del tipo (" + std::to_string(layout.length) + ")",
                            "BarcodeGenerator");
        const std::string withCode = ofCompany + db::SqlText(code) + ")";
        long taken = 0;
        if (known)
            // Stamped as it moves on: RegistraUtilizzo then finds the row stamped already.
            c.Execute("UPDATE MG4C_NUMBARCODE SET MG4C_ULTNUM = " + std::to_string(n) +
                          ", MG4C_LASTCHANGE = GETDATE()" + key + " AND " + noBarcode + " WITH (READCOMMITTEDLOCK)" +
                          withCode,
                      &taken, db::adExecuteNoRecords);
        else
            // The new row's change stamp is the column's default: now.
            c.Execute("INSERT INTO MG4C_NUMBARCODE (MG4C_DITTA_CG18, MG4C_INDTIPOGEST, MG4C_TIPOBARCODE_MG4B, "
                      "MG4C_ULTNUM) SELECT " + company + ", " + std::to_string(tipoGestione) + ", " +
                          std::to_string(tipoBarcode) + ", " + std::to_string(n) + " WHERE " + noBarcode + withCode,
                      &taken, db::kCommonSqlText | db::adExecuteNoRecords);
        if (taken == 0) continue;
        stamped_ = key;
        return code;
    }
    throw db::Error(db::errc::InvalidArgument,
                    "Numerazione esaurita per il barcode di tipo " + std::to_string(tipoBarcode) + " (gestione " +
                        std::to_string(tipoGestione) + "): numeri da " + std::to_string(progDa) + " a " +
                        std::to_string(progA) + " tutti utilizzati",
                    "BarcodeGenerator");
}

void BarcodeGenerator::RegistraUtilizzo(const db::Variant& ditta, std::int16_t tipoGestione, std::int16_t tipoBarcode) {
    if (!connection_) throw db::Error(db::errc::ObjectRequired, "Connessione non impostata", "BarcodeGenerator");
    const std::string key = NumberingKey(db::SqlNumber(ditta), tipoGestione, tipoBarcode);
    // The row Genera has just moved on carries its stamp already.
    const bool done = stamped_ == key;
    stamped_.clear();
    if (done) return;
    connection_->Execute("UPDATE MG4C_NUMBARCODE SET MG4C_LASTCHANGE = GETDATE()" + key, nullptr,
                         db::adExecuteNoRecords);
}

}  // namespace host
