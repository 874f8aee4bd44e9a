#pragma once

#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;
class QAction;
class QMenu;

namespace ortolan {

// MDI_OT: the main multiple-document frame inside which every other window
// opens. Its own menus lead back to the start screen, to help, to the about
// window and out of the program; the active child's menus replace them.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    QMdiArea *mdiArea() const { return mdi_; }

    // Adds a child window to the frame and shows it.
    QMdiSubWindow *addChild(QWidget *child);

    // Places a child: centred horizontally, its top at 1/divisor of the free height.
    void placeChild(QMdiSubWindow *sub, int divisor);

    // The frame's own menu bar (File, ?), shown when no child brings its own.
    void showOwnMenus();
    // Shows a child's menus in the frame's menu bar.
    void showChildMenus(const QList<QMenu *> &menus);

signals:
    void homeRequested();
    void helpRequested();
    void aboutRequested();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    // Shows the active child's menus (MdiChild) or the frame's own.
    void updateMenus();
    // A child that closes itself (OK, Close, a chosen search result) deletes
    // its widget: its frame in the work area goes with it instead of staying
    // as an empty window.
    void closeFrameWithChild(QObject *frame);

    QMdiArea *mdi_ = nullptr;
    QList<QMenu *> ownMenus_;
};

// The frame of the running program (null before start-up and in tests without one).
MainWindow *mainWindow();
void setMainWindow(MainWindow *w);

}  // namespace ortolan
