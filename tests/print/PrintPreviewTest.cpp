// Printing from the species window and the print preview: the page is written
// even without a printer (then MsgNoPrinter is shown instead of the preview),
// the sheet's layout on portrait and landscape paper, and printing to a file.
#include "app/Settings.h"
#include "browser/SpeciesWindowFixture.h"
#include "map/MapWidget.h"
#include "print/MapPage.h"
#include "support/TestSupport.h"
#include "print/MapPrinting.h"
#include "print/OTprint.h"
#include "print/OTprintSystemPrinter.h"
#include "print/PrintPreviewWindow.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan;
using print::PrintPreviewWindow;

namespace {

class MapPrintingTest : public test::SpeciesWindowTest {
protected:
    void SetUp() override
    {
        test::SpeciesWindowTest::SetUp();
        userFolder = settings().UserFolder;
        settings().UserFolder = dir.path() + QStringLiteral("/");
        appFolder = settings().ApplicationFolder;
        settings().ApplicationFolder = test::appDir();
    }
    void TearDown() override
    {
        settings().UserFolder = userFolder;
        settings().ApplicationFolder = appFolder;
        settings().MetafileTarget = QStringLiteral("No");
        test::SpeciesWindowTest::TearDown();
    }
    QTemporaryDir dir;
    QString userFolder;
    QString appFolder;
};

TEST_F(MapPrintingTest, WithoutPrintersThePageIsWrittenAndMsgNoPrinterShown)
{
    print::OTprintPrinter::install(nullptr);
    settings().MetafileTarget = QStringLiteral("No");
    print::OpenPrintPreview(*window);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages.front().kind, MessageKind::Error);
    EXPECT_EQ(messages.front().text, settings().messages.MsgNoPrinter);
    EXPECT_FALSE(window->recordWindow(browser::RecordWindowKind::Preview));
}

TEST_F(MapPrintingTest, WithASystemPrinterThePreviewOpensOnIt)
{
    auto system = print::OTprintSystemPrinter::create();
    if (!system)
        GTEST_SKIP() << "the system lists no printer";
    print::OTprintPrinter::install(system);
    settings().MetafileTarget = QStringLiteral("No");
    ASSERT_TRUE(print::StampaMetafile(*window));
    print::OTprintPrinter::install(nullptr);
    EXPECT_TRUE(messages.empty());
    auto *preview = qobject_cast<PrintPreviewWindow *>(window->recordWindow(browser::RecordWindowKind::Preview));
    ASSERT_TRUE(preview);
    EXPECT_EQ(&preview->printer(), &system->printer());
    EXPECT_FALSE(preview->picture().isNull());
}

TEST_F(MapPrintingTest, ExportWritesTheGivenFileAndOpensNothing)
{
    if (!window->mapWidget() || !window->mapWidget()->model().geometry().isValid())
        GTEST_SKIP() << "the map of this window has no extent offscreen";
    const QString target = dir.filePath(QStringLiteral("export.emf"));
    settings().MetafileTarget = target;
    ASSERT_TRUE(print::StampaMetafile(*window));
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(QFile::exists(print::MapPage::printPagePath()));
    EXPECT_TRUE(messages.empty());
    // The window keeps its engine from one page to the next.
    ASSERT_TRUE(window->printState());
    print::OTprint *engine = &window->printState()->engine();
    ASSERT_TRUE(print::StampaMetafile(*window));
    EXPECT_EQ(&window->printState()->engine(), engine);
}

TEST(PrintPreviewLayout, PortraitPaperFitsTheHeightLandscapeTheWidth)
{
    const QSizeF inner(1000, 700);
    const QSizeF a4(595, 842);
    const auto portrait = PrintPreviewWindow::computeLayout(inner, 30, 16, 16, a4, QSizeF(300, 400), true);
    EXPECT_DOUBLE_EQ(portrait.zoom, (700.0 - 16 - 60) / 842);
    EXPECT_DOUBLE_EQ(portrait.sheet.top(), 45);
    EXPECT_DOUBLE_EQ(portrait.sheet.height(), 700.0 - 16 - 60);
    EXPECT_DOUBLE_EQ(portrait.sheet.center().x(), 500);
    EXPECT_DOUBLE_EQ(portrait.picture.center().x(), portrait.sheet.center().x());
    EXPECT_DOUBLE_EQ(portrait.picture.center().y(), portrait.sheet.center().y());
    EXPECT_FALSE(portrait.scrollBars);

    const auto landscape =
        PrintPreviewWindow::computeLayout(inner, 30, 16, 16, a4.transposed(), QSizeF(300, 400), true);
    EXPECT_DOUBLE_EQ(landscape.sheet.width(), 1000.0 - 32);

    // At 100% a sheet wider than the window starts at its left edge, and a
    // picture taller than the sheet keeps to the sheet's top.
    const auto actual = PrintPreviewWindow::computeLayout(QSizeF(400, 300), 30, 16, 16, a4, QSizeF(300, 900), false);
    EXPECT_DOUBLE_EQ(actual.zoom, 1.0);
    EXPECT_DOUBLE_EQ(actual.sheet.left(), 0);
    EXPECT_DOUBLE_EQ(actual.picture.top(), actual.sheet.top());
    EXPECT_TRUE(actual.scrollBars);
}

class PreviewWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        print::OTprint engine;
        ASSERT_TRUE(engine.OpenMeta(page, 0, 0, 20000, 28000).isOk());
        engine.LF_Circle(1000, 1000, 200, 0, 0, 0, 0);
        ASSERT_TRUE(engine.CloseMeta().isOk());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }
    QTemporaryDir dir;
    QString page = dir.filePath(QStringLiteral("ItaliaST.emf"));
    QPrinter printer{QPrinter::HighResolution};
};

TEST_F(PreviewWindowTest, ShowsThePageOnASheetOfThePrintersPaper)
{
    PrintPreviewWindow preview(page, &printer);
    preview.resize(900, 700);
    ASSERT_FALSE(preview.picture().isNull());
    const auto full = preview.currentLayout();
    EXPECT_NEAR(full.sheet.width() / full.sheet.height(), 210.0 / 297.0, 0.01);
    EXPECT_LT(full.sheet.bottom(), 700);
    EXPECT_FALSE(preview.horizontalScrollBar()->isVisibleTo(&preview));

    preview.ShowActualSize();
    EXPECT_FALSE(preview.isFullPage());
    EXPECT_DOUBLE_EQ(preview.currentLayout().zoom, 1.0);
    EXPECT_TRUE(preview.verticalScrollBar()->isVisibleTo(&preview));
    EXPECT_GT(preview.verticalScrollBar()->maximum(), 0);
    preview.ShowFullPage();
    EXPECT_TRUE(preview.isFullPage());
    EXPECT_EQ(preview.frameMenus().size(), 3);
    EXPECT_EQ(preview.windowTitle(), QStringLiteral("Print preview"));
}

// The number of pages of a PDF file written by the printer, -1 when the file is
// missing or not a finished PDF document.
int finishedPdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    if (!pdf.startsWith("%PDF") || !pdf.trimmed().endsWith("%%EOF"))
        return -1;
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page\x20")
               + pdf.count("/Type /Page/") + pdf.count("/Type /Page>"));
}

TEST_F(PreviewWindowTest, EachCopyIsAFinishedOnePageJobOfItsOwn)
{
    PrintPreviewWindow preview(page, &printer);
    QList<int> pagesPerJob;
    QObject::connect(&preview, &PrintPreviewWindow::copyPrinted, [&](int copy, int copies) {
        EXPECT_EQ(copies, 3);
        EXPECT_EQ(copy, pagesPerJob.size() + 1);
        // The job of this copy is complete before the next one starts.
        pagesPerJob.append(finishedPdfPages(printer.outputFileName()));
        QFile::remove(printer.outputFileName());
    });
    ASSERT_TRUE(preview.printCopies(3));
    EXPECT_EQ(pagesPerJob, QList<int>({1, 1, 1}));
    EXPECT_EQ(printer.copyCount(), 1);
}

TEST_F(PreviewWindowTest, ClosingGivesBackTheFilePrinterOfTheOpening)
{
    const QString atOpen = printer.outputFileName();
    {
        PrintPreviewWindow preview(page, &printer);
        // What the set-up dialog does when the user prints to another file.
        printer.setOutputFileName(dir.filePath(QStringLiteral("elsewhere.pdf")));
        preview.close();
    }
    EXPECT_EQ(printer.outputFileName(), atOpen);
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
}

TEST_F(PreviewWindowTest, ClosingGivesBackTheSystemPrinterOfTheOpening)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.size() < 2)
        GTEST_SKIP() << "needs two printers of the system (e.g. CUPS PDF queues)";
    QPrinter system(printers.at(0), QPrinter::HighResolution);
    {
        PrintPreviewWindow preview(page, &system);
        system.setPrinterName(printers.at(1).printerName());
        ASSERT_EQ(system.printerName(), printers.at(1).printerName());
        preview.close();
    }
    EXPECT_EQ(system.printerName(), printers.at(0).printerName());
}

// The bounds of the dark pixels of an image, as fractions of its size.
QRectF darkBounds(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 64)
                box |= QRect(x, y, 1, 1);
    return QRectF(double(box.left()) / image.width(), double(box.top()) / image.height(),
                  double(box.width()) / image.width(), double(box.height()) / image.height());
}

TEST_F(PreviewWindowTest, ThePaperShowsThePageWhereThePreviewDoes)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) turns the printed PDF into pixels";
    // A page filled black from edge to edge, so its place is easy to find.
    const QString blackPage = dir.filePath(QStringLiteral("black.emf"));
    print::OTprint engine;
    ASSERT_TRUE(engine.OpenMeta(blackPage, 0, 0, 20000, 28000).isOk());
    engine.LF_Box(0, 0, 20000, 28000, 0, 0, 0, 0);
    ASSERT_TRUE(engine.CloseMeta().isOk());
    printer.setPageMargins(QMarginsF(6, 9, 6, 9), QPageLayout::Millimeter);

    PrintPreviewWindow preview(blackPage, &printer);
    preview.resize(900, 900);
    const auto layout = preview.currentLayout();
    const QRectF shown((layout.picture.left() - layout.sheet.left()) / layout.sheet.width(),
                       (layout.picture.top() - layout.sheet.top()) / layout.sheet.height(),
                       layout.picture.width() / layout.sheet.width(), layout.picture.height() / layout.sheet.height());
    ASSERT_TRUE(preview.printCopies(1));
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                                QStringLiteral("-singlefile"), printer.outputFileName(),
                                                dir.filePath(QStringLiteral("paper"))});
    ASSERT_TRUE(pdftoppm.waitForFinished(30000));
    const QImage paper(dir.filePath(QStringLiteral("paper.png")));
    ASSERT_FALSE(paper.isNull());
    const QRectF printed = darkBounds(paper);
    // Within a pixel of the 40 dpi raster (about 0.8% of the A4 width).
    EXPECT_NEAR(printed.left(), shown.left(), 0.01);
    EXPECT_NEAR(printed.top(), shown.top(), 0.01);
    EXPECT_NEAR(printed.width(), shown.width(), 0.01);
    EXPECT_NEAR(printed.height(), shown.height(), 0.01);
}

TEST_F(PreviewWindowTest, AMissingPageIsNotPrinted)
{
    PrintPreviewWindow preview(dir.filePath(QStringLiteral("none.emf")), &printer);
    EXPECT_TRUE(preview.picture().isNull());
    EXPECT_FALSE(preview.printCopies(1));
    EXPECT_FALSE(QFile::exists(printer.outputFileName()));
}

}  // namespace
