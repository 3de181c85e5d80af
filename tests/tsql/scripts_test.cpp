// The SQL Server scripts of the ERP database against what the SQLite side of the product declares: the
// tables and columns of erp/schema_tsql.sql against erp/schema_sqlite.sql, and SPMG_DUPLICAART of
// erp/spmg_duplicaart.sql against the procedure registered for SQLite (its parameters and its groups).
// The T-SQL parser cannot read procedures, so their structure is read here.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "db/Command.h"
#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Variant.h"
#include "erp/DemoBuilder.h"
#include "erp/Schema.h"
#include "erp/SpmgDuplicaArt.h"
#include "erp/TsqlExistingDatabase.h"
#include "erp/TsqlScripts.h"

namespace {

std::string WithoutComments(const std::string& sql) {
    return std::regex_replace(sql, std::regex("--[^\n]*"), "");
}

struct Column {
    std::string name;
    std::string type;  // upper case, as declared
    bool notNull = false;
    bool hasDefault = false;
    bool numbered = false;  // the database numbers it: IDENTITY, or SQLite's INTEGER PRIMARY KEY
};

// CREATE TABLE name ( column ..., CONSTRAINT ... ) of a script: the columns in order.
std::map<std::string, std::vector<Column>> Tables(const std::string& script) {
    std::map<std::string, std::vector<Column>> tables;
    const std::string sql = WithoutComments(script);
    const std::regex header(R"(CREATE\s+TABLE\s+(\w+)\s*\()", std::regex::icase);
    for (std::sregex_iterator it(sql.begin(), sql.end(), header), end; it != end; ++it) {
        std::size_t at = static_cast<std::size_t>(it->position(0) + it->length(0));
        std::vector<std::string> items(1);
        for (int depth = 1; at < sql.size() && depth > 0; ++at) {
            const char c = sql[at];
            if (c == '(') ++depth;
            if (c == ')' && --depth == 0) break;
            if (c == ',' && depth == 1) items.emplace_back();
            else items.back() += c;
        }
        auto& columns = tables[db::UCase((*it)[1].str())];
        for (const std::string& item : items) {
            std::smatch m;
            const std::string text = db::UCase(item);
            if (!std::regex_search(text, m, std::regex(R"(^\s*(\w+)\s+(\w+(\s*\([^)]*\))?))")) ||
                std::regex_match(m[1].str(), std::regex("CONSTRAINT|PRIMARY|UNIQUE|FOREIGN|CHECK")))
                continue;
            columns.push_back({m[1], std::regex_replace(m[2].str(), std::regex("\\s"), ""),
                               text.find("NOT NULL") != std::string::npos, text.find(" DEFAULT") != std::string::npos,
                               std::regex_search(text, std::regex("IDENTITY|INTEGER\\s+PRIMARY\\s+KEY"))});
        }
    }
    return tables;
}

// What SQL Server must store for what SQLite stores: the same kind of value, texts of the same length.
std::string Kind(const std::string& type) {
    std::smatch m;
    if (type == "TEXT" || type == "NVARCHAR(MAX)" || type == "VARCHAR(MAX)") return "long text";
    if (std::regex_match(type, m, std::regex(R"((N?)(VAR)?CHAR\((\d+)\))"))) return "text " + m[1].str() + m[3].str();
    if (type == "DATETIME") return "date";
    if (std::regex_match(type, m, std::regex(R"((NUMERIC|DECIMAL)\((\d+),(\d+)\))")))
        return m[3] == "0" ? "whole" : "decimal " + m[3].str();
    if (std::regex_match(type, std::regex("INT|INTEGER|SMALLINT|BIGINT|BIT|TINYINT"))) return "whole";
    return type;
}

TEST(SqlServerSchema, HasTheTablesColumnsAndIndexesOfTheSqliteSchemaAndAddsTheComponentsOwnWhereMissing) {
    const auto sqlite = Tables(erp::SqliteSchemaDdl());
    const auto tsql = Tables(erp::TsqlSchemaDdl());
    ASSERT_GT(sqlite.size(), 50u);
    EXPECT_EQ(tsql.size(), sqlite.size());  // with every SQLite table found below: the same tables
    for (const auto& [table, columns] : sqlite) {
        ASSERT_TRUE(tsql.count(table)) << table;
        const auto& other = tsql.at(table);
        ASSERT_EQ(other.size(), columns.size()) << table;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const Column &a = columns[i], &b = other[i];
            SCOPED_TRACE(table + "." + a.name);
            EXPECT_EQ(b.name, a.name) << "rows are copied by position";
            EXPECT_EQ(b.numbered, a.numbered);
            // A key SQLite numbers is an IDENTITY column, NUMERIC(18,0) for bills: never NULL either way.
            if (a.numbered) continue;
            EXPECT_EQ(Kind(b.type), Kind(a.type)) << a.type << " / " << b.type;
            EXPECT_EQ(b.notNull, a.notNull);
            EXPECT_EQ(b.hasDefault, a.hasDefault);
        }
    }

    // The same indexes, on the same columns.
    const std::regex index(R"(CREATE\s+(UNIQUE\s+)?INDEX\s+(\w+)\s+ON\s+(\w+)\s*\(([^)]*)\))", std::regex::icase);
    auto indexes = [&](const std::string& script) {
        std::map<std::string, std::string> out;
        const std::string sql = WithoutComments(script);
        for (std::sregex_iterator it(sql.begin(), sql.end(), index), end; it != end; ++it)
            out[db::UCase((*it)[2].str())] = db::UCase((*it)[1].str() + (*it)[3].str() + "(" +
                                                       std::regex_replace((*it)[4].str(), std::regex("\\s"), "") + ")");
        return out;
    };
    EXPECT_GT(indexes(erp::SqliteSchemaDdl()).size(), 5u);
    EXPECT_EQ(indexes(erp::TsqlSchemaDdl()), indexes(erp::SqliteSchemaDdl()));

    // An ERP database has its own tables: the script for it adds the component's own, each only where it is missing.
    const std::string script = erp::SqlServerExistingDatabaseScript();
    std::set<std::string> added;
    for (const auto& [name, columns] : Tables(script)) {
        added.insert(name);
        EXPECT_EQ(columns.size(), tsql.at(name).size()) << name;
    }
    EXPECT_EQ(added, (std::set<std::string>{"AG00_IMPOSTAZIONI", "AG01_ALLEGATI", "AG02_ARTGENERATI",
                                            "AG03_RAGGRCREATI"}));
    const std::string tables = script.substr(0, script.find("\nGO\n"));
    auto count = [&](const char* pattern) {
        const std::regex r(pattern);
        return std::distance(std::sregex_iterator(tables.begin(), tables.end(), r), std::sregex_iterator());
    };
    EXPECT_EQ(count(R"(\nCREATE )"), 6) << "the tables and their indexes";
    EXPECT_EQ(count(R"(\nIF OBJECT_ID\('(\w+)'\) IS NULL\nCREATE TABLE \1 )"), 4) << tables;
    EXPECT_EQ(count(R"(\nIF INDEXPROPERTY\(OBJECT_ID\('(\w+)'\), '(\w+)', 'IndexID'\) IS NULL)"
                    R"(\nCREATE INDEX \2 ON \1 )"), 2) << tables;

    // Then the procedures, each only where the database has none: an ERP database's own SPMG_DUPLICAART stays.
    const std::string procedures = script.substr(tables.size());
    EXPECT_EQ(procedures.find("DROP"), std::string::npos);
    std::vector<std::string> created;
    const std::string open = "') IS NULL EXEC(N'", close = "');\nGO\n";
    for (std::size_t at = procedures.find(open); at != std::string::npos; at = procedures.find(open, at + 1)) {
        const std::size_t name = procedures.rfind("IF OBJECT_ID('dbo.", at) + 18, end = procedures.find(close, at);
        created.push_back(procedures.substr(name, at - name));
        const std::string text = std::regex_replace(procedures.substr(at + open.size(), end - at - open.size()),
                                                    std::regex("''"), "'");
        EXPECT_TRUE(text.starts_with("CREATE PROCEDURE dbo." + created.back() + "\n")) << text;
        EXPECT_NE(erp::TsqlProcedureScript().find(text), std::string::npos) << "as the full script creates it";
    }
    EXPECT_EQ(created, (std::vector<std::string>{"SPMG_COPIARIGHEARTICOLO", "SPMG_DUPLICAART"}));
}

struct ProcedureText {
    std::vector<std::pair<std::string, std::string>> parameters;  // name, type
    std::string body;
};

// CREATE PROCEDURE dbo.NAME @P TYPE, ... AS BEGIN ... END of the procedure script.
ProcedureText Procedure(const std::string& name) {
    const std::string sql = WithoutComments(erp::TsqlProcedureScript());
    std::smatch m;
    EXPECT_TRUE(std::regex_search(sql, m, std::regex(R"(\nGO\s*\n\s*CREATE\s+PROCEDURE\s+dbo\.)" + name +
                                                     R"(\s+([\s\S]*?)\bAS\s+BEGIN([\s\S]*?)\nEND\s*\nGO)")))
        << name << " is created at the start of a batch of its own, as SQL Server requires";
    ProcedureText p{{}, m[2]};
    const std::string header = m[1];
    const std::regex parameter(R"((@\w+)\s+(\w+(\s*\([^)]*\))?))");
    for (std::sregex_iterator it(header.begin(), header.end(), parameter), end; it != end; ++it)
        p.parameters.push_back({db::UCase((*it)[1].str()), db::UCase((*it)[2].str())});
    return p;
}

class DuplicaArt : public ::testing::Test {
protected:
    void SetUp() override {
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        erp::BuildDemoDatabase(*conn, erp::DemoOptions{});
        procedure = Procedure("SPMG_DUPLICAART");
    }
    // The SQLite procedure called with the T-SQL procedure's parameters: the flags as given, `left` not given,
    // every other number (the company too) 1.
    void Call(const std::map<std::string, int>& flags, const std::string& left = "") {
        db::Parameters ps;
        for (const auto& [name, type] : procedure.parameters) {
            if (name == left) continue;
            db::Variant value(db::Decimal::FromInt(flags.count(name) ? flags.at(name) : 1));
            if (name == "@ARTICOLO_ORIG") value = db::Variant("MODELLO01");
            if (name == "@ARTICOLO_NEW") value = db::Variant("NEWCODE");
            if (name.starts_with("@DESCRIZIONE")) value = db::Variant("Nuovo");
            ps.Append(std::make_shared<db::Parameter>(name, db::adNumeric, db::adParamInput, 0, value));
        }
        erp::SpmgDuplicaArt(*conn, ps);
    }
    long NewRows(const std::string& table) {
        const std::string prefix = table.substr(0, table.find('_'));
        const std::string column = table == "MG66_ANAGRART" ? "MG66_CODART" : prefix + "_CODART_MG66";
        return conn->Execute("SELECT COUNT(*) FROM " + table + " WHERE " + column + " = 'NEWCODE'")
            ->GetFields()[0L].Value().CLng();
    }
    db::ConnectionPtr conn;
    ProcedureText procedure;
};

TEST_F(DuplicaArt, TakesEveryParameterTheSqliteProcedureReadsAndCopiesItsGroups) {
    ASSERT_EQ(procedure.parameters.size(), 29u);
    std::map<std::string, int> all;
    for (const auto& [name, type] : procedure.parameters)  // a barcode is unique in the company: a copy needs a new one
        if (name.starts_with("@NODUP_")) all[name] = name == "@NODUP_MG65_BARCODE";
    conn->BeginTrans();
    EXPECT_NO_THROW(Call(all));
    conn->RollbackTrans();
    for (const auto& [name, type] : procedure.parameters) {
        if (name == "@STATO") continue;  // given back, not read
        conn->BeginTrans();
        EXPECT_THROW(Call(all, name), db::Error)
            << name << " is declared for SQL Server but the SQLite procedure never reads it";
        conn->RollbackTrans();
        EXPECT_TRUE(!name.starts_with("@NODUP_") || type == "NUMERIC(1,0)") << name << " is " << type;
    }

    // IF @NODUP_X = 0 EXEC SPMG_COPIARIGHEARTICOLO 'TABLE', ... : the table of each flag.
    std::map<std::string, std::string> groups;
    const std::regex group(R"(IF\s+(@NODUP_\w+)\s*=\s*0\s+EXEC\s+SPMG_COPIARIGHEARTICOLO\s+'(\w+)')");
    for (std::sregex_iterator it(procedure.body.begin(), procedure.body.end(), group), end; it != end; ++it)
        groups[(*it)[1]] = (*it)[2];
    groups["@NODUP_MG87_ARTDESC"] = "MG87_ARTDESC";  // an INSERT of its own: the new descriptions
    EXPECT_EQ(groups.size(), all.size()) << "every flag has its group";

    int checked = 0;
    for (const auto& [flag, table] : groups) {
        SCOPED_TRACE(flag);
        conn->BeginTrans();
        if (flag == "@NODUP_MG65_BARCODE") {
            EXPECT_THROW(Call({{flag, 0}}), db::Error) << "the copied barcode is refused as a duplicate";
            conn->RollbackTrans();
            continue;
        }
        Call({{flag, 0}});
        checked += NewRows(table) > 0;
        for (const auto& [otherFlag, other] : groups)
            EXPECT_EQ(other == table ? 0 : NewRows(other), 0) << other << " copied without its flag";
        EXPECT_EQ(NewRows("MG66_ANAGRART"), 1);
        conn->RollbackTrans();
    }
    EXPECT_GE(checked, 8) << "the demo article has rows in most groups";

    // The descriptions are written column by column: every column the SQLite procedure copies.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(procedure.body, m, std::regex(R"(INSERT\s+INTO\s+MG87_ARTDESC\s*\(([^)]*)\))")));
    std::string copied;
    const auto sqliteTables = Tables(erp::SqliteSchemaDdl());
    for (const Column& c : sqliteTables.at("MG87_ARTDESC"))
        if (!(c.name.ends_with("_GUID") && c.hasDefault) && !c.name.ends_with("_LASTCHANGE"))
            copied += (copied.empty() ? "" : ",") + c.name;
    EXPECT_EQ(std::regex_replace(m[1].str(), std::regex("\\s"), ""), copied);
}

}  // namespace
