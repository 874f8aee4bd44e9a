// Geometry of every drawing member, read back from the records it writes.
#include "EngineTestSupport.h"

#include "metafile/EmfRecords.h"

#include <gtest/gtest.h>

using namespace ortolan::print;
using namespace ortolan::print::test;
using namespace ortolan::metafile::emf;

namespace {

// The geometry of a shape record: corners of its box, then the corner size of a
// rounded rectangle or the radial points of an arc, or the points of a poly record.
QPolygon geometryOf(const Record &r)
{
    switch (r.type) {
    case EMR_ELLIPSE:
    case EMR_RECTANGLE:
        return QPolygon{r.rect().topLeft(), r.rect().bottomRight()};
    case EMR_ROUNDRECT:
        return QPolygon{r.rect().topLeft(), r.rect().bottomRight(), QPoint(r.i32(16), r.i32(20))};
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
        return QPolygon{r.rect().topLeft(), r.rect().bottomRight(), QPoint(r.i32(16), r.i32(20)),
                        QPoint(r.i32(24), r.i32(28))};
    default:
        return r.points();
    }
}

struct Shape {
    quint32 type;
    QPolygon geometry;
};

struct MemberCase {
    const char *name;
    std::function<OTprintResult(OTprint &)> draw;
    std::vector<Shape> shapes;
};

QPolygon box(int l, int t, int r, int b)
{
    return QPolygon{QPoint(l, t), QPoint(r, b)};
}

QPolygon outline(int l, int t, int r, int b)
{
    return QPolygon{QPoint(l, t), QPoint(r, t), QPoint(r, b), QPoint(l, b), QPoint(l, t)};
}

const QPolygon TurnedRect{QPoint(250, 50), QPoint(250, 250), QPoint(150, 250), QPoint(150, 50), QPoint(250, 50)};
const QPolygon Triangle{QPoint(587, 550), QPoint(413, 550), QPoint(500, 400), QPoint(587, 550)};
// Arc of the circle (500, 500, 100) from 30 to 120 degrees: first radial point at
// 120 degrees, second at 30.
const QPolygon ArcGeometry{QPoint(400, 400), QPoint(600, 600), QPoint(450, 587), QPoint(587, 550)};

std::vector<MemberCase> memberCases()
{
    const QPolygon deco = QPolygon{
        QPoint(140, 100), QPoint(140, 100), QPoint(460, 100), QPoint(460, 100), QPoint(480, 100),
        QPoint(500, 110), QPoint(500, 120), QPoint(500, 120), QPoint(500, 280), QPoint(500, 280),
        QPoint(500, 290), QPoint(480, 300), QPoint(460, 300), QPoint(460, 300), QPoint(140, 300),
        QPoint(140, 300), QPoint(120, 300), QPoint(100, 290), QPoint(100, 280), QPoint(100, 280),
        QPoint(100, 120), QPoint(100, 120), QPoint(100, 110), QPoint(120, 100), QPoint(140, 100)};
    const QString ones = QStringLiteral("1111");
    std::vector<Shape> grid;
    for (int y : {100, 200, 300})
        grid.push_back({EMR_POLYLINE16, QPolygon{QPoint(100, y), QPoint(400, y)}});
    for (int x : {100, 200, 300, 400})
        grid.push_back({EMR_POLYLINE16, QPolygon{QPoint(x, 100), QPoint(x, 300)}});

    return {
        {"L_Circle", [](OTprint &e) { return e.L_Circle(500, 400, 100, 1, 0, 0); }, {{EMR_ELLIPSE, box(400, 300, 600, 500)}}},
        {"F_Circle", [](OTprint &e) { return e.F_Circle(500, 400, 100, 255); }, {{EMR_ELLIPSE, box(400, 300, 600, 500)}}},
        {"LF_Circle", [](OTprint &e) { return e.LF_Circle(500, 400, 100, 1, 0, 0, 255); },
         {{EMR_ELLIPSE, box(400, 300, 600, 500)}}},
        {"L_Ellipse inflated", [](OTprint &e) { return e.L_Ellipse(100, 200, 300, 260, 10, 1, 0, 0); },
         {{EMR_ELLIPSE, box(90, 190, 310, 270)}}},
        {"F_Ellipse deflated", [](OTprint &e) { return e.F_Ellipse(100, 200, 300, 260, -10, 255); },
         {{EMR_ELLIPSE, box(110, 210, 290, 250)}}},
        {"LF_Ellipse", [](OTprint &e) { return e.LF_Ellipse(100, 200, 300, 260, 0, 1, 0, 0, 255); },
         {{EMR_ELLIPSE, box(100, 200, 300, 260)}}},
        {"L_Arc", [](OTprint &e) { return e.L_Arc(500, 500, 100, 30, 120, 1, 0, 0); }, {{EMR_ARC, ArcGeometry}}},
        {"L_Chord", [](OTprint &e) { return e.L_Chord(500, 500, 100, 30, 120, 1, 0, 0); }, {{EMR_CHORD, ArcGeometry}}},
        {"LF_Chord", [](OTprint &e) { return e.LF_Chord(500, 500, 100, 30, 120, 1, 0, 0, 255); },
         {{EMR_CHORD, ArcGeometry}}},
        {"F_Chord", [](OTprint &e) { return e.F_Chord(500, 500, 100, 30, 120, 255); }, {{EMR_CHORD, ArcGeometry}}},
        {"L_Pie", [](OTprint &e) { return e.L_Pie(500, 500, 100, 30, 120, 1, 0, 0); }, {{EMR_PIE, ArcGeometry}}},
        {"LF_Pie", [](OTprint &e) { return e.LF_Pie(500, 500, 100, 30, 120, 1, 0, 0, 255); }, {{EMR_PIE, ArcGeometry}}},
        {"F_Pie", [](OTprint &e) { return e.F_Pie(500, 500, 100, 30, 120, 255); }, {{EMR_PIE, ArcGeometry}}},
        {"LF_Box", [](OTprint &e) { return e.LF_Box(100, 100, 300, 200, 1, 0, 0, 255); },
         {{EMR_RECTANGLE, box(100, 100, 300, 200)}}},
        {"F_Box", [](OTprint &e) { return e.F_Box(100, 100, 300, 200, 255); }, {{EMR_RECTANGLE, box(100, 100, 300, 200)}}},
        {"L_Box", [](OTprint &e) { return e.L_Box(100, 100, 300, 200, 1, 0, 0); },
         {{EMR_POLYLINE16, outline(100, 100, 300, 200)}}},
        {"L_RoundBox", [](OTprint &e) { return e.L_RoundBox(100, 100, 300, 200, 40, 20, 1, 0, 0); },
         {{EMR_ROUNDRECT, QPolygon{QPoint(100, 100), QPoint(300, 200), QPoint(40, 20)}}}},
        {"F_RoundBox", [](OTprint &e) { return e.F_RoundBox(100, 100, 300, 200, 40, 20, 255); },
         {{EMR_ROUNDRECT, QPolygon{QPoint(100, 100), QPoint(300, 200), QPoint(40, 20)}}}},
        {"LF_RoundBox", [](OTprint &e) { return e.LF_RoundBox(100, 100, 300, 200, 40, 20, 1, 0, 0, 255); },
         {{EMR_ROUNDRECT, QPolygon{QPoint(100, 100), QPoint(300, 200), QPoint(40, 20)}}}},
        {"F_Rectangle turned", [](OTprint &e) { return e.F_Rectangle(100, 100, 300, 200, 90, 255); },
         {{EMR_POLYGON16, TurnedRect}}},
        {"LF_Rectangle turned", [](OTprint &e) { return e.LF_Rectangle(100, 100, 300, 200, 90, 1, 0, 0, 255); },
         {{EMR_POLYGON16, TurnedRect}}},
        {"L_Rectangle turned", [](OTprint &e) { return e.L_Rectangle(100, 100, 300, 200, 90, 1, 0, 0); },
         {{EMR_POLYLINE16, TurnedRect}}},
        {"L_DecoBox", [ones](OTprint &e) { return e.L_DecoBox(100, 100, 500, 300, ones, ones, 40, 20); },
         {{EMR_POLYBEZIER16, deco}}},
        {"LF_DecoBox", [ones](OTprint &e) { return e.LF_DecoBox(100, 100, 500, 300, ones, ones, 40, 20); },
         {{EMR_POLYBEZIER16, deco}}},
        {"F_DecoBox", [ones](OTprint &e) { return e.F_DecoBox(100, 100, 500, 300, ones, ones, 40, 20); },
         {{EMR_POLYBEZIER16, deco}}},
        {"L_DecoBox with a three-character mask",
         [ones](OTprint &e) { return e.L_DecoBox(100, 100, 500, 300, QStringLiteral("111"), ones, 40, 20); },
         {}},
        {"L_Polygon triangle", [](OTprint &e) { return e.L_Polygon(500, 500, 3, 100, 0, 1, 0, 0); },
         {{EMR_POLYLINE16, Triangle}}},
        {"F_Polygon triangle", [](OTprint &e) { return e.F_Polygon(500, 500, 3, 100, 0, 255); },
         {{EMR_POLYGON16, Triangle}}},
        {"LF_Polygon triangle", [](OTprint &e) { return e.LF_Polygon(500, 500, 3, 100, 0, 1, 0, 0, 255); },
         {{EMR_POLYGON16, Triangle}}},
        {"L_Polygon of 2 corners", [](OTprint &e) { return e.L_Polygon(500, 500, 2, 100, 0, 1, 0, 0); }, {}},
        {"LF_Polygon of 31 corners", [](OTprint &e) { return e.LF_Polygon(500, 500, 31, 100, 0, 1, 0, 0, 9); }, {}},
        {"L_Star square", [](OTprint &e) { return e.L_Star(500, 500, 4, 100, 50, 0, 1, 0, 0); },
         {{EMR_POLYLINE16, QPolygon{QPoint(571, 571), QPoint(500, 550), QPoint(429, 571), QPoint(450, 500),
                                    QPoint(429, 429), QPoint(500, 450), QPoint(571, 429), QPoint(550, 500),
                                    QPoint(571, 571)}}}},
        {"LF_Star square", [](OTprint &e) { return e.LF_Star(500, 500, 4, 100, 50, 0, 1, 0, 0, 255); },
         {{EMR_POLYGON16, QPolygon{QPoint(571, 571), QPoint(500, 550), QPoint(429, 571), QPoint(450, 500),
                                   QPoint(429, 429), QPoint(500, 450), QPoint(571, 429), QPoint(550, 500),
                                   QPoint(571, 571)}}}},
        {"F_Star square", [](OTprint &e) { return e.F_Star(500, 500, 4, 100, 50, 0, 255); },
         {{EMR_POLYGON16, QPolygon{QPoint(571, 571), QPoint(500, 550), QPoint(429, 571), QPoint(450, 500),
                                   QPoint(429, 429), QPoint(500, 450), QPoint(571, 429), QPoint(550, 500),
                                   QPoint(571, 571)}}}},
        {"F_Star of 21 points", [](OTprint &e) { return e.F_Star(500, 500, 21, 100, 50, 0, 255); }, {}},
        {"L_Line", [](OTprint &e) { return e.L_Line(100, 200, 300, 400, 1, 0, 0); },
         {{EMR_POLYLINE16, QPolygon{QPoint(100, 200), QPoint(300, 400)}}}},
        {"Vector down", [](OTprint &e) { return e.Vector(100, 100, 200, 90, 1, 0, 0); },
         {{EMR_POLYLINE16, QPolygon{QPoint(100, 100), QPoint(100, 300)}}}},
        {"Vector at 45 degrees", [](OTprint &e) { return e.Vector(100, 100, 200, 45, 1, 0, 0); },
         {{EMR_POLYLINE16, QPolygon{QPoint(100, 100), QPoint(241, 241)}}}},
        {"L_Grid", [](OTprint &e) { return e.L_Grid(100, 100, 300, 200, 3, 2, 1, 0, 0); }, grid},
        {"L_Grid of 0 columns draws one",
         [](OTprint &e) { return e.L_Grid(100, 100, 300, 200, 0, 1, 1, 0, 0); },
         {{EMR_POLYLINE16, QPolygon{QPoint(100, 100), QPoint(400, 100)}},
          {EMR_POLYLINE16, QPolygon{QPoint(100, 300), QPoint(400, 300)}},
          {EMR_POLYLINE16, QPolygon{QPoint(100, 100), QPoint(100, 300)}},
          {EMR_POLYLINE16, QPolygon{QPoint(400, 100), QPoint(400, 300)}}}},
        {"L_Grid cells are whole pixels",
         [](OTprint &e) { return e.L_Grid(0, 0, 100, 10, 3, 1, 1, 0, 0); },
         {{EMR_POLYLINE16, QPolygon{QPoint(0, 0), QPoint(99, 0)}},
          {EMR_POLYLINE16, QPolygon{QPoint(0, 10), QPoint(99, 10)}},
          {EMR_POLYLINE16, QPolygon{QPoint(0, 0), QPoint(0, 10)}},
          {EMR_POLYLINE16, QPolygon{QPoint(33, 0), QPoint(33, 10)}},
          {EMR_POLYLINE16, QPolygon{QPoint(66, 0), QPoint(66, 10)}},
          {EMR_POLYLINE16, QPolygon{QPoint(99, 0), QPoint(99, 10)}}}},
    };
}

}  // namespace

TEST(OTprintMembers, EveryMemberDrawsItsGeometry)
{
    for (const MemberCase &c : memberCases()) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = drawPage([&](OTprint &e) { EXPECT_TRUE(c.draw(e)); });
        const std::vector<Record> shapes = shapesOf(recordsOf(bytes));
        ASSERT_EQ(shapes.size(), c.shapes.size());
        for (size_t i = 0; i < shapes.size(); ++i) {
            EXPECT_EQ(shapes[i].type, c.shapes[i].type) << "shape " << i;
            EXPECT_EQ(geometryOf(shapes[i]), c.shapes[i].geometry) << "shape " << i;
        }
    }
}

TEST(OTprintMembers, CoordinatesAreConvertedToPrinterPixelsHalvesToEven)
{
    // At 600 dpi a tenth of a millimetre is 600 / 254 pixels: 127 -> 300,
    // 100 -> 236.22 -> 236, 1 -> 2.36 -> 2, 254 -> 600.
    const QByteArray bytes = drawPage([](OTprint &e) { e.L_Line(127, 100, 1, 254, 1, 0, 0); }, 600);
    const std::vector<Record> shapes = shapesOf(recordsOf(bytes));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].points(), QPolygon({QPoint(300, 236), QPoint(2, 600)}));

    // A horizontal resolution different from the vertical one: x with the first,
    // y and the radius with the second.
    OTprint engine(std::make_shared<TestPrinter>(508, 254));
    ASSERT_TRUE(engine.OpenMeta(QString(), 0, 0, 10000, 10000));
    engine.F_Circle(100, 100, 50, 0);
    engine.CloseMeta();
    const std::vector<Record> circle = shapesOf(recordsOf(engine.lastMetafile()));
    ASSERT_EQ(circle.size(), 1u);
    EXPECT_EQ(circle[0].rect(), QRect(QPoint(150, 50), QPoint(250, 150)));

    // Half pixels round to the even neighbour: at 127 dpi 1 -> 0.5 -> 0,
    // 3 -> 1.5 -> 2, 5 -> 2.5 -> 2, 7 -> 3.5 -> 4.
    const QByteArray half = drawPage([](OTprint &e) { e.L_Line(1, 3, 5, 7, 1, 0, 0); }, 127);
    EXPECT_EQ(shapesOf(recordsOf(half))[0].points(), QPolygon({QPoint(0, 2), QPoint(2, 4)}));
}
