// The export's dialog and messages, and the map picture on the clipboard.
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "export/ClipboardCopy.h"
#include "export/ExportData.h"
#include "export/ExportTestSupport.h"
#include "data/WriterTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QWidget>

#include <gtest/gtest.h>

using namespace ortolan;
using namespace ortolan::test;

namespace {

struct Shown {
    MessageKind kind;
    QString caption, text;
};

class ExportUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fx.database.makeCurrent();
        Settings &s = settings();
        s.setLanguage(QStringLiteral("Inglese"));
        s.DataFolder = fx.dataFolder;
        s.UserFolder = fx.outFolder;
        s.SelectedTaxonCode = QStringLiteral("044.00101.001.0");
        s.SelectedCaption = QStringLiteral("Carabus olympiae");
        setMessageHandler([this](MessageKind kind, const QString &caption, const QString &text) {
            shown.push_back({kind, caption, text});
        });
    }
    void TearDown() override
    {
        setMessageHandler({});
        exporting::setSaveDialog({});
    }

    ExportFixture fx;
    std::vector<Shown> shown;
};

TEST_F(ExportUiTest, DialogProposesCaptionInUserFolderAndCancelIsSilent)
{
    exporting::SaveDialogRequest asked;
    exporting::setSaveDialog([&](QWidget *, const exporting::SaveDialogRequest &r) {
        asked = r;
        return QString();
    });
    exporting::exportSelectedTaxon(nullptr, QStringLiteral("dbf"));
    EXPECT_EQ(asked.title, QStringLiteral("Carabus olympiae"));
    EXPECT_EQ(asked.proposedName, QStringLiteral("Carabus olympiae"));
    EXPECT_EQ(asked.startFolder, fx.outFolder);
    EXPECT_EQ(asked.filter, QStringLiteral("dbase files (*.dbf)"));
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(QDir(fx.outFolder).isEmpty());
}

TEST_F(ExportUiTest, SuccessAndFailureAreReportedWithTheirBoxes)
{
    QString path = fx.out(QStringLiteral("Carabus olympiae.shp"));
    exporting::setSaveDialog([&](QWidget *, const exporting::SaveDialogRequest &) { return path; });
    exporting::exportSelectedTaxon(nullptr, QStringLiteral("shp"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, MessageKind::Info);
    EXPECT_EQ(shown[0].text, QStringLiteral("Exported in Carabus.shp"));
    EXPECT_TRUE(QFileInfo::exists(fx.out(QStringLiteral("Carabus.dbf"))));

    writeFile(fx.out(QStringLiteral("plain")), "file");
    path = fx.out(QStringLiteral("plain/abc"));
    exporting::exportSelectedTaxon(nullptr, QStringLiteral("txt"));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].kind, MessageKind::Error);
    EXPECT_EQ(shown[1].caption, QStringLiteral("Ortolan Error"));
    EXPECT_EQ(shown[1].text, QStringLiteral("Export failed"));
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST(ClipboardCopy, ClipboardHoldsTheSurfaceAtItsPixelSizeReplacingText)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("earlier"));
    QWidget surface;
    surface.resize(123, 45);
    surface.setAutoFillBackground(true);
    QPalette palette = surface.palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 255));
    surface.setPalette(palette);
    ASSERT_TRUE(exporting::copyMapToClipboard(surface));
    const QImage copied = clipboard->image();
    const qreal ratio = surface.devicePixelRatioF();
    EXPECT_EQ(copied.size(), QSize(qRound(123 * ratio), qRound(45 * ratio)));
    EXPECT_EQ(copied.pixelColor(60, 20), QColor(0, 128, 255));
    EXPECT_FALSE(clipboard->mimeData()->hasText());

    QWidget empty;
    empty.resize(0, 0);
    EXPECT_FALSE(exporting::copyMapToClipboard(empty));
    EXPECT_EQ(clipboard->image().size(), copied.size());
}

}  // namespace
