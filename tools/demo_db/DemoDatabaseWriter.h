#pragma once

#include "tools/demo_db/Checklist.h"
#include "tools/demo_db/Records.h"

#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace ortolan::demo {

struct CodedText;
struct Square;

// Writes the demo data set into a new SQLite file with the program's schema.
// Everything goes in one transaction; the caller writes to a temporary path
// and renames the finished file, so no half-written database is ever left
// under the real name. Failures throw std::runtime_error.
class DemoDatabaseWriter
{
public:
    // Creates the file (which must not exist) and its tables.
    DemoDatabaseWriter(const std::string &path, const std::string &password, const std::string &dataset);
    ~DemoDatabaseWriter();
    DemoDatabaseWriter(const DemoDatabaseWriter &) = delete;
    DemoDatabaseWriter &operator=(const DemoDatabaseWriter &) = delete;

    void writeLookups(const Checklist &list);
    void writeChecklist(const Checklist &list);
    void writeSquares(const std::vector<Square> &squares);
    void writeSources(const std::vector<SourceRow> &sources);
    void addSite(const SiteRow &site);
    // Creates the indexes, commits and closes the file.
    void finish();

private:
    struct Finalize {
        void operator()(sqlite3_stmt *statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

    void exec(const std::string &sql);
    void writeCodedTexts(const std::string &insert, const std::vector<CodedText> &rows);
    Statement prepare(const std::string &sql);
    void step(const Statement &statement);

    sqlite3 *m_db = nullptr;
    Statement m_siteInsert;
};

}  // namespace ortolan::demo
