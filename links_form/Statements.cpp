#include "links_form/Statements.h"

#include "db/Quote.h"

namespace links_form {
namespace {

const std::string kTestaRighe = " SELECT * , '' AS MG5T_CODICE  ";

// The fabrics of a model's standard bill: lines whose component is an article of kind "TS", with its
// standard description; the statement ends with the company condition.
std::string TessutiDibaFinoADitta(const std::string& ditta) {
    return std::string("SELECT  PD96_COMPON,  MG87_DESCART, PD96_SEQCOMP ") + " From PD95_DISBA" +
           " INNER JOIN PD96_LEGAMIDISBA " + " ON PD95_DISBA.PD95_IDDISBA = PD96_LEGAMIDISBA.PD96_IDDISBA_PD95 " +
           " INNER JOIN FA12_ARTICOLI WITH (NOLOCK)" + " ON FA12_DITTA_CG18   = PD95_DITTA_CG18" +
           " AND FA12_CODART_MG66  = PD96_COMPON " + " AND FA12_OPZIONE_MG5E = '' " +
           " INNER JOIN MG87_ARTDESC WITH (NOLOCK) ON " + " MG87_DITTA_CG18 = FA12_DITTA_CG18 AND " +
           " MG87_CODART_MG66 = FA12_CODART_MG66 AND " + " MG87_OPZIONE_MG5E = '' AND " + " MG87_LINGUA_MG52 = '' " +
           " Where PD95_DITTA_CG18 =  " + db::SqlNumber(db::Variant(ditta));
}

}  // namespace

std::string SqlTestataAgganci(const std::string& ditta, const std::string& modello) {
    return std::string(" SELECT * ") + " FROM FA63_AGGANCI WITH (NOLOCK) " +
           " WHERE FA63_DITTA_CG18 = " + db::SqlNumber(db::Variant(ditta)) + " AND FA63_CODART_MG66  = '" +
           db::SqlEscape(modello) + "'";
}

std::string SqlRigheVuote() {
    return std::string(" SELECT * , '' AS MG5T_CODICE ") + " FROM FA64_AGGANCIDET WITH (NOLOCK) " + " WHERE 0 = 1 ";
}

std::string SqlRigheAgganci(const std::string& guidTestata) {
    const std::string testa = kTestaRighe + " FROM FA64_AGGANCIDET WITH (NOLOCK) ";
    if (guidTestata.empty()) return testa + " WHERE 1 = 0 ";
    return testa + " WHERE FA64_GUID_FA63 = '" + db::SqlEscape(guidTestata) + "'" + " ORDER BY FA64_CODTESS_FA12";
}

std::string SqlRigheAgganciRichiave(const std::string& guidTestata) {
    return kTestaRighe + " FROM FA64_AGGANCIDET WITH (NOLOCK) " + " WHERE FA64_GUID_FA63 = '" +
           db::SqlEscape(guidTestata) + "'" + " ORDER BY FA64_CODTESS_FA12";
}

std::string SqlEliminaRigheTestata(const std::string& guidTestata, const std::string& ditta) {
    return "DELETE FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 = '" + db::SqlEscape(guidTestata) + "' " +
           " AND FA64_DITTA_CG18 = " + db::SqlNumber(db::Variant(ditta));
}

std::string SqlTessutiDiba(const std::string& ditta, const std::string& modello) {
    return TessutiDibaFinoADitta(ditta) + " AND PD95_CODART_MG66 = '" + db::SqlEscape(modello) + "'" +
           " AND PD95_OPZIONE = '' AND PD96_OPZIONE =  '' " + " AND PD95_TIPO_DISTINTA = 0" +
           " AND FA12_TIPO_FA03 = 'TS'";
}

std::string SqlDecodificaTessutoDiba(const std::string& ditta, const std::string& modello, const std::string& tessuto) {
    return TessutiDibaFinoADitta(ditta) + " AND PD95_CODART_MG66 = '" + db::SqlEscape(modello) + "'" +
           "  AND PD96_COMPON = '" + db::SqlEscape(tessuto) + "' AND PD95_OPZIONE = ''" +
           " AND PD95_TIPO_DISTINTA = 0" + " AND FA12_TIPO_FA03 = 'TS'";
}

std::string SqlDecodificaSequenza(const std::string& ditta, const std::string& modello, const std::string& tessuto,
                                  const std::string& sequenza) {
    return std::string("SELECT  PD96_SEQCOMP ") + "FROM  PD95_DISBA WITH (NOLOCK) " +
           "INNER JOIN PD96_LEGAMIDISBA WITH (NOLOCK)  " + "ON PD96_IDDISBA_PD95 = PD95_IDDISBA " +
           "WHERE PD95_DITTA_CG18 =  " + db::SqlNumber(db::Variant(ditta)) + " " + "AND PD95_CODART_MG66 =  '" +
           db::SqlEscape(modello) + "' " + "AND PD95_OPZIONE =  '' " + "AND PD96_COMPON =  '" +
           db::SqlEscape(tessuto) + "' " + "AND PD96_SEQCOMP =  " +
           db::SqlNumber(NVLTesto(db::Variant(sequenza), db::Variant(0))) + " " + "AND PD96_OPZIONE =  '' ";
}

std::string SqlPrefissiModello(const std::string& ditta, const std::string& modello) {
    // Without a model the comparison is with a single quote character: no model has that code, so the
    // list is empty rather than every prefix of the company.
    const std::string valore = modello.empty() ? "''" : db::SqlEscape(modello);
    return "SELECT DISTINCT FA63_PREFISSO FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = '" + valore + "'" +
           " AND FA63_DITTA_CG18 = " + db::SqlNumber(db::Variant(ditta));
}

db::Variant NVLTesto(const db::Variant& valore, const db::Variant& predefinito) {
    if (valore.IsEmpty() || valore.IsNull() || valore.IsMissing()) return predefinito;
    if (valore.Text().empty()) return predefinito;
    return valore;
}

}  // namespace links_form
