#include "metafile/MetafilePicture.h"

#include "metafile/ByteReader.h"
#include "metafile/EmfReader.h"
#include "metafile/EmfRecords.h"
#include "metafile/WmfReader.h"
#include "metafile/WmfRecords.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QPaintEngine>
#include <QPainter>

#include <atomic>
#include <cmath>

namespace ortolan::metafile {

namespace {

const DisplayList &emptyList()
{
    static const DisplayList list;
    return list;
}

// Largest file we read whole into memory; pictures of the atlas are far smaller.
constexpr qint64 MaxFileBytes = 256 * 1024 * 1024;

Qt::PenStyle qtPenStyle(PenStyle s)
{
    switch (s) {
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Null:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle qtHatch(HatchStyle h)
{
    switch (h) {
    case HatchStyle::Horizontal:
        return Qt::HorPattern;
    case HatchStyle::Vertical:
        return Qt::VerPattern;
    case HatchStyle::ForwardDiagonal:
        return Qt::FDiagPattern;
    case HatchStyle::BackwardDiagonal:
        return Qt::BDiagPattern;
    case HatchStyle::Cross:
        return Qt::CrossPattern;
    case HatchStyle::DiagonalCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

// How a binary raster operation is done on a raster target. Black and White
// draw in that colour; Nop is skipped before this is asked.
QPainter::CompositionMode rasterMode(Rop2 rop)
{
    switch (rop) {
    case Rop2::MaskPen:
        return QPainter::RasterOp_SourceAndDestination;
    case Rop2::MergePen:
        return QPainter::RasterOp_SourceOrDestination;
    case Rop2::XorPen:
        return QPainter::RasterOp_SourceXorDestination;
    case Rop2::NotCopyPen:
        return QPainter::RasterOp_NotSource;
    case Rop2::Not:
        return QPainter::RasterOp_NotDestination;
    case Rop2::NotXorPen:
        return QPainter::RasterOp_NotSourceXorDestination;
    case Rop2::NotMaskPen:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case Rop2::NotMergePen:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case Rop2::MaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case Rop2::MaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case Rop2::MergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case Rop2::MergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

std::optional<QColor> ropColour(Rop2 rop)
{
    if (rop == Rop2::Black)
        return QColor(Qt::black);
    if (rop == Rop2::White)
        return QColor(Qt::white);
    return std::nullopt;
}

// Plays a display list with one painter; holds the per-render pens and brushes.
class Player {
public:
    Player(QPainter *p, const DisplayList &list, const QTransform &deviceToTarget, const QRectF &target)
        : m_p(p), m_list(list)
    {
        m_raster = p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Raster;
        m_base = deviceToTarget * p->worldTransform();
        p->setWorldTransform(m_base);
        const QTransform combined = p->combinedTransform();
        const double scale = std::sqrt(std::abs(combined.determinant()));
        bool invertible = false;
        const QTransform toDevice = deviceToTarget.inverted(&invertible);
        m_visible = invertible ? toDevice.mapRect(target) : QRectF(-1e9, -1e9, 2e9, 2e9);
        for (const PenSpec &wanted : list.pens) {
            QPen pen(wanted.color);
            pen.setStyle(qtPenStyle(wanted.style));
            pen.setCapStyle(wanted.cap);
            pen.setJoinStyle(wanted.join);
            // The platform draws pens in whole pixels: under 1.5 pixels wide is one
            // pixel, which the painter's fast cosmetic stroker draws.
            if (wanted.width <= 0 || wanted.width * scale < 1.5) {
                pen.setCosmetic(true);
                pen.setWidthF(1);
            } else {
                pen.setWidthF(wanted.width);
                // Round joins on lines a few pixels wide cannot be seen but cost
                // the stroker most of its time (measured: 8x on a river network).
                if (wanted.width * scale < 3) {
                    pen.setJoinStyle(Qt::BevelJoin);
                    pen.setCapStyle(Qt::FlatCap);
                }
            }
            m_pens.push_back(pen);
        }
        for (const BrushSpec &wanted : list.brushes) {
            if (wanted.style == BrushStyle::Hatched)
                m_brushes.push_back(QBrush(wanted.color, qtHatch(wanted.hatch)));
            else if (wanted.style == BrushStyle::DibPattern && !wanted.pattern.isNull())
                m_brushes.push_back(QBrush(wanted.pattern));
            else
                m_brushes.push_back(QBrush(wanted.color));
        }
    }

    void play()
    {
        m_p->save();
        for (const DisplayOp &op : m_list.ops)
            std::visit([this](const auto &o) { draw(o); }, op);
        m_p->restore();
    }

private:
    void setMode(Rop2 rop)
    {
        m_p->setCompositionMode(m_raster ? rasterMode(rop) : QPainter::CompositionMode_SourceOver);
    }

    void draw(const PathOp &op)
    {
        if (!op.bounds.intersects(m_visible) || op.rop == Rop2::Nop)
            return;
        setMode(op.rop);
        const std::optional<QColor> forced = ropColour(op.rop);
        const bool isPolygon = !op.polygon.isEmpty();
        if (op.brush >= 0) {
            const BrushSpec &wanted = m_list.brushes[size_t(op.brush)];
            QBrush brush = forced ? QBrush(*forced) : m_brushes[size_t(op.brush)];
            if (wanted.style == BrushStyle::Hatched && wanted.opaqueBackground && !forced)
                fill(op, QBrush(wanted.background));
            if (isPolygon && op.pen >= 0) {  // one call fills and outlines
                m_p->setBrush(brush);
                m_p->setPen(strokePen(op, forced));
                m_p->drawPolygon(op.polygon, op.fillRule);
                return;
            }
            fill(op, brush);
        }
        if (op.pen < 0)
            return;
        if (isPolygon) {
            m_p->setPen(strokePen(op, forced));
            if (op.closed) {
                m_p->setBrush(Qt::NoBrush);
                m_p->drawPolygon(op.polygon);
            } else {
                m_p->drawPolyline(op.polygon);
            }
        } else {
            m_p->strokePath(op.path, strokePen(op, forced));
        }
    }

    QPen strokePen(const PathOp &op, const std::optional<QColor> &forced) const
    {
        QPen pen = m_pens[size_t(op.pen)];
        if (forced)
            pen.setColor(*forced);
        return pen;
    }

    void fill(const PathOp &op, const QBrush &brush)
    {
        if (op.polygon.isEmpty()) {
            m_p->fillPath(op.path, brush);
            return;
        }
        m_p->setPen(Qt::NoPen);
        m_p->setBrush(brush);
        m_p->drawPolygon(op.polygon, op.fillRule);
    }

    void draw(const TextOp &op)
    {
        if (!op.bounds.intersects(m_visible) || op.rop == Rop2::Nop)
            return;
        m_p->save();
        if (op.clipped)
            m_p->setClipPath(op.clip, Qt::IntersectClip);
        m_p->setWorldTransform(op.transform * m_base);
        setMode(op.rop);
        if (op.opaque)
            m_p->fillRect(op.backgroundRect, op.background);
        m_p->setWorldTransform(QTransform::fromScale(op.scale, op.scale) * op.transform * m_base);
        // Glyph size in output pixels: the longest and the shortest extent of a
        // glyph square under the transform (its singular values), so a sheared
        // transform that flattens text counts as squashed. A font's stretch (from
        // the width of its record, 1% to 4000%) widens the glyphs the rasteriser
        // is asked for just as the transform does.
        const QTransform full = m_p->combinedTransform();
        const double widthFactor = op.font.stretch() > 0 ? op.font.stretch() / 100.0 : 1.0;
        const double a = widthFactor * full.m11(), b = widthFactor * full.m12(), c = full.m21(), d = full.m22();
        const double squares = a * a + b * b + c * c + d * d;
        const double det = std::abs(a * d - b * c);
        const double largest = std::sqrt((squares + std::sqrt(std::max(0.0, squares * squares - 4 * det * det))) / 2);
        const double gmax = TextOp::FontPixels * largest;
        const double gmin = largest > 0 ? TextOp::FontPixels * det / largest : 0;
        if (!std::isfinite(gmax) || !std::isfinite(gmin) || gmin < 0.5) {
            m_p->restore();  // nothing a reader could see
            return;
        }
        // The font rasteriser fails on glyphs that are huge or squashed; those are
        // filled as outlines instead.
        const bool outlines = gmax > 1500 || gmax > 8 * gmin;
        const QColor colour = ropColour(op.rop).value_or(op.color);
        m_p->setFont(op.font);
        m_p->setPen(colour);
        QPainterPath glyphs;
        const qreal k = op.scale > 0 ? 1 / op.scale : 1;
        for (qsizetype i = 0; i < op.text.size(); ++i) {
            const qsizetype n = op.text.at(i).isHighSurrogate() && i + 1 < op.text.size() ? 2 : 1;
            const QChar c = op.text.at(i);
            if (n == 2 || !c.isSpace() || op.font.underline() || op.font.strikeOut()) {
                const QPointF at(op.positions[i] * k, 0);
                if (outlines)
                    glyphs.addText(at, op.font, op.text.mid(i, n));
                else
                    m_p->drawText(at, op.text.mid(i, n));
            }
            i += n - 1;
        }
        if (outlines)
            m_p->fillPath(glyphs, colour);
        m_p->restore();
    }

    void draw(const ImageOp &op)
    {
        if (!op.bounds.intersects(m_visible))
            return;
        m_p->save();
        m_p->setWorldTransform(op.transform * m_base);
        if (m_raster)
            m_p->setCompositionMode(op.mode);
        m_p->drawImage(op.source, op.image, op.source);
        m_p->restore();
    }

    void draw(const ClipOp &op)
    {
        m_p->restore();
        m_p->save();
        if (!op.reset)
            m_p->setClipPath(op.path, Qt::IntersectClip);
    }

    QPainter *m_p;
    const DisplayList &m_list;
    QTransform m_base;
    QRectF m_visible;
    bool m_raster = false;
    std::vector<QPen> m_pens;
    std::vector<QBrush> m_brushes;
};

}  // namespace

MetafilePicture MetafilePicture::load(const QString &path, QString *error)
{
    // The few files loaded last, by path, size and time of change: printing an
    // atlas loads the same background for every page.
    struct Loaded {
        QString path;
        qint64 size = 0;
        QDateTime modified;
        MetafilePicture picture;
    };
    thread_local std::vector<Loaded> recent;
    const QFileInfo info(path);
    const QString key = info.absoluteFilePath();
    for (const Loaded &l : recent)
        if (l.path == key && l.size == info.size() && l.modified == info.lastModified())
            return l.picture;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return MetafilePicture();
    }
    if (file.size() > MaxFileBytes) {
        if (error)
            *error = QStringLiteral("%1 is too large for a picture").arg(path);
        return MetafilePicture();
    }
    QString why;
    MetafilePicture picture = fromData(file.readAll(), &why);
    if (picture.isNull()) {
        if (error)
            *error = info.fileName() + QStringLiteral(": ") + why;
        return picture;
    }
    if (recent.size() >= 4)
        recent.erase(recent.begin());
    recent.push_back(Loaded{key, info.size(), info.lastModified(), picture});
    return picture;
}

MetafilePicture MetafilePicture::fromData(const QByteArray &data, QString *error)
{
    ByteReader r(data);
    const quint32 first = r.u32();
    r.seek(40);
    const quint32 emfSignature = r.u32();
    if (data.size() >= 4 && first == wmf::PlaceableKey)
        return WmfReader::read(data, error);
    if (data.size() >= 44 && first == emf::EMR_HEADER && emfSignature == emf::Signature)
        return EmfReader::read(data, error);
    if (data.size() >= 4 && ((first & 0xFFFF) == 1 || (first & 0xFFFF) == 2) && (first >> 16) == 9)
        return WmfReader::read(data, error);
    if (error)
        *error = QStringLiteral("not a Windows metafile or enhanced metafile");
    return MetafilePicture();
}

MetafilePicture MetafilePicture::fromDisplayList(DisplayList list, Format format, const QRectF &naturalRect,
                                                 double unitsPerInch, QStringList warnings)
{
    MetafilePicture p;
    static std::atomic<quint64> serial{0};
    p.m_id = ++serial;
    p.m_list = std::make_shared<const DisplayList>(std::move(list));
    p.m_format = format;
    p.m_natural = naturalRect;
    p.m_unitsPerInch = unitsPerInch;
    p.m_warnings = std::move(warnings);
    return p;
}

const DisplayList &MetafilePicture::displayList() const
{
    return m_list ? *m_list : emptyList();
}

QSizeF MetafilePicture::naturalSizeMm() const
{
    if (m_unitsPerInch <= 0)
        return QSizeF();
    return QSizeF(m_natural.width() * 25.4 / m_unitsPerInch, m_natural.height() * 25.4 / m_unitsPerInch);
}

QTransform MetafilePicture::pictureToTarget(const QRectF &source, const QRectF &target)
{
    if (source.width() == 0 || source.height() == 0)
        return QTransform();
    const double sx = target.width() / source.width(), sy = target.height() / source.height();
    return QTransform(sx, 0, 0, sy, target.left() - source.left() * sx, target.top() - source.top() * sy);
}

void MetafilePicture::render(QPainter *painter, const QRectF &target, const QRectF &source) const
{
    if (!m_list || !painter || !painter->isActive() || target.isEmpty())
        return;
    const QRectF src = source.isNull() ? m_natural : source;
    if (src.width() == 0 || src.height() == 0)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::TextAntialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->setClipRect(target, Qt::IntersectClip);
    Player player(painter, *m_list, m_list->deviceToPicture * pictureToTarget(src, target), target);
    player.play();
    painter->restore();
}

QImage MetafilePicture::toImage(const QSize &size, const QRectF &source, const QColor &background) const
{
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(background);
    QPainter painter(&image);
    render(&painter, QRectF(QPointF(0, 0), QSizeF(size)), source);
    painter.end();
    return image;
}

}  // namespace ortolan::metafile
