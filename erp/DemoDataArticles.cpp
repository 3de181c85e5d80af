// Building blocks of a demo article: master data and descriptions, fashion record and attributes,
// variants, stock parameters, production data with its cycle, bill of materials.
#include "db/Quote.h"
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

db::Variant OrNull(const std::string& text) { return text.empty() ? kNull : db::Variant(text); }

}  // namespace

std::string ArticleCondition(Writer& w, const std::string& table, const std::string& article) {
    return Writer::CompanyColumn(table) + " = " + w.CompanySql() + " AND " + Writer::ArticleColumn(table) + " = " +
           db::SqlText(article);
}

std::string DescriptionCondition(Writer& w, const std::string& article, const std::string& language) {
    return ArticleCondition(w, "MG87_ARTDESC", article) + " AND MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 = " +
           db::SqlText(language);
}

void AddArticle(Writer& w, const ArticleSpec& a) {
    w.InsertForArticle("MG66_ANAGRART", a.code,
                       {{"MG66_FAM_MG53", "MG66_SFAM_MG54", "MG66_GRUPPO_MG55", "MG66_SGRUPPO_MG56", "MG66_MARCA_MG64",
                         "MG66_GRUSTAT1_MG74", "MG66_GRUSTAT2_MG75", "MG66_GRUSTAT3_MG76", "MG66_GRUSTAT4_MG77",
                         "MG66_GRUPFIS_MG61", "MG66_UM1"},
                        {{OrNull(a.family), OrNull(a.subfamily), OrNull(a.group), OrNull(a.subgroup), OrNull(a.make),
                          OrNull(a.stat1), OrNull(a.stat2), OrNull(a.stat3), OrNull(a.stat4), "IVA22", a.unit}}});

    ValueTable descriptions{{"MG87_OPZIONE_MG5E", "MG87_LINGUA_MG52", "MG87_DESCART", "MG87_DESCARTEST"},
                            {{kWarehouseOption, " ", a.description, OrNull(a.extended)}}};
    if (!a.english.empty()) descriptions.rows.push_back({kWarehouseOption, "EN", a.english, kNull});
    w.InsertForArticle("MG87_ARTDESC", a.code, descriptions);

    w.InsertForArticle("FA12_ARTICOLI", a.code,
                       {{"FA12_OPZIONE_MG5E", "FA12_TIPO_FA03", "FA12_STAGIONE_MG5T", "FA12_TIPOLOGIA_FA04",
                         "FA12_COMPOSIZIONE"},
                        {{kFashionOption, a.kind, OrNull(a.season), OrNull(a.typology), OrNull(a.composition)}}});

    if (!a.line.empty() || !a.brand.empty()) {
        // Attributes hang on the identifier the database gave the standard description.
        w.InsertSelect({"FA13_ATTRIBUTI",
                        {{"FA13_GUID", "MG87_GUID"}, {"FA13_DITTA_CG18", "MG87_DITTA_CG18"}},
                        "MG87_ARTDESC",
                        DescriptionCondition(w, a.code, " "),
                        {{"FA13_ENTITA_FA11", "FA13_LINEA_FA05", "FA13_MARCHIO_FA06", "FA13_GENERE", "FA13_TEMA"},
                         {{0, OrNull(a.line), OrNull(a.brand), a.kind == "PF" ? OrNull(a.subfamily) : kNull,
                           OrNull(a.theme)}}}});
    }
}

void AddArticleVariants(Writer& w, const std::string& article, const ValueTable& variants) {
    w.InsertForArticle("MG6B_GESVARART", article, variants);
    w.InsertForArticle("MG6D_FLGTABARTVAR", article,
                       {{"MG6D_FLGDESCR", "MG6D_FLGBARCODE", "MG6D_FLGLISTINI", "MG6D_FLGSCORTE", "MG6D_FLGCONFEZIONI",
                         "MG6D_FLGDISBA"},
                        {{1, 1, 0, 1, 0, 0}}});
    w.Run("UPDATE MG66_ANAGRART SET MG66_FLGVARART = 1 WHERE " + ArticleCondition(w, "MG66_ANAGRART", article));
}

ValueTable StockParameters(double minimum, double maximum, double reorder, long supplier) {
    return {{"SC06_OPZIONE_MG5E", "SC06_FLGGESTSCORTE", "SC06_INDMETODO", "SC06_FORNABIT_CG44", "SC06_SCORMIN",
             "SC06_CONSPEROSS", "SC06_CONSPERANAL", "SC06_CONSGGANAL", "SC06_CONSMEDIO", "SC06_SCORMAX", "SC06_LEADTIME",
             "SC06_TRAND", "SC06_RAPPMEDIE", "SC06_INDTRAND", "SC06_LOTTRIORD", "SC06_SCORSIC", "SC06_LIVRIORD",
             "SC06_DAANNOVIS", "SC06_AANNOVIS", "SC06_DAPERVIS", "SC06_APERVIS", "SC06_NOTE"},
            {{kWarehouseOption, 1, 1, supplier ? db::Variant(supplier) : kNull, minimum, 6, 3, 90,
              (minimum + maximum) / 10, maximum, 20, 1.05, 0.9, 1, maximum / 2, minimum / 2, reorder, 2024, 2025, 3, 9,
              "Scorte riviste a inizio stagione"}}};
}

void AddStockParameters(Writer& w, const std::string& article, double minimum, double maximum, double reorder,
                        long supplier) {
    w.InsertForArticle("SC06_ARTSCORTE", article, StockParameters(minimum, maximum, reorder, supplier));
}

void AddProduction(Writer& w, const std::string& article, const std::string& productType,
                   const std::string& cycleDescription, const std::map<int, ValueTable>& phasesByVersion) {
    // One cycle per article: the cycle has the article's code.
    w.InsertForArticle("PD18_ARTPROD", article,
                       {{"PD18_OPZIONE", "PD18_CODCICLO", "PD18_TIPOPROD_PD10", "PD18_REPARTO", "PD18_LOTTOECON",
                         "PD18_GGLAVORAZIONE", "PD18_NOTE"},
                        {{kWarehouseOption, article, productType, "CONF", 50, 4, "Lotto minimo di taglio 50 capi"}}});

    ValueTable cycles{{"PD52_CODICE", "PD52_VERSIONE", "PD52_DESCR", "PD52_FLGATTIVO", "PD52_DTINIZIOVAL"}, {}};
    ValueTable phases{{"PD53_CODICE_PD52", "PD53_VERSIONE_PD52"}, {}};
    for (const auto& [version, versionPhases] : phasesByVersion) {
        // A later version is valid from a later month.
        cycles.rows.push_back({article, version, cycleDescription, 1, Day(2024, 1 + (version - 1) % 12, 1)});
        if (phases.columns.size() == 2)
            phases.columns.insert(phases.columns.end(), versionPhases.columns.begin(), versionPhases.columns.end());
        for (const Row& phase : versionPhases.rows) {
            Row row{article, version};
            row.insert(row.end(), phase.begin(), phase.end());
            phases.rows.push_back(std::move(row));
        }
    }
    w.Insert("PD52_ANAGCICLI", cycles);
    w.Insert("PD53_CICLIFASI", phases);
}

void AddBillOfMaterials(Writer& w, const std::string& article, const std::string& description,
                        const ValueTable& lines) {
    w.InsertForArticle("PD95_DISBA", article,
                       {{"PD95_OPZIONE", "PD95_TIPO_DISTINTA", "PD95_CODICE_DB", "PD95_DESCR", "PD95_QTABASE",
                         "PD95_UTENTE"},
                        {{kWarehouseOption, 0, "", description, 1, "Amministratore"}}});
    // The lines refer to the header by the number the database gave it.
    w.InsertSelect({"PD96_LEGAMIDISBA",
                    {{"PD96_DITTA_CG18", "PD95_DITTA_CG18"},
                     {"PD96_IDDISBA_PD95", "PD95_IDDISBA"},
                     {"PD96_OPZIONE", "PD95_OPZIONE"}},
                    "PD95_DISBA",
                    ArticleCondition(w, "PD95_DISBA", article) +
                        " AND PD95_OPZIONE = ' ' AND PD95_TIPO_DISTINTA = 0 AND PD95_CODICE_DB = ''",
                    lines});
}

}  // namespace erp::demo
