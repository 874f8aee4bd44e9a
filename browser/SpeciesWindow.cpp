#include "browser/SpeciesWindow.h"

#include "app/Help.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "browser/ButtonPositions.h"
#include "browser/CommandDispatcher.h"
#include "browser/MapPane.h"
#include "browser/MdiArrange.h"
#include "browser/SpeciesMenus.h"
#include "browser/SpeciesToolbars.h"
#include "browser/SplitterBar.h"
#include "browser/TaxonTree.h"
#include "browser/Twips.h"
#include "browser/WaitCursor.h"
#include "data/DataError.h"
#include "export/ExportData.h"
#include "export/ExportJob.h"
#include "map/MapTools.h"
#include "map/MapWidget.h"
#include "map/MapWidgetTools.h"
#include "print/MapPrinting.h"
#include "records/RecordWindows.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>

#include <cmath>

namespace ortolan::browser {

namespace {

namespace T1 = Toolbar1Button;
namespace T2 = Toolbar2Button;

SpeciesWindow *g_current = nullptr;

// Width of the splitter bar in pixels.
constexpr int kSplitterPixels = 5;
// Smallest inner width and height of the window, in twips.
constexpr double kMinimumTwips = 2000.0;
// Nearest distance of the splitter to either edge of the window, in twips.
constexpr double kSplitterMargin = 250.0;

QStatusBar *makeStatusBar(QWidget *parent, const QString &name, const QStringList &panels, const QList<int> &widths)
{
    auto *bar = new QStatusBar(parent);
    bar->setObjectName(name);
    bar->setSizeGripEnabled(false);
    for (qsizetype i = 0; i < panels.size(); ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(panels[i]);
        panel->setToolTip(panels[i]);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const int width = widths.value(i);
        if (width > 0)
            panel->setMinimumWidth(width);
        bar->addWidget(panel, width > 0 ? 0 : 1);
    }
    return bar;
}

// The window's frame inside the main frame, or the window itself.
QWidget *outerWindow(QWidget *w)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    return sub ? static_cast<QWidget *>(sub) : w;
}

}  // namespace

SpeciesWindow *SpeciesWindow::current() { return g_current; }

SpeciesWindow::SpeciesWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Specie"));
    setWindowTitle(QStringLiteral("Specie"));
    setMouseTracking(true);
    g_current = this;

    dispatcher_ = std::make_unique<CommandDispatcher>(*this);
    buildControls();
    connectCommands();
    attachMap();

    const Twips twips(this);
    setMinimumSize(int(std::ceil(kMinimumTwips / twips.fromPixelsX(1))),
                   int(std::ceil(kMinimumTwips / twips.fromPixelsY(1))));

    // Form_Load.
    settings().GridShown = QStringLiteral("Sì");
    applyLanguage();
    CaricaSpecie();
}

SpeciesWindow::~SpeciesWindow()
{
    if (g_current == this)
        g_current = nullptr;
}

void SpeciesWindow::buildControls()
{
    toolbars_ = std::make_unique<SpeciesToolbars>(this);
    menus_ = std::make_unique<SpeciesMenus>(this);

    tree_ = new TaxonTree(this);
    mapPane_ = new MapPane(this);
    splitter_ = new SplitterBar(this);
    statusBars_[0] = makeStatusBar(this, QStringLiteral("StatusBar1"), {QStringLiteral("Percorso")}, {0});
    statusBars_[1] = makeStatusBar(this, QStringLiteral("StatusBar2"),
                                   {QStringLiteral("Fuso UTM"), QStringLiteral("UTM"), QStringLiteral("Zoom")},
                                   {90, 70, 0});
    // Where the panes meet, the map's toolbar lies over the tree's.
    toolbars_->bar(2)->raise();
}

void SpeciesWindow::attachMap()
{
    // ITALY: the map surface inside Picture1, with the pane's scroll bars;
    // the tools adapter carries the dispatcher's map commands to it.
    mapWidget_ = new map::MapWidget;
    mapPane_->setMapWidget(mapWidget_);
    mapWidget_->attachScrollBars(mapPane_->hScroll(), mapPane_->vScroll());
    mapTools_ = std::make_unique<map::MapWidgetTools>(*mapWidget_);

    connect(mapWidget_, &map::MapWidget::statusTextChanged, this, [this](int panel, const QString &text) {
        if (QLabel *label = statusPanel(2, panel))
            label->setText(text);
    });
    connect(mapWidget_, &map::MapWidget::toolButtonStateChanged, this,
            [this](int position, bool pressed) { setButtonAndMenu(2, position, pressed); });
    // The map names the selection in the caption; until the first node is
    // chosen the window keeps its own caption ("Specie" / "Species").
    connect(mapWidget_, &map::MapWidget::captionChanged, this, [this](const QString &caption) {
        if (settings().SelectedNodeKind != QStringLiteral("0"))
            setWindowTitle(caption);
    });
    connect(mapWidget_, &map::MapWidget::closeSitesRequested, this,
            [this] { records::closeRecordWindow(*this, RecordWindowKind::Sites); });
    connect(mapWidget_, &map::MapWidget::sitesRequested, this, [this](const QString &, const QString &caption) {
        // A failing database ends the click here, with its message.
        try {
            records::openSitesTable(*this, settings().RecordQuery, caption);
            setButtonAndMenu(1, SpeciesWindow::buttonOf(RecordWindowKind::Sites), true);
        } catch (const data::DataError &e) {
            showError(settings().messages.MsgDataError + e.description(), this);
        }
    });
    // The zoom panel reads "Zoom  x 1" from the start, before any zoom or move.
    if (QLabel *label = statusPanel(2, 3))
        label->setText(mapWidget_->model().statusText(3));
}

void SpeciesWindow::connectCommands()
{
    connect(toolbars_->bar(1), &QToolBar::actionTriggered, this,
            [this](QAction *a) { dispatcher_->treeToolbarClick(SpeciesToolbars::keyOf(a)); });
    connect(toolbars_->bar(2), &QToolBar::actionTriggered, this,
            [this](QAction *a) { dispatcher_->mapToolbarClick(SpeciesToolbars::keyOf(a)); });
    connect(tree_, &TaxonTree::nodeClicked, this, &SpeciesWindow::nodeClick);
    connect(splitter_, &SplitterBar::pressed, this, &SpeciesWindow::onSplitterPressed);
    connect(splitter_, &SplitterBar::moved, this, [this](Qt::MouseButtons, int x) { onSplitterMoved(x); });
    connect(splitter_, &SplitterBar::released, this, [this](Qt::MouseButton, int) { onSplitterReleased(); });

    // Items with a command key go through the dispatcher; the others are
    // handled here.
    for (const QString &name : menus_->names()) {
        QAction *item = menus_->item(name);
        if (item->menu())
            continue;
        const QString key = SpeciesMenus::keyOf(item);
        if (!key.isEmpty())
            connect(item, &QAction::triggered, this, [this, key] { dispatcher_->menuCommand(key); });
    }
    const auto on = [this](const char16_t *name, auto handler) {
        connect(menus_->item(QString::fromUtf16(name)), &QAction::triggered, this, handler);
    };
    on(u"Home_mnu", [this] {
        unload();
        emit homeRequested();
    });
    on(u"Esci_mnu", [this] { emit exitRequested(); });
    on(u"Info_mnu", [this] { emit aboutRequested(); });
    on(u"Aiuto", [this] { showHelp(11); });
    on(u"Autori_mnu", [this] { showHelp(1, 30); });
    on(u"Novità_mnu", [this] { showHelp(1, 28); });
    const auto exportAs = [this](const char16_t *type) {
        return [this, type] {
            settings().ExportType = QString::fromUtf16(type);
            exporting::Export_Data(*this);
        };
    };
    on(u"Bitmap_mnu", exportAs(u"bmp"));
    on(u"Metafile_mnu", exportAs(u"emf"));
    on(u"Shapefile_mnu", exportAs(u"shp"));
    on(u"XLS_mnu", exportAs(u"xls"));
    on(u"DBF_mnu", exportAs(u"dbf"));
    on(u"TXT_mnu", exportAs(u"txt"));
    const auto arrange = [this](MdiArrange::Mode mode) {
        return [mode] {
            if (MainWindow *frame = mainWindow())
                MdiArrange::arrange(frame->mdiArea(), mode);
        };
    };
    on(u"Ver_mnu", arrange(MdiArrange::Mode::TileVertically));
    on(u"Orizzontale_mnu", arrange(MdiArrange::Mode::TileHorizontally));
    on(u"Cas_mnu", arrange(MdiArrange::Mode::Cascade));
    connect(menus_->menu(QStringLiteral("Fin_mnu")), &QMenu::aboutToShow, this, &SpeciesWindow::fillWindowMenu);
}

void SpeciesWindow::applyLanguage()
{
    const bool english = settings().isEnglish();
    zonePrefix_ = english ? QStringLiteral("Fuse ") : QStringLiteral("Fuso ");
    setWindowTitle(english ? QStringLiteral("Species") : QStringLiteral("Specie"));
    menus_->setEnglish(english);
    toolbars_->setEnglish(english);
    for (QToolBar *bar : {toolbars_->bar(1), toolbars_->bar(2)})
        bar->adjustSize();
}

void SpeciesWindow::CaricaSpecie()
{
    Settings &s = settings();
    s.TreeShare = 0.5;
    dragPosition_ = NoDrag;
    try {
        WaitCursor wait;
        tree_->loadGroups(s.TreeFilter);
    } catch (const data::DataError &e) {
        showError(s.messages.MsgDataError + e.description(), this);
    }
    s.SelectedTaxonCode = QStringLiteral("No");
    s.SelectedCaption = s.messages.MsgSelectSpecies;
    mapTools_->prepare();
}

QList<QMenu *> SpeciesWindow::frameMenus() const { return menus_->topMenus(); }

QToolBar *SpeciesWindow::toolbar(int toolbar) const { return toolbars_->bar(toolbar); }
QAction *SpeciesWindow::button(int toolbar, int position) const { return toolbars_->button(toolbar, position); }
bool SpeciesWindow::isPressed(int toolbar, int position) const { return toolbars_->isPressed(toolbar, position); }
void SpeciesWindow::setPressed(int toolbar, int position, bool pressed)
{
    toolbars_->setPressed(toolbar, position, pressed);
}
void SpeciesWindow::setButtonAndMenu(int toolbar, int position, bool pressed)
{
    setPressed(toolbar, position, pressed);
    static const QHash<int, QString> menus = {
        {100 + T1::Sort, QStringLiteral("Ordina_mnu")},    {100 + T1::Card, QStringLiteral("Scheda_mnu")},
        {100 + T1::Sites, QStringLiteral("Stazioni_mnu")}, {100 + T1::Sources, QStringLiteral("Biblio_mnu")},
        {100 + T1::Map, QStringLiteral("Mappa_mnu")},      {200 + T2::Select, QStringLiteral("Selettore_mnu")},
        {200 + T2::Grid, QStringLiteral("Reticolo_mnu")},  {200 + T2::Tree, QStringLiteral("Tree_mnu")}};
    const QString menu = menus.value(toolbar * 100 + position);
    if (!menu.isEmpty())
        setMenuChecked(menu, pressed);
}

int SpeciesWindow::buttonOf(RecordWindowKind kind)
{
    switch (kind) {
    case RecordWindowKind::Card:
        return T1::Card;
    case RecordWindowKind::Sites:
        return T1::Sites;
    case RecordWindowKind::Sources:
        return T1::Sources;
    default:
        return 0;
    }
}

QAction *SpeciesWindow::menuItem(const QString &name) const { return menus_->item(name); }
QMenu *SpeciesWindow::menu(const QString &name) const { return menus_->menu(name); }
bool SpeciesWindow::isMenuChecked(const QString &name) const { return menus_->isChecked(name); }
void SpeciesWindow::setMenuChecked(const QString &name, bool checked) { menus_->setChecked(name, checked); }
QStringList SpeciesWindow::menuItemNames() const { return menus_->names(); }

QStatusBar *SpeciesWindow::statusBar(int bar) const { return bar == 1 || bar == 2 ? statusBars_[bar - 1] : nullptr; }

QLabel *SpeciesWindow::statusPanel(int bar, int panel) const
{
    QStatusBar *b = statusBar(bar);
    if (!b)
        return nullptr;
    const QList<QLabel *> panels = b->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    // findChildren keeps creation order, which is the panel order.
    return panel >= 1 && panel <= panels.size() ? panels.at(panel - 1) : nullptr;
}

void SpeciesWindow::setMapTools(std::unique_ptr<map::MapTools> tools)
{
    if (tools)
        mapTools_ = std::move(tools);
}

std::unique_ptr<print::MapPrintState> &SpeciesWindow::printState() { return printState_; }

void SpeciesWindow::checkFilterItem(const QString &filter)
{
    for (const QString &name : SpeciesMenus::filterItemNames())
        menus_->setChecked(name, SpeciesMenus::keyOf(menus_->item(name)) == filter);
}

// ---- Layout ----------------------------------------------------------------

void SpeciesWindow::Riassetta()
{
    const Twips tw(this);
    const double innerWidth = tw.fromPixelsX(width());
    const double innerHeight = tw.fromPixelsY(height());

    // 1. Never smaller than 2000 twips each way; the resize lays out again.
    if (innerHeight < kMinimumTwips || innerWidth < kMinimumTwips) {
        const int wantW = qMax(width(), minimumWidth());
        const int wantH = qMax(height(), minimumHeight());
        if (wantW != width() || wantH != height()) {
            QWidget *outer = outerWindow(this);
            outer->resize(outer->width() + wantW - width(), outer->height() + wantH - height());
        }
        return;
    }

    QToolBar *bar1 = toolbars_->bar(1);
    QToolBar *bar2 = toolbars_->bar(2);
    const double toolbar2Height = tw.fromPixelsY(bar2->sizeHint().height());
    const double status1Height = tw.fromPixelsY(statusBars_[0]->sizeHint().height());
    const double status2Height = tw.fromPixelsY(statusBars_[1]->sizeHint().height());
    const double barWidth = tw.fromPixelsX(kSplitterPixels);
    const double share = settings().TreeShare;

    // A placement with a negative size is skipped; the next one still runs.
    const auto place = [&tw](QWidget *w, double left, double top, double width, double height) {
        if (width < 0 || height < 0)
            return;
        const int x = tw.toPixelsX(left), y = tw.toPixelsY(top);
        w->setGeometry(x, y, tw.toPixelsX(left + width) - x, tw.toPixelsY(top + height) - y);
    };

    // 2-4. Tree and map container share top and height; the splitter spans the window.
    const double paneTop = toolbar2Height + 3;
    const double paneHeight = innerHeight - toolbar2Height - status1Height - 3;
    // 5-7.
    const double treeWidth = innerWidth * share;
    const bool treeShown = treeWidth > 10;
    const double splitterLeft = treeShown ? treeWidth + 1 : 0;
    const double mapLeft = treeShown ? treeWidth + barWidth + 1 : barWidth + 1;
    const double mapWidth = innerWidth - treeWidth - barWidth - 3;

    place(tree_, 1, paneTop, treeWidth, paneHeight);
    place(mapPane_, mapLeft, paneTop, mapWidth, paneHeight);
    place(splitter_, splitterLeft, 0, barWidth, innerHeight);
    // 8.
    bar1->move(tw.toPixelsX(3), tw.toPixelsY(1));
    bar1->resize(bar1->sizeHint());
    bar2->move(tw.toPixelsX(mapLeft), tw.toPixelsY(1));
    bar2->resize(bar2->sizeHint());
    // 9.
    place(statusBars_[0], 1, innerHeight - status1Height, treeWidth, status1Height);
    place(statusBars_[1], mapLeft, innerHeight - status2Height, mapWidth, status2Height);

    // A pane of no width is hidden with its toolbar and status bar.
    showPanes(treeShown, mapWidth > 0);

    // 10.
    setPressed(2, T2::Area, false);
    Riscala();
}

void SpeciesWindow::Riscala()
{
    // Every fit of the map draws the grid and leaves no zoom tool chosen.
    setButtonAndMenu(2, T2::Grid, true);
    settings().GridShown = QStringLiteral("Sì");
    for (int p = T2::ZoomIn; p <= T2::Pan; ++p)
        setPressed(2, p, false);
    mapTools_->riscala();
}

void SpeciesWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Riassetta();
}

void SpeciesWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Off the map, the cursor read-out is empty.
    statusPanel(2, 1)->clear();
    statusPanel(2, 2)->clear();
    QWidget::mouseMoveEvent(event);
}

void SpeciesWindow::showPanes(bool tree, bool map)
{
    const QList<QWidget *> treeSide = {tree_, toolbars_->bar(1), statusBars_[0]};
    const QList<QWidget *> mapSide = {mapPane_, toolbars_->bar(2), statusBars_[1]};
    for (QWidget *w : treeSide)
        w->setVisible(tree);
    for (QWidget *w : mapSide)
        w->setVisible(map);
}

// ---- Splitter --------------------------------------------------------------

void SpeciesWindow::onSplitterPressed(Qt::MouseButton button, int)
{
    if (button != Qt::LeftButton)
        return;
    splitter_->setDragging(true);
    dragPosition_ = int(std::lround(Twips(this).fromPixelsX(splitter_->x())));
}

void SpeciesWindow::onSplitterMoved(int x)
{
    if (dragPosition_ == NoDrag)
        return;
    const Twips tw(this);
    const double innerWidth = tw.fromPixelsX(width());
    const double barWidth = tw.fromPixelsX(splitter_->width());
    const double barLeft = tw.fromPixelsX(splitter_->x()) + tw.fromPixelsX(x);
    splitter_->move(tw.toPixelsX(barLeft), splitter_->y());
    if (barLeft < kSplitterMargin || barLeft > innerWidth - kSplitterMargin)
        return;

    // The panes follow the bar.
    const double treeWidth = barLeft - barWidth / 2;
    const double mapLeft = treeWidth + 2 + barWidth;
    const double mapWidth = innerWidth - treeWidth - barWidth - 3;
    const int mapLeftPx = tw.toPixelsX(mapLeft);
    tree_->resize(tw.toPixelsX(treeWidth), tree_->height());
    statusBars_[0]->resize(tw.toPixelsX(treeWidth), statusBars_[0]->height());
    mapPane_->setGeometry(mapLeftPx, mapPane_->y(), tw.toPixelsX(mapLeft + mapWidth) - mapLeftPx, mapPane_->height());
    toolbars_->bar(2)->move(mapLeftPx, toolbars_->bar(2)->y());
    statusBars_[1]->move(mapLeftPx, statusBars_[1]->y());
    showPanes(true, true);
    dragPosition_ = int(std::lround(barLeft));
}

void SpeciesWindow::onSplitterReleased()
{
    if (dragPosition_ == NoDrag)
        return;
    const Twips tw(this);
    const double innerWidth = tw.fromPixelsX(width());
    const double barWidth = tw.fromPixelsX(splitter_->width());
    const double barLeft = tw.fromPixelsX(splitter_->x());
    const double toolbar1Width = tw.fromPixelsX(toolbars_->bar(1)->sizeHint().width());
    const double toolbar2Width = tw.fromPixelsX(toolbars_->bar(2)->sizeHint().width());

    // Each pane keeps at least the width of its toolbar.
    double share;
    if (toolbar1Width + barWidth < barLeft && innerWidth - toolbar2Width - barWidth > barLeft)
        share = dragPosition_ / innerWidth;
    else if (toolbar1Width + barWidth <= barLeft)
        share = (innerWidth - toolbar2Width - barWidth) / innerWidth;
    else
        share = (toolbar1Width + barWidth) / innerWidth;
    settings().TreeShare = share;

    dragPosition_ = NoDrag;
    splitter_->setDragging(false);
    Riassetta();
}

// ---- Selection -------------------------------------------------------------

void SpeciesWindow::nodeClick(QTreeWidgetItem *node) { selectNode(node, false); }

void SpeciesWindow::showFoundNode(QTreeWidgetItem *node)
{
    if (!node)
        return;
    node->setExpanded(true);
    tree_->setCurrentItem(node);
    tree_->scrollToItem(node);
    selectNode(node, true);
}

void SpeciesWindow::selectNode(QTreeWidgetItem *node, bool fromSearch)
{
    if (!node)
        return;
    WaitCursor wait;
    Settings &s = settings();
    const QChar kind = TaxonTree::kindOf(node);
    s.SelectedNodeIndex = TaxonTree::indexOf(node);
    s.SelectedNodeKind = QString(kind);

    // A species shows the path of its genus.
    const QTreeWidgetItem *pathNode = kind == u'S' && node->parent() ? node->parent() : node;
    statusPanel(1, 1)->setText(TaxonTree::fullPath(pathNode));

    const bool taxon = kind == u'S' || kind == u'G';
    const bool genusBarred = kind == u'G' && (s.TreeFilter == Filter::HabitatDirective ||
                                              s.TreeFilter == Filter::RedList || s.TreeFilter == Filter::Alien);
    if (taxon && !genusBarred) {
        s.SelectedTaxonCode = TaxonTree::keyOf(node).mid(1);
        s.SelectedCaption = node->text(0);
    } else {
        s.SelectedTaxonCode = QStringLiteral("No");
        s.SelectedCaption = s.messages.MsgSelectSpecies;
    }

    Riscala();

    const bool sorted = TaxonTree::isSorted(node);
    if (fromSearch)
        setPressed(1, T1::Sort, sorted);
    else
        setButtonAndMenu(1, T1::Sort, sorted);
}

// ---- Windows opened from this one -------------------------------------------

void SpeciesWindow::registerRecordWindow(QWidget *window, RecordWindowKind kind)
{
    if (!window)
        return;
    if (kind != RecordWindowKind::Other && kind != RecordWindowKind::Explanations &&
        kind != RecordWindowKind::Preview) {
        for (qsizetype i = registered_.size() - 1; i >= 0; --i)
            if (registered_[i].kind == kind)
                registered_.removeAt(i);
    }
    registered_.append({window, window, kind});
    connect(window, &QObject::destroyed, this, &SpeciesWindow::forgetRecordWindow);
}

void SpeciesWindow::forgetRecordWindow(QObject *window)
{
    // The user closed a registered window: its button goes up.
    for (qsizetype i = 0; i < registered_.size(); ++i) {
        if (registered_[i].identity == window) {
            const RecordWindowKind kind = registered_[i].kind;
            registered_.removeAt(i);
            releaseButtonOf(kind);
            return;
        }
    }
}

QWidget *SpeciesWindow::recordWindow(RecordWindowKind kind) const
{
    for (const Registered &r : registered_)
        if (r.kind == kind && r.window)
            return r.window;
    return nullptr;
}

QList<QWidget *> SpeciesWindow::registeredWindows() const
{
    QList<QWidget *> list;
    for (const Registered &r : registered_)
        if (r.window)
            list.append(r.window);
    return list;
}

void SpeciesWindow::releaseButtonOf(RecordWindowKind kind)
{
    if (const int position = buttonOf(kind))
        setButtonAndMenu(1, position, false);
}

void SpeciesWindow::closeRecordWindow(RecordWindowKind kind)
{
    for (qsizetype i = registered_.size() - 1; i >= 0; --i) {
        if (registered_[i].kind != kind)
            continue;
        QPointer<QWidget> window = registered_[i].window;
        registered_.removeAt(i);
        if (window) {
            disconnect(window, &QObject::destroyed, this, &SpeciesWindow::forgetRecordWindow);
            outerWindow(window)->close();
        }
    }
    releaseButtonOf(kind);
}

void SpeciesWindow::closeChildren()
{
    const QList<Registered> children = registered_;
    registered_.clear();
    for (const Registered &r : children) {
        if (!r.window)
            continue;
        disconnect(r.window, &QObject::destroyed, this, &SpeciesWindow::forgetRecordWindow);
        outerWindow(r.window)->close();
    }
}

void SpeciesWindow::fillWindowMenu()
{
    QMenu *menu = menus_->menu(QStringLiteral("Fin_mnu"));
    for (QAction *a : menu->actions())
        if (a->property("ortolanWindowEntry").toBool())
            delete a;
    MainWindow *frame = mainWindow();
    if (!frame)
        return;
    QMdiArea *area = frame->mdiArea();
    const QList<QMdiSubWindow *> subs = area->subWindowList();
    if (subs.isEmpty())
        return;
    QAction *separator = menu->addSeparator();
    separator->setProperty("ortolanWindowEntry", true);
    int number = 1;
    for (QMdiSubWindow *sub : subs) {
        const QString title = sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle();
        QAction *entry = menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(title));
        entry->setProperty("ortolanWindowEntry", true);
        entry->setCheckable(true);
        entry->setChecked(sub == area->activeSubWindow());
        connect(entry, &QAction::triggered, area, [area, sub = QPointer<QMdiSubWindow>(sub)] {
            if (sub)
                area->setActiveSubWindow(sub);
        });
    }
}

// ---- Lifetime --------------------------------------------------------------

void SpeciesWindow::showHelp(int command, int context)
{
    if (command == 11)
        showHelpContents();
    else
        showHelpTopic(context);
}

void SpeciesWindow::unload() { outerWindow(this)->close(); }

void SpeciesWindow::closeEvent(QCloseEvent *event)
{
    if (!unloaded_) {
        unloaded_ = true;
        closeChildren();
        closeAbout();
        settings().SelectedNodeKind = QStringLiteral("0");
        printState_.reset();
        if (g_current == this)
            g_current = nullptr;
    }
    event->accept();
}

SpeciesWindow *openSpeciesWindow(const QString &filter)
{
    settings().TreeFilter = filter;
    if (SpeciesWindow *old = SpeciesWindow::current())
        old->unload();

    auto *window = new SpeciesWindow;
    if (MainWindow *frame = mainWindow()) {
        QMdiSubWindow *sub = frame->addChild(window);
        sub->setGeometry(QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()));
        QObject::connect(window, &SpeciesWindow::homeRequested, frame, &MainWindow::homeRequested);
        QObject::connect(window, &SpeciesWindow::aboutRequested, frame, &MainWindow::aboutRequested);
        QObject::connect(window, &SpeciesWindow::exitRequested, frame, &QWidget::close);
    } else {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->resize(1000, 700);
        window->show();
    }
    window->checkFilterItem(filter);
    return window;
}

void installSpeciesWindowHooks()
{
    // The two map formats of the export come from the open species window:
    // the surface's current pixels and the printed page as a metafile.
    exporting::mapOutputs().currentMapImage = [] {
        SpeciesWindow *w = SpeciesWindow::current();
        return w && w->mapWidget() ? w->mapWidget()->canvas() : QImage();
    };
    exporting::mapOutputs().writeMapMetafile = [](const QString &) {
        SpeciesWindow *w = SpeciesWindow::current();
        return w && print::StampaMetafile(*w);
    };
    setSpeciesWindowHooks({[](const QString &filter) { openSpeciesWindow(filter); },
                           [] {
                               if (SpeciesWindow *w = SpeciesWindow::current())
                                   w->unload();
                           }});
}

}  // namespace ortolan::browser
