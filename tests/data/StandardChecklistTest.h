#pragma once

#include "data/Connection.h"
#include "QtPrinters.h"
#include "support/FixtureDatabase.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace ortolan::test {

// A test with the standard checklist in a temporary folder and a connection to it.
class StandardChecklistTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fixture = std::make_unique<FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        connection = data::Connection::open(fixture->path(), fixture->connectString());
    }

    // The values of one column of every row, as text.
    QStringList column(const QString &sql, int ordinal = 0)
    {
        data::Recordset rows = connection->openRecordset(sql);
        QStringList values;
        for (const auto &row : rows.rows())
            values << row.at(size_t(ordinal)).toString();
        return values;
    }

    QTemporaryDir dir;
    std::unique_ptr<FixtureDatabase> fixture;
    std::unique_ptr<data::Connection> connection;
};

inline QStringList list(std::initializer_list<const char *> items)
{
    QStringList result;
    for (const char *item : items)
        result << QString::fromUtf8(item);
    return result;
}

}  // namespace ortolan::test
