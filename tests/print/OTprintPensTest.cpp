// Pens, brushes, raster operations and gradient fills of the drawing engine.
#include "EngineTestSupport.h"

#include "metafile/EmfRecords.h"

#include <gtest/gtest.h>

using namespace ortolan::print;
using namespace ortolan::print::test;
using namespace ortolan::metafile::emf;
using ortolan::metafile::rgb;

namespace {

// LOGPEN of an EMR_CREATEPEN: style, width, colour.
struct Pen {
    quint32 style, width, colour;
};
std::vector<Pen> pensOf(const std::vector<Record> &records)
{
    std::vector<Pen> out;
    for (const Record &r : ofType(records, EMR_CREATEPEN))
        out.push_back({r.u32(4), r.u32(8), r.u32(16)});
    return out;
}

// LOGBRUSH of an EMR_CREATEBRUSHINDIRECT: style (0 solid, 2 hatched), colour, hatch.
struct Brush {
    quint32 style, colour, hatch;
};
std::vector<Brush> brushesOf(const std::vector<Record> &records)
{
    std::vector<Brush> out;
    for (const Record &r : ofType(records, EMR_CREATEBRUSHINDIRECT))
        out.push_back({r.u32(4), r.u32(8), r.u32(12)});
    return out;
}

std::vector<quint32> rop2Of(const std::vector<Record> &records)
{
    std::vector<quint32> out;
    for (const Record &r : ofType(records, EMR_SETROP2))
        out.push_back(r.u32(0));
    return out;
}

// Gradients are one-pixel lines side by side; played at half size every image
// pixel is covered by two of them, so their colours show unmixed with the paper.
QImage renderHalf(const QByteArray &bytes)
{
    return render(bytes, QSize(500, 500));
}

}  // namespace

TEST(OTprintPens, FillColourZeroFillsWithFillColor)
{
    const auto records = recordsOf(drawPage([](OTprint &e) {
        e.setFillColor(int(rgb(0, 128, 0)));
        e.F_Box(100, 100, 200, 200, 0);
        e.F_Box(100, 100, 200, 200, int(rgb(1, 2, 3)));
    }));
    const auto brushes = brushesOf(records);
    ASSERT_EQ(brushes.size(), 2u);
    EXPECT_EQ(brushes[0].colour, rgb(0, 128, 0));  // not black
    EXPECT_EQ(brushes[0].style, 0u);                // FillStyle 8: solid
    EXPECT_EQ(brushes[1].colour, rgb(1, 2, 3));
}

TEST(OTprintPens, FillStylesBelowSixHatch)
{
    const auto records = recordsOf(drawPage([](OTprint &e) {
        e.setFillStyle(3);
        e.F_Circle(500, 500, 100, 255);
        e.setFillStyle(6);
        e.F_Circle(500, 500, 100, 255);
        e.setFillStyle(-1);  // no such hatch: solid
        e.F_Circle(500, 500, 100, 255);
    }));
    const auto brushes = brushesOf(records);
    ASSERT_EQ(brushes.size(), 3u);
    EXPECT_EQ(brushes[0].style, 2u);
    EXPECT_EQ(brushes[0].hatch, 3u);
    EXPECT_EQ(brushes[1].style, 0u);
    EXPECT_EQ(brushes[2].style, 0u);
}

TEST(OTprintPens, PenOfZerosDrawsWithTheLineProperties)
{
    const auto records = recordsOf(drawPage([](OTprint &e) {
        e.setLineWidth(3);
        e.setLineStyle(2);
        e.setLineColor(255);
        e.L_Line(0, 0, 100, 100, 0, 0, 0);  // the line properties
        e.L_Line(0, 0, 100, 100, 0, 0, 1);  // a dashed hairline in black: asked for
        e.L_Line(0, 0, 100, 100, 5, 0, 0);  // black, width 5
        e.L_Line(0, 0, 100, 100, 0, 99, 0); // colour 99
    }));
    const auto pens = pensOf(records);
    ASSERT_EQ(pens.size(), 4u);
    EXPECT_EQ(pens[0].style, 2u);
    EXPECT_EQ(pens[0].width, 3u);
    EXPECT_EQ(pens[0].colour, 255u);
    EXPECT_EQ(pens[1].style, 1u);
    EXPECT_EQ(pens[1].width, 0u);
    EXPECT_EQ(pens[1].colour, 0u);
    EXPECT_EQ(pens[2].width, 5u);
    EXPECT_EQ(pens[2].colour, 0u);
    EXPECT_EQ(pens[3].colour, 99u);
}

TEST(OTprintPens, InsideMembersDrawWithANullPenAndOutlineMembersWithoutABrush)
{
    const auto fill = recordsOf(drawPage([](OTprint &e) { e.F_Pie(500, 500, 100, 0, 90, 255); }));
    ASSERT_EQ(pensOf(fill).size(), 1u);
    EXPECT_EQ(pensOf(fill)[0].style, 5u);
    EXPECT_EQ(brushesOf(fill).size(), 1u);

    const auto line = recordsOf(drawPage([](OTprint &e) { e.L_Pie(500, 500, 100, 0, 90, 2, 255, 0); }));
    EXPECT_EQ(brushesOf(line).size(), 0u);
    ASSERT_EQ(pensOf(line).size(), 1u);
    EXPECT_EQ(pensOf(line)[0].width, 2u);
}

TEST(OTprintPens, OutlinesOfRoundShapesUseTheMaskPenAndRestoreTheRasterOperation)
{
    struct Case {
        const char *name;
        std::function<void(OTprint &)> draw;
        bool mask;
    };
    const Case cases[] = {
        {"L_Circle", [](OTprint &e) { e.L_Circle(500, 500, 100, 1, 0, 0); }, true},
        {"L_Ellipse", [](OTprint &e) { e.L_Ellipse(100, 100, 300, 200, 0, 1, 0, 0); }, true},
        {"L_Arc", [](OTprint &e) { e.L_Arc(500, 500, 100, 0, 90, 1, 0, 0); }, true},
        {"L_Chord", [](OTprint &e) { e.L_Chord(500, 500, 100, 0, 90, 1, 0, 0); }, true},
        {"L_Pie", [](OTprint &e) { e.L_Pie(500, 500, 100, 0, 90, 1, 0, 0); }, true},
        {"L_RoundBox", [](OTprint &e) { e.L_RoundBox(100, 100, 300, 200, 20, 20, 1, 0, 0); }, true},
        {"LF_Circle", [](OTprint &e) { e.LF_Circle(500, 500, 100, 1, 0, 0, 255); }, false},
        {"L_Box", [](OTprint &e) { e.L_Box(100, 100, 300, 200, 1, 0, 0); }, false},
        {"L_Polygon", [](OTprint &e) { e.L_Polygon(500, 500, 5, 100, 0, 1, 0, 0); }, false},
        {"L_DecoBox", [](OTprint &e) {
             e.L_DecoBox(100, 100, 300, 200, QStringLiteral("1111"), QStringLiteral("1111"), 20, 20);
         }, false},
    };
    for (const Case &c : cases) {
        const auto records = recordsOf(drawPage(c.draw));
        const std::vector<quint32> expected = c.mask ? std::vector<quint32>{9, 13} : std::vector<quint32>{};
        EXPECT_EQ(rop2Of(records), expected) << c.name;
    }
}

TEST(OTprintPens, EveryObjectCreatedForAShapeIsDeletedAgain)
{
    const auto records = recordsOf(drawPage([](OTprint &e) {
        e.setGradientFill(true);
        e.setGradientType(2);
        e.L_Circle(500, 500, 100, 1, 0, 0);
        e.LF_Star(300, 300, 6, 100, 50, 10, 1, 0, 0, 255);
        e.L_DecoBox(100, 600, 400, 900, QStringLiteral("1111"), QStringLiteral("1234"), 40, 40);
        e.Table(100, 100, 50, 20, 3, 3, 3, 1, 0, 0);
        e.TextBox(QStringLiteral("words"), 600, 600, 900, 700, 0, 10, QString(), 0, 1, 1);
        e.L_Circle(2000000000, 0, 10, 1, 0, 0);  // overflow after nothing was created
    }));
    const size_t created = ofType(records, EMR_CREATEPEN).size() + ofType(records, EMR_CREATEBRUSHINDIRECT).size()
                           + ofType(records, EMR_EXTCREATEFONTINDIRECTW).size();
    EXPECT_GT(created, 100u);
    EXPECT_EQ(ofType(records, EMR_DELETEOBJECT).size(), created);
    EXPECT_EQ(ofType(records, EMR_SAVEDC).size(), ofType(records, EMR_RESTOREDC).size());
}

// --- rendered ---------------------------------------------------------------------------

TEST(OTprintPens, MaskPenOutlineCombinesWithWhatLiesBeneath)
{
    const QImage image = render(drawPage([](OTprint &e) {
        e.F_Box(0, 0, 500, 1000, int(rgb(255, 0, 0)));  // red left half
        e.L_Circle(500, 500, 300, 9, int(rgb(0, 255, 0)), 0);
    }));
    // Over red the green outline ANDs to black; over white it stays green; the
    // white brush inside leaves the red as it was.
    EXPECT_TRUE(pixelIs(image, 200, 500, Qt::black));
    EXPECT_TRUE(pixelIs(image, 800, 500, QColor(0, 255, 0)));
    EXPECT_TRUE(pixelIs(image, 400, 500, Qt::red));
    EXPECT_TRUE(pixelIs(image, 600, 500, Qt::white));
    saveOnFailure(image, QStringLiteral("print-mask-pen"));
}

TEST(OTprintPens, GradientTypesRunBetweenTheirColours)
{
    struct Case {
        const char *name;
        int type;
        QColor first, middle, last;  // left/top edge, middle, right/bottom edge
        bool vertical;               // samples run from top to bottom
    };
    const QColor red(255, 0, 0), blue(0, 0, 255), mix(128, 0, 128);
    const Case cases[] = {
        {"type 0 left to right", 0, red, mix, blue, false},
        {"type 1 top to bottom", 1, red, mix, blue, true},
        {"type 2 sides to middle", 2, red, blue, red, false},
        {"type 3 top and bottom to middle", 3, red, blue, red, true},
        {"type 4 middle to sides", 4, blue, red, blue, false},
        {"type 5 middle to top and bottom", 5, blue, red, blue, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = renderHalf(drawPage([&](OTprint &e) {
            e.setGradientFill(true);
            e.setGradientType(c.type);
            e.setBeginColor(int(rgb(255, 0, 0)));
            e.setEndColor(int(rgb(0, 0, 255)));
            e.L_Box(100, 100, 900, 900, 8, 0, 0);
        }));
        // Printer pixels halved: the box spans 50..450.
        auto at = [&](int along) { return c.vertical ? QPoint(150, along) : QPoint(along, 150); };
        EXPECT_TRUE(pixelIs(image, at(56).x(), at(56).y(), c.first));
        EXPECT_TRUE(pixelIs(image, at(250).x(), at(250).y(), c.middle));
        EXPECT_TRUE(pixelIs(image, at(444).x(), at(444).y(), c.last));
        EXPECT_TRUE(pixelIs(image, 25, 25, Qt::white));   // outside the box
        EXPECT_TRUE(pixelIs(image, 50, 250, Qt::black));  // the outline over it
        saveOnFailure(image, QStringLiteral("print-gradient-%1").arg(c.type));
    }
}

TEST(OTprintPens, CircleGradientIsClippedToTheCircle)
{
    const QImage image = renderHalf(drawPage([](OTprint &e) {
        e.setGradientFill(true);
        e.setGradientType(2);
        e.setBeginColor(int(rgb(255, 0, 0)));
        e.setEndColor(int(rgb(0, 0, 255)));
        e.L_Circle(500, 500, 100, 6, 0, 0);
    }));
    // Printer pixels halved: the circle's centre at (250, 250), radius 50.
    EXPECT_TRUE(pixelIs(image, 250, 250, QColor(0, 0, 255)));       // end colour in the middle
    EXPECT_TRUE(pixelIs(image, 205, 250, QColor(230, 0, 25), 30));   // the begin colour at the sides
    EXPECT_TRUE(pixelIs(image, 295, 250, QColor(230, 0, 25), 30));
    EXPECT_TRUE(pixelIs(image, 208, 208, Qt::white));                // inside the square, outside the circle
    EXPECT_TRUE(pixelIs(image, 292, 292, Qt::white));
    EXPECT_TRUE(pixelIs(image, 250, 200, Qt::black, 60));            // the outline
    saveOnFailure(image, QStringLiteral("print-circle-gradient"));
}

TEST(OTprintPens, GradientOfOutlineShapesFillsOnlyTheirInside)
{
    struct Case {
        const char *name;
        std::function<void(OTprint &)> draw;
        QPoint inside, outside;
    };
    const Case cases[] = {
        {"L_Ellipse", [](OTprint &e) { e.L_Ellipse(200, 300, 800, 700, 0, 1, 0, 0); }, QPoint(500, 500), QPoint(230, 330)},
        {"L_RoundBox", [](OTprint &e) { e.L_RoundBox(200, 200, 800, 800, 200, 200, 1, 0, 0); }, QPoint(500, 500),
         QPoint(210, 210)},
        {"L_Polygon", [](OTprint &e) { e.L_Polygon(500, 500, 3, 300, 0, 1, 0, 0); }, QPoint(500, 600), QPoint(300, 300)},
        {"L_Star", [](OTprint &e) { e.L_Star(500, 500, 5, 300, 100, 0, 1, 0, 0); }, QPoint(500, 500), QPoint(500, 700)},
        {"L_DecoBox", [](OTprint &e) {
             e.L_DecoBox(200, 200, 800, 800, QStringLiteral("1111"), QStringLiteral("4444"), 200, 200);
         }, QPoint(500, 500), QPoint(300, 300)},
        {"L_Grid unclipped", [](OTprint &e) { e.L_Grid(200, 200, 600, 600, 2, 2, 1, 0, 0); }, QPoint(450, 450),
         QPoint(150, 150)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = renderHalf(drawPage([&](OTprint &e) {
            e.setGradientFill(true);
            e.setGradientType(1);
            e.setBeginColor(int(rgb(0, 160, 0)));
            e.setEndColor(int(rgb(0, 160, 0)));
            c.draw(e);
        }));
        EXPECT_TRUE(pixelIs(image, c.inside.x() / 2, c.inside.y() / 2, QColor(0, 160, 0)));
        EXPECT_TRUE(pixelIs(image, c.outside.x() / 2, c.outside.y() / 2, Qt::white));
        saveOnFailure(image, QStringLiteral("print-gradient-inside"));
    }
}

TEST(OTprintPens, DegenerateAndOversizedGradientsDrawNoGradient)
{
    // A box without width has no steps: only the outline is drawn.
    OTprint engine(std::make_shared<TestPrinter>());
    ASSERT_TRUE(engine.OpenMeta(QString(), 0, 0, 10000, 10000));
    engine.setGradientFill(true);
    EXPECT_TRUE(engine.L_Box(100, 100, 100, 300, 1, 0, 0));
    // 40 000 steps exceed the 16-bit step counter: an overflow, and nothing drawn.
    const OTprintResult tooWide = engine.L_Box(0, 0, 40000, 100, 1, 0, 0);
    EXPECT_EQ(tooWide.code(), OTprintResult::Code::Overflow);
    // Gradient types outside 0..5 draw no gradient.
    engine.setGradientType(6);
    EXPECT_TRUE(engine.L_Box(100, 100, 300, 300, 1, 0, 0));
    ASSERT_TRUE(engine.CloseMeta());
    const auto records = recordsOf(engine.lastMetafile());
    EXPECT_EQ(pensOf(records).size(), 2u);  // the two outlines
    EXPECT_EQ(ofType(records, EMR_EXTSELECTCLIPRGN).size(), 0u);
}

TEST(OTprintPens, TheGradientClipOfAHugeShapeKeepsToThePage)
{
    // A narrow ellipse 20 km tall: 100 gradient steps, but a clip region band for
    // every pixel row would be hundreds of millions of rectangles.
    const auto records = recordsOf(drawPage([](OTprint &e) {
        e.setGradientFill(true);
        EXPECT_TRUE(e.L_Ellipse(0, -100000000, 100, 100000000, 0, 1, 0, 0));
    }));
    const auto clips = ofType(records, EMR_EXTSELECTCLIPRGN);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_GT(clips[0].u32(16), 0u);       // rectangles in the region
    EXPECT_LT(clips[0].u32(16), 40000u);  // no more than the page and its margin hold
}

TEST(OTprintPens, DecoratedCornerStylesShapeTheFilledBox)
{
    struct Case {
        const char *name;
        QString style;
        QColor at115, at160, at180;
    };
    const QColor red(255, 0, 0), white(255, 255, 255);
    const Case cases[] = {
        {"square", QStringLiteral("0000"), red, red, red},
        {"rounded", QStringLiteral("1111"), white, red, red},
        {"bevelled", QStringLiteral("2222"), white, red, red},
        {"scooped", QStringLiteral("3333"), white, white, red},
        {"notched", QStringLiteral("4444"), white, white, white},
        {"unknown style as square", QStringLiteral("x?9-"), red, red, red},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = render(drawPage([&](OTprint &e) {
            e.setFillColor(int(rgb(255, 0, 0)));
            e.F_DecoBox(100, 100, 900, 900, QStringLiteral("1111"), c.style, 100, 100);
        }));
        // Corner 1 (top-left), and corner 3 (bottom-right) mirrored.
        EXPECT_TRUE(pixelIs(image, 115, 115, c.at115));
        EXPECT_TRUE(pixelIs(image, 160, 160, c.at160));
        EXPECT_TRUE(pixelIs(image, 180, 180, c.at180));
        EXPECT_TRUE(pixelIs(image, 885, 885, c.at115));
        EXPECT_TRUE(pixelIs(image, 820, 820, c.at180));
        EXPECT_TRUE(pixelIs(image, 500, 500, red));
        EXPECT_TRUE(pixelIs(image, 105, 500, red));  // the middle of an edge
        saveOnFailure(image,
                      QStringLiteral("print-deco-") + QString::fromLatin1(c.name).replace(QLatin1Char(' '), QLatin1Char('-')));
    }
}
