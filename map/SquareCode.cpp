#include "map/SquareCode.h"

#include <algorithm>
#include <cmath>

namespace ortolan::map {

namespace {

// A run of letters standing for consecutive indices, the first one for `first`.
struct LetterTable {
    const char *letters;
    int first;

    int size() const { return int(std::char_traits<char>::length(letters)); }

    std::optional<int> indexOf(QChar c) const
    {
        for (int i = 0; letters[i]; ++i)
            if (c == QLatin1Char(letters[i]))
                return first + i;
        return std::nullopt;
    }

    std::optional<QChar> letterAt(int index) const
    {
        const int i = index - first;
        if (i < 0 || i >= size())
            return std::nullopt;
        return QLatin1Char(letters[i]);
    }

    // The letter of an index, positions beyond the table taking the outermost letter.
    QChar clampedLetterAt(int index) const
    {
        const int i = std::clamp(index - first, 0, size() - 1);
        return QLatin1Char(letters[i]);
    }
};

// Columns known to the square locator, per zone.
constexpr LetterTable kColumns32{"LMNPQ", -2};
constexpr LetterTable kColumns33{"TUVWXY", -3};
constexpr LetterTable kColumns34{"BC", 0};
// The read-out also names the 200-km column of zone 32 ("K"), west of the locator's table.
constexpr LetterTable kReadoutColumns32{"KLMNPQ", -3};

// Rows: zones 32 and 34 share the MGRS row letters offset by five; zone 33 has its own.
constexpr LetterTable kRowsEven{"EFGHJKLMNPQRST", -1};
constexpr LetterTable kRows33{"VABCDEFGHJKLMN", -1};

const LetterTable *columnTable(int zone)
{
    switch (zone) {
    case 32: return &kColumns32;
    case 33: return &kColumns33;
    case 34: return &kColumns34;
    default: return nullptr;
    }
}

const LetterTable *rowTable(int zone)
{
    switch (zone) {
    case 32:
    case 34: return &kRowsEven;
    case 33: return &kRows33;
    default: return nullptr;
    }
}

std::optional<int> digitValue(QChar c)
{
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
        return std::nullopt;
    return c.unicode() - '0';
}

// Index of the hundred-km band and the tens digit of a distance in km (finite).
// Bands beyond a million are all "beyond the tables", so the index is held
// there: a read-out far off the map must not overflow an int.
int hundreds(double km) { return int(std::clamp(std::floor(km / 100.0), -1e6, 1e6)); }
int tensDigit(double km)
{
    // fmod is exact, so this stays a digit for any magnitude.
    const double digit = std::fmod(std::floor(km / 10.0), 10.0);
    return int(digit < 0 ? digit + 10.0 : digit);
}

}  // namespace

std::optional<SquareCode> SquareCode::parse(QStringView text)
{
    if (text.size() != 4)
        return std::nullopt;
    SquareCode code;
    for (int zone : {32, 33, 34}) {
        if (const auto column = columnTable(zone)->indexOf(text[0])) {
            code.m_zone = zone;
            code.m_column = *column;
            break;
        }
    }
    if (code.m_zone == 0)
        return std::nullopt;
    const auto row = rowTable(code.m_zone)->indexOf(text[1]);
    const auto east = digitValue(text[2]);
    const auto north = digitValue(text[3]);
    if (!row || !east || !north)
        return std::nullopt;
    code.m_row = *row;
    code.m_eastDigit = *east;
    code.m_northDigit = *north;
    return code;
}

QString SquareCode::fromUtm(int zone, double eastingKm, double northingKm)
{
    const LetterTable *columns = zone == 32 ? &kReadoutColumns32 : columnTable(zone);
    const LetterTable *rows = rowTable(zone);
    if (!columns || !std::isfinite(eastingKm) || !std::isfinite(northingKm))
        return QString();
    const double refEast = referenceEastingKm(zone);
    const int column = hundreds(eastingKm) - hundreds(refEast);
    const int row = hundreds(northingKm) - hundreds(referenceNorthingKm);
    QString code;
    code.reserve(4);
    code += columns->clampedLetterAt(column);
    code += rows->clampedLetterAt(row);
    code += QChar(u'0' + tensDigit(eastingKm));
    code += QChar(u'0' + tensDigit(northingKm));
    return code;
}

QString SquareCode::mgrsLetters(int zone, int easting100km, int northing100km)
{
    static const char *const columnSets[3] = {"ABCDEFGH", "JKLMNPQR", "STUVWXYZ"};
    static const char rowLetters[] = "ABCDEFGHJKLMNPQRSTUV";
    if (zone < 1 || zone > 60 || easting100km < 1 || easting100km > 8)
        return QString();
    // Reduced first, so any northing (even the extremes of int) finds its letter.
    const int rowIndex = ((northing100km % 20 + (zone % 2 == 0 ? 5 : 0)) % 20 + 20) % 20;
    QString letters;
    letters += QLatin1Char(columnSets[(zone - 1) % 3][easting100km - 1]);
    letters += QLatin1Char(rowLetters[rowIndex]);
    return letters;
}

QString SquareCode::overlapAlternative(QStringView text)
{
    const auto code = parse(text);
    if (!code || (code->m_zone != 32 && code->m_zone != 33))
        return QString();
    const bool fromEast = code->m_zone == 33;
    if (text[0] != (fromEast ? QLatin1Char('T') : QLatin1Char('Q')))
        return QString();
    const auto row = rowTable(fromEast ? 32 : 33)->letterAt(code->m_row);
    if (!row)
        return QString();
    QString other;
    other += fromEast ? QLatin1Char('Q') : QLatin1Char('T');
    other += *row;
    other += QChar(u'0' + (9 - code->m_eastDigit));
    other += QChar(u'0' + code->m_northDigit);
    return other;
}

double SquareCode::referenceEastingKm(int zone) { return zone == 34 ? 200.0 : 500.0; }

double SquareCode::westEastingMetres() const
{
    return 1000.0 * (referenceEastingKm(m_zone) + 100.0 * m_column + 10.0 * m_eastDigit);
}

double SquareCode::southNorthingMetres() const
{
    return 1000.0 * (referenceNorthingKm + 100.0 * m_row + 10.0 * m_northDigit);
}

QString SquareCode::text() const
{
    if (!columnTable(m_zone))
        return QString();
    const auto column = columnTable(m_zone)->letterAt(m_column);
    const auto row = rowTable(m_zone)->letterAt(m_row);
    if (!column || !row)
        return QString();
    QString code;
    code += *column;
    code += *row;
    code += QChar(u'0' + m_eastDigit);
    code += QChar(u'0' + m_northDigit);
    return code;
}

}  // namespace ortolan::map
