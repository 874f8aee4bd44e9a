#pragma once

#include "app/Settings.h"
#include "support/FixtureDatabase.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ortolan::test {

// The standard checklist with a third species in the genus Carabus
// (044.00101.): Carabus olympiae (records of its own and of its subspecies
// Carabus olympiae olympiae), Carabus dell'Ortolan (one record) and a species
// without records whose name and author hold quotes, a comma and a slash.
// Made the program's database, with the build's background maps.
class AtlasFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        saved = settings();
        fixture = std::make_unique<FixtureDatabase>(dir.filePath(QStringLiteral("data")));
        fixture->addStandardChecklist();
        fixture->insert("Specie", {{"codice_sp", "044.00101.003.0"}, {"nome_sp", OddName},
                                   {"autore", OddAuthor}, {"codice_gr", "044.001.001.001"}});
        fixture->makeCurrent();
        settings().ApplicationFolder = appDir();
        settings().setLanguage(QStringLiteral("Inglese"));
    }
    void TearDown() override { settings() = saved; }

    QString out(const QString &name = QStringLiteral("atlas")) const { return dir.filePath(name); }

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static constexpr const char *OddName = "Carabus \"alpha\", beta/gamma";
    static constexpr const char *OddAuthor = "Rossi, \"Jr.\"";
    static QStringList genus() { return {QStringLiteral("044.00101.001.0"), QStringLiteral("044.00101.002.0"),
                                         QStringLiteral("044.00101.003.0")}; }

    QTemporaryDir dir;
    std::unique_ptr<FixtureDatabase> fixture;
    Settings saved;
};

}  // namespace ortolan::test
