#pragma once
// Which statements a connection runs, and how SQLite plans them. A recorder traces every statement the
// connection finishes, grouped by shape (the text with its literal values replaced by '?'), with how often
// it ran and how many rows SQLite stepped through in full scans. The plan check then asks SQLite for the
// plan of one example of each shape and reports every table it reads without an index.
#include <map>
#include <string>
#include <vector>

#include "db/Connection.h"

struct sqlite3;

namespace bench {

// The text with string and numeric literals replaced by '?', blanks collapsed.
std::string StatementShape(const std::string& sql);

struct StatementStats {
    std::string example;     // one text of this shape, as it ran
    long executions = 0;
    long fullScanSteps = 0;  // rows visited by full table scans, over every execution
    long autoIndexRows = 0;  // rows put into automatic (transient) indexes: a missing index
};

class StatementRecorder {
public:
    // Traces the statements of `connection`, which must be open on SQLite.
    explicit StatementRecorder(db::Connection& connection);
    ~StatementRecorder();  // stops
    StatementRecorder(const StatementRecorder&) = delete;
    StatementRecorder& operator=(const StatementRecorder&) = delete;

    // Stops tracing; what was recorded stays.
    void Stop();

    const std::map<std::string, StatementStats>& Shapes() const { return shapes_; }
    long Statements() const { return statements_; }

private:
    static int OnTrace(unsigned type, void* self, void* statement, void* elapsed);
    sqlite3* db_;
    bool tracing_ = true;
    std::map<std::string, StatementStats> shapes_;
    long statements_ = 0;
};

// One table read without an index by a statement shape.
struct TableScan {
    std::string shape;
    std::string planLine;  // SQLite's words, e.g. "SCAN MG65_BARCODE"
    std::string table;
    bool temporary = false;  // a table of this connection only (the ##TABTEMP lists), not company data
    long executions = 0;
    long fullScanSteps = 0;
};

struct PlanCheck {
    std::vector<TableScan> scans;
    std::vector<std::string> unplanned;  // shapes whose example no longer prepares (a dropped temporary table)
    long shapes = 0;
};

// Asks SQLite for the plan of every recorded shape on `connection` (the one that ran them, its recorder
// stopped).
PlanCheck CheckPlans(db::Connection& connection, const StatementRecorder& recorder);

// The SQLite handle of a connection opened on the embedded driver; error when it is not one.
sqlite3* SqliteHandle(db::Connection& connection);

}  // namespace bench
