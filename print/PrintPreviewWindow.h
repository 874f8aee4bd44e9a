#pragma once

#include "app/MdiChild.h"
#include "metafile/MetafilePicture.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <memory>

class QMenu;
class QPrinter;
class QScrollBar;
class QToolBar;

namespace ortolan::print {

// Form_Preview: the printed map page (the temporary metafile of map printing)
// on a sheet with the proportions of the current printer's paper, in a
// whole-page view or at 100% with scroll bars; printer set-up, printing (one
// print job per copy), help, about and home. The page is played from the
// metafile at the view's resolution, never scaled from a bitmap.
class PrintPreviewWindow : public QWidget, public MdiChild {
    Q_OBJECT
public:
    // The sheet and picture placement of one view, in pixels of the window's
    // inner area (the tool bar included, as the window lays itself out).
    struct Layout {
        double zoom = 1.0;
        QRectF sheet;
        QRectF picture;
        bool scrollBars = false;
    };
    // Lays the view out. inner: the window's inner size; paper and picture:
    // natural sizes in pixels; fullPage: fit the sheet (by height on portrait
    // paper, by width on landscape) instead of showing it at 100%.
    static Layout computeLayout(QSizeF inner, double toolbarHeight, double hScrollHeight, double vScrollWidth,
                                QSizeF paper, QSizeF picture, bool fullPage);

    // Where the page's picture lies on the sheet: centred, but never above the
    // sheet's top edge. The preview and the printed paper place it alike.
    static QPointF pictureOffsetOnSheet(QSizeF sheet, QSizeF picture);

    // Shows the page at pagePath on printer (not owned), or on the process's
    // system printer when null (its default printer if none is installed).
    explicit PrintPreviewWindow(const QString &pagePath, QPrinter *printer = nullptr, QWidget *parent = nullptr);
    ~PrintPreviewWindow() override;

    QList<QMenu *> frameMenus() const override;

    const metafile::MetafilePicture &picture() const { return m_picture; }
    QPrinter &printer() const { return *m_printer; }
    bool isFullPage() const { return m_fullPage; }
    Layout currentLayout() const;
    QToolBar *toolBar() const { return m_toolBar; }
    QScrollBar *horizontalScrollBar() const { return m_hBar; }
    QScrollBar *verticalScrollBar() const { return m_vBar; }

    void ShowActualSize();
    void ShowFullPage();
    // The printer set-up dialog; false when cancelled (nothing changes then).
    bool SetUpPrinter();
    // Asks for the printer and the copies, then prints each copy as its own job.
    void PrintPage();
    // Prints `copies` jobs of the page on the window's printer without asking.
    bool printCopies(int copies);

signals:
    // One copy went to the printer as its own job (copy counts from 1).
    void copyPrinted(int copy, int copies);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildActions();
    void relayout();
    QSizeF paperPixels() const;
    QSizeF picturePixels() const;
    void applyColourMode();

    metafile::MetafilePicture m_picture;
    std::unique_ptr<QPrinter> m_ownPrinter;
    QPrinter *m_printer = nullptr;
    // The printer current when the window opened: a printer of the system by
    // its name in capitals, or (name empty) a file printer by format and path.
    struct PrinterChoice {
        QString name;
        int outputFormat = 0;
        QString outputFile;
        bool operator==(const PrinterChoice &) const = default;
    };
    static PrinterChoice choiceOf(const QPrinter &printer);
    void restorePrinterAtOpen();
    PrinterChoice m_printerAtOpen;
    bool m_fullPage = true;
    QToolBar *m_toolBar = nullptr;
    QScrollBar *m_hBar = nullptr;
    QScrollBar *m_vBar = nullptr;
    QList<QMenu *> m_menus;
};

}  // namespace ortolan::print
