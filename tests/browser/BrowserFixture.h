#pragma once

#include "app/Settings.h"
#include "support/FixtureDatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &texts, std::ostream *os)
{
    *os << '[' << texts.join(QStringLiteral(", ")).toStdString() << ']';
}

namespace ortolan::test {

// A temporary species database with the standard checklist, made the
// program's database (DatabasePath, DatabasePassword) for the test's length.
class BrowserDatabase {
public:
    BrowserDatabase()
    {
        database = std::make_unique<FixtureDatabase>(dir.path());
        database->addStandardChecklist();
        Settings &s = settings();
        previousPath_ = s.DatabasePath;
        previousPassword_ = s.DatabasePassword;
        s.DatabasePath = database->path();
        s.DatabasePassword = FixtureDatabase::password();
    }
    ~BrowserDatabase()
    {
        settings().DatabasePath = previousPath_;
        settings().DatabasePassword = previousPassword_;
    }

    QTemporaryDir dir;
    std::unique_ptr<FixtureDatabase> database;

private:
    QString previousPath_;
    QString previousPassword_;
};

}  // namespace ortolan::test
