#pragma once
// The floor the component is measured against: the same rows of one article written set-based, one
// INSERT ... SELECT per table (and the barcode numbering's one UPDATE), each a prepared statement reused
// from article to article, inside one transaction per article, and the same processing-log rows as a mass
// run writes. It knows the shape of the benchmark's articles only; it is no second implementation of the
// engine's rules: values a rule would reset are simply copied, which costs the same.
#include <memory>
#include <string>
#include <vector>

#include "db/Connection.h"

namespace host {
class ProcessingLogService;
}

namespace bench {

class ReferenceDuplicator {
public:
    ReferenceDuplicator(db::ConnectionPtr connection, long company);
    ~ReferenceDuplicator();

    // A run of articles in the company's processing log, as a mass run keeps it: the run's row, its opening
    // and closing lines, and the lines of each article duplicated while it is open. Written through the
    // shell's journal, which the component's log hands its lines to as well.
    void OpenRun();
    void CloseRun();

    // Writes `target`'s rows from `source`'s in one transaction; rolls back and rethrows on an error.
    void DuplicateOneArticle(const std::string& source, const std::string& target);

    // The tables written, in order.
    std::vector<std::string> Tables() const;

private:
    struct Statement {
        std::string table;
        std::string sql;  // in the driver's own SQL, translated once
        // Per '?' in order: 'N' the new code, 'S' the source code, 'D' the new description.
        std::vector<char> codes;
    };
    void Add(const std::string& table, const std::string& sql, std::vector<char> codes);

    void Log(const std::string& line);

    db::ConnectionPtr connection_;
    std::string company_;
    std::vector<Statement> statements_;
    std::shared_ptr<host::ProcessingLogService> journal_;  // while a run is open
};

}  // namespace bench
