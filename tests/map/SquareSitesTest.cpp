// Which square a click on a dot opens: the zone-overlap conversion of square
// codes between zones 32 and 33 for every row letter, the order of the codes
// tried, and the first one with records in a fixture database.
#include "data/Connection.h"
#include "map/SquareCode.h"
#include "map/SquareSites.h"
#include "support/FixtureDatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using ortolan::map::SquareCode;
namespace squaresites = ortolan::map::squaresites;

namespace {

// Row letters of zone 33 and the zone-32 letters of the same 100-km rows.
const char kRows33[] = "ABCDEFGHJKLMN";
const char kRows32[] = "FGHJKLMNPQRST";

TEST(ZoneOverlap, EveryRowLetterConvertsBothWays)
{
    for (int i = 0; kRows33[i]; ++i) {
        for (int d = 0; d <= 9; ++d) {
            const QString t = QStringLiteral("T") + QLatin1Char(kRows33[i]) + QString::number(d) + QStringLiteral("4");
            const QString q = QStringLiteral("Q") + QLatin1Char(kRows32[i]) + QString::number(9 - d) + QStringLiteral("4");
            EXPECT_EQ(SquareCode::overlapAlternative(t), q) << t.toStdString();
            EXPECT_EQ(SquareCode::overlapAlternative(q), t) << q.toStdString();
        }
    }
    // Other columns, lowercase and malformed codes have no alternative.
    for (const char16_t *code : {u"UA00", u"PF00", u"tA00", u"qF00", u"TA0", u"", u"TZ00", u"QA00"})
        EXPECT_TRUE(SquareCode::overlapAlternative(code).isEmpty());
}

TEST(ClickCandidates, CursorCodeThenItsAlternativeThenTheDots)
{
    EXPECT_EQ(squaresites::candidates(QStringLiteral("TG91"), {QStringLiteral("TG91"), QStringLiteral("QM02")}),
              (QStringList{QStringLiteral("TG91"), QStringLiteral("QM01"), QStringLiteral("QM02")}));
    EXPECT_EQ(squaresites::candidates(QStringLiteral("UG12"), {QStringLiteral("UG12")}),
              QStringList{QStringLiteral("UG12")});
    EXPECT_EQ(squaresites::candidates(QString(), {QStringLiteral("CK01")}), QStringList{QStringLiteral("CK01")});
}

TEST(ClickCandidates, FirstSquareWithRecordsOfTheTaxon)
{
    QTemporaryDir dir;
    ortolan::test::FixtureDatabase fixture(dir.path());
    fixture.addStandardChecklist();
    // A record stored under the zone-32 code of a square drawn near 12° E.
    fixture.insert("Stazioni", {{"CODICE_SP", "044.00201.001.0"}, {"UTM", "QM01"}, {"LOC", "Bosco"}});
    const auto connection = ortolan::data::Connection::open(fixture.path(), fixture.connectString());
    const QString lucanus = QStringLiteral("044.00201.001.0");
    EXPECT_EQ(squaresites::firstWithSites(*connection, lucanus, squaresites::candidates(QStringLiteral("TG91"), {})),
              QStringLiteral("QM01"));
    EXPECT_EQ(squaresites::firstWithSites(*connection, lucanus, {QStringLiteral("WA00")}), QStringLiteral("WA00"));
    EXPECT_TRUE(squaresites::firstWithSites(*connection, lucanus, {QStringLiteral("UG12")}).isEmpty());
    // The genus reaches its species' records; an apostrophe cannot break the query.
    EXPECT_EQ(squaresites::firstWithSites(*connection, QStringLiteral("044.00201."), {QStringLiteral("QM01")}),
              QStringLiteral("QM01"));
    EXPECT_TRUE(squaresites::firstWithSites(*connection, QStringLiteral("x'y"), {QStringLiteral("QM01")}).isEmpty());
}

}  // namespace
