// Report scripts: the line format both ways, replay, and scripts of unknown origin.
#include "EngineTestSupport.h"

#include "metafile/EmfRecords.h"
#include "metafile/WmfBuilder.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan;
using namespace ortolan::print;
using namespace ortolan::print::test;
using namespace ortolan::metafile::emf;
using ortolan::metafile::rgb;

namespace {

// A temporary folder whose path holds no underscore (script fields are split at them).
QTemporaryDir scratch()
{
    return QTemporaryDir(QDir::tempPath() + QStringLiteral("/ortolanscript-XXXXXX"));
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// One call of the engine and the script line it writes (none for a call the
// engine refuses before recording).
struct Step {
    std::function<void(OTprint &)> call;
    QString line;
};

// Pictures for the picture keywords.
struct Pictures {
    QString png, emf, wmf;

    explicit Pictures(const QTemporaryDir &dir)
    {
        png = dir.filePath(QStringLiteral("tile.png"));
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(png);
        emf = dir.filePath(QStringLiteral("tile.emf"));
        OTprint engine(std::make_shared<TestPrinter>());
        engine.OpenMeta(emf, 0, 0, 2000, 1000);
        engine.LF_Circle(100, 50, 40, 2, 0, 0, int(rgb(255, 200, 0)));
        engine.CloseMeta();
        wmf = dir.filePath(QStringLiteral("tile.wmf"));
        ortolan::metafile::test::WmfBuilder builder(true, QRect(QPoint(0, 0), QPoint(1000, 500)), 1000);
        builder.brush(0, rgb(0, 0, 255)).select(0).ellipse(0, 0, 1000, 500);
        writeAll(wmf, builder.bytes());
    }
};

// Every keyword of the script, in the order of the engine's interface.
std::vector<Step> everyKeyword(const QString &page, const Pictures &p, float angle)
{
    const QString a = ReportScript::field(angle);
    const QString ones = QStringLiteral("1111");
    return {
        {[](OTprint &e) { e.setGradientType(2); }, QStringLiteral("GradientType_2")},
        {[](OTprint &e) { e.setGradientAngle(45); }, QStringLiteral("GradientAngle_45")},
        {[](OTprint &e) { e.setGradientFill(true); }, QStringLiteral("GradientFill_True")},
        {[](OTprint &e) { e.setBeginColor(16711680); }, QStringLiteral("BeginColor_16711680")},
        {[](OTprint &e) { e.setEndColor(16777215); }, QStringLiteral("EndColor_16777215")},
        {[](OTprint &e) { e.setLineWidth(3); }, QStringLiteral("LineWidth_3")},
        {[](OTprint &e) { e.setLineStyle(0); }, QStringLiteral("LineStyle_0")},
        {[](OTprint &e) { e.setFillColor(65280); }, QStringLiteral("FillColor_65280")},
        {[](OTprint &e) { e.setFillStyle(8); }, QStringLiteral("FillStyle_8")},
        {[](OTprint &e) { e.setLineColor(128); }, QStringLiteral("LineColor_128")},
        {[=](OTprint &e) { e.OpenMeta(page, 0, 0, 20000, 28000); },
         QStringLiteral("OpenMeta_") + page + QStringLiteral("_0_0_20000_28000")},
        {[=](OTprint &e) { e.Bitmap(p.png, 100, 100, 1); }, QStringLiteral("Bitmap_") + p.png + QStringLiteral("_100_100_1")},
        {[=](OTprint &e) { e.Emf(p.emf, 400, 100, 2); }, QStringLiteral("Emf_") + p.emf + QStringLiteral("_400_100_2")},
        {[=](OTprint &e) { e.Wmf(p.wmf, 700, 100, 1); }, QStringLiteral("Wmf_") + p.wmf + QStringLiteral("_700_100_1")},
        {[](OTprint &e) {
             e.TextBox(QStringLiteral("Fauna d'Italia, specie e sottospecie"), 100, 300, 900, 400, 0, 12,
                       QStringLiteral("DejaVu Sans"), 1, 1, 2);
         },
         QStringLiteral("TextBox_Fauna d'Italia, specie e sottospecie_100_300_900_400_0_12_DejaVu Sans_1_1_2")},
        {[](OTprint &e) { e.SetText(QStringLiteral("Sì"), 100, 450, 900, 10, QString(), 0); },
         QStringLiteral("SetText_Sì_100_450_900_10__0")},
        {[](OTprint &e) { e.L_Circle(150, 600, 50, 1, 255, 0); }, QStringLiteral("LCircle_150_600_50_1_255_0")},
        {[](OTprint &e) { e.F_Circle(300, 600, 50, 0); }, QStringLiteral("FCircle_300_600_50_0")},
        {[](OTprint &e) { e.LF_Circle(450, 600, 50, 2, 0, 2, 255); }, QStringLiteral("LFCircle_450_600_50_2_0_2_255")},
        {[](OTprint &e) { e.L_Ellipse(550, 560, 700, 640, 10, 1, 0, 0); },
         QStringLiteral("LEllipse_550_560_700_640_10_1_0_0")},
        {[](OTprint &e) { e.F_Ellipse(750, 560, 900, 640, -10, 16711680); },
         QStringLiteral("FEllipse_750_560_900_640_-10_16711680")},
        {[](OTprint &e) { e.LF_Ellipse(100, 700, 250, 780, 0, 1, 0, 0, 0); },
         QStringLiteral("LFEllipse_100_700_250_780_0_1_0_0_0")},
        {[=](OTprint &e) { e.L_Arc(350, 750, 50, angle, 270, 2, 0, 0); },
         QStringLiteral("LArc_350_750_50_") + a + QStringLiteral("_270_2_0_0")},
        {[=](OTprint &e) { e.L_Chord(500, 750, 50, angle, 200, 1, 0, 0); },
         QStringLiteral("LChord_500_750_50_") + a + QStringLiteral("_200_1_0_0")},
        {[=](OTprint &e) { e.LF_Chord(650, 750, 50, angle, 200, 1, 0, 0, 255); },
         QStringLiteral("LFChord_650_750_50_") + a + QStringLiteral("_200_1_0_0_255")},
        {[=](OTprint &e) { e.F_Chord(800, 750, 50, angle, 200, 0); },
         QStringLiteral("FChord_800_750_50_") + a + QStringLiteral("_200_0")},
        {[=](OTprint &e) { e.L_Pie(150, 900, 50, angle, 300, 1, 0, 0); },
         QStringLiteral("LPie_150_900_50_") + a + QStringLiteral("_300_1_0_0")},
        {[=](OTprint &e) { e.LF_Pie(300, 900, 50, -90, angle, 1, 0, 0, 65535); },
         QStringLiteral("LFPie_300_900_50_-90_") + a + QStringLiteral("_1_0_0_65535")},
        {[=](OTprint &e) { e.F_Pie(450, 900, 50, 0, angle, 255); },
         QStringLiteral("FPie_450_900_50_0_") + a + QStringLiteral("_255")},
        {[](OTprint &e) { e.LF_Box(550, 850, 650, 950, 2, 255, 0, 16776960); },
         QStringLiteral("LFBox_550_850_650_950_2_255_0_16776960")},
        {[](OTprint &e) { e.F_Box(700, 850, 800, 950, 0); }, QStringLiteral("FBox_700_850_800_950_0")},
        {[](OTprint &e) { e.L_Box(820, 850, 900, 950, 1, 0, 1); }, QStringLiteral("LBox_820_850_900_950_1_0_1")},
        {[](OTprint &e) { e.L_RoundBox(100, 1000, 250, 1100, 40, 30, 1, 0, 0); },
         QStringLiteral("LRoundBox_100_1000_250_1100_40_30_1_0_0")},
        {[](OTprint &e) { e.F_RoundBox(300, 1000, 450, 1100, 40, 30, 255); },
         QStringLiteral("FRoundBox_300_1000_450_1100_40_30_255")},
        {[](OTprint &e) { e.LF_RoundBox(500, 1000, 650, 1100, 40, 30, 1, 0, 0, 0); },
         QStringLiteral("LFRoundBox_500_1000_650_1100_40_30_1_0_0_0")},
        {[=](OTprint &e) { e.F_Rectangle(700, 1000, 850, 1100, angle, 255); },
         QStringLiteral("FRectangle_700_1000_850_1100_") + a + QStringLiteral("_255")},
        {[=](OTprint &e) { e.LF_Rectangle(100, 1150, 250, 1250, angle, 1, 0, 0, 65280); },
         QStringLiteral("LFRectangle_100_1150_250_1250_") + a + QStringLiteral("_1_0_0_65280")},
        {[=](OTprint &e) { e.L_Rectangle(300, 1150, 450, 1250, angle, 3, 0, 0); },
         QStringLiteral("LRectangle_300_1150_450_1250_") + a + QStringLiteral("_3_0_0")},
        {[=](OTprint &e) { e.L_DecoBox(500, 1150, 650, 1250, ones, QStringLiteral("1234"), 30, 20); },
         QStringLiteral("LDecoBox_500_1150_650_1250_1111_1234_30_20")},
        {[=](OTprint &e) { e.LF_DecoBox(700, 1150, 850, 1250, QStringLiteral("1010"), ones, 30, 20); },
         QStringLiteral("LFDecoBox_700_1150_850_1250_1010_1111_30_20")},
        {[=](OTprint &e) { e.F_DecoBox(100, 1300, 250, 1400, ones, QStringLiteral("2222"), 30, 20); },
         QStringLiteral("FDecoBox_100_1300_250_1400_1111_2222_30_20")},
        {[=](OTprint &e) { e.L_Polygon(350, 1350, 6, 50, angle, 1, 0, 0); },
         QStringLiteral("LPolygon_350_1350_6_50_") + a + QStringLiteral("_1_0_0")},
        {[](OTprint &e) { e.L_Polygon(350, 1350, 2, 50, 0, 1, 0, 0); }, QString()},
        {[=](OTprint &e) { e.F_Polygon(500, 1350, 5, 50, angle, 255); },
         QStringLiteral("FPolygon_500_1350_5_50_") + a + QStringLiteral("_255")},
        {[=](OTprint &e) { e.LF_Polygon(650, 1350, 8, 50, angle, 1, 0, 0, 0); },
         QStringLiteral("LFPolygon_650_1350_8_50_") + a + QStringLiteral("_1_0_0_0")},
        {[=](OTprint &e) { e.L_Star(800, 1350, 5, 50, 20, angle, 1, 0, 0); },
         QStringLiteral("LStar_800_1350_5_50_20_") + a + QStringLiteral("_1_0_0")},
        {[=](OTprint &e) { e.LF_Star(150, 1500, 7, 50, 25, angle, 1, 0, 0, 255); },
         QStringLiteral("LFStar_150_1500_7_50_25_") + a + QStringLiteral("_1_0_0_255")},
        {[](OTprint &e) { e.F_Star(300, 1500, 21, 50, 25, 0, 255); }, QString()},
        {[=](OTprint &e) { e.F_Star(300, 1500, 4, 50, 25, angle, 0); },
         QStringLiteral("FStar_300_1500_4_50_25_") + a + QStringLiteral("_0")},
        {[](OTprint &e) { e.L_Line(400, 1450, 900, 1550, 0, 0, 0); }, QStringLiteral("LLine_400_1450_900_1550_0_0_0")},
        {[=](OTprint &e) { e.Vector(400, 1550, 300, angle, 2, 16711680, 0); },
         QStringLiteral("Vector_400_1550_300_") + a + QStringLiteral("_2_16711680_0")},
        {[](OTprint &e) { e.L_Grid(100, 1600, 400, 200, 4, 0, 1, 0, 0); }, QStringLiteral("LGrid_100_1600_400_200_4_0_1_0_0")},
        {[](OTprint &e) { e.Table(550, 1600, 80, 40, 4, 5, 3, 1, 0, 0); },
         QStringLiteral("Table_550_1600_80_40_4_5_3_1_0_0")},
        {[](OTprint &e) { e.setGradientFill(false); }, QStringLiteral("GradientFill_False")},
        {[](OTprint &e) { e.CloseMeta(); }, QStringLiteral("CloseMeta")},
    };
}

QStringList linesOf(const QByteArray &script)
{
    QStringList lines = QString::fromUtf8(script).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Replays script text on a fresh engine and returns it.
std::unique_ptr<OTprint> replayText(const QTemporaryDir &dir, const QByteArray &script,
                                    ReportScript::Summary *summary = nullptr)
{
    const QString path = dir.filePath(QStringLiteral("script.txt"));
    writeAll(path, script);
    auto engine = std::make_unique<OTprint>(std::make_shared<TestPrinter>());
    engine->FromReport(path, summary);
    return engine;
}

}  // namespace

// --- recording -----------------------------------------------------------------------------

TEST(ReportScriptRecording, EveryCallWritesItsLine)
{
    QTemporaryDir dir = scratch();
    const Pictures pictures(dir);
    const QString script = dir.filePath(QStringLiteral("report.txt"));
    const auto steps = everyKeyword(dir.filePath(QStringLiteral("page.emf")), pictures, 22.5f);
    QStringList expected;
    {
        OTprint engine(std::make_shared<TestPrinter>());
        ASSERT_TRUE(engine.WithReport(script));
        EXPECT_TRUE(engine.isRecording());
        for (const Step &s : steps) {
            s.call(engine);
            if (!s.line.isEmpty())
                expected << s.line;
        }
        EXPECT_FALSE(engine.isRecording());  // CloseMeta ended it
    }
    const QByteArray bytes = readAll(script);
    EXPECT_TRUE(bytes.endsWith("CloseMeta\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(linesOf(bytes), expected);
    EXPECT_TRUE(expected.contains(QStringLiteral("LArc_350_750_50_22.5_270_2_0_0")));

    // Every keyword of the table, with its field count.
    QSet<QString> written;
    for (const QString &line : expected) {
        const QStringList fields = line.split(QLatin1Char('_'));
        written << fields.first();
        EXPECT_EQ(fields.size(), ReportScript::fieldCount(fields.first())) << line.toStdString();
    }
    const QStringList keywords = ReportScript::keywords();
    EXPECT_EQ(written, QSet<QString>(keywords.begin(), keywords.end()));
    EXPECT_EQ(keywords.size(), 52);
}

TEST(ReportScriptRecording, RecordingStartsAndEndsWithTheScriptFile)
{
    QTemporaryDir dir = scratch();
    const QString first = dir.filePath(QStringLiteral("first.txt"));
    const QString second = dir.filePath(QStringLiteral("second.txt"));
    OTprint engine(std::make_shared<TestPrinter>());
    EXPECT_TRUE(engine.WithReport(QString()));
    EXPECT_FALSE(engine.isRecording());

    ASSERT_TRUE(engine.WithReport(first));
    engine.setLineWidth(2);                                  // without a metafile, still recorded
    engine.TextBox(QStringLiteral("a\r\nb"), 0, 0, 10, 10, 0, 0, QString(), 0, 0, 0);  // line breaks as spaces
    ASSERT_TRUE(engine.WithReport(second));                  // the first script is complete
    EXPECT_EQ(linesOf(readAll(first)),
              QStringList({QStringLiteral("LineWidth_2"), QStringLiteral("TextBox_a  b_0_0_10_10_0_0__0_0_0")}));
    engine.OpenMeta(QString(), 0, 0, 100, 100);
    engine.CloseMeta();
    engine.setLineWidth(4);  // after CloseMeta: no longer recorded
    EXPECT_EQ(linesOf(readAll(second)),
              QStringList({QStringLiteral("OpenMeta__0_0_100_100"), QStringLiteral("CloseMeta")}));

    EXPECT_EQ(engine.WithReport(dir.filePath(QStringLiteral("no/such/folder/r.txt"))).code(),
              OTprintResult::Code::ReportFailed);
    EXPECT_FALSE(engine.isRecording());
}

TEST(ReportScriptRecording, AnglesAreWrittenInTheirShortestForm)
{
    EXPECT_EQ(ReportScript::field(22.5f), QStringLiteral("22.5"));
    EXPECT_EQ(ReportScript::field(90.0f), QStringLiteral("90"));
    EXPECT_EQ(ReportScript::field(0.1f), QStringLiteral("0.1"));
    EXPECT_EQ(ReportScript::field(-45.25f), QStringLiteral("-45.25"));
    EXPECT_EQ(ReportScript::field(true), QStringLiteral("True"));
    EXPECT_EQ(ReportScript::field(qint32(-2147483647 - 1)), QStringLiteral("-2147483648"));
}

// --- reading ---------------------------------------------------------------------------------

TEST(ReportScriptReading, NumbersConvertAsTheReplayExpects)
{
    struct Case {
        const char *text;
        std::optional<qint32> value;
    };
    const Case cases[] = {
        {"42", 42},
        {"-7", -7},
        {" 12 ", 12},
        {"+5", 5},
        {"2.5 rounds to even", std::nullopt},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"22,5 with a comma", std::nullopt},
        {"22,5", 22},
        {"1e3", 1000},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"1e400", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"abc", std::nullopt},
        {"0x10", std::nullopt},
        {"--1", std::nullopt},
        {"1.2.3", std::nullopt},
        {"nan", std::nullopt},
        {"inf", std::nullopt},
        {".5", 0},
        {"5.", 5},
        {"1e", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ReportScript::toInteger(QString::fromUtf8(c.text)), c.value) << c.text;
    EXPECT_EQ(ReportScript::toAngle(QStringLiteral("22.5")), 22.0f);
    EXPECT_EQ(ReportScript::toAngle(QStringLiteral("-0.5")), 0.0f);
    EXPECT_EQ(ReportScript::toAngle(QStringLiteral("x")), std::nullopt);
}

TEST(ReportScriptReading, GradientFillAcceptsBooleansAndNumbers)
{
    struct Case {
        const char *name;
        QString line;
        bool before, after;
    };
    const Case cases[] = {
        {"True", QStringLiteral("GradientFill_True"), false, true},
        {"minus one", QStringLiteral("GradientFill_-1"), false, true},
        {"False", QStringLiteral("GradientFill_False"), true, false},
        {"zero", QStringLiteral("GradientFill_0"), true, false},
        {"leading spaces", QStringLiteral("GradientFill_  True"), false, true},
        {"lower case", QStringLiteral("GradientFill_false"), true, false},
        {"a fraction", QStringLiteral("GradientFill_0.5"), false, true},
        {"not a Boolean", QStringLiteral("GradientFill_yes"), true, true},
        {"missing value", QStringLiteral("GradientFill"), false, false},
    };
    for (const Case &c : cases) {
        OTprint engine(std::make_shared<TestPrinter>());
        engine.setGradientFill(c.before);
        ReportScript::perform(engine, c.line);
        EXPECT_EQ(engine.GradientFill(), c.after) << c.name;
    }
}

TEST(ReportScriptReading, LinesOfTheWrongShapeAreSkipped)
{
    struct Case {
        const char *name;
        QString line;
        ReportScript::Outcome outcome;
    };
    using O = ReportScript::Outcome;
    const Case cases[] = {
        {"a box with six fields", QStringLiteral("LBox_1_2_3_4_1_0"), O::Skipped},
        {"a text holding an underscore", QStringLiteral("SetText_a_b_100_100_0_10_Arial_0"), O::Skipped},
        {"an empty line", QString(), O::Skipped},
        {"an unknown keyword", QStringLiteral("Circle_1_2_3"), O::Skipped},
        {"a keyword in other letter case", QStringLiteral("lbox_1_2_3_4_1_0_0"), O::Skipped},
        {"CloseMeta with an underscore", QStringLiteral("CloseMeta_"), O::Skipped},
        {"a field that is no number", QStringLiteral("LBox_1_2_x_4_1_0_0"), O::Skipped},
        {"a good box", QStringLiteral("LBox_1_2_3_4_1_0_0"), O::Performed},
        {"a box beyond the 32-bit range", QStringLiteral("LBox_2000000000_2_3_4_1_0_0"), O::Failed},
    };
    OTprint engine(std::make_shared<TestPrinter>(600, 600));
    engine.OpenMeta(QString(), 0, 0, 10000, 10000);
    for (const Case &c : cases) {
        QString why;
        EXPECT_EQ(ReportScript::perform(engine, c.line, &why), c.outcome) << c.name;
        if (c.outcome != O::Performed) {
            EXPECT_FALSE(why.isEmpty()) << c.name;
        }
    }
    engine.CloseMeta();
    EXPECT_EQ(shapesOf(recordsOf(engine.lastMetafile())).size(), 1u);
}

TEST(ReportScriptReading, OldScriptsInTheWindowsCodePageAreRead)
{
    EXPECT_EQ(ReportScript::decode(QByteArray("SetText_S\xEC")), QStringLiteral("SetText_Sì"));
    EXPECT_EQ(ReportScript::decode(QByteArray("SetText_S\xC3\xAC")), QStringLiteral("SetText_Sì"));
}

// --- replay ------------------------------------------------------------------------------------------

TEST(ReportScriptReplay, ReplayingARecordingGivesTheSameMetafile)
{
    QTemporaryDir dir = scratch();
    const Pictures pictures(dir);
    const QString script = dir.filePath(QStringLiteral("report.txt"));
    const QString page = dir.filePath(QStringLiteral("page.emf"));
    QByteArray drawn;
    {
        OTprint engine(std::make_shared<TestPrinter>(600, 600));
        ASSERT_TRUE(engine.WithReport(script));
        for (const Step &s : everyKeyword(page, pictures, 30))
            s.call(engine);
        drawn = engine.lastMetafile();
    }
    ASSERT_GT(drawn.size(), 10000);
    EXPECT_EQ(readAll(page), drawn);

    OTprint replay(std::make_shared<TestPrinter>(600, 600));
    std::vector<OTprint::Message> shown;
    replay.setMessageHandler([&](const OTprint::Message &m) { shown.push_back(m); });
    ReportScript::Summary summary;
    ASSERT_TRUE(replay.FromReport(script, &summary));
    EXPECT_EQ(summary.skipped, 0) << summary.notes.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(summary.failed, 0) << summary.notes.join(QStringLiteral("; ")).toStdString();
    EXPECT_EQ(summary.performed, summary.lines);
    EXPECT_EQ(replay.lastMetafile(), drawn);
    EXPECT_EQ(readAll(page), drawn);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, OTprint::Message::Kind::Info);
    EXPECT_EQ(shown[0].text, QStringLiteral("Report File ") + script);
}

TEST(ReportScriptReplay, FractionalAnglesReplayFromTheirWholeDegrees)
{
    QTemporaryDir dir = scratch();
    auto arcOf = [](const OTprint &e) {
        const auto arcs = ofType(recordsOf(e.lastMetafile()), EMR_ARC);
        EXPECT_EQ(arcs.size(), 1u);
        return arcs.empty() ? QPoint() : QPoint(arcs[0].i32(24), arcs[0].i32(28));  // the point at a1
    };
    auto direct = [](float a1, int r) {
        OTprint e(std::make_shared<TestPrinter>());
        e.OpenMeta(QString(), 0, 0, 10000, 10000);
        e.L_Arc(100, 100, r, a1, 90, 1, 0, 0);
        e.CloseMeta();
        return e.lastMetafile();
    };
    const auto wanted = replayText(dir, "OpenMeta__0_0_10000_10000\r\nLArc_100_100_50_22.5_90_1_0_0\r\n");
    EXPECT_EQ(wanted->lastMetafile(), direct(22, 50));

    // On a larger circle 22 and 22.5 degrees land on different pixels.
    const auto large = replayText(dir, "OpenMeta__0_0_10000_10000\r\nLArc_100_100_1000_22.5_90_1_0_0\r\n");
    OTprint whole(std::make_shared<TestPrinter>());
    whole.OpenMeta(QString(), 0, 0, 10000, 10000);
    whole.L_Arc(100, 100, 1000, 22, 90, 1, 0, 0);
    whole.CloseMeta();
    OTprint fraction(std::make_shared<TestPrinter>());
    fraction.OpenMeta(QString(), 0, 0, 10000, 10000);
    fraction.L_Arc(100, 100, 1000, 22.5f, 90, 1, 0, 0);
    fraction.CloseMeta();
    EXPECT_EQ(arcOf(*large), arcOf(whole));
    EXPECT_NE(arcOf(*large), arcOf(fraction));
}

TEST(ReportScriptReplay, AScriptWithoutCloseMetaStillFinishesItsMetafile)
{
    QTemporaryDir dir = scratch();
    const QString page = dir.filePath(QStringLiteral("unfinished.emf"));
    const QByteArray script = "OpenMeta_" + page.toUtf8() + "_0_0_10000_10000\r\nFBox_0_0_100_100_255\r\n";
    const auto engine = replayText(dir, script);
    EXPECT_FALSE(engine->isOpen());
    ASSERT_TRUE(QFile::exists(page));
    EXPECT_EQ(shapesOf(recordsOf(readAll(page))).size(), 1u);
}

TEST(ReportScriptReplay, TheSkippedLinesOfAScriptLeaveTheRestDrawn)
{
    QTemporaryDir dir = scratch();
    ReportScript::Summary summary;
    const auto engine = replayText(dir,
                                   "OpenMeta__0_0_10000_10000\r\n"
                                   "LBox_1_2_3_4_1_0\r\n"
                                   "\r\n"
                                   "SetText_a_b_100_100_0_10_Arial_0\r\n"
                                   "Comment: not a keyword\r\n"
                                   "FBox_0_0_100_100_255\n"          // a Unix line end
                                   "FBox_0_0_200_200_255\r"          // an old Mac line end
                                   "LBox_0_0_300_300_1_0_0\r\n"
                                   "CloseMeta",                       // no line end at all
                                   &summary);
    EXPECT_EQ(summary.lines, 9);
    EXPECT_EQ(summary.performed, 5);
    EXPECT_EQ(summary.skipped, 4);
    EXPECT_EQ(summary.notes.size(), 3);  // the empty line needs no note
    EXPECT_EQ(shapesOf(recordsOf(engine->lastMetafile())).size(), 3u);
}

TEST(ReportScriptReplay, TheLineLimitCountsTheLineEnd)
{
    // Spaces around a number are allowed, so a box line can be padded to any
    // length: one that fits the limit with its line end is drawn, one a byte
    // longer is skipped whole, and the reading goes on after it.
    QTemporaryDir dir = scratch();
    auto boxOfLength = [](qsizetype length) {
        QByteArray line = "FBox_0_0_100_100_";
        line += QByteArray(length - line.size() - 5, ' ') + "255\r\n";
        return line;
    };
    const QByteArray fits = boxOfLength(ReportScript::MaxLineBytes);
    const QByteArray tooLong = boxOfLength(ReportScript::MaxLineBytes + 1);
    ASSERT_EQ(fits.size(), ReportScript::MaxLineBytes);
    ReportScript::Summary summary;
    const auto engine = replayText(dir, "OpenMeta__0_0_10000_10000\r\n" + fits + tooLong + fits + "CloseMeta\r\n",
                                   &summary);
    EXPECT_EQ(summary.lines, 5);
    EXPECT_EQ(summary.performed, 4);
    EXPECT_EQ(summary.skipped, 1);
    ASSERT_EQ(summary.notes.size(), 1);
    EXPECT_TRUE(summary.notes.front().startsWith(QStringLiteral("line 3: line longer than"))) << summary.notes.front().toStdString();
    EXPECT_EQ(shapesOf(recordsOf(engine->lastMetafile())).size(), 2u);
}

// Regression (found by fuzzing): a page opened with its top below its bottom was
// written with that frame, and the page reader then found no size and refused
// the page; the frame now counts whichever way its corners are given.
TEST(ReportScriptReplay, APageOpenedWithSwappedCornersStillReads)
{
    QTemporaryDir dir = scratch();
    for (const QByteArray &open : {QByteArray("OpenMeta__0_4_3_3"), QByteArray("OpenMeta__0_10000_8000_2000")}) {
        const auto engine = replayText(dir, open + "\r\nCloseMeta\r\n");
        QString error;
        const metafile::MetafilePicture page = metafile::MetafilePicture::fromData(engine->lastMetafile(), &error);
        EXPECT_FALSE(page.isNull()) << open.constData() << ": " << error.toStdString();
    }
    const auto engine = replayText(dir, "OpenMeta__0_10000_8000_2000\r\nFBox_0_0_100_100_255\r\n");
    EXPECT_EQ(metafile::MetafilePicture::fromData(engine->lastMetafile()).naturalRect(), QRectF(0, 2000, 8000, 8000));
}

TEST(ReportScriptReplay, AMissingScriptDoesNothing)
{
    OTprint engine(std::make_shared<TestPrinter>());
    int shown = 0;
    engine.setMessageHandler([&](const OTprint::Message &) { ++shown; });
    EXPECT_EQ(engine.FromReport(QDir::tempPath() + QStringLiteral("/ortolan-no-such-script.txt")).code(),
              OTprintResult::Code::ScriptMissing);
    EXPECT_EQ(engine.FromReport(QDir::tempPath()).code(), OTprintResult::Code::ScriptMissing);  // a folder
    EXPECT_EQ(shown, 0);
}

TEST(ReportScriptReplay, AReplayOnARecordingObjectRecordsItAgain)
{
    QTemporaryDir dir = scratch();
    const QString source = dir.filePath(QStringLiteral("source.txt"));
    writeAll(source, "LineColor_255\r\nOpenMeta__0_0_100_100\r\nLCircle_50_50_10_1_0_0\r\n");
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    {
        OTprint engine(std::make_shared<TestPrinter>());
        engine.WithReport(copy);
        engine.FromReport(source);
        EXPECT_FALSE(engine.isRecording());  // the closing CloseMeta ended it
    }
    EXPECT_EQ(readAll(copy), QByteArray("LineColor_255\r\nOpenMeta__0_0_100_100\r\nLCircle_50_50_10_1_0_0\r\nCloseMeta\r\n"));
}

TEST(ReportScriptReplay, MalformedScriptsAreRejectedLineByLineWithoutHarm)
{
    QTemporaryDir dir = scratch();
    // A metafile that cannot be created, then one that can.
    QByteArray script = "OpenMeta_/no/such/folder/x.emf_0_0_100_100\r\nOpenMeta__0_0_10000_10000\r\n";
    const char *bad[] = {
        "LBox_99999999999999999999_0_0_0_1_0_0",
        "LBox_1e400_0_0_0_1_0_0",
        "LBox_nan_0_0_0_1_0_0",
        "LBox_______",
        "________________________________",
        "LGrid_0_0_1000_1000_2147483647_2147483647_1_0_0",
        "Table_0_0_2147483647_2147483647_30000_30000_3_1_0_0",
        "LCircle_-2147483648_-2147483648_2147483647_1_0_0",
        "LStar_0_0_2147483647_1_1_0_1_0_0",
        "LPolygon_0_0_-5_1_0_1_0_0",
        "LArc_0_0_100_1e30_-1e30_1_0_0",
        "TextBox_x_0_0_10_10_0_0__0_2147483647_0",
        "SetText_x_0_0_0_-2147483648_Arial_0",
        "Emf_/no/such/file.emf_0_0_1",
        "Bitmap__0_0_1",
        "Wmf_" "\x01\x02\x03" "_0_0_0",
        "LDecoBox_0_0_100_100_1_1_10_10",
        "LFDecoBox_0_0_100_100_11111111111111_9999_-2147483648_2147483647",
        "GradientType_-2147483648",
        "LineStyle_99",
        "FillStyle_-3",
    };
    for (const char *line : bad)
        script += QByteArray(line) + "\r\n";
    script += QByteArray("\x00\xff\xfe garbage \x80\x81", 14) + "\r\n";
    script += QByteArray(3 << 20, 'L') + "\r\n";  // a line of 3 MB
    script += "GradientFill_True\r\nL_Box_0_0_10_10_1_0_0\r\nLBox_0_0_10_10_1_0_0\r\n";
    ReportScript::Summary summary;
    const auto engine = replayText(dir, script, &summary);
    EXPECT_EQ(summary.lines, 2 + int(std::size(bad)) + 5);
    EXPECT_GE(summary.failed, 1);
    EXPECT_GE(summary.performed, 3);
    EXPECT_FALSE(engine->isOpen());
    const auto records = recordsOf(engine->lastMetafile());
    EXPECT_FALSE(shapesOf(records).empty());
    EXPECT_EQ(ofType(records, EMR_SAVEDC).size(), ofType(records, EMR_RESTOREDC).size());
}

TEST(ReportScriptReplay, RandomLinesOfKnownKeywordsNeverBreakTheEngine)
{
    QRandomGenerator random(20240611);  // fixed seed: the same lines on every run
    const QStringList keywords = ReportScript::keywords();
    const QStringList samples = {QStringLiteral("0"), QStringLiteral("-1"), QStringLiteral("1"), QStringLiteral("7"),
                                 QStringLiteral("300"), QStringLiteral("-4000"), QStringLiteral("2147483647"),
                                 QStringLiteral("-2147483648"), QStringLiteral("2.5"), QStringLiteral("1111"),
                                 QStringLiteral("x"), QString(), QStringLiteral("True"), QStringLiteral("40000")};
    OTprint engine(std::make_shared<TestPrinter>());
    engine.OpenMeta(QString(), 0, 0, 10000, 10000);
    int performed = 0;
    for (int n = 0; n < 3000; ++n) {
        const QString keyword = keywords.at(int(random.bounded(qsizetype(keywords.size()))));
        if (keyword == QStringLiteral("OpenMeta") || keyword == QStringLiteral("CloseMeta"))
            continue;
        QStringList fields{keyword};
        // Mostly the right count, sometimes one more or one less.
        const int count = ReportScript::fieldCount(keyword) - 1 + int(random.bounded(10) == 0 ? random.bounded(3) - 1 : 0);
        for (int i = 0; i < count; ++i)
            fields << samples.at(int(random.bounded(qsizetype(samples.size()))));
        if (keyword == QStringLiteral("GradientFill"))
            fields = QStringList{keyword, QStringLiteral("False")};  // keep the run short
        if (ReportScript::perform(engine, fields.join(QLatin1Char('_'))) == ReportScript::Outcome::Performed)
            ++performed;
    }
    EXPECT_GT(performed, 300);
    EXPECT_TRUE(engine.CloseMeta());
    const auto records = recordsOf(engine.lastMetafile());
    EXPECT_EQ(ofType(records, EMR_SAVEDC).size(), ofType(records, EMR_RESTOREDC).size());
}
