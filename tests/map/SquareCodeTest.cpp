// Square codes: letter tables, the read-out's code of a UTM position, the MGRS
// letters and the zone-overlap alternative of a clicked square.
#include "map/SquareCode.h"

#include <gtest/gtest.h>

#include <limits>

using ortolan::map::SquareCode;

namespace {

TEST(SquareCode, ParsesZoneIndicesAndDigits)
{
    struct Case { const char *code; int zone, column, row, de, dn; };
    for (const Case &c : {Case{"LQ99", 32, -2, 9, 9, 9}, Case{"QT05", 32, 2, 12, 0, 5}, Case{"NE00", 32, 0, -1, 0, 0},
                          Case{"TG91", 33, -3, 6, 9, 1}, Case{"YN00", 33, 2, 12, 0, 0}, Case{"WV37", 33, 0, -1, 3, 7},
                          Case{"BK27", 34, 0, 4, 2, 7}, Case{"CT99", 34, 1, 12, 9, 9}}) {
        const auto code = SquareCode::parse(QString::fromLatin1(c.code));
        ASSERT_TRUE(code.has_value()) << c.code;
        EXPECT_EQ(code->zone(), c.zone) << c.code;
        EXPECT_EQ(code->columnIndex(), c.column) << c.code;
        EXPECT_EQ(code->rowIndex(), c.row) << c.code;
        EXPECT_EQ(code->eastingDigit(), c.de) << c.code;
        EXPECT_EQ(code->northingDigit(), c.dn) << c.code;
        EXPECT_EQ(code->text(), QString::fromLatin1(c.code));
    }
}

TEST(SquareCode, RowLettersBelongToTheirZone)
{
    // "A" and "V" are zone-33 rows only; "E" is a row in 32 and 33 but with different indices.
    EXPECT_FALSE(SquareCode::parse(u"NA00").has_value());
    EXPECT_FALSE(SquareCode::parse(u"BV00").has_value());
    EXPECT_FALSE(SquareCode::parse(u"WT00").has_value());
    EXPECT_EQ(SquareCode::parse(u"NE00")->rowIndex(), -1);
    EXPECT_EQ(SquareCode::parse(u"WE00")->rowIndex(), 4);
}

TEST(SquareCode, ReadoutCodeOfUtmPositions)
{
    struct Case { int zone; double e, n; const char *code; };
    for (const Case &c : {
             Case{33, 500.0, 4000.0, "WA00"},      // the reference point of zone 33
             Case{32, 534.7, 4523.1, "NL32"},      // digits from the tens of km
             Case{32, 299.9, 4523.1, "KL92"},      // west of the locator's columns
             Case{32, 812.0, 4523.1, "QL12"},      // east of them: the last letter
             Case{33, 150.0, 3850.0, "TV55"},      // south of 4000 km
             Case{33, 755.0, 5310.0, "YN51"},      // north of 5200 km: the last row
             Case{34, 299.99, 4412.0, "BK91"},
             Case{34, 300.0, 4412.0, "CK01"},
         }) {
        EXPECT_EQ(SquareCode::fromUtm(c.zone, c.e, c.n), QString::fromLatin1(c.code)) << c.code;
    }
    EXPECT_TRUE(SquareCode::fromUtm(31, 500.0, 4000.0).isEmpty());
    EXPECT_TRUE(SquareCode::fromUtm(32, std::nan(""), 4000.0).isEmpty());
}

TEST(SquareCode, ReadoutFarBeyondTheTablesTakesTheOutermostLetters)
{
    // Positions of any size (the command-line read-out takes any number) give
    // the outermost letters of their side and digits 0..9; bands are counted
    // without overflowing an int.
    struct Case { int zone; double e, n; const char *code; };
    for (const Case &c : {
             Case{32, -1e12, 4523.1, "KL02"},           // far west: first column
             Case{32, 1e12, 4523.1, "QL02"},            // far east: last column
             Case{33, 500.0, -3e12, "WV00"},            // far south: first row
             Case{34, 250.0, 1e15, "BT50"},             // far north: last row
             Case{33, -21474836480.0, 4000.0, "TA20"},  // hundreds of km beyond the int range
         }) {
        EXPECT_EQ(SquareCode::fromUtm(c.zone, c.e, c.n), QString::fromLatin1(c.code)) << c.code;
    }
    for (const double huge : {1e226, -1e226, 1e308}) {
        const QString code = SquareCode::fromUtm(33, huge, -huge);
        ASSERT_EQ(code.size(), 4) << huge;
        EXPECT_TRUE(code[2].isDigit() && code[3].isDigit()) << code.toStdString();
    }
}

TEST(SquareCode, LocatorTablesAgreeWithTheMgrsLetters)
{
    // Every letter pair the locator knows is the MGRS 100-km square at its
    // index, and the square's corner lies in that 100-km square.
    int checked = 0;
    for (int zone : {32, 33, 34}) {
        for (int e100 = 1; e100 <= 8; ++e100) {
            for (int n100 = 38; n100 <= 53; ++n100) {
                const QString code = SquareCode::mgrsLetters(zone, e100, n100) + QStringLiteral("00");
                const auto parsed = SquareCode::parse(code);
                if (!parsed)
                    continue;
                ++checked;
                EXPECT_EQ(parsed->zone(), zone) << code.toStdString();
                EXPECT_DOUBLE_EQ(parsed->westEastingMetres(), e100 * 100000.0) << code.toStdString();
                EXPECT_DOUBLE_EQ(parsed->southNorthingMetres(), n100 * 100000.0) << code.toStdString();
            }
        }
    }
    // 5 + 6 + 2 columns, 14 rows each.
    EXPECT_EQ(checked, 13 * 14);
    EXPECT_EQ(SquareCode::mgrsLetters(33, 5, 40), QStringLiteral("WA"));
    EXPECT_EQ(SquareCode::mgrsLetters(32, 5, 40), QStringLiteral("NF"));
    EXPECT_TRUE(SquareCode::mgrsLetters(32, 0, 40).isEmpty());
    // Extreme northings (found by fuzzing) wrap through the 20 row letters
    // without overflowing: INT_MAX is 7 and INT_MIN is 12 modulo 20.
    EXPECT_EQ(SquareCode::mgrsLetters(32, 1, std::numeric_limits<int>::max()), SquareCode::mgrsLetters(32, 1, 7));
    EXPECT_EQ(SquareCode::mgrsLetters(33, 1, std::numeric_limits<int>::max()), SquareCode::mgrsLetters(33, 1, 7));
    EXPECT_EQ(SquareCode::mgrsLetters(32, 1, std::numeric_limits<int>::min()), SquareCode::mgrsLetters(32, 1, 12));
}

TEST(SquareCode, OverlapAlternativeSwapsTheZonesAt12East)
{
    EXPECT_EQ(SquareCode::overlapAlternative(u"TG91"), QStringLiteral("QM01"));
    EXPECT_EQ(SquareCode::overlapAlternative(u"QM01"), QStringLiteral("TG91"));
    EXPECT_EQ(SquareCode::overlapAlternative(u"TA37"), QStringLiteral("QF67"));
    EXPECT_EQ(SquareCode::overlapAlternative(u"QT05"), QStringLiteral("TN95"));
    EXPECT_EQ(SquareCode::overlapAlternative(u"TV00"), QStringLiteral("QE90"));
    // No alternative for other columns or bad codes.
    for (const char16_t *none : {u"UG12", u"PF00", u"BK27", u"YK11", u"TZ00", u"tg91", u"T"})
        EXPECT_TRUE(SquareCode::overlapAlternative(none).isEmpty());
}

}  // namespace
