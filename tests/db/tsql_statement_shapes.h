#pragma once
// Every statement shape the component sends to the database, assembled from its fragments exactly as
// the component concatenates them, with sample values (company 1, model MOD01, new article NEW01).
// Used to prove that the SQLite dialect adapter turns each into valid SQLite; a test on the full ERP
// schema can run the same list.
#include <string>
#include <vector>

namespace tsql_shapes {

struct Shape {
    std::string name;
    std::string tsql;
};

inline const std::string kCrLf = "\r\n";

// The statement that selects the articles of the mass duplication into ##TABTEMP; `condition` is the
// continuation the advanced query control supplies ("" when the user set no filter).
inline std::string MassSelection(const std::string& condition) {
    return std::string(" WITH CTE_ART AS (  SELECT") + " MG66_CODART, MG66_IDMEDIA_CG99," + " MG66_FAM_MG53, MG66_SFAM_MG54," +
           " MG66_GRUPPO_MG55, MG66_SGRUPPO_MG56," + " MG66_MARCA_MG64," +
           " MG66_GRUSTAT1_MG74, MG66_GRUSTAT2_MG75, MG66_GRUSTAT3_MG76, MG66_GRUSTAT4_MG77," + " MG66_GRUPFIS_MG61," +
           " MG66_GUID," + " MG66_FLGVARART," + " MG87_DESCART," + " FA12_STAGIONE_MG5T, FA12_TIPOLOGIA_FA04, FA12_TIPO_FA03,  " +
           " FA13_MARCHIO_FA06, FA13_LINEA_FA05 , CAST (1 AS DECIMAL (1,0)) AS SEL " + "FROM" + " MG66_ANAGRART WITH (NOLOCK) " +
           "INNER JOIN" + " MG87_ARTDESC WITH (NOLOCK) " + "ON" + " MG87_DITTA_CG18   = MG66_DITTA_CG18 AND " +
           " MG87_CODART_MG66  = MG66_CODART AND " + " MG87_OPZIONE_MG5E = '' AND " + " MG87_LINGUA_MG52  = '' " + "LEFT JOIN" +
           " FA12_ARTICOLI WITH (NOLOCK) " + "ON" + " FA12_DITTA_CG18   = MG66_DITTA_CG18 AND " +
           " FA12_CODART_MG66  = MG66_CODART AND " + " FA12_OPZIONE_MG5E = '' " + "LEFT JOIN" + " FA13_ATTRIBUTI WITH (NOLOCK) " +
           "ON" + " FA13_GUID        = MG87_GUID AND " + " FA13_ENTITA_FA11 = " + "1" + " " + "WHERE" + " MG66_DITTA_CG18  =  " +
           "1" + "   " + kCrLf + condition + " ) SELECT * INTO  ##TABTEMP  FROM CTE_ART";
}

inline const std::string kDropTabTemp = std::string("IF NOT OBJECT_ID('tempdb..") + "##TABTEMP" + "') IS NULL DROP TABLE " + "##TABTEMP";

// Variant list, links tab: the model's active variants except the colour, plus the colour (COL).
inline std::string VariantListLinksTab(const std::string& article) {
    const std::string second = " CAST (1 AS DECIMAL (1,0)) AS RAGGRAUTOMATICO ,  CAST ('' AS CHAR(20)) AS RAGGRPERSONALIZZATO   ";
    const std::string third = " FROM MG6B_GESVARART WITH (NOLOCK) INNER JOIN MG5F_DIMECONF WITH (NOLOCK)  ";
    return " WITH CTE_VAR AS ( SELECT CAST (1 AS DECIMAL (1,0)) AS SEL , MG5F_CODICEVAR, ISNULL(MG5F_DESCR_VAR, '') AS MG5F_DESCR_VAR ,  " +
           kCrLf + second + kCrLf + third + kCrLf +
           "  ON MG5F_DITTA_CG18 = MG6B_DITTA_CG18 AND  MG5F_CODICEVAR  = MG6B_CODICEVAR_MG5F   " + kCrLf +
           " WHERE  MG6B_DITTA_CG18  =   " + "1" + kCrLf + " AND  MG6B_CODART_MG66 = '" + article + "'    " + kCrLf +
           " AND MG6B_FLGGESTVAR  = 1  " + kCrLf + " AND MG5F_CODICEVAR <> '" + "COL" + "' " + kCrLf + " UNION  " + kCrLf +
           " SELECT DISTINCT CAST (1 AS DECIMAL (1,0)) AS SEL , MG5F_CODICEVAR, ISNULL(MG5F_DESCR_VAR, '') AS MG5F_DESCR_VAR ,   " +
           kCrLf + second + kCrLf + third + kCrLf +
           " ON MG5F_DITTA_CG18 = MG6B_DITTA_CG18 AND  MG5F_CODICEVAR  = MG6B_CODICEVAR_MG5F   " + kCrLf +
           " WHERE  MG6B_DITTA_CG18  = " + "1" + kCrLf + " AND MG6B_FLGGESTVAR  = 1  " + kCrLf +
           " AND MG5F_CODICEVAR = '" + "COL" + "')  " + kCrLf + " SELECT * INTO  ##TABTEMP  FROM CTE_VAR   " + kCrLf;
}

// Variant list, mass tab with one article: all its variants, pre-set with their activation.
inline std::string VariantListOneArticle(const std::string& article) {
    const char* lines[] = {"WITH CTE_VAR ",
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
                           " "};
    std::string s;
    for (const char* l : lines) s += std::string(l) + kCrLf;
    s += std::string("WHERE MG5F_DITTA_CG18 = ") + "1" + kCrLf;
    s += "  AND MG6B_FLG.MG6B_CODART_MG66 =  '" + article + "'" + kCrLf;
    s += "  AND MG5F_INDPROGCONFIG = 0 ) " + kCrLf + "SELECT " + kCrLf + "  * INTO  ##TABTEMP  " + kCrLf + "FROM CTE_VAR";
    return s;
}

// Variant list, mass tab with several articles: every variant in active use, all pre-selected.
inline std::string VariantListManyArticles() {
    return " WITH CTE_VAR AS ( SELECT DISTINCT CAST (1 AS DECIMAL (1,0)) AS SEL , MG5F_CODICEVAR, ISNULL(MG5F_DESCR_VAR, '') AS MG5F_DESCR_VAR ,  " +
           kCrLf + " CAST (1 AS DECIMAL (1,0)) AS RAGGRAUTOMATICO ,  CAST ('' AS CHAR(20)) AS RAGGRPERSONALIZZATO   " + kCrLf +
           " FROM MG6B_GESVARART WITH (NOLOCK) INNER JOIN MG5F_DIMECONF WITH (NOLOCK)  " + kCrLf +
           "  ON MG5F_DITTA_CG18 = MG6B_DITTA_CG18 AND  MG5F_CODICEVAR  = MG6B_CODICEVAR_MG5F   " + kCrLf +
           " WHERE  MG6B_DITTA_CG18  =   " + "1" + kCrLf + " AND MG5F_INDPROGCONFIG = 0 AND MG6B_FLGGESTVAR  = 1  ) " + kCrLf +
           " SELECT * INTO  ##TABTEMP  FROM CTE_VAR   " + kCrLf;
}

// Identifiers of the standard bills of materials of an article, as "id, id".
inline std::string BillList(const std::string& code) {
    return std::string(";WITH CTE1 AS (") + "SELECT CAST(PD95_IDDISBA AS VARCHAR(18)) AS IDDISBA " + "FROM PD95_DISBA WITH (NOLOCK)" +
           "WHERE PD95_DITTA_CG18 = " + "1" + " AND" + "      PD95_TIPO_DISTINTA = 0 AND" + "      PD95_CODART_MG66 = '" + code +
           "' AND" + "      PD95_OPZIONE = '' AND" + "      PD95_CODICE_DB = '' ) " +
           "SELECT STUFF ((SELECT ', ' + IDDISBA + '' FROM CTE1 FOR XML PATH ('')), 1, 2, '') AS ELENCO ";
}

// Grouping creation batch of the variant duplication: new grouping C copied from S of variant V.
inline std::string GroupingBatch(const std::string& v, const std::string& c, const std::string& s,
                                 const std::string& descriptionPart) {
    return "INSERT INTO MG5G_RAGGVAR (MG5G_DITTA_CG18, MG5G_CODICEVAR_MG5F, MG5G_CODRAGGVAR, MG5G_DESCRRAGGVAR) " +
           std::string("SELECT MG5G_DITTA_CG18, MG5G_CODICEVAR_MG5F, ") + "'" + c + "' , " + descriptionPart + " " +
           "FROM MG5G_RAGGVAR WITH (NOLOCK) " + "WHERE MG5G_DITTA_CG18 = " + "1" + " " + "AND MG5G_CODICEVAR_MG5F = '" + v + "' " +
           "AND MG5G_CODRAGGVAR = '" + s + "'; " +
           "INSERT INTO MG5H_COMPRAGVAR (MG5H_DITTA_CG18, MG5H_CODICEVAR_MG5F, MG5H_RAGGR_MG5G, MG5H_SEQOPZIONE, MG5H_OPZIONE_MG5E, MG5H_DESCR) " +
           "SELECT MG5H_DITTA_CG18, MG5H_CODICEVAR_MG5F, '" + c + "', MG5H_SEQOPZIONE, MG5H_OPZIONE_MG5E, MG5H_DESCR " +
           "FROM MG5H_COMPRAGVAR WITH (NOLOCK) " + "WHERE MG5H_DITTA_CG18 = " + "1" + " " + "AND MG5H_CODICEVAR_MG5F = '" + v + "' " +
           "AND MG5H_RAGGR_MG5G = '" + s + "' " + "ORDER BY MG5H_SEQOPZIONE";
}

inline std::string SeasonId(const std::string& code) {
    return "           SELECT" + kCrLf + "   MG5T_IDSTAGIONE" + kCrLf + " FROM" + kCrLf + "   MG5T_STAGIONI" + kCrLf + " WHERE" + kCrLf +
           "   MG5T_CODICE = '" + code + "'" + kCrLf + "   AND MG5T_DITTA_CG18 = " + "1" + kCrLf;
}

// Completion of a generated article: FA12 fields (optional season and typology literals).
inline std::string CompletionFa12(const std::string& season, const std::string& typology) {
    std::string s = std::string(" UPDATE FA12_ARTICOLI ") + " SET FA12_MODAGG_COD_MG66 = '" + "MOD01" + "' , " +
                    "   FA12_TESAGG_COD_MG66 = '" + "TS01" + "'  ";
    if (!season.empty()) s += ",   FA12_STAGIONE_MG5T = " + season + "  ";
    if (!typology.empty()) s += ",   FA12_TIPOLOGIA_FA04 = " + typology + "  ";
    return s + " WHERE FA12_DITTA_CG18  = " + "1" + " " + " AND  FA12_CODART_MG66  = '" + "NEW01" + "' " + " AND  FA12_OPZIONE_MG5E  = ''";
}

// Completion: line and brand on the attribute row of the base description (entity 1).
inline std::string CompletionFa13(const std::string& line, const std::string& brand) {
    std::string s = std::string(" UPDATE") + "    FA13_ATTRIBUTI " + "  SET" + "    FA13_GUID = FA13_GUID ";
    if (!line.empty()) s += ",   FA13_LINEA_FA05 = " + line + "  ";
    if (!brand.empty()) s += ",   FA13_MARCHIO_FA06 = " + brand + "  ";
    return s + "   FROM  FA13_ATTRIBUTI WITH (NOLOCK)" + "  INNER JOIN MG87_ARTDESC " + "     ON   FA13_GUID        = MG87_GUID " +
           "     AND  FA13_ENTITA_FA11 = " + "1" + " " + "  WHERE MG87_DITTA_CG18   = " + "1" + " AND " +
           "     MG87_CODART_MG66  = '" + "NEW01" + "' AND " + "     MG87_LINGUA_MG52  = '' ";
}

inline std::string CompletionMg87(const std::string& description, const std::string& extended) {
    std::string s = std::string(" UPDATE") + "    MG87_ARTDESC " + "  SET" + "    MG87_NOTEART = MG87_NOTEART ";
    if (description != "''") s += ",   MG87_DESCART = " + description + "  ";
    if (!extended.empty()) s += ",   MG87_DESCARTEST = " + extended + "  ";
    return s + "  WHERE MG87_DITTA_CG18   = " + "1" + " AND " + "     MG87_CODART_MG66  = '" + "NEW01" + "' AND " +
           "     MG87_LINGUA_MG52  = '' ";
}

inline std::string MainFabricHead() {
    return std::string("SELECT  PD96_COMPON,  MG87_DESCART, PD96_SEQCOMP ") + " From PD95_DISBA" + " INNER JOIN PD96_LEGAMIDISBA " +
           " ON PD95_DISBA.PD95_IDDISBA = PD96_LEGAMIDISBA.PD96_IDDISBA_PD95 " + " INNER JOIN FA12_ARTICOLI WITH (NOLOCK)" +
           " ON FA12_DITTA_CG18   = PD95_DITTA_CG18" + " AND FA12_CODART_MG66  = PD96_COMPON " + " AND FA12_OPZIONE_MG5E = '' " +
           " INNER JOIN MG87_ARTDESC WITH (NOLOCK) ON " + " MG87_DITTA_CG18 = FA12_DITTA_CG18 AND " +
           " MG87_CODART_MG66 = FA12_CODART_MG66 AND " + " MG87_OPZIONE_MG5E = '' AND " + " MG87_LINGUA_MG52 = '' " +
           " Where PD95_DITTA_CG18 =  " + "1";
}

inline std::string RowCopySource(const std::string& prefix, const std::string& table, const std::string& extra) {
    return "SELECT * FROM " + table + " WHERE " + " " + prefix + "_DITTA_CG18 = " + "1" + " AND " + prefix + "_CODART_MG66 = '" +
           "MOD01" + "'" + extra;
}

inline std::vector<Shape> AllShapes() {
    const std::string c = "1";
    const std::string code = "MOD01";
    auto optFor = [&](const std::string& p) { return " AND " + p + "_OPZIONE_MG5E = ' '"; };
    std::vector<Shape> s;
    // Row copies
    s.push_back({"rowcopy source MG87", RowCopySource("MG87", "MG87_ARTDESC", optFor("MG87") + " AND MG87_LINGUA_MG52 <> ' '")});
    s.push_back({"rowcopy source MG69", RowCopySource("MG69", "MG69_UBICAZART", optFor("MG69"))});
    s.push_back({"rowcopy source MG6C", RowCopySource("MG6C", "MG6C_ANAGRARTAGE", "")});
    s.push_back({"rowcopy source MG4G", RowCopySource("MG4G", "MG4G_ANAGRLOTTI", optFor("MG4G"))});
    s.push_back({"rowcopy source MG4N", RowCopySource("MG4N", "MG4N_ARTTRALIM", "")});
    s.push_back({"rowcopy source MG4P", RowCopySource("MG4P", "MG4P_LOTTRALIM", optFor("MG4P"))});
    s.push_back({"rowcopy source SC06", RowCopySource("SC06", "SC06_ARTSCORTE", optFor("SC06"))});
    for (const char* t : {"MG87_ARTDESC", "MG69_UBICAZART", "MG6C_ANAGRARTAGE", "MG4G_ANAGRLOTTI", "MG4N_ARTTRALIM",
                          "MG4P_LOTTRALIM", "SC06_ARTSCORTE", "MG73_ARTCLIFOR", "MG65_BARCODE", "PD18_ARTPROD", "PD27_ANAFORMULE",
                          "PD52_ANAGCICLI", "FA12_ARTICOLI", "FA13_ATTRIBUTI", "FA37_ASSARTITIPOCOMP", "MG6D_FLGTABARTVAR",
                          "MG6B_GESVARART"})
        s.push_back({std::string("empty target ") + t, std::string("SELECT * FROM ") + t + " WHERE 0=1"});
    for (const char* kind : {"0", "1"}) {
        s.push_back({std::string("customer/supplier source ") + kind,
                     "SELECT * FROM MG73_ARTCLIFOR WHERE " + std::string(" MG73_DITTA_CG18 = ") + c + " AND MG73_TIPOCF_CG44 = " + kind +
                         " " + " AND MG73_CODART_MG66 = '" + code + "'" + " AND MG73_OPZIONE_MG5E = ' '"});
        s.push_back({std::string("customer/supplier check ") + kind,
                     "SELECT * FROM MG73_ARTCLIFOR WHERE " + std::string(" MG73_DITTA_CG18 = ") + c + " AND MG73_ARTCLIFOR = '" +
                         "CLI-ART-1" + "'" + " AND MG73_TIPOCF_CG44 = " + kind + " " + " AND MG73_CLIFOR_CG44 = " + "100"});
    }
    s.push_back({"last prices max", "SELECT MAX(LI11_PROG) FROM LI11_ULTPRACQVEN WHERE LI11_DITTA_CG18 =" + c + "AND LI11_FLGVENACQ =" +
                                        "0" + " AND LI11_CODART_MG66 = '" + code + "'"});
    // Barcodes
    s.push_back({"barcode source", "SELECT * FROM MG65_BARCODE WHERE " + std::string(" MG65_DITTA_CG18 = ") + c +
                                       " AND MG65_CODART_MG66 = '" + code + "'" + " AND MG65_OPZIONE_MG5E = ' '"});
    s.push_back({"barcode parameters", "SELECT MG4B_STINDMODALITA, MG4B_STULTNUMDA, MG4B_STULTNUMA, MG4B_STFLGCHECKDIG FROM "
                                       "MG4B_PARMAGBARCODE WHERE MG4B_DITTA_CG18 = " + c + " AND MG4B_INDBARCODE = " + "2"});
    s.push_back({"barcode check", "SELECT * FROM MG65_BARCODE WHERE " + std::string(" MG65_DITTA_CG18 = ") + c +
                                      " AND MG65_CODBARCODE = '" + "8001234567890" + "'"});
    // Production data and bills of materials
    s.push_back({"production parameters", "          SELECT " + std::string("     PD42_FLGCICLOCODART") + " FROM " +
                                              "     PD42_PARGEST WITH (NOLOCK)" + " WHERE " + "     PD42_DITTA_CG18 = " + c});
    s.push_back({"production data source", "SELECT * FROM PD18_ARTPROD WHERE " + std::string(" PD18_DITTA_CG18 = ") + c +
                                               " AND PD18_CODART_MG66 = '" + code + "'" + " AND PD18_OPZIONE = ' '"});
    s.push_back({"formulas source", "SELECT * FROM PD27_ANAFORMULE WHERE" + std::string(" PD27_DITTA_CG18 = ") + c +
                                        " AND PD27_CODART_MG66 = '" + code + "'" + " AND PD27_OPZIONE = ' '"});
    s.push_back({"cycle first version", "SELECT TOP 1 * FROM PD52_ANAGCICLI WHERE" + std::string(" PD52_DITTA_CG18 = ") + c +
                                            " AND PD52_CODICE = '" + "CYC01" +
                                            "' AND NOT EXISTS (SELECT PD52_CODICE FROM PD52_ANAGCICLI WHERE PD52_DITTA_CG18 = " + c +
                                            " AND PD52_CODICE = '" + "NEW01" + "')" + " ORDER BY PD52_VERSIONE"});
    // Fashion attributes
    s.push_back({"washing source", "SELECT * FROM FA10_ARTLAVAGGI WITH (NOLOCK) " + std::string("WHERE FA10_DITTA_CG18   = ") + c +
                                       " AND " + "      FA10_CODART_MG66  = '" + code + "' AND " + "      FA10_OPZIONE_MG5E = ''"});
    s.push_back({"washing empty target", "SELECT * FROM FA10_ARTLAVAGGI WITH (NOLOCK) WHERE 0=1"});
    s.push_back({"fashion article source", "SELECT * FROM FA12_ARTICOLI " + std::string("WHERE FA12_DITTA_CG18   = ") + c + " AND " +
                                               "      FA12_CODART_MG66  = '" + code + "' AND " + "      FA12_OPZIONE_MG5E = ''"});
    s.push_back({"attributes source", "SELECT FA13_ATTRIBUTI.* FROM MG87_ARTDESC " + std::string("INNER JOIN FA13_ATTRIBUTI ") +
                                          "ON FA13_GUID        = MG87_GUID AND " + "   FA13_ENTITA_FA11 = 0 " +
                                          "WHERE MG87_DITTA_CG18   = " + c + " AND " + "      MG87_CODART_MG66  = '" + code +
                                          "' AND " + "      MG87_OPZIONE_MG5E = '' AND " + "      MG87_LINGUA_MG52  = ''"});
    s.push_back({"new description guid", "SELECT MG87_GUID FROM MG87_ARTDESC " + std::string("WHERE MG87_DITTA_CG18   = ") + c +
                                             " AND " + "      MG87_CODART_MG66  = '" + "NEW01" + "' AND " +
                                             "      MG87_OPZIONE_MG5E = '' AND " + "      MG87_LINGUA_MG52  = ''"});
    s.push_back({"component types source", "SELECT FA37_ASSARTITIPOCOMP.* FROM FA37_ASSARTITIPOCOMP " +
                                               std::string("WHERE FA37_DITTA_CG18   = ") + c + " AND " +
                                               "      FA37_CODART_MG66  = '" + code + "' AND " + "      FA37_OPZIONE_MG5E = ''  "});
    // Variants
    s.push_back({"variant flags source", "SELECT * FROM MG6D_FLGTABARTVAR WHERE " + std::string(" MG6D_DITTA_CG18 = ") + c +
                                             " AND MG6D_CODART_MG66 = '" + code + "'"});
    s.push_back({"fashion parameters grouping", "SELECT FA00_FLGGESTIONE, FA00_INDRAGGR FROM FA00_PARAMETRI WITH (NOLOCK) " +
                                                    std::string("WHERE FA00_DITTA_CG18 = ") + c});
    s.push_back({"variants source", "SELECT * FROM MG6B_GESVARART WHERE " + std::string(" MG6B_DITTA_CG18 = ") + c +
                                        " AND MG6B_CODART_MG66 = '" + code + "'"});
    s.push_back({"grouping exists", "SELECT TOP 1 1 FROM MG5G_RAGGVAR WITH (NOLOCK) " + std::string("WHERE MG5G_DITTA_CG18 = ") + c +
                                        " " + "AND MG5G_CODICEVAR_MG5F = '" + "TG" + "' " + "AND MG5G_CODRAGGVAR = '" + "NEW01" + "' "});
    s.push_back({"grouping description", " SELECT TOP 1 MG5G_DESCRRAGGVAR  FROM MG5G_RAGGVAR  WITH (NOLOCK)" +
                                             std::string(" WHERE MG5G_DITTA_CG18 = ") + c + " " + " AND MG5G_CODICEVAR_MG5F = '" +
                                             "TG" + "' " + " AND MG5G_CODRAGGVAR = '" + "GRP01" + "' " +
                                             " AND MG5G_CODRAGGVAR = MG5G_DESCRRAGGVAR"});
    s.push_back({"grouping batch, source description", GroupingBatch("TG", "NEW01", "GRP01", " MG5G_DESCRRAGGVAR ")});
    s.push_back({"grouping batch, own description", GroupingBatch("TG", "NEW02", "GRP01", "'NEW02'")});
    s.push_back({"article variant flag", " UPDATE" + std::string("     MG66_ANAGRART") + " SET" + "     MG66_FLGVARART=1" + " WHERE" +
                                             "     MG66_DITTA_CG18=" + c + "     AND MG66_CODART='" + "NEW01" + "'"});
    // Generation run
    s.push_back({"article exists", " SELECT *" + std::string(" FROM") + "     MG66_ANAGRART" + " WHERE" + "     MG66_DITTA_CG18 = " +
                                       c + "     AND MG66_CODART = '" + code + "'"});
    s.push_back({"bill list of an article", BillList("NEW01")});
    // Completion
    s.push_back({"season id", SeasonId("SS24")});
    s.push_back({"fashion parameter value", "SELECT " + std::string("FA00_FLGPROTOTIPIA") + "  FROM FA00_PARAMETRI" +
                                                " WHERE  FA00_DITTA_CG18 =  " + c});
    s.push_back({"completion FA12 minimal", CompletionFa12("", "")});
    s.push_back({"completion FA12 full", CompletionFa12("'SS24'", "'T1'")});
    s.push_back({"completion FA13 minimal", CompletionFa13("", "")});
    s.push_back({"completion FA13 full", CompletionFa13("'L1'", "'B1'")});
    s.push_back({"completion MG87 minimal", CompletionMg87("''", "")});
    s.push_back({"completion MG87 full", CompletionMg87("'Shirt red'", "'Shirt, red cotton'")});
    s.push_back({"source season", "SELECT FA12_STAGIONE_MG5T FROM FA12_ARTICOLI  " + std::string(" WHERE  FA12_DITTA_CG18 =  ") + c +
                                      " AND  FA12_CODART_MG66 =  " + "'" + code + "'" + " AND  FA12_OPZIONE_MG5E = ''  "});
    s.push_back({"season history lookup", "SELECT * FROM FA25_STORICOSTAGIONI  " + std::string(" WHERE  FA25_DITTA_CG18 =  ") + c +
                                              " AND  FA25_CODART_MG66 =  " + "'" + "NEW01" + "'" + " AND  FA25_IDSTAGIONE_MG5T =  " + "7"});
    s.push_back({"season history insert",
                 "INSERT INTO FA25_STORICOSTAGIONI " +
                     std::string(" (FA25_DITTA_CG18, FA25_CODART_MG66, FA25_IDSTAGIONE_MG5T, FA25_FLGPROTOTIPIA, FA25_FLGCAMPIONARIO, "
                                 "FA25_FLGCOLLEZIONE , FA25_FLGRIASSORTIMENTO ) ") +
                     "VALUES (" + " " + c + ", '" + "NEW01" + "', " + "7" + " , " + "1" + ", " + "0" + ", " + "1" + ", " + "0" + ") "});
    // Link records
    s.push_back({"links header", " SELECT * " + std::string(" FROM FA63_AGGANCI WITH (NOLOCK) ") + " WHERE FA63_DITTA_CG18 = " + c +
                                     " AND FA63_CODART_MG66  = '" + code + "'"});
    s.push_back({"link rows empty", " SELECT * , '' AS MG5T_CODICE " + std::string(" FROM FA64_AGGANCIDET WITH (NOLOCK) ") + " WHERE 0 = 1 "});
    s.push_back({"link rows of a header", " SELECT * , '' AS MG5T_CODICE  " + std::string(" FROM FA64_AGGANCIDET WITH (NOLOCK) ") +
                                              " WHERE FA64_GUID_FA63 = '" + "6F9619FF-8B86-D011-B42D-00C04FC964FF" + "'" +
                                              " ORDER BY FA64_CODTESS_FA12"});
    s.push_back({"link rows without header key", " SELECT * , '' AS MG5T_CODICE  " +
                                                     std::string(" FROM FA64_AGGANCIDET WITH (NOLOCK) ") + " WHERE 1 = 0 "});
    s.push_back({"new key", "SELECT NEWID() AS NEWGUID"});
    s.push_back({"link rows cascade", "DELETE FROM FA64_AGGANCIDET WHERE FA64_GUID_FA63 = '" +
                                          std::string("6F9619FF-8B86-D011-B42D-00C04FC964FF") + "' " + " AND FA64_DITTA_CG18 = " + c});
    // Field lookups
    s.push_back({"main fabric lookup", MainFabricHead() + " AND PD95_CODART_MG66 = '" + code + "'" +
                                           " AND PD95_OPZIONE = '' AND PD96_OPZIONE =  '' " + " AND PD95_TIPO_DISTINTA = 0" +
                                           " AND FA12_TIPO_FA03 = 'TS'"});
    s.push_back({"main fabric decode", MainFabricHead() + " AND PD95_CODART_MG66 = '" + code + "'" + "  AND PD96_COMPON = '" +
                                           "TS01" + "' AND PD95_OPZIONE = ''" + " AND PD95_TIPO_DISTINTA = 0" +
                                           " AND FA12_TIPO_FA03 = 'TS'"});
    s.push_back({"sequence decode", "SELECT  PD96_SEQCOMP " + std::string("FROM  PD95_DISBA WITH (NOLOCK) ") +
                                        "INNER JOIN PD96_LEGAMIDISBA WITH (NOLOCK)  " + "ON PD96_IDDISBA_PD95 = PD95_IDDISBA " +
                                        "WHERE PD95_DITTA_CG18 =  " + c + " " + "AND PD95_CODART_MG66 =  '" + code + "' " +
                                        "AND PD95_OPZIONE =  '' " + "AND PD96_COMPON =  '" + "TS01" + "' " + "AND PD96_SEQCOMP =  " +
                                        "10" + " " + "AND PD96_OPZIONE =  '' "});
    s.push_back({"prefix lookup", "SELECT DISTINCT FA63_PREFISSO FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = '" + code + "'"});
    s.push_back({"prefix lookup, empty model", "SELECT DISTINCT FA63_PREFISSO FROM FA63_AGGANCI WHERE FA63_CODART_MG66 = '" +
                                                   std::string("''") + "'"});
    // Mass duplication
    s.push_back({"mass selection drop", kDropTabTemp});
    s.push_back({"mass selection", MassSelection("")});
    s.push_back({"mass selection read", "  SELECT * FROM ##TABTEMP  "});
    s.push_back({"mass selection drop again", kDropTabTemp});
    s.push_back({"mass selection with condition", MassSelection(" AND MG66_ANAGRART.MG66_FAM_MG53 = 'F1' ")});
    s.push_back({"structured code test", " SELECT *  " + std::string(" FROM MG6F_DIMEART") + " WHERE MG6F_DITTA_CG18 = " + c});
    s.push_back({"article code size", " SELECT  SUM(MG6F_SIZE) AS DIMEART " + std::string(" FROM MG6F_DIMEART") +
                                          " WHERE MG6F_DITTA_CG18 = " + c});
    // Variant form
    s.push_back({"variant list drop A", kDropTabTemp});
    s.push_back({"variant list links tab", VariantListLinksTab(code)});
    s.push_back({"variant list read A", " SELECT * " + std::string(" FROM ") + " ##TABTEMP "});
    s.push_back({"variant list drop B", kDropTabTemp});
    s.push_back({"variant list one article", VariantListOneArticle(code)});
    s.push_back({"variant list drop C", kDropTabTemp});
    s.push_back({"variant list many articles", VariantListManyArticles()});
    s.push_back({"variant list read C", " SELECT * " + std::string(" FROM ") + " ##TABTEMP "});
    return s;
}

}  // namespace tsql_shapes
