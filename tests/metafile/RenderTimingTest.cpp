// Timing of the map's path through the metafile layer, run on demand:
//   test_metafile_timing --gtest_also_run_disabled_tests
// It prints processor-time figures and asserts nothing about them (budgets are
// the benchmark's).
#include "WmfBuilder.h"

#include "metafile/EmfWriter.h"
#include "metafile/MetafilePicture.h"

#include <QFile>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <random>

using namespace ortolan::metafile;
using namespace ortolan::metafile::test;

namespace {

// A map-like placeable WMF of 110 x 146 mm: regions as filled polygons with
// outlines, rivers as polylines, a few labels; about 300 KB.
QByteArray syntheticMap(bool regions = true, bool rivers = true, bool labels = true)
{
    std::mt19937 random(4101);
    WmfBuilder b(true, QRect(QPoint(0, 0), QPoint(11000, 14600)), 2540, 16);
    b.window(0, 0, 11000, 14600).record(wmf::META_SETBKMODE, {1});
    b.pen(0, 8, 0x404040).select(0);
    b.brush(0, 0xE0F0E0).select(1);
    for (int region = 0; regions && region < 600; ++region) {
        const double cx = 500 + random() % 10000, cy = 500 + random() % 13600, r = 150 + random() % 350;
        QPolygon poly;
        const int n = 80;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n, rr = r * (0.8 + 0.2 * std::sin(5 * a + region));
            poly << QPoint(int(cx + rr * std::cos(a)), int(cy + rr * std::sin(a)));
        }
        b.polygon(poly);
    }
    b.pen(0, 12, 0xC08000).select(2);
    for (int river = 0; rivers && river < 220; ++river) {
        QPolygon line;
        double x = random() % 11000, y = random() % 14600;
        for (int i = 0; i < 120; ++i) {
            x += int(random() % 61) - 30;
            y += int(random() % 61) - 20;
            line << QPoint(int(x), int(y));
        }
        b.polyline(line);
    }
    b.font(-200, "Arial").select(3);
    for (int label = 0; labels && label < 40; ++label)
        b.textOut(random() % 10000, random() % 14000, "Fiume");
    return b.bytes();
}

// Milliseconds of this thread's processor time since the last call: wall-clock
// figures mean little on a machine shared with other builds.
struct CpuTimer {
    double last = now();
    static double now()
    {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    void start() { last = now(); }
    void restart() { last = now(); }
};

double ms(CpuTimer &t)
{
    const double n = CpuTimer::now(), v = n - t.last;
    t.last = n;
    return v;
}

}  // namespace

TEST(RenderTiming, DISABLED_Parts)
{
    const char *names[] = {"regions", "rivers", "labels"};
    for (int part = 0; part < 3; ++part) {
        const MetafilePicture map = MetafilePicture::fromData(syntheticMap(part == 0, part == 1, part == 2));
        QImage image(1000, 1300, QImage::Format_ARGB32_Premultiplied);
        double best = 1e9;
        for (int i = 0; i < 3; ++i) {
            image.fill(Qt::white);
            QPainter p(&image);
            CpuTimer t;
            t.start();
            map.render(&p, QRectF(0, 0, 1000, 1300));
            best = std::min(best, ms(t));
        }
        std::printf("%s: %.1f ms\n", names[part], best);
    }
}

// ORTOLAN_TIMING_WMF=path measures that file instead of the synthetic map.
TEST(RenderTiming, DISABLED_SyntheticMap)
{
    QByteArray bytes = syntheticMap();
    if (const QString path = qEnvironmentVariable("ORTOLAN_TIMING_WMF"); !path.isEmpty()) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    CpuTimer t;
    t.start();
    const MetafilePicture map = MetafilePicture::fromData(bytes);
    const double load = ms(t);
    ASSERT_FALSE(map.isNull());

    QImage image(1000, 1300, QImage::Format_ARGB32_Premultiplied);
    double full = 1e9, zoomed = 1e9;
    for (int i = 0; i < 5; ++i) {
        image.fill(Qt::white);
        QPainter p(&image);
        t.restart();
        map.render(&p, QRectF(0, 0, 1000, 1300));
        full = std::min(full, ms(t));
        image.fill(Qt::white);
        map.render(&p, QRectF(0, 0, 1000, 1300), QRectF(2750, 3650, 1375, 1825));  // zoom x 8
        zoomed = std::min(zoomed, ms(t));
    }
    image.save(QStringLiteral("timing-map.png"));

    double emf = 1e9, emfFirst = 0;
    qsizetype emfBytes = 0;
    for (int i = 0; i < 5; ++i) {
        t.restart();
        EmfWriter w(EmfReferenceDevice::forPage(600, 600, QSizeF(200, 280)), QRect(QPoint(0, 0), QPoint(20000, 28000)));
        w.drawPicture(map, QRect(1063, 709, 2598, 3449));
        emfBytes = w.finish().size();
        emf = std::min(emf, ms(t));
        if (i == 0)
            emfFirst = emf;
    }
    std::printf("WMF %lld bytes, %zu display operations: load %.1f ms, full render 1000x1300 %.1f ms, "
                "zoomed x8 %.1f ms, re-emitted into an EMF page %.1f ms (%lld bytes), on the next pages %.2f ms\n",
                qint64(bytes.size()), map.displayList().ops.size(), load, full, zoomed, emfFirst, qint64(emfBytes), emf);
}
