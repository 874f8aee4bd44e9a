// The map surface of a 1600 x 1000 species window showing a species of about
// a thousand squares: a zoom step into each level (a new view, so the
// background is drawn afresh), pan and scroll steps at the deepest level, and
// the floor of every repaint, a copy of a cached image of the surface's size.
#include "bench/BenchContext.h"
#include "bench/BenchOperation.h"
#include "bench/BenchSuites.h"
#include "bench/BenchTaxa.h"
#include "bench/BenchWindow.h"

#include "browser/SpeciesWindow.h"
#include "map/MapButtons.h"
#include "map/MapWidget.h"

#include <QPainter>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <memory>

namespace ortolan::bench {

namespace {

map::MapWidget &mapOf() { return *BenchWindow::get().mapWidget(); }

void click(map::MapWidget &map, QPointF at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(&map, button, {}, at.toPoint());
}

void repaint(map::MapWidget &map)
{
    map.repaint();
}

// The busiest part of the background (the lakes, rivers and borders of the
// Alps), in fractions of the surface; successive iterations move a little so
// that each step draws a view no cache holds.
QPointF spot(const map::MapWidget &map, int iteration)
{
    const double dx = 0.015 * (iteration % 5), dy = 0.01 * (iteration % 4);
    return QPointF(map.width() * (0.39 + dx), map.height() * (0.06 + dy));
}

// Full view, the zoom-in tool, then clicks at the spot down to `level`.
void zoomTo(map::MapWidget &map, int level, QPointF at)
{
    map.model().fullExtent();
    map.model().setButtonPressed(map::MapButton::ZoomIn, true);
    map.model().zoomInTool();
    for (int l = 0; l < level; ++l)
        click(map, l == 0 ? at : QPointF(map.width() / 2.0, map.height() / 2.0));
    repaint(map);
}

}  // namespace

void registerMapBenchmarks(const QString &database, const QString &suffix)
{
    auto iteration = std::make_shared<int>(0);
    auto once = [database] {
        BenchContext::instance().use(database);
        browser::SpeciesWindow &w = BenchWindow::get();
        if (QTreeWidgetItem *item = BenchWindow::reveal(BenchTaxa::of(database).thousandSquares))
            w.nodeClick(item);
        w.mapWidget()->repaint();
        std::fprintf(stderr, "ortolan-bench: map surface %d x %d pixels in a %d x %d window\n", w.mapWidget()->width(),
                     w.mapWidget()->height(), w.width(), w.height());
    };
    for (int level = 1; level <= 4; ++level) {
        registerOperation({QStringLiteral("zoom step to level %1 (repaint)").arg(level) + suffix, 15,
                           level == 1 ? std::function<void()>(once) : std::function<void()>(),
                           [iteration, level] {
                               map::MapWidget &map = mapOf();
                               zoomTo(map, level - 1, spot(map, ++*iteration));
                           },
                           [iteration, level] {
                               map::MapWidget &map = mapOf();
                               click(map, level == 1 ? spot(map, *iteration)
                                                     : QPointF(map.width() / 2.0, map.height() / 2.0));
                               repaint(map);
                           }});
    }

    // At level 4 over the busy area: scroll a quarter page, drag the map.
    auto bar = std::make_shared<int>(0);
    registerOperation({QStringLiteral("scroll step at level 4") + suffix, 20,
                       [] {
                           map::MapWidget &map = mapOf();
                           zoomTo(map, 4, spot(map, 0));
                       },
                       {},
                       [bar] {
                           map::MapWidget &map = mapOf();
                           QScrollBar *b = (*bar)++ % 2 ? map.verticalScrollBar() : map.horizontalScrollBar();
                           const int direction = (*bar / 2) % 2 ? -1 : 1;
                           b->setValue(b->value() + direction * std::max(1, b->pageStep() / 4));
                           repaint(map);
                       }});
    auto at = std::make_shared<QPoint>();
    auto step = std::make_shared<int>(0);
    registerOperation({QStringLiteral("pan step at level 4") + suffix, 20,
                       [at] {
                           map::MapWidget &map = mapOf();
                           zoomTo(map, 4, spot(map, 0));
                           map.model().setButtonPressed(map::MapButton::Pan, true);
                           map.model().panTool();
                           *at = QPoint(map.width() / 2, map.height() / 2);
                           QTest::mousePress(&map, Qt::LeftButton, {}, *at);
                       },
                       {},
                       [at, step] {
                           map::MapWidget &map = mapOf();
                           const int i = (*step)++;
                           *at += QPoint((i / 10) % 2 ? -12 : 12, i % 3 == 0 ? 6 : -3);
                           QMouseEvent move(QEvent::MouseMove, QPointF(*at), map.mapToGlobal(QPointF(*at)),
                                            Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
                           QCoreApplication::sendEvent(&map, &move);
                           repaint(map);
                       }});

    auto canvas = std::make_shared<QImage>();
    auto copy = std::make_shared<QImage>();
    registerOperation({QStringLiteral("floor: copy of a cached image of the surface") + suffix, 50,
                       [canvas, copy, at] {
                           map::MapWidget &map = mapOf();
                           QTest::mouseRelease(&map, Qt::LeftButton, {}, *at);
                           *canvas = map.canvas();
                           *copy = QImage(canvas->size(), canvas->format());
                       },
                       {},
                       [canvas, copy] {
                           QPainter p(copy.get());
                           p.drawImage(0, 0, *canvas);
                       }});
}

}  // namespace ortolan::bench
