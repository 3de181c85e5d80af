// The statements that build the variant list: worded as the ERP's statements are (the shapes the dialect
// adapter is proven on), in a temporary table of their own, with every value quoted.
#include <gtest/gtest.h>

#include <string>

#include "db/tsql_statement_shapes.h"
#include "entry/CLSFA_AGGANCI.h"
#include "variants_form/ListaVarianti.h"

namespace {

using variants_form::CreaLista;
using variants_form::TipoLista;

// A shape of the list statements with the list's own table in place of ##TABTEMP.
std::string NellaTabellaVarianti(std::string tsql) {
    const std::string da = "##TABTEMP";
    const std::string a = variants_form::kTabellaVarianti;
    for (auto at = tsql.find(da); at != std::string::npos; at = tsql.find(da, at + a.size())) tsql.replace(at, da.size(), a);
    return tsql;
}

TEST(VariantListStatements, AreTheListShapesInTheirOwnTable) {
    EXPECT_EQ(CreaLista(TipoLista::VariantiModello, 1, "MOD01", "COL"),
              NellaTabellaVarianti(tsql_shapes::VariantListLinksTab("MOD01")));
    EXPECT_EQ(CreaLista(TipoLista::ArticoloSingolo, 1, "MOD01", "COL"),
              NellaTabellaVarianti(tsql_shapes::VariantListOneArticle("MOD01")));
    EXPECT_EQ(CreaLista(TipoLista::ArticoliMultipli, 1, "MOD01", "COL"),
              NellaTabellaVarianti(tsql_shapes::VariantListManyArticles()));
    EXPECT_EQ(variants_form::EliminaLista(), NellaTabellaVarianti(tsql_shapes::kDropTabTemp));
    EXPECT_EQ(variants_form::LeggiLista(), " SELECT *  FROM  ##TABTEMP_VARIANTI ");
    // The mass selection's table is never named.
    for (const auto& s : {CreaLista(TipoLista::VariantiModello, 1, "A", "COL"), CreaLista(TipoLista::ArticoloSingolo, 1, "A", ""),
                          CreaLista(TipoLista::ArticoliMultipli, 1, "", ""), variants_form::EliminaLista(),
                          variants_form::LeggiLista()})
        EXPECT_EQ(NellaTabellaVarianti(s).find("##TABTEMP "), std::string::npos) << s;
}

TEST(VariantListStatements, QuoteTheArticleAndTheColourVariant) {
    const std::string modello = CreaLista(TipoLista::VariantiModello, 12, "O'HARA", "C'OL");
    EXPECT_NE(modello.find(" AND  MG6B_CODART_MG66 = 'O''HARA'    \r\n"), std::string::npos);
    EXPECT_NE(modello.find(" AND MG5F_CODICEVAR <> 'C''OL' \r\n"), std::string::npos);
    EXPECT_NE(modello.find(" AND MG5F_CODICEVAR = 'C''OL')  \r\n"), std::string::npos);
    EXPECT_NE(modello.find(" WHERE  MG6B_DITTA_CG18  =   12\r\n"), std::string::npos);
    const std::string articolo = CreaLista(TipoLista::ArticoloSingolo, 12, "X' OR '1'='1", "");
    EXPECT_NE(articolo.find("  AND MG6B_FLG.MG6B_CODART_MG66 =  'X'' OR ''1''=''1'\r\n"), std::string::npos);
}

TEST(VariantListStatements, TabAndModeChooseTheList) {
    EXPECT_EQ(variants_form::TipoListaPer(entry::Util_Agganci, false), TipoLista::VariantiModello);
    EXPECT_EQ(variants_form::TipoListaPer(entry::Util_Agganci, true), TipoLista::VariantiModello);
    EXPECT_EQ(variants_form::TipoListaPer(entry::Util_Duplmassiva, true), TipoLista::ArticoloSingolo);
    EXPECT_EQ(variants_form::TipoListaPer(entry::Util_Duplmassiva, false), TipoLista::ArticoliMultipli);
}

}  // namespace
