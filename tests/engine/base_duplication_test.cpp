// The base duplication through SPMG_DUPLICAART on the ERP schema (what it copies, what it refuses), and
// a whole duplication in company 1 leaving company 2's rows of the same codes untouched.
#include "DatabaseSnapshot.h"
#include "EngineFixture.h"
#include "ProgramDouble.h"

using engine::kvMethodOK;

namespace {

class BaseDuplication : public testsupport::EngineFixture {
protected:
    // Rows of article SRC in the tables the duplication reads, for company `d`.
    void SourceRows(int d) {
        const std::string c = std::to_string(d);
        for (const std::string& sql : {
                 "INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_LINGUA_MG52, MG87_DESCART) VALUES "
                 "(" + c + ", 'SRC', 'EN', 'Shirt " + c + "')",
                 "INSERT INTO MG68_CONFART (MG68_DITTA_CG18, MG68_CODART_MG66, MG68_CODCONF) VALUES (" + c + ", 'SRC', 'BOX')",
                 "INSERT INTO MG67_SCORTE (MG67_DITTA_CG18, MG67_CODART_MG66, MG67_MAGAZZINO) VALUES (" + c + ", 'SRC', 'M1')",
                 "INSERT INTO LI10_LISTARTIC (LI10_DITTA_CG18, LI10_CODART_MG66, LI10_FLGVENACQ, LI10_CODLISTINO) VALUES "
                 "(" + c + ", 'SRC', 0, 'VEN1'), (" + c + ", 'SRC', 1, 'ACQ1')",
                 "INSERT INTO MG69_UBICAZART (MG69_DITTA_CG18, MG69_CODART_MG66, MG69_MAGAZZINO, MG69_UBICAZIONE, "
                 "MG69_QTA1UBICEFF) VALUES (" + c + ", 'SRC', 'M1', 'A', 5)",
                 "INSERT INTO SC06_ARTSCORTE (SC06_DITTA_CG18, SC06_CODART_MG66, SC06_SCORMIN) VALUES (" + c + ", 'SRC', 9)",
                 "INSERT INTO MG6C_ANAGRARTAGE (MG6C_DITTA_CG18, MG6C_CODART_MG66, MG6C_AGENTE) VALUES (" + c + ", 'SRC', 7)",
                 "INSERT INTO MG4G_ANAGRLOTTI (MG4G_DITTA_CG18, MG4G_CODART_MG66, MG4G_CODLOTTO) VALUES (" + c + ", 'SRC', 'L1')",
                 "INSERT INTO MG73_ARTCLIFOR (MG73_DITTA_CG18, MG73_ARTCLIFOR, MG73_TIPOCF_CG44, MG73_CLIFOR_CG44, "
                 "MG73_CODART_MG66) VALUES (" + c + ", 'C-1', 0, 100, 'SRC'), (" + c + ", 'S-1', 1, 900, 'SRC')",
                 "INSERT INTO MG5F_DIMECONF (MG5F_DITTA_CG18, MG5F_CODICEVAR) VALUES (" + c + ", 'TG')",
                 "INSERT INTO MG6B_GESVARART (MG6B_DITTA_CG18, MG6B_CODART_MG66, MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR) "
                 "VALUES (" + c + ", 'SRC', 'TG', 1)",
                 "INSERT INTO MG4B_PARMAGBARCODE (MG4B_DITTA_CG18, MG4B_INDBARCODE, MG4B_STINDMODALITA, MG4B_STULTNUMDA, "
                 "MG4B_STULTNUMA, MG4B_STFLGCHECKDIG, MG4B_LUNGHEZZA, MG4B_PREFISSO) VALUES (" + c + ", 2, 2, 10, 99, 0, 8, '2" + c + "')",
                 "INSERT INTO MG65_BARCODE (MG65_DITTA_CG18, MG65_CODBARCODE, MG65_CODART_MG66, MG65_TIPOBARCODE_MG4B, "
                 "MG65_INDTIPOGEST) VALUES (" + c + ", '2" + c + "000010', 'SRC', 2, 1)",
                 "INSERT INTO FA12_ARTICOLI (FA12_DITTA_CG18, FA12_CODART_MG66, FA12_OPZIONE_MG5E, FA12_TIPO_FA03) VALUES "
                 "(" + c + ", 'SRC', '', 'PF')",
                 "INSERT INTO PD18_ARTPROD (PD18_DITTA_CG18, PD18_CODART_MG66, PD18_OPZIONE, PD18_CODCICLO) VALUES "
                 "(" + c + ", 'SRC', ' ', 'CYC')",
                 "INSERT INTO PD42_PARGEST (PD42_DITTA_CG18, PD42_FLGCICLOCODART) VALUES (" + c + ", 1)",
                 "INSERT INTO PD52_ANAGCICLI (PD52_DITTA_CG18, PD52_CODICE, PD52_VERSIONE) VALUES (" + c + ", 'CYC', 1)"})
            Exec(sql);
    }

    // Every row of company 2, table by table.
    std::vector<std::string> CompanyTwo() {
        std::vector<std::string> all;
        for (const auto& table : erp::TableNames()) {
            all.push_back("#" + table);
            for (const auto& row : testsupport::Rows(*conn, "SELECT * FROM " + table + " WHERE " + table.substr(0, 4) +
                                                                "_DITTA_CG18 = 2 ORDER BY 1, 2, 3"))
                all.push_back(row);
        }
        return all;
    }
};

// The article's values reach the procedure's statements as they are: a quote in a description, a missing
// extended description; each next article, with other values, gets its own.
TEST_F(BaseDuplication, CopiesMasterStandardDescriptionAndTheSwitchedOnGroupsOnlyWithEachArticlesDescriptions) {
    SourceRows(1);
    Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_OPZIONE_MG5E, MG87_LINGUA_MG52, "
         "MG87_DESCART, MG87_DESCARTEST) VALUES (1, 'SRC', 'OPT', ' ', 'Option', 'Option, extended')");
    engine = NewEngine();
    for (const char* key : {"KEY1", "KEY13"}) {  // packagings and sales lists off
        engine->CollDatiDaDuplicare()->Remove(key);
        engine->CollDatiDaDuplicare()->Add(db::Variant(false), key);
    }
    ASSERT_EQ(engine->DuplicazioneAnagraficaBase(src, dst), kvMethodOK);
    // Languages come later; an option's row keeps its own descriptions.
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG87_OPZIONE_MG5E, MG87_LINGUA_MG52, MG87_DESCART, MG87_DESCARTEST FROM "
                                       "MG87_ARTDESC WHERE MG87_CODART_MG66 = 'NEW' ORDER BY 1"),
              (testsupport::Names{" | |New article|New article, extended", "OPT| |Option|Option, extended"}));
    // The new standard row has an identifier of its own.
    EXPECT_EQ(Count("SELECT COUNT(DISTINCT MG87_GUID) FROM MG87_ARTDESC WHERE MG87_CODART_MG66 IN ('NEW', 'SRC') AND "
                    "MG87_OPZIONE_MG5E = ' ' AND MG87_LINGUA_MG52 = ' '"),
              2);
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT LI10_FLGVENACQ FROM LI10_LISTARTIC WHERE LI10_CODART_MG66 = 'NEW'"),
              (testsupport::Names{"1"}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG68_CONFART WHERE MG68_CODART_MG66 = 'NEW'"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG67_SCORTE WHERE MG67_CODART_MG66 = 'NEW'"), 1);
    // Groups the engine copies itself are never copied by the procedure.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG69_UBICAZART WHERE MG69_CODART_MG66 = 'NEW'"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM SC06_ARTSCORTE WHERE SC06_CODART_MG66 = 'NEW'"), 0);

    engine->DescrizioneArticoloDaGenerare(db::Variant("L'articolo nuovo"));
    engine->DescrizioneEstesaArticoloDaGenerare(db::Variant::Null());
    ASSERT_EQ(engine->DuplicazioneAnagraficaBase(src, db::Variant("NEW2")), kvMethodOK);
    engine->DescrizioneArticoloDaGenerare(db::Variant(""));
    engine->DescrizioneEstesaArticoloDaGenerare(db::Variant("Seconda, estesa"));
    ASSERT_EQ(engine->DuplicazioneAnagraficaBase(src, db::Variant("NEW3")), kvMethodOK);
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG87_CODART_MG66, MG87_DESCART, COALESCE(MG87_DESCARTEST, 'null') FROM "
                                       "MG87_ARTDESC WHERE MG87_CODART_MG66 IN ('NEW2', 'NEW3') AND "
                                       "MG87_OPZIONE_MG5E <> 'OPT' ORDER BY 1"),
              (testsupport::Names{"NEW2|L'articolo nuovo|null", "NEW3||Seconda, estesa"}));
}

// Two companies in one database, both with SRC, company 2 with NEW as well: every operation run in
// company 1 reads and writes company 1 alone. Company 1's existing code or a missing source is refused, and
// nothing changes.
TEST_F(BaseDuplication, ADuplicationInCompanyOneNeverTouchesCompanyTwoAndRefusesAnExistingCode) {
    Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (2, 'SRC'), (2, 'NEW')");
    Exec("INSERT INTO MG87_ARTDESC (MG87_DITTA_CG18, MG87_CODART_MG66, MG87_DESCART) VALUES (2, 'SRC', 'Two'), "
         "(2, 'NEW', 'Two new')");
    SourceRows(1);
    SourceRows(2);
    testsupport::SetCompanySetting(*conn, 1, "VarianteColore", "COL");
    const auto before = CompanyTwo();

    CreateNewArticle();  // no "already exists": company 2's NEW is another article
    engine->ActInterface(testsupport::AsActInterface(testsupport::ProgramOnDatabase(conn)));
    using Op = engine::EnumMethodResult (engine::CLSFA_DUPLICA::*)(const db::Variant&, const db::Variant&);
    for (Op op : {&engine::CLSFA_DUPLICA::DuplicazioneDescrizioniInLingua,
                  &engine::CLSFA_DUPLICA::DuplicazioneUbicazioniDinamiche, &engine::CLSFA_DUPLICA::DuplicazioneBarcode,
                  &engine::CLSFA_DUPLICA::DuplicazioneArticoliClienti, &engine::CLSFA_DUPLICA::DuplicazioneArticoliFornitori,
                  &engine::CLSFA_DUPLICA::DuplicazioneAgentiPerArticolo, &engine::CLSFA_DUPLICA::DuplicazioneDatiLotto,
                  &engine::CLSFA_DUPLICA::DuplicazioneParamGestScorte, &engine::CLSFA_DUPLICA::DuplicazioneVariantiDaModello,
                  &engine::CLSFA_DUPLICA::DuplicazioneAttributiFashion, &engine::CLSFA_DUPLICA::DuplicazioneDatiProduzione})
        ASSERT_EQ(((*engine).*op)(src, dst), kvMethodOK);

    EXPECT_EQ(CompanyTwo(), before);
    // Company 1's new article got its own rows, one of each.
    for (const char* table : {"MG69_UBICAZART", "MG65_BARCODE", "MG6C_ANAGRARTAGE", "MG4G_ANAGRLOTTI", "SC06_ARTSCORTE",
                              "MG6B_GESVARART", "FA12_ARTICOLI", "PD18_ARTPROD"})
        EXPECT_EQ(Count(std::string("SELECT COUNT(*) FROM ") + table + " WHERE " + std::string(table).substr(0, 4) +
                        "_CODART_MG66 = 'NEW' AND " + std::string(table).substr(0, 4) + "_DITTA_CG18 = 1"),
                  1)
            << table;
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD52_ANAGCICLI WHERE PD52_CODICE = 'NEW' AND PD52_DITTA_CG18 = 1"), 1);

    const std::string snapshot = testsupport::DatabaseSnapshot(*conn);
    const auto e = ErrorOf([&] { NewEngine()->DuplicazioneAnagraficaBase(src, dst); },
                           "DuplicazioneAnagraficaBase\r\nDuplicaBatchByCommand");
    EXPECT_EQ(e.Description(), "Articolo 'NEW' già esistente");
    ErrorOf([&] { NewEngine()->DuplicazioneAnagraficaBase(db::Variant("NOPE"), db::Variant("NEW2")); },
            "DuplicazioneAnagraficaBase");
    EXPECT_EQ(testsupport::DatabaseSnapshot(*conn), snapshot);
}

}  // namespace
