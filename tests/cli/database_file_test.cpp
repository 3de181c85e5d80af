// Database files: a missing one is an error, not an empty database, and another program's is refused untouched;
// a read-only one is refused by a command that writes; a demo database appears whole or not at all and is never
// overwritten; two first runs share one default database.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include <nlohmann/json.hpp>

#include "DemoCompanyFolder.h"

namespace {

// The test's own folder; its demo company.db is not used here.
class DatabaseFile : public testsupport::DemoCompanyFolder {};

TEST_F(DatabaseFile, EachDatabaseFileIsUsedWholeOrRefusedUntouched) {
    EXPECT_TRUE(Exits(Agganci("--db sqlite:typo.db variants MODELLO01"), 1,
                      {"no database at typo.db (create one with: agganci demo-db typo.db)"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "typo.db"));

    sqlite3* other = nullptr;  // another program's database
    ASSERT_EQ(sqlite3_open((dir / "other.db").c_str(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "CREATE TABLE t (x); INSERT INTO t VALUES (1)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    std::ofstream(dir / "empty.db");
    std::ofstream(dir / "notes.db") << "not a database\n";
    const std::pair<std::string, std::string> files[] = {{"other.db", "it has no table MG66_ANAGRART"},
                                                         {"empty.db", "it has no table MG66_ANAGRART"},
                                                         {"notes.db", "file is not a database"}};
    for (const auto& [file, why] : files)
        for (const char* command :
             {"show MODELLO01", "articles", "log --list", "generate MODELLO04 --proceed-without-variants"}) {
            SCOPED_TRACE(file + " " + command);
            const std::string before = Read(file);
            const auto r = Agganci("--db sqlite:" + file + " " + command);
            EXPECT_EQ(r.code, 1);
            EXPECT_EQ(r.out, "agganci: " + file + " is not a company database (" + why + "); it was left unchanged\n");
            EXPECT_EQ(Read(file), before);
            EXPECT_FALSE(std::filesystem::exists(dir / (file + "-wal")));
        }

    // As root the test cannot make a file unwritable to the program; a read-only URI can.
    ASSERT_EQ(Agganci("--db sqlite:company.db --quiet generate MODELLO04 --proceed-without-variants").code, 0);
    // A URI that lets SQLite create the file opens a company database that is there as a path does.
    EXPECT_EQ(Agganci("--db 'sqlite:file:company.db?mode=rwc' articles --where Famiglia=CAM").code, 0);
    const std::string readOnly = "--db 'sqlite:file:company.db?mode=ro' --quiet ";
    for (const char* command : {"generate MODELLO04 --regenerate --proceed-without-variants",
                                "mass --where Famiglia=CAM --mode prefix --text X --proceed-without-variants",
                                "duplicate MODELLO01 COPIA"}) {
        SCOPED_TRACE(command);
        const auto r = Agganci(readOnly + command);
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.out, "agganci: the database cannot be written: file:company.db?mode=ro is read-only\n");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "company.db-wal"));
    EXPECT_FALSE(std::filesystem::exists(dir / "company.db-shm"));
    // Commands that only read, dry runs included, still work.
    for (const char* command : {"show MODELLO01", "articles --where Famiglia=CAM", "variants MODELLO01",
                                "links show MODELLO04",
                                "generate MODELLO04 --dry-run --regenerate --proceed-without-variants",
                                "mass --where Famiglia=CAM --mode prefix --text X --dry-run --proceed-without-variants",
                                "duplicate MODELLO01 COPIA --dry-run"})
        EXPECT_TRUE(Exits(Agganci(readOnly + command), 0)) << command;
    const auto list = AgganciStdout(readOnly + "--json log --list");
    EXPECT_EQ(list.code, 0) << list.out;
    const auto logs = nlohmann::json::parse(list.out);
    EXPECT_EQ(logs["runs"].size(), 1u) << logs;
    EXPECT_EQ(logs["files"].size(), 1u) << logs;
    EXPECT_EQ(Articles(), 29);

    // Killed while it still runs (kill succeeds), the path must not exist.
    EXPECT_EQ(Shell("{ $AGGANCI demo-db killed.db --articles 100000 >/dev/null 2>&1 & pid=$!; }; sleep 0.5; "
                    "kill -9 $pid && { wait $pid 2>/dev/null; test ! -e killed.db; }"),
              0);
    EXPECT_TRUE(Exits(Agganci("demo-db killed.db"), 0));
    // A database that is there is never overwritten.
    EXPECT_TRUE(Exits(Agganci("demo-db killed.db"), 1, {"already exists"}));

    // Two first runs share one default database.
    const int status = Shell("{ $AGGANCI variants MODELLO01 >a.out 2>&1 & a=$!; }; "
                             "{ $AGGANCI variants MODELLO01 >b.out 2>&1 & b=$!; }; wait $a && wait $b");
    EXPECT_EQ(status, 0) << Read("a.out") << "\n---\n" << Read("b.out");
}

}  // namespace
