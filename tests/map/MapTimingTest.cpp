// Timing of the map view with the shipped background and a taxon of about a
// thousand squares, on the map pane of a 1600 x 1000 species window. Run on demand:
//   test_map_timing --gtest_also_run_disabled_tests
// It prints processor-time figures per repaint and asserts nothing about them
// (budgets are the benchmark's).
#include "app/Settings.h"
#include "map/MapWidget.h"
#include "support/FixtureDatabase.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using ortolan::map::MapWidget;
namespace MapButton = ortolan::map::MapButton;

namespace {

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Figures {
    std::vector<double> samples;
    void report(const char *what) const
    {
        std::vector<double> s = samples;
        std::sort(s.begin(), s.end());
        double sum = 0;
        for (double v : s)
            sum += v;
        std::printf("%-44s n=%3zu  mean %6.2f ms  median %6.2f ms  max %6.2f ms\n", what, s.size(), sum / s.size(),
                    s[s.size() / 2], s.back());
    }
};

// One step: the model's work, the canvas drawn again and the widget painted.
double timed(MapWidget &map, const std::function<void()> &step)
{
    const double start = cpuMs();
    step();
    map.canvas();
    map.repaint();
    return cpuMs() - start;
}

TEST(MapTiming, DISABLED_RepaintsOfAZoomedView)
{
    const QString maps = ortolan::test::sourceDir() + QStringLiteral("/assets/maps");
    if (!QFile::exists(maps + QStringLiteral("/ItaliaNEW.wmf")))
        GTEST_SKIP() << "no shipped background maps";
    ortolan::Settings saved = ortolan::settings();
    ortolan::settings().ApplicationFolder = maps;

    // A species found in every third square of the square table.
    QTemporaryDir dir;
    ortolan::test::FixtureDatabase fixture(dir.path());
    fixture.addStandardChecklist();
    QFile table(ortolan::test::sourceDir() + QStringLiteral("/assets/squares/squares.csv"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    table.readLine();
    fixture.exec(QStringLiteral("BEGIN"));
    int line = 0;
    int squares = 0;
    while (!table.atEnd()) {
        const QString code = QString::fromUtf8(table.readLine()).section(QLatin1Char(','), 0, 0);
        if (line++ % 3 == 0) {
            fixture.insert("Stazioni", {{"CODICE_SP", "044.00201.001.0"}, {"UTM", code}, {"LOC", "x"}});
            ++squares;
        }
    }
    fixture.exec(QStringLiteral("COMMIT"));
    ortolan::settings().DatabasePath = fixture.path();
    ortolan::settings().DatabasePassword = ortolan::test::FixtureDatabase::password();
    ortolan::settings().SelectedTaxonCode = QStringLiteral("044.00201.001.0");

    // The map pane of a 1600 x 1000 window with the tree at half the width.
    QWidget frame;
    frame.resize(800, 930);
    auto *map = new MapWidget(&frame);
    map->attachScrollBars(new QScrollBar(Qt::Horizontal, &frame), new QScrollBar(Qt::Vertical, &frame));
    frame.show();
    map->prepare();
    map->riscala();
    map->repaint();
    std::printf("surface %d x %d px, %d squares\n", map->width(), map->height(), squares);

    Figures select;
    for (int i = 0; i < 5; ++i)
        select.samples.push_back(timed(*map, [&] { map->riscala(); }));
    select.report("select a taxon (query, locate, draw)");

    map->model().setButtonPressed(MapButton::ZoomIn, true);
    map->model().zoomInTool();
    Figures zoom;
    const QPoint centre(map->width() / 2, map->height() / 3);
    for (int level = 1; level <= 4; ++level) {
        const double ms = timed(*map, [&] { QTest::mouseClick(map, Qt::LeftButton, {}, centre); });
        std::printf("zoom-in step to level %d: %.2f ms\n", level, ms);
        if (level == 4)
            zoom.samples.push_back(ms);
    }
    // Out to level 3 and in again, at points around the map.
    for (int i = 0; i < 8; ++i) {
        const QPoint at(map->width() * (2 + i % 5) / 8, map->height() * (1 + i % 6) / 8);
        QTest::mouseClick(map, Qt::RightButton, {}, at);
        zoom.samples.push_back(timed(*map, [&] { QTest::mouseClick(map, Qt::LeftButton, {}, at); }));
        const QRectF view = map->model().viewRect();
        const QSizeF world = map->model().worldSize();
        std::printf("  zoom-in to level 4 at %.2f x %.2f of the map: %.2f ms\n", view.center().x() / world.width(),
                    view.center().y() / world.height(), zoom.samples.back());
    }
    zoom.report("zoom-in steps from level 3 to level 4");

    // Scrolling and panning where the map is busiest (lakes and rivers of the
    // north), then where it is plain.
    for (const QPointF &spot : {QPointF(0.50, 0.18), QPointF(0.62, 0.55)}) {
        map->model().fullExtent();
        map->model().setButtonPressed(MapButton::ZoomIn, true);
        map->model().zoomInTool();
        QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(int(map->width() * spot.x()), int(map->height() * spot.y())));
        for (int level = 2; level <= 4; ++level)
            QTest::mouseClick(map, Qt::LeftButton, {}, QPoint(map->width() / 2, map->height() / 2));
        const QByteArray where = spot.y() < 0.3 ? QByteArrayLiteral("busy") : QByteArrayLiteral("plain");
        const QRectF view = map->model().viewRect();
        const QSizeF world = map->model().worldSize();
        std::printf("level %d view at %.2f..%.2f x %.2f..%.2f of the map\n", map->model().zoomLevel(),
                    view.left() / world.width(), view.right() / world.width(), view.top() / world.height(),
                    view.bottom() / world.height());

        Figures scroll;
        QScrollBar *h = map->horizontalScrollBar();
        QScrollBar *v = map->verticalScrollBar();
        for (int i = 0; i < 20; ++i) {
            QScrollBar *bar = i % 2 ? v : h;
            scroll.samples.push_back(timed(*map, [&] { bar->setValue(bar->value() + (i < 10 ? 1 : -1) * bar->pageStep() / 4); }));
        }
        scroll.report(QByteArray("scroll steps at level 4, " + where + " area").constData());

        map->model().setButtonPressed(MapButton::Pan, true);
        map->model().panTool();
        Figures pan;
        QPoint at(map->width() / 2, map->height() / 2);
        QTest::mousePress(map, Qt::LeftButton, {}, at);
        for (int i = 0; i < 30; ++i) {
            at += QPoint(i < 15 ? 12 : -12, i % 3 == 0 ? 6 : -3);
            pan.samples.push_back(timed(*map, [&] {
                QMouseEvent move(QEvent::MouseMove, QPointF(at), map->mapToGlobal(QPointF(at)), Qt::NoButton,
                                 Qt::LeftButton, Qt::NoModifier);
                QCoreApplication::sendEvent(map, &move);
            }));
        }
        QTest::mouseRelease(map, Qt::LeftButton, {}, at);
        pan.report(QByteArray("pan drag steps at level 4, " + where + " area").constData());
    }

    Figures grid;
    for (int i = 0; i < 10; ++i)
        grid.samples.push_back(timed(*map, [&] { map->model().setGrid(i % 2 == 1); }));
    grid.report("grid switched at level 4 (cached background)");

    // Floor: blitting a cached background of the surface's size alone.
    const QImage canvas = map->canvas();
    QImage copy(canvas.size(), canvas.format());
    Figures blit;
    for (int i = 0; i < 20; ++i) {
        const double start = cpuMs();
        QPainter p(&copy);
        p.drawImage(0, 0, canvas);
        p.end();
        blit.samples.push_back(cpuMs() - start);
    }
    blit.report("floor: blit of the surface's pixels");

    ortolan::settings() = saved;
}

}  // namespace
