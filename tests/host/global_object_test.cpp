#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "ProgramDouble.h"
#include "Queries.h"
#include "host/GlobalObject.h"

using host::GlobalObject;

// The named settings and the fashion parameters (by column name) of the company asked for, and of no other;
// read again on Ricarica, overridden for the session by Imposta.
TEST(GlobalSettings, ReadsTheSettingsOfItsOwnCompanyAgainOnReloadAndTakesOverrides) {
    auto connection = testsupport::EmptyCompany();
    connection->Execute("INSERT INTO FA00_PARAMETRI (FA00_DITTA_CG18, FA00_FLGGESTIONE, FA00_INDRAGGR) "
                        "VALUES (1, 1, 1), (2, 0, 0)");
    const char* rows[][3] = {
        {"1", "VarianteColore", "COL"},           {"1", "DescrizioneUtente", "Mario Rossi"},
        {"1", "CartellaLog", "/var/log/agganci"}, {"1", "CodiceStrutturato", "2"},
        {"1", "DatiProduzione", "1"},             {"1", "FlgAttributiFashion", "0"},
        {"1", "EntitaAttributiArticolo", "3"},    {"2", "VarianteColore", "TINTA"},
        {"2", "CartellaLog", "/tmp/log/"},
    };
    for (const auto& r : rows) testsupport::SetCompanySetting(*connection, std::stol(r[0]), r[1], r[2]);

    GlobalObject g("sqlite:company.db", 1, *connection);
    EXPECT_EQ(g.DittaCorrente(), "1");
    EXPECT_EQ(g.VarianteColore(), "COL");
    EXPECT_EQ(g.UtenteDescrizione(), "Mario Rossi");
    EXPECT_EQ(g.CartellaLog(), "/var/log/agganci/");  // ends with a separator
    EXPECT_EQ(g.CodiciStrutturati(), 2);
    EXPECT_EQ(g.GestioneProduzione(), "1");
    EXPECT_TRUE(g.FashionAttivo());
    EXPECT_FALSE(g.AttributiFashion());
    EXPECT_EQ(g.EntitaAttributi(), 3);
    EXPECT_FALSE(g.DatiProgetto());  // not set: 0
    EXPECT_EQ(g.Impostazione("FA00_INDRAGGR").CLng(), 1);
    EXPECT_EQ(g.Impostazione("fa00_flggestione").CLng(), 1);  // names are case-insensitive
    EXPECT_EQ(g.Impostazione("variantecolore").Text(), "COL");
    EXPECT_TRUE(g.Impostazione("NonEsiste").IsEmpty());

    GlobalObject other("sqlite:company.db", 2, *connection);
    EXPECT_EQ(other.VarianteColore(), "TINTA");
    EXPECT_EQ(other.CartellaLog(), "/tmp/log/");
    EXPECT_EQ(other.UtenteDescrizione(), "");
    EXPECT_FALSE(other.FashionAttivo());

    GlobalObject none("sqlite::memory:", 9, *connection);  // company without any settings
    EXPECT_TRUE(none.Impostazione("FA00_INDRAGGR").IsEmpty());
    EXPECT_EQ(none.VarianteColore(), "");
    EXPECT_EQ(none.CodiciStrutturati(), 0);

    EXPECT_THROW(GlobalObject("nosuchscheme:x", 1), db::Error);  // its own connection cannot be opened

    connection->Execute("UPDATE AG00_IMPOSTAZIONI SET AG00_VALORE = 'COLORE' "
                        "WHERE AG00_DITTA_CG18 = 1 AND AG00_CHIAVE = 'VarianteColore'");
    EXPECT_EQ(g.VarianteColore(), "COL");
    g.Ricarica(*connection);
    EXPECT_EQ(g.VarianteColore(), "COLORE");
    g.Imposta("VarianteColore", db::Variant(""));
    EXPECT_EQ(g.VarianteColore(), "");

    // A number setting that is not a number is a type mismatch.
    connection->Execute("UPDATE AG00_IMPOSTAZIONI SET AG00_VALORE = 'molti' WHERE AG00_CHIAVE = 'CodiceStrutturato'");
    g.Ricarica(*connection);
    try {
        g.CodiciStrutturati();
        FAIL();
    } catch (const db::Error& e) {
        EXPECT_EQ(e.Number(), 13);
    }
}

// A relative log folder belongs to the embedded database, whatever form its connection string takes: a folder of
// its own beside the file, so two databases in one folder keep their logs apart. An absolute one is the company's.
TEST(GlobalSettings, ARelativeLogFolderIsTheEmbeddedDatabasesOwn) {
    auto connection = testsupport::EmptyCompany();
    testsupport::SetCompanySetting(*connection, 1, "CartellaLog", "logs");
    testsupport::SetCompanySetting(*connection, 2, "CartellaLog", "/var/log/agganci/");
    const std::tuple<const char*, long, const char*> cases[] = {
        {"sqlite:/data/company.db", 1, "/data/logs/company.db/"},
        {"sqlite:company.db", 1, "logs/company.db/"},
        {"sqlite:file:/data/company.db?mode=ro", 1, "/data/logs/company.db/"},
        {"sqlite:file:///data/company.db", 1, "/data/logs/company.db/"},
        {"sqlite::memory:", 1, "logs/"},
        {"odbc:DSN=erp", 1, "logs/"},
        {"sqlite:/data/company.db", 2, "/var/log/agganci/"},
    };
    for (const auto& [connectionString, company, folder] : cases) {
        SCOPED_TRACE(connectionString);
        EXPECT_EQ(GlobalObject(connectionString, company, *connection).CartellaLog(), folder);
    }
}
