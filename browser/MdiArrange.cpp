#include "browser/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace ortolan::browser {

void MdiArrange::arrange(QMdiArea *area, Mode mode)
{
    if (!area)
        return;
    if (mode == Mode::Cascade) {
        area->cascadeSubWindows();
        return;
    }
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : area->subWindowList())
        if (sub->isVisible() && !sub->isMinimized())
            windows.append(sub);
    if (windows.isEmpty())
        return;
    const QSize size = area->viewport()->size();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = windows[i];
        if (sub->isMaximized())
            sub->showNormal();
        if (mode == Mode::TileVertically) {
            const int left = size.width() * i / n;
            sub->setGeometry(left, 0, size.width() * (i + 1) / n - left, size.height());
        } else {
            const int top = size.height() * i / n;
            sub->setGeometry(0, top, size.width(), size.height() * (i + 1) / n - top);
        }
    }
}

}  // namespace ortolan::browser
