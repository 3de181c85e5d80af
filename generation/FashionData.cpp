#include "generation/FashionData.h"

#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace generation {
namespace {

const std::string kCrLf = "\r\n";

// The first field of the statement's first row; Null when it returns no row. Through the run's constants
// when there are some.
db::Variant FirstValue(db::Connection& c, const std::string& sql, engine::RunConstants* constants = nullptr) {
    return db::FirstValue(engine::ConstantRows(constants, c, sql), db::Variant::Null());
}

// A column of the parameter table: "FA00_" and letters, digits or underscores.
bool IsParameterColumn(const std::string& column) {
    const std::string name = db::UCase(column);
    if (name.size() <= 5 || name.compare(0, 5, "FA00_") != 0) return false;
    for (char ch : name)
        if (!((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_')) return false;
    return true;
}

}  // namespace

long Get_MG5T_IDSTAGIONE(db::Connection& connessione, const db::Variant& ditta, const std::string& codice,
                         engine::RunConstants* constants) {
    const db::Variant id = FirstValue(connessione, "           SELECT" + kCrLf + "   MG5T_IDSTAGIONE" + kCrLf +
                                                       " FROM" + kCrLf + "   MG5T_STAGIONI" + kCrLf + " WHERE" +
                                                       kCrLf + "   MG5T_CODICE = '" + db::SqlEscape(db::RTrim(codice)) +
                                                       "'" + kCrLf + "   AND MG5T_DITTA_CG18 = " +
                                                       db::SqlNumber(ditta) + kCrLf,
                                    constants);
    return id.IsNull() ? 0 : id.CLng();
}

std::string CodiceStagione(db::Connection& connessione, const db::Variant& ditta, const db::Variant& id,
                           engine::RunConstants* constants) {
    const db::Variant code =
        FirstValue(connessione, "SELECT MG5T_CODICE FROM MG5T_STAGIONI WITH (NOLOCK) WHERE MG5T_DITTA_CG18 = " +
                                    db::SqlNumber(ditta) + " AND MG5T_IDSTAGIONE = " + db::SqlNumber(id),
                   constants);
    return db::RTrim(code.Text());
}

long ValoreParametroFashion(db::Connection& connessione, const db::Variant& ditta, const std::string& colonna) {
    // The column is a name, not a value: only the parameter table's own columns can be asked for.
    if (!IsParameterColumn(colonna))
        throw db::Error(db::errc::InvalidProcedureCall, "Parametro fashion sconosciuto: " + colonna,
                        "ValoreParametroFashion");
    const db::Variant value =
        FirstValue(connessione, "SELECT " + colonna + "  FROM FA00_PARAMETRI" + " WHERE  FA00_DITTA_CG18 =  " +
                                    db::SqlNumber(ditta));
    return value.IsNull() ? 0 : value.CLng();
}

}  // namespace generation
