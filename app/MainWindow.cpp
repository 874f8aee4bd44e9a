#include "app/MainWindow.h"

#include "app/MdiChild.h"
#include "app/Settings.h"
#include "app/Shell.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QShortcut>

namespace ortolan {

namespace {
MainWindow *g_mainWindow = nullptr;
}

MainWindow *mainWindow() { return g_mainWindow; }
void setMainWindow(MainWindow *w) { g_mainWindow = w; }

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    const Settings &s = settings();
    setObjectName(QStringLiteral("MDI_OT"));
    setWindowTitle(s.tr(QStringLiteral("Ortolan - Atlante della fauna d'Italia"),
                        QStringLiteral("Ortolan - Atlas of the fauna of Italy")));
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName(QStringLiteral("MdiArea"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    buildMenus();
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::updateMenus);
}

MainWindow::~MainWindow()
{
    // Closing children while the frame is destroyed activates other children:
    // the frame must not react any more.
    disconnect(mdi_, nullptr, this, nullptr);
}

void MainWindow::updateMenus()
{
    QMdiSubWindow *active = mdi_->activeSubWindow();
    const auto *child = active ? dynamic_cast<const MdiChild *>(active->widget()) : nullptr;
    if (child)
        showChildMenus(child->frameMenus());
    else if (!active || !active->widget() || mdi_->subWindowList().isEmpty())
        showOwnMenus();
}

void MainWindow::buildMenus()
{
    const Settings &s = settings();
    QMenu *file = new QMenu(QStringLiteral("&File"), this);
    file->setObjectName(QStringLiteral("File_mnu"));
    QAction *home = file->addAction(QStringLiteral("&Home..."));
    home->setObjectName(QStringLiteral("Home_mnu"));
    connect(home, &QAction::triggered, this, &MainWindow::homeRequested);
    file->addSeparator();
    QAction *exit = file->addAction(s.tr(QStringLiteral("&Esci"), QStringLiteral("&Exit")));
    exit->setObjectName(QStringLiteral("Esci_mnu"));
    connect(exit, &QAction::triggered, this, &QMainWindow::close);

    QMenu *help = new QMenu(QStringLiteral("&?"), this);
    help->setObjectName(QStringLiteral("Aiuto_mnu"));
    QAction *helpItem = help->addAction(QStringLiteral("&Help"));
    helpItem->setObjectName(QStringLiteral("Aiuto"));
    connect(helpItem, &QAction::triggered, this, &MainWindow::helpRequested);
    help->addSeparator();
    QAction *info = help->addAction(s.tr(QStringLiteral("&Informazioni"), QStringLiteral("&About Ortolan...")));
    info->setObjectName(QStringLiteral("Info_mnu"));
    connect(info, &QAction::triggered, this, &MainWindow::aboutRequested);

    // F1 opens the help in every window of the program.
    auto *f1 = new QShortcut(QKeySequence::HelpContents, this);
    f1->setContext(Qt::ApplicationShortcut);
    connect(f1, &QShortcut::activated, this, &MainWindow::helpRequested);

    ownMenus_ = {file, help};
    showOwnMenus();
}

void MainWindow::showOwnMenus() { showChildMenus(ownMenus_); }

void MainWindow::showChildMenus(const QList<QMenu *> &menus)
{
    QMenuBar *bar = menuBar();
    bar->clear();
    for (QMenu *m : menus)
        bar->addMenu(m);
}

QMdiSubWindow *MainWindow::addChild(QWidget *child)
{
    // A window that asked for its size keeps it inside its frame.
    const QSize wanted = child->testAttribute(Qt::WA_Resized) ? child->size() : QSize();
    QMdiSubWindow *sub = mdi_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    child->setAttribute(Qt::WA_DeleteOnClose);
    // A window that closes itself (its OK or Close button) takes its frame
    // with it; queued, so a frame that is already going away is left alone.
    connect(child, &QObject::destroyed, sub, &QWidget::close, Qt::QueuedConnection);
    connect(sub, &QObject::destroyed, this, [this] { QMetaObject::invokeMethod(this, &MainWindow::updateMenus, Qt::QueuedConnection); });
    if (wanted.isValid())
        sub->resize(wanted + (sub->sizeHint() - child->sizeHint()));
    child->show();
    sub->show();
    return sub;
}

void MainWindow::placeChild(QMdiSubWindow *sub, int divisor)
{
    const QSize area = mdi_->viewport()->size();
    const int left = (area.width() - sub->width()) / 2;
    const int top = (area.height() - sub->height()) / divisor;
    sub->move(qMax(0, left), qMax(0, top));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // The start screen stays centred, its top at one sixth of the free height.
    if (settings().StartScreenOpen && startScreenSubWindow())
        placeChild(startScreenSubWindow(), 6);
}

}  // namespace ortolan
