#include "map/MapWidget.h"

#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "map/BackgroundMaps.h"
#include "map/BackgroundWindow.h"
#include "map/MapCursors.h"
#include "map/SquareCode.h"
#include "map/SquareSites.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>

#include <cmath>

namespace ortolan::map {

namespace {

constexpr double TwipsPerInch = 1440.0;

// Restores the pointer however the handler ends.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

}  // namespace

MapWidget::MapWidget(QWidget *parent) : QWidget(parent), m_backgroundName(backgrounds::Hydrography)
{
    setObjectName(QStringLiteral("ITALY"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(mapCursor(MapCursor::Cross));
    connect(&m_model, &MapViewModel::sceneChanged, this, [this] {
        m_canvasStale = true;
        update();
    });
    connect(&m_model, &MapViewModel::layoutChanged, this, &MapWidget::applyLayout);
    connect(&m_model, &MapViewModel::cursorChanged, this, &MapWidget::applyCursor);
    connect(&m_model, &MapViewModel::rubberBandChanged, this, qOverload<>(&QWidget::update));
    connect(&m_model, &MapViewModel::statusTextChanged, this, &MapWidget::statusTextChanged);
    connect(&m_model, &MapViewModel::toolButtonStateChanged, this, &MapWidget::toolButtonStateChanged);
}

MapWidget::~MapWidget()
{
    if (m_backgroundWindow)
        m_backgroundWindow->close();
}

void MapWidget::attachScrollBars(QScrollBar *horizontal, QScrollBar *vertical)
{
    for (QScrollBar *bar : {m_hBar.data(), m_vBar.data()})
        if (bar)
            disconnect(bar, nullptr, this, nullptr);
    m_hBar = horizontal;
    m_vBar = vertical;
    if (m_hBar) {
        m_hBar->setObjectName(QStringLiteral("HScroll1"));
        connect(m_hBar, &QScrollBar::valueChanged, this, [this](int value) { m_model.HScroll1_Change(value); });
    }
    if (m_vBar) {
        m_vBar->setObjectName(QStringLiteral("VScroll1"));
        connect(m_vBar, &QScrollBar::valueChanged, this, [this](int value) { m_model.VScroll1_Change(value); });
    }
    applyLayout();
}

void MapWidget::setFrameRect(const QRect &pixels) { m_frameRect = pixels; }

QRect MapWidget::frameRect() const
{
    if (m_frameRect)
        return *m_frameRect;
    return parentWidget() ? parentWidget()->contentsRect() : QRect(QPoint(0, 0), size());
}

double MapWidget::twipsPerPixel() const
{
    const int dpi = logicalDpiX();
    return TwipsPerInch / (dpi > 0 ? dpi : 96);
}

QRectF MapWidget::toPixels(const QRectF &twips) const
{
    const double k = twipsPerPixel();
    return QRectF(twips.x() / k, twips.y() / k, twips.width() / k, twips.height() / k);
}

// --- The map's side of the species window -------------------------------------------------

void MapWidget::prepare()
{
    m_prepared = true;
    const BackgroundPicture picture = BackgroundPicture::load(backgrounds::path(m_backgroundName));
    m_renderer.setBackground(picture);
    // Measured once: later backgrounds share the frame and size of this one.
    const QSizeF natural = picture.naturalSizeTwips();
    if (!natural.isEmpty())
        m_model.setPictureNaturalSize(natural);
}

bool MapWidget::riscala()
{
    if (!m_prepared)
        prepare();
    if (!m_hBar && parentWidget())
        attachScrollBars(new QScrollBar(Qt::Horizontal, parentWidget()), new QScrollBar(Qt::Vertical, parentWidget()));
    const double k = twipsPerPixel();
    const QRect frame = frameRect();
    MapViewModel::Frame f;
    f.rect = QRectF(frame.x() * k, frame.y() * k, frame.width() * k, frame.height() * k);
    f.hScrollHeight = (m_hBar ? m_hBar->sizeHint().height() : 0) * k;
    f.vScrollWidth = (m_vBar ? m_vBar->sizeHint().width() : 0) * k;
    m_model.setFrame(f);
    const bool fitted = m_model.Riscala();
    m_renderer.setGeometry(m_model.geometry());
    loadSquares();
    return fitted;
}

void MapWidget::loadSquares()
{
    const QString taxon = settings().SelectedTaxonCode;
    QStringList messages;
    try {
        if (taxon.isEmpty() || taxon == QStringLiteral("No"))
            m_records.clear();
        else
            m_records.load(taxon);
    } catch (const data::DataError &error) {
        m_records.clear();
        messages << settings().messages.MsgDataError + error.description();
    }
    emit captionChanged(settings().SelectedCaption);
    messages += m_records.locate(m_model.geometry());
    m_renderer.setDots(m_records);
    m_canvasStale = true;
    update();
    // A refit of the same squares (every resize of the window) does not repeat
    // the messages already shown for them.
    const bool repeated = taxon == m_loadedTaxon && messages == m_loadedMessages;
    m_loadedTaxon = taxon;
    m_loadedMessages = messages;
    if (!repeated)
        for (const QString &message : messages)
            showError(message, this);
}

BackgroundWindow *MapWidget::chooseBackground()
{
    if (m_backgroundWindow)
        m_backgroundWindow->close();
    auto *window = new BackgroundWindow(*this, this->window());
    m_backgroundWindow = window;
    window->show();
    return window;
}

bool MapWidget::applyBackground(const QString &name)
{
    const BackgroundPicture picture = BackgroundPicture::load(backgrounds::path(name));
    if (picture.isNull())
        return false;
    m_backgroundName = name;
    m_renderer.setBackground(picture);
    m_canvasStale = true;
    riscala();
    return true;
}

// --- Layout ------------------------------------------------------------------------------------

void MapWidget::applyLayout()
{
    if (m_model.isValid()) {
        const QRectF px = toPixels(m_model.surfaceRect());
        setGeometry(QRect(qRound(px.x()), qRound(px.y()), qMax(1, qRound(px.width())), qMax(1, qRound(px.height()))));
        show();
    } else {
        hide();
    }
    const auto place = [this](QScrollBar *bar, const ScrollBarState &state) {
        if (!bar)
            return;
        const QSignalBlocker blocker(bar);
        bar->setRange(0, state.maximum);
        bar->setPageStep(qMax(1, state.largeChange));
        // One arrow click moves an eighth of a page.
        bar->setSingleStep(qMax(1, state.largeChange / 8));
        bar->setValue(state.value);
        bar->setEnabled(state.enabled);
        if (!state.geometry.isEmpty())
            bar->setGeometry(toPixels(state.geometry).toRect());
        bar->setVisible(state.visible);
        bar->raise();
    };
    place(m_hBar, m_model.hScroll());
    place(m_vBar, m_model.vScroll());
}

void MapWidget::applyCursor(MapCursor cursor) { setCursor(mapCursor(cursor)); }

// --- Drawing -------------------------------------------------------------------------------------

MapRenderer::View MapWidget::currentView() const
{
    MapRenderer::View view;
    view.world = m_model.worldSize();
    view.viewRect = m_model.viewRect();
    view.grid = m_model.gridShown();
    view.areaFrame = m_model.areaViewShown();
    return view;
}

void MapWidget::renderView(QPainter &painter, const QRectF &target) const
{
    if (m_model.isValid())
        m_renderer.render(painter, target, currentView());
    else
        painter.fillRect(target, Qt::white);
}

void MapWidget::ensureCanvas()
{
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * dpr).toSize();
    if (!m_canvasStale && m_canvas.size() == pixels && m_canvas.devicePixelRatio() == dpr)
        return;
    // The map is opaque (the renderer starts with white): no alpha channel,
    // which the raster engine draws into faster.
    if (m_canvas.size() != pixels)
        m_canvas = QImage(pixels, QImage::Format_RGB32);
    m_canvas.setDevicePixelRatio(dpr);
    QPainter painter(&m_canvas);
    renderView(painter, QRectF(QPointF(0, 0), QSizeF(size())));
    m_canvasStale = false;
}

QImage MapWidget::canvas()
{
    ensureCanvas();
    return m_canvas;
}

std::optional<QColor> MapWidget::pixelAt(QPointF world)
{
    ensureCanvas();
    const QPointF at = surfacePosition(world) * m_canvas.devicePixelRatio();
    const QPoint pixel(int(std::floor(at.x())), int(std::floor(at.y())));
    if (!m_canvas.rect().contains(pixel))
        return std::nullopt;
    return m_canvas.pixelColor(pixel);
}

QPointF MapWidget::surfacePosition(QPointF world) const
{
    return MapRenderer::worldToTarget(m_model.viewRect(), QRectF(QPointF(0, 0), QSizeF(size()))).map(world);
}

QPointF MapWidget::worldPosition(QPointF surface) const
{
    return MapRenderer::worldToTarget(m_model.viewRect(), QRectF(QPointF(0, 0), QSizeF(size())))
        .inverted()
        .map(surface);
}

void MapWidget::paintEvent(QPaintEvent *)
{
    ensureCanvas();
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_canvas);
    if (const auto band = m_model.rubberBand()) {
        // Shape1: the dotted rubber band of the zoom-area tool, in scale units.
        const QRectF s = m_model.scale();
        if (s.width() > 0 && s.height() > 0) {
            const double kx = width() / s.width();
            const double ky = height() / s.height();
            const QRectF px((band->left() - s.left()) * kx, (band->top() - s.top()) * ky, band->width() * kx,
                            band->height() * ky);
            QPen pen(Qt::black, 1.0, Qt::DotLine);
            pen.setCosmetic(true);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(px);
        }
    }
}

void MapWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_canvasStale = true;
}

// --- Mouse ----------------------------------------------------------------------------------------

QPointF MapWidget::toScale(QPointF pixels) const
{
    const QRectF s = m_model.scale();
    if (width() <= 0 || height() <= 0)
        return s.topLeft();
    return QPointF(s.left() + pixels.x() * s.width() / width(), s.top() + pixels.y() * s.height() / height());
}

// The tools read the last mouse position and the square read out there; a
// press or release where no move was reported first counts as a move there.
void MapWidget::followMouse(QMouseEvent *event, Qt::MouseButtons buttons)
{
    const QPointF at = toScale(event->position());
    if (at != m_model.lastMouse())
        m_model.ITALY_MouseMove(buttons, at);
}

void MapWidget::mousePressEvent(QMouseEvent *event)
{
    followMouse(event, Qt::NoButton);
    m_model.ITALY_MouseDown(event->button(), toScale(event->position()));
}

void MapWidget::mouseMoveEvent(QMouseEvent *event)
{
    m_model.ITALY_MouseMove(event->buttons(), toScale(event->position()));
}

void MapWidget::mouseReleaseEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    followMouse(event, event->buttons() | button);
    m_model.ITALY_MouseUp(button, toScale(event->position()));
    if (button == Qt::LeftButton && rect().contains(event->position().toPoint()))
        openSitesOfClick();
}

void MapWidget::openSitesOfClick()
{
    const auto world = m_model.ITALY_Click();
    if (!world)
        return;
    // Geometric hit test on the drawn dots; half a pixel around each for its outline.
    const double tolerance = width() > 0 ? 0.5 * m_model.viewRect().width() / width() : 0.0;
    const QStringList hit = m_records.dotsAt(*world, m_renderer.dotRadius(), tolerance);
    if (hit.isEmpty())
        return;
    const QString cursorCode = m_model.cursorSquareCode();
    const QString alternative = SquareCode::overlapAlternative(cursorCode);
    const QString taxon = settings().SelectedTaxonCode;
    QString code;
    QString failure;
    {
        WaitCursor wait;
        emit closeSitesRequested();
        try {
            const auto connection = data::Connection::openDefault();
            code = squaresites::firstWithSites(*connection, taxon, squaresites::candidates(cursorCode, hit));
        } catch (const data::DataError &error) {
            failure = error.description();
        }
    }
    if (!failure.isEmpty()) {
        showError(settings().messages.MsgDataError + failure, this);
        return;
    }
    if (code.isEmpty()) {
        showError(settings().messages.MsgDataError + (alternative.isEmpty() ? cursorCode : alternative), this);
        return;
    }
    m_selectedSquare = code;
    settings().RecordQuery = data::queries::sitesInSquare(taxon, code);
    emit sitesRequested(code, settings().messages.TitleSites + settings().SelectedCaption + QStringLiteral(" in ") + code);
}

}  // namespace ortolan::map
