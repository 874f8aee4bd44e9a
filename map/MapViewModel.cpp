#include "map/MapViewModel.h"

#include "app/Settings.h"
#include "map/WholeNumbers.h"

#include <algorithm>
#include <cmath>

namespace ortolan::map {

// Collects the signals of one public call (which may run other public calls)
// and sends them once, when the outermost call ends, so that a listener sees a
// consistent model and repaints once.
class MapViewModel::Batch {
public:
    explicit Batch(MapViewModel *model) : m_model(model) { ++m_model->m_depth; }
    ~Batch()
    {
        if (--m_model->m_depth == 0)
            m_model->flush();
    }
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;

private:
    MapViewModel *m_model;
};

MapViewModel::MapViewModel(QObject *parent) : QObject(parent)
{
    m_buttons[MapButton::Select] = true;
    m_buttons[MapButton::Grid] = true;
    m_status[3] = zoomText();
}

// --- Inputs ----------------------------------------------------------------------

void MapViewModel::setPictureNaturalSize(QSizeF twips)
{
    if (twips.width() > 0.0 && twips.height() > 0.0 && std::isfinite(twips.width()) && std::isfinite(twips.height()))
        m_natural = twips;
}

double MapViewModel::pictureAspect() const { return m_natural.width() / m_natural.height(); }

void MapViewModel::setFrame(const Frame &frame) { m_frame = frame; }

void MapViewModel::setButtonPressed(int position, bool pressed)
{
    if (position > 0 && position < int(m_buttons.size()))
        m_buttons[size_t(position)] = pressed;
}

bool MapViewModel::isButtonPressed(int position) const
{
    return position > 0 && position < int(m_buttons.size()) && m_buttons[size_t(position)];
}

bool MapViewModel::anyToolActive() const
{
    return std::any_of(m_toolFlags.begin(), m_toolFlags.end(), [](int flag) { return flag == 1; });
}

// --- Small setters that queue signals ------------------------------------------------

void MapViewModel::press(int position, bool pressed)
{
    setButtonPressed(position, pressed);
    m_pendingButtons.emplace_back(position, pressed);
}

void MapViewModel::releaseToolButtons()
{
    for (int position : {MapButton::ZoomIn, MapButton::ZoomOut, MapButton::Area, MapButton::Pan})
        press(position, false);
}

void MapViewModel::onlyTool(Tool tool)
{
    m_toolFlags = {};
    m_toolFlags[tool] = 1;
    // The window has pressed the tool's button, which releases the rest of the group.
    static constexpr int positions[] = {MapButton::ZoomIn, MapButton::ZoomOut, MapButton::Area, MapButton::Pan};
    for (int i = 0; i < 4; ++i)
        setButtonPressed(positions[i], i == tool);
}

void MapViewModel::setCursorShape(MapCursor cursor)
{
    if (m_cursor != cursor) {
        m_cursor = cursor;
        m_pendingCursor = true;
    }
}

void MapViewModel::setStatus(int panel, const QString &text)
{
    if (m_status[size_t(panel)] != text) {
        m_status[size_t(panel)] = text;
        m_pendingStatus[size_t(panel)] = true;
    }
}

void MapViewModel::setRubberBand(std::optional<QRectF> band)
{
    if (m_band != band) {
        m_band = band;
        m_pendingBand = true;
    }
}

void MapViewModel::setSurface(const QRectF &rect)
{
    if (m_surface != rect) {
        m_surface = rect;
        m_pendingLayout = true;
    }
}

void MapViewModel::setViewRect(const QRectF &rect)
{
    m_viewRect = rect;
    sceneDirty();
}

void MapViewModel::setScrollBar(Axis axis, const ScrollBarState &state)
{
    ScrollBarState &bar = axis == Axis::Horizontal ? m_hScroll : m_vScroll;
    if (!(bar == state)) {
        bar = state;
        m_pendingLayout = true;
    }
}

// Setting a bar's value from the program runs its change event, as moving it does.
void MapViewModel::setScrollValue(Axis axis, int value)
{
    const ScrollBarState &bar = axis == Axis::Horizontal ? m_hScroll : m_vScroll;
    value = std::clamp(value, 0, std::max(0, bar.maximum));
    if (bar.value != value)
        scrollChange(axis, value);
}

void MapViewModel::flush()
{
    // Take the queue first: listeners may call back into the model.
    const auto buttons = std::exchange(m_pendingButtons, {});
    const bool layout = std::exchange(m_pendingLayout, false);
    const bool cursor = std::exchange(m_pendingCursor, false);
    const bool band = std::exchange(m_pendingBand, false);
    const auto status = std::exchange(m_pendingStatus, {});
    const bool scene = std::exchange(m_pendingScene, false);
    for (const auto &[position, pressed] : buttons)
        emit toolButtonStateChanged(position, pressed);
    if (layout)
        emit layoutChanged();
    if (cursor)
        emit cursorChanged(m_cursor);
    if (band)
        emit rubberBandChanged();
    for (int panel = 1; panel <= 3; ++panel)
        if (status[size_t(panel)])
            emit statusTextChanged(panel, m_status[size_t(panel)]);
    if (scene)
        emit sceneChanged();
}

// --- State ---------------------------------------------------------------------------

QRectF MapViewModel::scale() const
{
    return selectToolOn() ? m_viewRect : QRectF(0.0, 0.0, m_W, m_H);
}

QPointF MapViewModel::worldFromScale(QPointF position) const
{
    const QRectF s = scale();
    if (s.width() <= 0.0 || s.height() <= 0.0)
        return position;
    return QPointF(m_viewRect.left() + (position.x() - s.left()) * m_viewRect.width() / s.width(),
                   m_viewRect.top() + (position.y() - s.top()) * m_viewRect.height() / s.height());
}

std::optional<QRectF> MapViewModel::rubberBand() const { return m_band; }

QString MapViewModel::statusText(int panel) const
{
    return panel >= 1 && panel <= 3 ? m_status[size_t(panel)] : QString();
}

QString MapViewModel::zoomText() const
{
    return QStringLiteral("Zoom  x ") + QString::number(m_zoomLevel + 1);
}

// --- Riscala and Ripristina ---------------------------------------------------------

bool MapViewModel::Riscala()
{
    Batch batch(this);
    m_toolFlags = {};
    m_zoomLevel = 0;
    m_areaView = false;
    m_areaDrag = false;
    m_panMoved = false;
    setRubberBand(std::nullopt);
    press(MapButton::Grid, true);
    releaseToolButtons();
    // The grid button is pressed again, so printing must draw the grid too.
    settings().GridShown = QStringLiteral("Sì");
    setCursorShape(MapCursor::Cross);
    sceneDirty();

    // The surface keeps the picture's aspect and fills the frame's free area
    // (beside the scroll bars) in one direction.
    const QRectF p = m_frame.rect;
    const double hs = m_frame.hScrollHeight;
    const double vs = m_frame.vScrollWidth;
    const double aspect = pictureAspect();
    double height = p.height() - hs - 3.0 * FrameMargin;
    double width = height * aspect;
    if (p.width() - vs - 3.0 < width) {
        width = p.width() - vs - 3.0;
        height = width / aspect;
    }
    const double top = (p.height() - height - hs) / 2.0 + p.top();
    const double left = (p.width() - width - vs) / 2.0 + p.left();

    m_valid = false;
    const auto hMax = toInt16(width);
    const auto vMax = toInt16(height);
    const ZoneGeometry geometry(width, height);
    if (!(width > 0.0) || !(height > 0.0) || !hMax || !vMax || !geometry.isValid()) {
        // No usable surface: nothing is drawn until the frame allows one.
        m_W = m_H = 0.0;
        m_geometry = ZoneGeometry(0.0, 0.0);
        setSurface(QRectF());
        m_viewRect = QRectF();
        return false;
    }
    m_W = width;
    m_H = height;
    m_geometry = geometry;
    setSurface(QRectF(left, top, width, height));
    m_home = m_surface;

    ScrollBarState h = m_hScroll;
    h.geometry = QRectF(p.left(), p.top() + p.height() - hs, p.width() - vs + 4.0, hs);
    h.visible = true;
    h.enabled = false;
    h.maximum = *hMax;
    h.value = 0;
    ScrollBarState v = m_vScroll;
    v.geometry = QRectF(p.left() + p.width() - vs + 4.0, p.top(), vs, p.height() - hs);
    v.visible = true;
    v.enabled = false;
    v.maximum = *vMax;
    v.value = 0;
    if (height > 10.0) {
        h.largeChange = toInt16(width / 8.0).value_or(h.largeChange);
        v.largeChange = toInt16(height / 10.0).value_or(v.largeChange);
    }
    setScrollBar(Axis::Horizontal, h);
    setScrollBar(Axis::Vertical, v);
    m_lastH = 0;
    m_lastV = 0;

    m_centre = QPointF(m_natural.width() / 2.0, m_natural.height() / 2.0);
    setViewRect(QRectF(0.0, 0.0, m_W, m_H));
    m_valid = true;
    return true;
}

void MapViewModel::Ripristina()
{
    Batch batch(this);
    m_zoomLevel = 0;
    m_areaView = false;
    setStatus(3, zoomText());
    for (Axis axis : {Axis::Horizontal, Axis::Vertical}) {
        ScrollBarState bar = axis == Axis::Horizontal ? m_hScroll : m_vScroll;
        bar.visible = true;
        bar.enabled = false;
        setScrollBar(axis, bar);
    }
    setSurface(m_home);
    setScrollValue(Axis::Horizontal, 0);
    setScrollValue(Axis::Vertical, 0);
    setViewRect(QRectF(0.0, 0.0, m_W, m_H));
}

// --- Commands ---------------------------------------------------------------------

void MapViewModel::fullExtent()
{
    Batch batch(this);
    Ripristina();
    setCursorShape(MapCursor::Cross);
    press(MapButton::Select, true);
    releaseToolButtons();
    m_toolFlags = {};
}

void MapViewModel::setSelectTool(bool on)
{
    Batch batch(this);
    setButtonPressed(MapButton::Select, on);
    setCursorShape(MapCursor::Cross);
    if (on)
        releaseToolButtons();
}

void MapViewModel::setGrid(bool shown)
{
    Batch batch(this);
    setButtonPressed(MapButton::Grid, shown);
    settings().GridShown = shown ? QStringLiteral("Sì") : QStringLiteral("No");
    sceneDirty();
}

void MapViewModel::zoomInTool()
{
    Batch batch(this);
    onlyTool(ZoomInTool);
    press(MapButton::Select, false);
    if (m_areaView)
        Ripristina();
    setCursorShape(MapCursor::ZoomIn);
}

bool MapViewModel::zoomOutTool()
{
    Batch batch(this);
    if (m_zoomLevel != 0 && !m_areaView) {
        onlyTool(ZoomOutTool);
        press(MapButton::Select, false);
        setCursorShape(MapCursor::ZoomOut);
        return true;
    }
    if (m_zoomLevel == 0)
        press(MapButton::ZoomOut, false);
    if (m_areaView)
        Ripristina();
    return false;
}

void MapViewModel::areaTool()
{
    Batch batch(this);
    onlyTool(ZoomAreaTool);
    m_scrollGuard = 1;
    Ripristina();
    setCursorShape(MapCursor::SizeAll);
}

bool MapViewModel::panTool()
{
    Batch batch(this);
    setButtonPressed(MapButton::Pan, true);
    for (int position : {MapButton::ZoomIn, MapButton::ZoomOut, MapButton::Area})
        setButtonPressed(position, false);
    m_toolFlags[PanTool] = 1;
    m_toolFlags[ZoomAreaTool] = 0;
    press(MapButton::Select, false);
    if (m_zoomLevel != 0) {
        setCursorShape(MapCursor::OpenHand);
        return true;
    }
    Ripristina();
    press(MapButton::Pan, false);
    setCursorShape(MapCursor::Cross);
    m_toolFlags[PanTool] = 0;
    return false;
}

// --- Zoom and scroll --------------------------------------------------------------

MapViewModel::Clamped MapViewModel::clampCentre()
{
    Clamped c;
    if (m_zoomLevel <= 0)
        return c;
    // The visible rectangle, 1 / (2k) of the picture, must stay inside it.
    const double k = m_zoomLevel;
    const double loX = m_natural.width() / (4.0 * k);
    const double hiX = m_natural.width() - loX;
    const double loY = m_natural.height() / (4.0 * k);
    const double hiY = m_natural.height() - loY;
    c.left = m_centre.x() <= loX;
    c.right = m_centre.x() >= hiX;
    c.top = m_centre.y() <= loY;
    c.bottom = m_centre.y() >= hiY;
    m_centre = QPointF(std::clamp(m_centre.x(), loX, hiX), std::clamp(m_centre.y(), loY, hiY));
    return c;
}

void MapViewModel::zoomedViewRect()
{
    const double k = m_zoomLevel;
    const double left = (m_centre.x() - m_natural.width() / (4.0 * k)) * m_W / m_natural.width();
    const double top = (m_centre.y() - m_natural.height() / (4.0 * k)) * m_H / m_natural.height();
    setViewRect(QRectF(left, top, m_W / (2.0 * k), m_H / (2.0 * k)));
}

void MapViewModel::setScrollBarsFromCentre(const Clamped &clamped)
{
    m_scrollGuard = 1;
    for (Axis axis : {Axis::Horizontal, Axis::Vertical}) {
        ScrollBarState bar = axis == Axis::Horizontal ? m_hScroll : m_vScroll;
        bar.enabled = true;
        setScrollBar(axis, bar);
        const bool horizontal = axis == Axis::Horizontal;
        const double position = horizontal ? m_centre.x() * m_W / m_natural.width()
                                           : m_centre.y() * m_H / m_natural.height();
        int value = toInt16(position).value_or(0);
        if (horizontal ? clamped.left : clamped.top)
            value = 0;
        if (horizontal ? clamped.right : clamped.bottom)
            value = bar.maximum;
        setScrollValue(axis, value);
    }
    m_scrollGuard = 0;
}

void MapViewModel::disableScrollBars()
{
    m_scrollGuard = 1;
    for (Axis axis : {Axis::Horizontal, Axis::Vertical}) {
        setScrollValue(axis, 0);
        ScrollBarState bar = axis == Axis::Horizontal ? m_hScroll : m_vScroll;
        bar.enabled = false;
        setScrollBar(axis, bar);
    }
    m_scrollGuard = 0;
}

void MapViewModel::HScroll1_Change(int value)
{
    Batch batch(this);
    scrollChange(Axis::Horizontal, value);
}

void MapViewModel::VScroll1_Change(int value)
{
    Batch batch(this);
    scrollChange(Axis::Vertical, value);
}

void MapViewModel::scrollChange(Axis axis, int value)
{
    const bool horizontal = axis == Axis::Horizontal;
    ScrollBarState bar = horizontal ? m_hScroll : m_vScroll;
    int &last = horizontal ? m_lastH : m_lastV;
    bar.value = value;
    if (m_scrollGuard == 0 && m_zoomLevel > 0 && m_valid) {
        // The bar's range 0..W (0..H) covers the whole panning range of the centre.
        const double k = m_zoomLevel;
        if (horizontal)
            m_centre.rx() += (value - last) * (2.0 * k - 1.0) * (m_natural.width() / (2.0 * k)) / m_W;
        else
            m_centre.ry() += (value - last) * (2.0 * k - 1.0) * (m_natural.height() / (2.0 * k)) / m_H;
        clampCentre();
        zoomedViewRect();
    }
    if (m_zoomLevel == 0)
        bar.value = 0;
    setScrollBar(axis, bar);
    last = bar.value;
}

void MapViewModel::centreOnClick(QPointF position)
{
    // The clicked point (less the pointer's 10-twip hot-spot offset) becomes the centre.
    const double k = m_zoomLevel;
    const double pw = m_natural.width();
    const double ph = m_natural.height();
    if (k == 0) {
        m_centre = QPointF((position.x() - 10.0) * pw / m_W, (position.y() - 10.0) * ph / m_H);
    } else {
        m_centre = QPointF((m_centre.x() - pw / (4.0 * k)) + (position.x() - 10.0) * (pw / (2.0 * k)) / m_W,
                           (m_centre.y() - ph / (4.0 * k)) + (position.y() - 10.0) * (ph / (2.0 * k)) / m_H);
    }
}

void MapViewModel::zoomInAt(QPointF position)
{
    if (m_zoomLevel > MaxZoomLevel - 1) {
        m_zoomLevel = MaxZoomLevel;
        return;
    }
    centreOnClick(position);
    ++m_zoomLevel;
    const Clamped clamped = clampCentre();
    zoomedViewRect();
    setScrollBarsFromCentre(clamped);
}

void MapViewModel::zoomOutAt(QPointF position)
{
    if (m_zoomLevel > 0)
        centreOnClick(position);
    m_zoomLevel = std::max(0, m_zoomLevel - 1);
    if (m_zoomLevel > 0) {
        const Clamped clamped = clampCentre();
        zoomedViewRect();
        setScrollBarsFromCentre(clamped);
        return;
    }
    m_areaView = false;
    setCursorShape(MapCursor::Cross);
    releaseToolButtons();
    m_toolFlags[ZoomInTool] = 0;
    m_toolFlags[ZoomOutTool] = 0;
    m_toolFlags[PanTool] = 0;
    disableScrollBars();
    Ripristina();
}

void MapViewModel::panStep(QPointF position)
{
    // The map follows the hand: the centre moves against the mouse.
    const double k = m_zoomLevel;
    m_centre.rx() += (m_panPress.x() - position.x()) * (m_natural.width() / (2.0 * k)) / m_W;
    m_centre.ry() += (m_panPress.y() - position.y()) * (m_natural.height() / (2.0 * k)) / m_H;
    clampCentre();
    zoomedViewRect();
    m_panPress = position;
}

// --- Mouse -----------------------------------------------------------------------------

void MapViewModel::ITALY_MouseDown(Qt::MouseButton button, QPointF position)
{
    Batch batch(this);
    if (!m_valid)
        return;
    const bool left = button == Qt::LeftButton;
    m_areaAppliedByRelease = false;
    if (isButtonPressed(MapButton::Area) && left && !m_areaView) {
        m_areaDrag = true;
        m_areaStart = position;
        setRubberBand(QRectF(position, QSizeF(1.0, 1.0)));
    }
    if (isButtonPressed(MapButton::ZoomIn) && left)
        zoomInAt(position);
    if ((isButtonPressed(MapButton::ZoomOut) && left)
        || (isButtonPressed(MapButton::ZoomIn) && button == Qt::RightButton))
        zoomOutAt(position);
    if (isButtonPressed(MapButton::Area) && !left)
        setCursorShape(MapCursor::QuestionArrow);
    if (isButtonPressed(MapButton::Pan) && left) {
        m_panPress = position;
        setCursorShape(MapCursor::ClosedHand);
    }
}

void MapViewModel::ITALY_MouseMove(Qt::MouseButtons buttons, QPointF position)
{
    Batch batch(this);
    setStatus(3, zoomText());
    m_lastMouse = position;
    if (!m_valid)
        return;
    if (m_areaDrag && !m_areaView && m_band) {
        // The band spans the press point and the mouse, whichever way it was dragged.
        QRectF band = *m_band;
        const QPointF start = m_areaStart;
        // An axis on which the mouse is level with the press point keeps its extent.
        if (position.x() != start.x()) {
            band.moveLeft(std::min(position.x(), start.x()));
            band.setWidth(std::abs(position.x() - start.x()));
        }
        if (position.y() != start.y()) {
            band.moveTop(std::min(position.y(), start.y()));
            band.setHeight(std::abs(position.y() - start.y()));
        }
        setRubberBand(band);
    }
    if (selectToolOn()) {
        readout(position);
    } else {
        setStatus(1, QString());
        setStatus(2, QString());
    }
    if (isButtonPressed(MapButton::Pan) && (buttons & Qt::LeftButton)) {
        m_panMoved = true;
        if (m_zoomLevel > 0)
            panStep(position);
    }
}

void MapViewModel::readout(QPointF position)
{
    const UtmReadout r = m_geometry.readout(worldFromScale(position));
    m_currentZone = r.zone;
    m_cursorSquareCode = r.squareCode;
    const QString prefix = settings().tr(QStringLiteral("Fuso "), QStringLiteral("Fuse "));
    setStatus(1, r.zone ? prefix + QString::number(r.zone) : QString());
    setStatus(2, r.squareCode);
}

void MapViewModel::ITALY_MouseUp(Qt::MouseButton button, QPointF position)
{
    Batch batch(this);
    m_areaDrag = false;
    if (!m_valid)
        return;
    const bool left = button == Qt::LeftButton;
    if (isButtonPressed(MapButton::Pan) && left) {
        setCursorShape(MapCursor::OpenHand);
        if (m_panMoved) {
            m_panMoved = false;
            if (m_zoomLevel > 0) {
                panStep(position);
                setScrollBarsFromCentre(clampCentre());
            }
        }
    }
    if (isButtonPressed(MapButton::Area) && left && !m_areaView)
        applyArea(position);
    if (isButtonPressed(MapButton::Area) && !left)
        setCursorShape(MapCursor::SizeAll);
}

void MapViewModel::applyArea(QPointF position)
{
    m_areaView = true;
    setRubberBand(std::nullopt);
    const double left = std::min(m_areaStart.x(), position.x());
    const double right = std::max(m_areaStart.x(), position.x());
    const double top = std::min(m_areaStart.y(), position.y());
    const double bottom = std::max(m_areaStart.y(), position.y());
    const double w = right - left;
    const double h = bottom - top;
    // A selection without width or height uses the tool up until the view is reset.
    if (w == 0.0 || h == 0.0)
        return;

    // The selection's shape, scaled to the full view.
    double width = 0.0;
    double height = 0.0;
    if (w < h) {
        height = m_H;
        width = w * m_H / h;
        if (width >= m_W) {
            width = m_W;
            height = h * m_W / w;
        }
    } else {
        width = m_W;
        height = h * m_W / w;
    }
    const double pw = m_natural.width();
    const double ph = m_natural.height();
    // The centre holds the selection's top-left corner in picture units while the view lasts.
    m_centre = QPointF(left * pw / m_W, top * ph / m_H);
    m_areaCornerPicture = QPointF(right * pw / m_W, bottom * ph / m_H);

    // Fit the selection's shape to the whole frame (the scroll bars are hidden).
    const QRectF p = m_frame.rect;
    const double fw = p.width() - 2.0 * FrameMargin;
    const double fh = p.height() - 2.0 * FrameMargin;
    const double a = width / height;
    if (width >= height) {
        width = fw;
        height = width / a;
        if (height > fh) {
            height = fh;
            width = a * height;
        }
    } else {
        height = fh;
        width = a * height;
        if (width > fw) {
            width = fw;
            height = width / a;
        }
    }
    if (!(width > 0.0) || !(height > 0.0))
        return;
    setSurface(QRectF((p.width() - width) / 2.0 + p.left(), (p.height() - height) / 2.0 + p.top(), width, height));
    for (Axis axis : {Axis::Horizontal, Axis::Vertical}) {
        ScrollBarState bar = axis == Axis::Horizontal ? m_hScroll : m_vScroll;
        bar.visible = false;
        setScrollBar(axis, bar);
    }
    setCursorShape(MapCursor::Cross);
    setViewRect(QRectF(m_centre.x() * m_W / pw, m_centre.y() * m_H / ph, (m_areaCornerPicture.x() - m_centre.x()) * m_W / pw,
                       (m_areaCornerPicture.y() - m_centre.y()) * m_H / ph));
    press(MapButton::Area, false);
    press(MapButton::Select, true);
    m_areaAppliedByRelease = true;
}

std::optional<QPointF> MapViewModel::ITALY_Click() const
{
    if (!m_valid || !selectToolOn() || m_areaAppliedByRelease)
        return std::nullopt;
    return worldFromScale(m_lastMouse);
}

}  // namespace ortolan::map
