// Text, tables, pictures and the metafile life cycle of the drawing engine.
#include "EngineTestSupport.h"

#include "app/Settings.h"
#include "metafile/EmfRecords.h"
#include "metafile/WmfBuilder.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan;
using namespace ortolan::print;
using namespace ortolan::print::test;
using namespace ortolan::metafile::emf;
using ortolan::metafile::rgb;

namespace {

// One line of text as written: reference point, text and total advance.
struct TextRun {
    QPoint at;
    QString text;
    int width = 0;
};

std::vector<TextRun> textRuns(const std::vector<Record> &records)
{
    std::vector<TextRun> out;
    for (const Record &r : ofType(records, EMR_EXTTEXTOUTW)) {
        TextRun run;
        run.at = QPoint(r.i32(28), r.i32(32));
        const quint32 n = r.u32(36);
        ortolan::metafile::ByteReader text(r.params);
        text.skip(r.u32(40) - 8);
        run.text = text.utf16(n);
        ortolan::metafile::ByteReader dx(r.params);
        dx.skip(r.u32(64) - 8);
        for (quint32 i = 0; i < n; ++i)
            run.width += dx.i32();
        out.push_back(run);
    }
    return out;
}

// LOGFONTW of an EMR_EXTCREATEFONTINDIRECTW.
struct Font {
    qint32 height, escapement, orientation, weight;
    int underline, charSet, outPrecision;
    QString face;
};

Font fontOf(const Record &r)
{
    Font f{r.i32(4), r.i32(12), r.i32(16), r.i32(20), 0, 0, 0, QString()};
    f.underline = uchar(r.params.at(25));
    f.charSet = uchar(r.params.at(27));
    f.outPrecision = uchar(r.params.at(28));
    ortolan::metafile::ByteReader name(r.params);
    name.skip(32);
    f.face = name.utf16(32);
    f.face.truncate(f.face.indexOf(QChar(0)) < 0 ? f.face.size() : f.face.indexOf(QChar(0)));
    return f;
}

std::vector<QRect> rectanglesOf(const std::vector<Record> &records)
{
    std::vector<QRect> out;
    for (const Record &r : ofType(records, EMR_RECTANGLE))
        out.push_back(r.rect());
    return out;
}

QString writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// A red 40 x 20 mm enhanced metafile: frame 4000 x 2000 hundredths of a millimetre.
QByteArray redEmf()
{
    OTprint engine(std::make_shared<TestPrinter>());
    engine.OpenMeta(QString(), 0, 0, 4000, 2000);
    engine.F_Box(0, 0, 400, 200, int(rgb(255, 0, 0)));
    engine.CloseMeta();
    return engine.lastMetafile();
}

// A temporary folder whose path holds no underscore (script fields are split at them).
QTemporaryDir scratch()
{
    return QTemporaryDir(QDir::tempPath() + QStringLiteral("/ortolanprint-XXXXXX"));
}

}  // namespace

// --- text ------------------------------------------------------------------------------------

TEST(OTprintText, SetTextCreatesItsFontForTheCallOnly)
{
    const auto records = recordsOf(drawPage([](OTprint &e) {
        e.SetText(QStringLiteral("Atlas"), 100, 200, 900, 10, QStringLiteral("Liberation Sans"), 1);
        e.SetText(QStringLiteral("Default"), 0, 0, 0, 0, QString(), 0);
    }, 600));
    const auto fonts = ofType(records, EMR_EXTCREATEFONTINDIRECTW);
    ASSERT_EQ(fonts.size(), 2u);
    const Font f = fontOf(fonts[0]);
    EXPECT_EQ(f.height, -83);  // 600 x 10 / 72 = 83.3 printer pixels
    EXPECT_EQ(f.escapement, 900);
    EXPECT_EQ(f.orientation, 900);
    EXPECT_EQ(f.weight, 400);
    EXPECT_EQ(f.underline, 1);
    EXPECT_EQ(f.charSet, 1);
    EXPECT_EQ(f.outPrecision, 7);
    EXPECT_EQ(f.face, QStringLiteral("Liberation Sans"));
    // Size 0 and no face name: the printer's font (12 points, "DejaVu Sans").
    const Font d = fontOf(fonts[1]);
    EXPECT_EQ(d.height, -100);
    EXPECT_EQ(d.face, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(d.underline, 0);

    const auto runs = textRuns(records);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].at, QPoint(236, 472));
    EXPECT_EQ(runs[0].text, QStringLiteral("Atlas"));
    EXPECT_EQ(ofType(records, EMR_DELETEOBJECT).size(), 2u);
}

TEST(OTprintText, TextBoxAlignsEveryWrappedLine)
{
    struct Case {
        const char *name;
        int format;
        std::function<void(const TextRun &)> check;
    };
    const int left = 100, right = 600;
    const Case cases[] = {
        {"left", 0, [&](const TextRun &r) { EXPECT_EQ(r.at.x(), left); }},
        {"centred", 1,
         [&](const TextRun &r) { EXPECT_NEAR(r.at.x() - left, right - (r.at.x() + r.width), 1) << r.text.toStdString(); }},
        {"right", 2, [&](const TextRun &r) { EXPECT_NEAR(r.at.x() + r.width, right, 1); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = recordsOf(drawPage([&](OTprint &e) {
            e.TextBox(QStringLiteral("the fauna of Italy in squares of ten kilometres on a printed page"), left, 100,
                      right, 400, 0, 12, QStringLiteral("DejaVu Sans"), 0, c.format, 0);
        }));
        const auto runs = textRuns(records);
        ASSERT_GE(runs.size(), 2u);
        int top = 0;
        for (const TextRun &r : runs) {
            EXPECT_LE(r.width, right - left);
            EXPECT_GT(r.at.y(), top - 1);  // lines go downwards
            top = r.at.y();
            c.check(r);
        }
        EXPECT_EQ(shapesOf(records).size(), 0u);  // frame 0: no frame
    }
}

TEST(OTprintText, TextBoxFramesUseTheCurrentPenAndBrush)
{
    const auto outlined = recordsOf(drawPage([](OTprint &e) {
        e.TextBox(QStringLiteral("framed"), 100, 100, 600, 400, 0, 12, QString(), 0, 0, 1);
    }));
    ASSERT_EQ(shapesOf(outlined).size(), 1u);
    EXPECT_EQ(shapesOf(outlined)[0].points(),
              QPolygon({QPoint(100, 100), QPoint(600, 100), QPoint(600, 400), QPoint(100, 400), QPoint(100, 100)}));

    const QByteArray boxed = drawPage([](OTprint &e) {
        e.F_Box(0, 0, 1000, 1000, int(rgb(255, 0, 0)));
        e.TextBox(QStringLiteral("boxed"), 100, 100, 600, 400, 0, 12, QString(), 0, 0, 2);
    });
    const auto records = recordsOf(boxed);
    EXPECT_EQ(rectanglesOf(records).back(), QRect(QPoint(100, 100), QPoint(600, 400)));
    // The metafile's own pen and brush: black outline, white inside.
    const QImage image = render(boxed);
    EXPECT_TRUE(pixelIs(image, 500, 350, Qt::white));
    EXPECT_TRUE(pixelIs(image, 50, 50, Qt::red));
    EXPECT_LT(image.pixelColor(350, 400).lightness(), 100);  // a one-pixel outline over the edge
    saveOnFailure(image, QStringLiteral("print-textbox-frame"));
}

TEST(OTprintText, TextBoxGradientAndFormatLimit)
{
    auto gradientPens = [](int frame) {
        const auto records = recordsOf(drawPage([&](OTprint &e) {
            e.setGradientFill(true);
            e.TextBox(QStringLiteral("x"), 100, 100, 200, 150, 0, 12, QString(), 0, 0, frame);
        }));
        return ofType(records, EMR_CREATEPEN).size();
    };
    EXPECT_EQ(gradientPens(1), 101u);  // one pen per step, left to right
    EXPECT_EQ(gradientPens(2), 0u);    // the box's own brush covers it: no gradient

    OTprint engine(std::make_shared<TestPrinter>());
    engine.OpenMeta(QString(), 0, 0, 10000, 10000);
    EXPECT_TRUE(engine.TextBox(QStringLiteral("x"), 0, 0, 100, 100, 0, 12, QString(), 0, 32239, 0));
    EXPECT_EQ(engine.TextBox(QStringLiteral("x"), 0, 0, 100, 100, 0, 12, QString(), 0, 32240, 0).code(),
              OTprintResult::Code::Overflow);
    EXPECT_EQ(engine.TextBox(QStringLiteral("x"), 0, 0, 100, 100, 0, 12, QString(), 0, 0, 40000).code(),
              OTprintResult::Code::Overflow);
    engine.CloseMeta();
    EXPECT_EQ(textRuns(recordsOf(engine.lastMetafile())).size(), 1u);
}

// --- tables ------------------------------------------------------------------------------------

TEST(OTprintTable, HeadersGreyTheFirstRowColumnOrBoth)
{
    const QRect table(QPoint(100, 100), QPoint(300, 160));
    const QRect row(QPoint(100, 100), QPoint(300, 120));
    const QRect column(QPoint(100, 100), QPoint(150, 160));
    struct Case {
        const char *name;
        int header;
        std::vector<QRect> rectangles;
    };
    const Case cases[] = {
        {"no header", 0, {table}},
        {"first row", 1, {table, row}},
        {"first column", 2, {table, column}},
        {"row and column", 3, {table, row, column}},
        {"unknown header", 4, {table}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto records = recordsOf(drawPage([&](OTprint &e) { e.Table(100, 100, 50, 20, 4, 3, c.header, 1, 0, 0); }));
        EXPECT_EQ(rectanglesOf(records), c.rectangles);
        const auto brushes = ofType(records, EMR_CREATEBRUSHINDIRECT);
        ASSERT_EQ(brushes.size(), c.rectangles.size() == 1 ? 1u : 2u);
        EXPECT_EQ(brushes[0].u32(8), rgb(255, 255, 255));  // FillColor
        if (brushes.size() > 1) {
            EXPECT_EQ(brushes[1].u32(8), rgb(220, 220, 220));
        }
        // Four row lines, then five column lines.
        std::vector<QPolygon> lines;
        for (const Record &r : ofType(records, EMR_POLYLINE16))
            lines.push_back(r.points());
        ASSERT_EQ(lines.size(), 9u);
        EXPECT_EQ(lines[0], QPolygon({QPoint(100, 100), QPoint(300, 100)}));
        EXPECT_EQ(lines[3], QPolygon({QPoint(100, 160), QPoint(300, 160)}));
        EXPECT_EQ(lines[4], QPolygon({QPoint(100, 100), QPoint(100, 160)}));
        EXPECT_EQ(lines[8], QPolygon({QPoint(300, 100), QPoint(300, 160)}));
    }
}

TEST(OTprintTable, HeaderCellsAreGreyUnderTheGrid)
{
    const QImage image = render(drawPage([](OTprint &e) {
        e.setFillColor(int(rgb(255, 255, 0)));
        e.Table(100, 100, 100, 50, 4, 4, 3, 1, 0, 0);
    }));
    const QColor grey(220, 220, 220), yellow(255, 255, 0);
    EXPECT_TRUE(pixelIs(image, 350, 125, grey, 8));  // first row
    EXPECT_TRUE(pixelIs(image, 150, 225, grey, 8));  // first column
    EXPECT_TRUE(pixelIs(image, 350, 225, yellow, 8));
    EXPECT_TRUE(pixelIs(image, 450, 275, yellow, 8));
    EXPECT_TRUE(pixelIs(image, 550, 225, Qt::white, 8));  // beyond the table
    saveOnFailure(image, QStringLiteral("print-table"));
}

TEST(OTprintTable, GradientReplacesTheFilledRectangleAndHugeTablesAreRefused)
{
    const auto records = recordsOf(drawPage([](OTprint &e) {
        e.setGradientFill(true);
        e.Table(100, 100, 50, 20, 4, 3, 0, 1, 0, 0);
    }));
    EXPECT_EQ(rectanglesOf(records).size(), 0u);
    EXPECT_EQ(ofType(records, EMR_CREATEPEN).size(), 1u + 201u);  // the table's pen and the gradient's steps

    OTprint engine(std::make_shared<TestPrinter>());
    engine.OpenMeta(QString(), 0, 0, 10000, 10000);
    EXPECT_EQ(engine.Table(0, 0, 10, 10, 2000000000, 1, 0, 1, 0, 0).code(), OTprintResult::Code::Overflow);
    EXPECT_EQ(engine.Table(0, 0, 100000000, 10, 30, 1, 0, 1, 0, 0).code(), OTprintResult::Code::Overflow);
    EXPECT_EQ(engine.L_Grid(0, 0, 100, 100, 100000, 1, 1, 0, 0).code(), OTprintResult::Code::Overflow);
    EXPECT_TRUE(engine.CloseMeta());
}

// --- pictures ----------------------------------------------------------------------------------

TEST(OTprintPictures, BitmapFillsItsNaturalSizeDividedByTheScale)
{
    QTemporaryDir dir = scratch();
    QImage red(50, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.setDotsPerMeterX(10000);  // 254 dpi: 50 pixels are 5 mm
    red.setDotsPerMeterY(10000);
    const QString file = dir.filePath(QStringLiteral("red.png"));
    ASSERT_TRUE(red.save(file));

    const QByteArray bytes = drawPage([&](OTprint &e) {
        EXPECT_TRUE(e.Bitmap(file, 100, 200, 1));
        EXPECT_TRUE(e.Bitmap(file, 500, 200, 2));
    });
    const auto bitmaps = ofType(recordsOf(bytes), EMR_STRETCHDIBITS);
    ASSERT_EQ(bitmaps.size(), 2u);
    EXPECT_EQ(QRect(bitmaps[0].i32(16), bitmaps[0].i32(20), bitmaps[0].i32(64), bitmaps[0].i32(68)),
              QRect(100, 200, 50, 20));
    EXPECT_EQ(QRect(bitmaps[1].i32(16), bitmaps[1].i32(20), bitmaps[1].i32(64), bitmaps[1].i32(68)),
              QRect(500, 200, 25, 10));
    const QImage image = render(bytes);
    EXPECT_TRUE(pixelIs(image, 140, 215, Qt::red));
    EXPECT_TRUE(pixelIs(image, 520, 205, Qt::red));
    EXPECT_TRUE(pixelIs(image, 530, 215, Qt::white));

    OTprint engine(std::make_shared<TestPrinter>());
    engine.OpenMeta(QString(), 0, 0, 10000, 10000);
    EXPECT_EQ(engine.Bitmap(file, 0, 0, 0).code(), OTprintResult::Code::DivisionByZero);
    EXPECT_EQ(engine.Bitmap(dir.filePath(QStringLiteral("missing.png")), 0, 0, 1).code(),
              OTprintResult::Code::PictureFailed);
    EXPECT_TRUE(engine.CloseMeta());
}

TEST(OTprintPictures, EmfAtScaleTwoPlaysAtHalfItsNaturalSize)
{
    QTemporaryDir dir = scratch();
    const QString file = writeFile(dir.filePath(QStringLiteral("red.emf")), redEmf());
    const QImage image = render(drawPage([&](OTprint &e) {
        EXPECT_TRUE(e.Emf(file, 100, 100, 2));  // 40 x 20 mm at half size: 200 x 100 pixels
        EXPECT_TRUE(e.Emf(file, 100, 500, 1));
    }));
    EXPECT_TRUE(pixelIs(image, 110, 110, Qt::red));
    EXPECT_TRUE(pixelIs(image, 290, 190, Qt::red));
    EXPECT_TRUE(pixelIs(image, 320, 150, Qt::white));
    EXPECT_TRUE(pixelIs(image, 150, 220, Qt::white));
    EXPECT_TRUE(pixelIs(image, 490, 690, Qt::red));
    EXPECT_TRUE(pixelIs(image, 520, 650, Qt::white));
    saveOnFailure(image, QStringLiteral("print-emf-scale"));
}

TEST(OTprintPictures, WmfPlaysAtItsNaturalSize)
{
    using ortolan::metafile::test::WmfBuilder;
    QTemporaryDir dir = scratch();
    // One inch by half an inch, filled red.
    WmfBuilder wmf(true, QRect(QPoint(0, 0), QPoint(1000, 500)), 1000);
    wmf.brush(0, rgb(255, 0, 0)).select(0).rectangle(0, 0, 1000, 500);
    const QString file = writeFile(dir.filePath(QStringLiteral("red.wmf")), wmf.bytes());
    const QImage image = render(drawPage([&](OTprint &e) { EXPECT_TRUE(e.Wmf(file, 100, 100, 1)); }));
    // 25.4 x 12.7 mm: 254 x 127 pixels from (100, 100).
    EXPECT_TRUE(pixelIs(image, 340, 215, Qt::red));
    EXPECT_TRUE(pixelIs(image, 370, 150, Qt::white));
    EXPECT_TRUE(pixelIs(image, 200, 240, Qt::white));
    saveOnFailure(image, QStringLiteral("print-wmf"));
}

TEST(OTprintPictures, PicturesThatDoNotLoadAreReported)
{
    QTemporaryDir dir = scratch();
    QImage png(4, 4, QImage::Format_RGB32);
    png.fill(Qt::blue);
    const QString bitmap = dir.filePath(QStringLiteral("blue.png"));
    png.save(bitmap);
    const QString garbage = writeFile(dir.filePath(QStringLiteral("garbage.emf")), QByteArray(300, 'x'));

    OTprint engine(std::make_shared<TestPrinter>());
    engine.OpenMeta(QString(), 0, 0, 10000, 10000);
    EXPECT_TRUE(engine.Emf(bitmap, 0, 0, 1));  // a bitmap has nothing to play
    EXPECT_EQ(engine.Emf(garbage, 0, 0, 1).code(), OTprintResult::Code::PictureFailed);
    EXPECT_EQ(engine.Wmf(dir.filePath(QStringLiteral("none.wmf")), 0, 0, 1).code(), OTprintResult::Code::PictureFailed);
    EXPECT_EQ(engine.Wmf(garbage, 0, 0, 0).code(), OTprintResult::Code::DivisionByZero);
    EXPECT_TRUE(engine.CloseMeta());
    EXPECT_EQ(shapesOf(recordsOf(engine.lastMetafile())).size(), 0u);
}

// --- the metafile ------------------------------------------------------------------------------

TEST(OTprintMetafile, OpenMetaTurnsThePrinterToTheFrame)
{
    auto printer = std::make_shared<TestPrinter>();
    OTprint engine(printer);
    ASSERT_TRUE(engine.OpenMeta(QString(), 0, 0, 28000, 20000));
    EXPECT_EQ(printer->orientation(), QPageLayout::Landscape);
    ASSERT_TRUE(engine.OpenMeta(QString(), 0, 0, 20000, 20000));  // square: unchanged
    EXPECT_EQ(printer->orientation(), QPageLayout::Landscape);
    ASSERT_TRUE(engine.OpenMeta(QString(), 0, 0, 20000, 28000));
    EXPECT_EQ(printer->orientation(), QPageLayout::Portrait);
    EXPECT_EQ(engine.frame(), QRect(QPoint(0, 0), QPoint(20000, 28000)));
    EXPECT_EQ(engine.frameSize(), QSize(20000, 28000));
    ASSERT_TRUE(engine.CloseMeta());
    metafile::EmfDocument doc;
    ASSERT_TRUE(metafile::EmfReader::parse(engine.lastMetafile(), &doc));
    EXPECT_EQ(doc.header.frame, QRect(QPoint(0, 0), QPoint(20000, 28000)));
    EXPECT_EQ(doc.header.deviceMillimeters, QSize(100, 150));  // the printer's portrait paper
}

TEST(OTprintMetafile, AZeroEdgeTakesThePrintableArea)
{
    auto printer = std::make_shared<TestPrinter>();
    OTprint engine(printer);
    ASSERT_TRUE(engine.OpenMeta(QString(), 500, 500, 0, 20000));
    EXPECT_EQ(engine.frame(), QRect(QPoint(0, 0), QPoint(9000, 14000)));  // 90 x 140 mm
    printer->setOrientation(QPageLayout::Landscape);
    ASSERT_TRUE(engine.OpenMeta(QString(), 0, 0, 20000, 0));
    EXPECT_EQ(engine.frame(), QRect(QPoint(0, 0), QPoint(14000, 9000)));
    EXPECT_TRUE(engine.CloseMeta());
}

TEST(OTprintMetafile, FilesAreWrittenOnCloseReopenAndDestruction)
{
    QTemporaryDir dir = scratch();
    const QString first = dir.filePath(QStringLiteral("first.emf"));
    const QString second = dir.filePath(QStringLiteral("second.emf"));
    const QString third = dir.filePath(QStringLiteral("third.emf"));
    {
        OTprint engine(std::make_shared<TestPrinter>());
        ASSERT_TRUE(engine.OpenMeta(first, 0, 0, 10000, 10000));
        engine.F_Box(0, 0, 100, 100, 255);
        EXPECT_FALSE(QFile::exists(first));  // written when finished
        // Opening again finishes the metafile still open.
        ASSERT_TRUE(engine.OpenMeta(second, 0, 0, 10000, 10000));
        EXPECT_TRUE(QFile::exists(first));
        EXPECT_EQ(engine.metafileName(), second);
        ASSERT_TRUE(engine.CloseMeta());
        EXPECT_FALSE(engine.isOpen());
        QFile written(second);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), engine.lastMetafile());
        EXPECT_TRUE(engine.CloseMeta());  // nothing open: nothing to do
        ASSERT_TRUE(engine.OpenMeta(third, 0, 0, 10000, 10000));
    }
    EXPECT_TRUE(QFile::exists(third));
    EXPECT_EQ(shapesOf(recordsOf([&] {
                  QFile f(first);
                  f.open(QIODevice::ReadOnly);
                  return f.readAll();
              }())).size(),
              1u);
}

TEST(OTprintMetafile, CreationAndWriteFailuresAreReportedWithTheCatalogueMessages)
{
    QTemporaryDir dir = scratch();
    std::vector<OTprint::Message> shown;
    OTprint engine(std::make_shared<TestPrinter>());
    engine.setMessageHandler([&](const OTprint::Message &m) { shown.push_back(m); });

    const OTprintResult created = engine.OpenMeta(dir.filePath(QStringLiteral("no/such/folder/x.emf")), 0, 0, 100, 100);
    EXPECT_EQ(created.code(), OTprintResult::Code::MetafileCreate);
    EXPECT_EQ(created.message(), settings().messages.MsgMetafileCreate);
    EXPECT_FALSE(engine.isOpen());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, OTprint::Message::Kind::Critical);
    EXPECT_EQ(shown[0].text, settings().messages.MsgMetafileCreate);
    EXPECT_TRUE(engine.F_Box(0, 0, 10, 10, 255));  // nothing open: nothing drawn, no error

    // The folder disappears while the page is drawn: the page cannot be written.
    QDir(dir.path()).mkdir(QStringLiteral("pages"));
    const QString page = dir.filePath(QStringLiteral("pages/page.emf"));
    ASSERT_TRUE(engine.OpenMeta(page, 0, 0, 10000, 10000));
    engine.F_Box(0, 0, 100, 100, 255);
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("pages"))).removeRecursively());
    const OTprintResult closed = engine.CloseMeta();
    EXPECT_EQ(closed.code(), OTprintResult::Code::MetafileDelete);
    EXPECT_EQ(closed.message(), settings().messages.MsgMetafileDelete);
    EXPECT_TRUE(engine.isOpen());
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, settings().messages.MsgMetafileDelete);
    // Once the folder is back, closing again writes the page.
    QDir(dir.path()).mkdir(QStringLiteral("pages"));
    EXPECT_TRUE(engine.CloseMeta());
    EXPECT_FALSE(engine.isOpen());
    EXPECT_TRUE(QFile::exists(page));
    EXPECT_EQ(shapesOf(recordsOf(engine.lastMetafile())).size(), 1u);
}

TEST(OTprintMetafile, OverflowsComeBackAsResultsAndTheDrawingGoesOn)
{
    OTprint engine(std::make_shared<TestPrinter>(600, 600));
    ASSERT_TRUE(engine.OpenMeta(QString(), 0, 0, 10000, 10000));
    EXPECT_EQ(engine.L_Circle(2000000000, 0, 10, 1, 0, 0).code(), OTprintResult::Code::Overflow);
    EXPECT_EQ(engine.LF_Box(-2000000000, 0, 10, 10, 1, 0, 0, 255).code(), OTprintResult::Code::Overflow);
    EXPECT_EQ(engine.Vector(0, 0, 2147483647, 0, 1, 0, 0).code(), OTprintResult::Code::Overflow);
    EXPECT_EQ(engine.L_Arc(0, 0, 100, NAN, 90, 1, 0, 0).code(), OTprintResult::Code::Overflow);
    EXPECT_EQ(engine.SetText(QStringLiteral("x"), 0, 0, 0, 2000000000, QString(), 0).code(),
              OTprintResult::Code::Overflow);
    EXPECT_TRUE(engine.F_Box(0, 0, 100, 100, 255));
    ASSERT_TRUE(engine.CloseMeta());
    const auto records = recordsOf(engine.lastMetafile());
    EXPECT_EQ(shapesOf(records).size(), 1u);
    EXPECT_EQ(ofType(records, EMR_DELETEOBJECT).size(),
              ofType(records, EMR_CREATEPEN).size() + ofType(records, EMR_CREATEBRUSHINDIRECT).size());
}
