// Fuzz target: the square-code locator and the cursor read-out of the map.
// Input: map width and height (two 16-bit numbers, 100 to 65635 pixels), a map
// point (two doubles, any value), a zone byte and the rest as the code text.
// Checked: a code that parses names itself again, locates in its own zone and
// reads back as itself at its centre; the read-out of any point gives a code of
// four characters (or none) that, once it parses, locates and reads back the
// same way; the overlap alternative of the zones 32 and 33 is its own inverse.
// Raw doubles also go in as map sizes and UTM positions, for the arithmetic.
#include "FuzzSupport.h"

#include "map/SquareCode.h"
#include "map/ZoneGeometry.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace ortolan::map;

namespace {

[[noreturn]] void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "%s: %s\n", what, detail.toUtf8().constData());
    std::abort();
}

struct Input {
    const uint8_t *data;
    size_t size;
    size_t at = 0;

    template <typename T>
    T take()
    {
        T value{};
        if (at + sizeof(T) <= size) {
            std::memcpy(&value, data + at, sizeof(T));
            at += sizeof(T);
        } else {
            at = size;
        }
        return value;
    }
};

// A code that parses is located in its zone and reads back as itself at its centre.
void checkRoundTrip(const ZoneGeometry &geometry, const QString &text)
{
    const auto code = SquareCode::parse(text);
    if (!code)
        return;
    if (code->text() != text)
        fail("a parsed code writes differently", text);
    const auto where = geometry.locate(text);
    if (!where || where->zone != code->zone())
        fail("a valid code is not located in its zone", text);
    if (!std::isfinite(where->centre.x()) || !std::isfinite(where->centre.y()))
        fail("a located centre is not finite", text);
    const UtmReadout back = geometry.readoutInZone(where->centre, code->zone());
    if (back.squareCode != text)
        fail("the centre of a square reads as another square", text + QStringLiteral(" -> ") + back.squareCode);
    const QString other = SquareCode::overlapAlternative(text);
    if (!other.isEmpty() && SquareCode::overlapAlternative(other) != text)
        fail("the overlap alternative is not its own inverse", text + QStringLiteral(" -> ") + other);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Input in{data, size};
    const double width = 100 + in.take<quint16>();
    const double height = 100 + in.take<quint16>();
    const double px = in.take<double>();
    const double py = in.take<double>();
    const int zone = in.take<quint8>();
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + in.at), qsizetype(size - in.at));

    const ZoneGeometry geometry(width, height);
    if (!geometry.isValid())
        fail("a map of ordinary size gives no geometry", QString::number(width) + QLatin1Char('x') + QString::number(height));
    checkRoundTrip(geometry, text);
    if (text.size() >= 4)
        checkRoundTrip(geometry, text.left(4));

    // Any point of the plane, the map or far beyond it.
    for (const UtmReadout &r : {geometry.readout(QPointF(px, py)), geometry.readoutInZone(QPointF(px, py), zone)}) {
        if (!r.squareCode.isEmpty() && r.squareCode.size() != 4)
            fail("a read-out code of other than four characters", r.squareCode);
        checkRoundTrip(geometry, r.squareCode);
    }
    // A point given in map units is also a point of a map of width px (x) py.
    const ZoneGeometry odd(px, py);
    if (odd.isValid()) {
        odd.locate(text);
        odd.readout(QPointF(width, height));
        odd.worldPoint(32, px, py);
    }
    SquareCode::fromUtm(zone, px, py);
    SquareCode::mgrsLetters(zone, int(in.take<qint32>()), int(in.take<qint32>()));
    return 0;
}
