#include "variants_form/ListaVarianti.h"

#include <initializer_list>

#include "db/Quote.h"
#include "db/Variant.h"
#include "entry/CLSFA_AGGANCI.h"

namespace variants_form {

namespace {

const std::string kCrLf = "\r\n";
const std::string kTabella = kTabellaVarianti;

// The lines shared by the statements of the links tab and of several articles.
const std::string kRaggruppamenti =
    " CAST (1 AS DECIMAL (1,0)) AS RAGGRAUTOMATICO ,  CAST ('' AS CHAR(20)) AS RAGGRPERSONALIZZATO   ";
const std::string kDaVariantiArticolo = " FROM MG6B_GESVARART WITH (NOLOCK) INNER JOIN MG5F_DIMECONF WITH (NOLOCK)  ";

// Each line followed by a line break.
std::string Righe(std::initializer_list<std::string> righe) {
    std::string testo;
    for (const auto& riga : righe) testo += riga + kCrLf;
    return testo;
}

std::string Numero(long valore) { return db::SqlNumber(db::Variant(valore)); }

// The model's active variants except the colour variant, and the colour variant itself when any article of
// the company uses it actively (the generated article takes its colour from the link fabric).
std::string VariantiModello(const std::string& ditta, const std::string& articolo, const std::string& colore) {
    return Righe({
        " WITH CTE_VAR AS ( SELECT CAST (1 AS DECIMAL (1,0)) AS SEL , MG5F_CODICEVAR, ISNULL(MG5F_DESCR_VAR, '') AS MG5F_DESCR_VAR ,  ",
        kRaggruppamenti,
        kDaVariantiArticolo,
        "  ON MG5F_DITTA_CG18 = MG6B_DITTA_CG18 AND  MG5F_CODICEVAR  = MG6B_CODICEVAR_MG5F   ",
        " WHERE  MG6B_DITTA_CG18  =   " + ditta,
        " AND  MG6B_CODART_MG66 = '" + db::SqlEscape(articolo) + "'    ",
        " AND MG6B_FLGGESTVAR  = 1  ",
        " AND MG5F_CODICEVAR <> '" + db::SqlEscape(colore) + "' ",
        " UNION  ",
        " SELECT DISTINCT CAST (1 AS DECIMAL (1,0)) AS SEL , MG5F_CODICEVAR, ISNULL(MG5F_DESCR_VAR, '') AS MG5F_DESCR_VAR ,   ",
        kRaggruppamenti,
        kDaVariantiArticolo,
        " ON MG5F_DITTA_CG18 = MG6B_DITTA_CG18 AND  MG5F_CODICEVAR  = MG6B_CODICEVAR_MG5F   ",
        " WHERE  MG6B_DITTA_CG18  = " + ditta,
        " AND MG6B_FLGGESTVAR  = 1  ",
        " AND MG5F_CODICEVAR = '" + db::SqlEscape(colore) + "')  ",
        " SELECT * INTO  " + kTabella + "  FROM CTE_VAR   ",
    });
}

// Every usable variant of one article, ticked as the article uses it now.
std::string VariantiArticolo(const std::string& ditta, const std::string& articolo) {
    return Righe({
               "WITH CTE_VAR ",
               "AS (SELECT DISTINCT ",
               "  CAST(ISNULL(MG6B_FLG.MG6B_FLGGESTVAR, 0) AS decimal(1, 0)) AS SEL, ",
               "  MG5F_CODICEVAR, ",
               "  ISNULL(MG5F_DESCR_VAR, '') AS MG5F_DESCR_VAR, ",
               "  CAST(1 AS decimal(1, 0)) AS RAGGRAUTOMATICO, ",
               "  CAST('' AS char(20)) AS RAGGRPERSONALIZZATO ",
               "FROM MG5F_DIMECONF WITH (NOLOCK) ",
               "LEFT JOIN MG6B_GESVARART AS MG6B_FLG ",
               " ",
               "  ON MG5F_DITTA_CG18 = MG6B_DITTA_CG18 ",
               "  AND MG5F_CODICEVAR = MG6B_CODICEVAR_MG5F ",
               " ",
               "WHERE MG5F_DITTA_CG18 = " + ditta,
               "  AND MG6B_FLG.MG6B_CODART_MG66 =  '" + db::SqlEscape(articolo) + "'",
               "  AND MG5F_INDPROGCONFIG = 0 ) ",
               "SELECT ",
               "  * INTO  " + kTabella + "  ",
           }) +
           "FROM CTE_VAR";
}

// Every usable variant that some article of the company uses actively, all ticked.
std::string VariantiInUso(const std::string& ditta) {
    return Righe({
        " WITH CTE_VAR AS ( SELECT DISTINCT CAST (1 AS DECIMAL (1,0)) AS SEL , MG5F_CODICEVAR, ISNULL(MG5F_DESCR_VAR, '') AS MG5F_DESCR_VAR ,  ",
        kRaggruppamenti,
        kDaVariantiArticolo,
        "  ON MG5F_DITTA_CG18 = MG6B_DITTA_CG18 AND  MG5F_CODICEVAR  = MG6B_CODICEVAR_MG5F   ",
        " WHERE  MG6B_DITTA_CG18  =   " + ditta,
        " AND MG5F_INDPROGCONFIG = 0 AND MG6B_FLGGESTVAR  = 1  ) ",
        " SELECT * INTO  " + kTabella + "  FROM CTE_VAR   ",
    });
}

}  // namespace

TipoLista TipoListaPer(long tabVisible, bool modalitaDuplicaSingola) {
    if (tabVisible == entry::Util_Agganci) return TipoLista::VariantiModello;
    return modalitaDuplicaSingola ? TipoLista::ArticoloSingolo : TipoLista::ArticoliMultipli;
}

std::string EliminaLista() {
    return "IF NOT OBJECT_ID('tempdb.." + kTabella + "') IS NULL DROP TABLE " + kTabella;
}

std::string CreaLista(TipoLista tipo, long ditta, const std::string& articolo, const std::string& varianteColore) {
    const std::string company = Numero(ditta);
    switch (tipo) {
    case TipoLista::VariantiModello: return VariantiModello(company, articolo, varianteColore);
    case TipoLista::ArticoloSingolo: return VariantiArticolo(company, articolo);
    case TipoLista::ArticoliMultipli: break;
    }
    return VariantiInUso(company);
}

std::string LeggiLista() { return " SELECT * " + std::string(" FROM ") + " " + kTabella + " "; }

}  // namespace variants_form
