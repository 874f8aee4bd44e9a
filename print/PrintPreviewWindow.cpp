#include "print/PrintPreviewWindow.h"

#include "app/Help.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "browser/IconLibrary.h"
#include "print/OTprintSystemPrinter.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QToolBar>

#include <algorithm>

namespace ortolan::print {

namespace {

struct Caption {
    const char *italian;
    const char *english;
};

QString text(const Caption &c)
{
    return QString::fromUtf8(settings().isEnglish() ? c.english : c.italian);
}

// The printer the engine objects of this process draw for, when it is a real one.
QPrinter *systemPrinter()
{
    auto installed = std::dynamic_pointer_cast<OTprintSystemPrinter>(OTprintPrinter::current());
    return installed ? &installed->printer() : nullptr;
}

}  // namespace

PrintPreviewWindow::Layout PrintPreviewWindow::computeLayout(QSizeF inner, double toolbarHeight, double hScrollHeight,
                                                             double vScrollWidth, QSizeF paper, QSizeF picture,
                                                             bool fullPage)
{
    Layout l;
    if (fullPage && paper.width() > 0 && paper.height() > 0) {
        l.zoom = paper.width() < paper.height()
                     ? (inner.height() - hScrollHeight - 2 * toolbarHeight) / paper.height()
                     : (inner.width() - 2 * vScrollWidth) / paper.width();
        l.zoom = std::max(l.zoom, 0.01);
    }
    const QSizeF sheet = paper * l.zoom;
    l.sheet = QRectF(std::max(0.0, (inner.width() - sheet.width()) / 2), 1.5 * toolbarHeight, sheet.width(),
                     sheet.height());
    const QSizeF pic = picture * l.zoom;
    l.picture = QRectF(l.sheet.topLeft() + pictureOffsetOnSheet(sheet, pic), pic);
    l.scrollBars = !fullPage;
    return l;
}

QPointF PrintPreviewWindow::pictureOffsetOnSheet(QSizeF sheet, QSizeF picture)
{
    return QPointF((sheet.width() - picture.width()) / 2, std::max(0.0, (sheet.height() - picture.height()) / 2));
}

PrintPreviewWindow::PrintPreviewWindow(const QString &pagePath, QPrinter *printer, QWidget *parent)
    : QWidget(parent)
{
    m_printer = printer ? printer : systemPrinter();
    if (!m_printer) {
        m_ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer = m_ownPrinter.get();
    }
    m_printerAtOpen = choiceOf(*m_printer);
    settings().ChosenPrinterName.clear();
    QString error;
    m_picture = metafile::MetafilePicture::load(pagePath, &error);

    setWindowTitle(text({"Anteprima di stampa cartina", "Print preview"}));
    m_toolBar = new QToolBar(this);
    m_hBar = new QScrollBar(Qt::Horizontal, this);
    m_vBar = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar *bar : {m_hBar, m_vBar})
        connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
    buildActions();
    relayout();
}

PrintPreviewWindow::~PrintPreviewWindow() { qDeleteAll(m_menus); }

void PrintPreviewWindow::buildActions()
{
    auto action = [this](const Caption &caption, auto slot) {
        auto *a = new QAction(text(caption), this);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto home = [] {
        if (MainWindow *frame = mainWindow())
            emit frame->homeRequested();
    };
    auto about = [] {
        if (MainWindow *frame = mainWindow())
            emit frame->aboutRequested();
    };
    // Tool bar: 100%, whole page, set-up, print, close, help.
    const struct {
        const char *key;
        const char *icon;
        Caption tip;
        void (PrintPreviewWindow::*slot)();
    } buttons[] = {
        {"Zoomin", "zoom_in", {"Dimensione 100%", "Zoom to 100%"}, &PrintPreviewWindow::ShowActualSize},
        {"Zoomout", "full_extent", {"Pagina intera", "Full page"}, &PrintPreviewWindow::ShowFullPage},
        {"Anteprima", "printer_setup", {"Imposta stampante", "Printer setup"}, nullptr},
        {"Print", "print_colour", {"Stampa", "Print"}, &PrintPreviewWindow::PrintPage},
        {"ChiudiAnteprima", "close_preview", {"Chiudi anteprima", "Close preview"}, nullptr},
        {"HelpPreview", "help", {"Aiuto", "Help"}, nullptr},
    };
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const auto &b : buttons) {
        QAction *a = m_toolBar->addAction(browser::IconLibrary::icon(QString::fromUtf8(b.icon)), text(b.tip));
        a->setObjectName(QString::fromUtf8(b.key));
        a->setToolTip(text(b.tip));
        if (b.slot)
            connect(a, &QAction::triggered, this, b.slot);
    }
    connect(m_toolBar->actions().at(2), &QAction::triggered, this, [this] { SetUpPrinter(); });
    connect(m_toolBar->actions().at(4), &QAction::triggered, this, &QWidget::close);
    connect(m_toolBar->actions().at(5), &QAction::triggered, this, [] { showHelpContents(); });

    auto item = [&action](QMenu *menu, const char *name, const Caption &caption, auto slot) {
        QAction *a = action(caption, slot);
        a->setObjectName(QString::fromUtf8(name));
        menu->addAction(a);
    };
    auto *file = new QMenu(text({"&File", "&File"}));
    file->setObjectName(QStringLiteral("File_mnu"));
    item(file, "Home_mnu", {"&Home", "&Home"}, home);
    item(file, "mny_anteprima", {"&Imposta stampante", "Printer setup"}, [this] { SetUpPrinter(); });
    item(file, "Stampa_mnu", {"&Stampa", "Print"}, &PrintPreviewWindow::PrintPage);
    item(file, "Chiudi_mnu", {"&Chiudi", "Close preview"}, &QWidget::close);
    auto *tools = new QMenu(text({"&Strumenti", "&Tools"}));
    tools->setObjectName(QStringLiteral("Strumenti_mnu"));
    item(tools, "Dim100_mnu", {"&Dimensioni 100%", "&Zoom to 100%"}, &PrintPreviewWindow::ShowActualSize);
    item(tools, "DimensioniPag_mnu", {"&Pagina intera", "&Full page"}, &PrintPreviewWindow::ShowFullPage);
    auto *help = new QMenu(text({"&?", "&?"}));
    help->setObjectName(QStringLiteral("Aiuto_mnu"));
    item(help, "Help_mnu", {"&Help", "&Help"}, [] { showHelpContents(); });
    item(help, "Informazioni_mnu", {"&Informazioni", "&About Ortolan..."}, about);
    m_menus = {file, tools, help};
}

QList<QMenu *> PrintPreviewWindow::frameMenus() const { return m_menus; }

QSizeF PrintPreviewWindow::paperPixels() const
{
    const QSizeF points = m_printer->paperRect(QPrinter::Point).size();
    return points * (logicalDpiX() / 72.0);
}

QSizeF PrintPreviewWindow::picturePixels() const
{
    return m_picture.isNull() ? QSizeF() : m_picture.naturalSizeMm() * (logicalDpiX() / 25.4);
}

PrintPreviewWindow::Layout PrintPreviewWindow::currentLayout() const
{
    return computeLayout(QSizeF(size()), m_toolBar->sizeHint().height(), m_hBar->sizeHint().height(),
                         m_vBar->sizeHint().width(), paperPixels(), picturePixels(), m_fullPage);
}

void PrintPreviewWindow::relayout()
{
    const int tb = m_toolBar->sizeHint().height();
    m_toolBar->setGeometry(0, 0, width(), tb);
    const Layout l = currentLayout();
    const int hh = m_hBar->sizeHint().height();
    const int vw = m_vBar->sizeHint().width();
    m_hBar->setVisible(l.scrollBars);
    m_vBar->setVisible(l.scrollBars);
    if (l.scrollBars) {
        m_vBar->setGeometry(width() - vw, tb, vw, std::max(0, height() - tb - hh));
        m_hBar->setGeometry(0, height() - hh, std::max(0, width() - vw), hh);
        // Enough range to bring every edge of the sheet into view, with a margin.
        const QRectF sheet = l.sheet.adjusted(0, 0, 20, 20);
        m_hBar->setRange(0, std::max(0, int(sheet.right()) - (width() - vw)));
        m_vBar->setRange(0, std::max(0, int(sheet.bottom()) - (height() - hh)));
        m_hBar->setPageStep(std::max(1, width() - vw));
        m_vBar->setPageStep(std::max(1, height() - tb - hh));
    } else {
        m_hBar->setValue(0);
        m_vBar->setValue(0);
    }
    update();
}

void PrintPreviewWindow::ShowActualSize()
{
    m_fullPage = false;
    relayout();
    m_hBar->setValue(std::min(10, m_hBar->maximum()));
    m_vBar->setValue(std::min(10, m_vBar->maximum()));
}

void PrintPreviewWindow::ShowFullPage()
{
    m_fullPage = true;
    relayout();
}

void PrintPreviewWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void PrintPreviewWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int tb = m_toolBar->height();
    QRect view(0, tb, width(), height() - tb);
    if (!m_fullPage)
        view.adjust(0, 0, -m_vBar->width(), -m_hBar->height());
    painter.fillRect(view, palette().dark());
    painter.setClipRect(view);
    const Layout l = currentLayout();
    painter.translate(-m_hBar->value(), -m_vBar->value());
    painter.fillRect(l.sheet, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(l.sheet);
    if (!m_picture.isNull())
        m_picture.render(&painter, l.picture);
}

void PrintPreviewWindow::applyColourMode()
{
    m_printer->setColorMode(settings().PrintColourMode == QStringLiteral("Colori") ? QPrinter::Color
                                                                                    : QPrinter::GrayScale);
}

bool PrintPreviewWindow::SetUpPrinter()
{
    applyColourMode();
    QPrintDialog dialog(m_printer, this);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The dialog accepted settings the printer cannot take (a printer that
    // went away, a file that cannot be written).
    if (!m_printer->isValid()) {
        showError(settings().messages.MsgPrintSettings, this);
        return false;
    }
    settings().ChosenPrinterName = m_printer->printerName().toUpper();
    relayout();
    return true;
}

void PrintPreviewWindow::PrintPage()
{
    if (!SetUpPrinter())
        return;
    const int copies = std::max(1, m_printer->copyCount());
    if (!printCopies(copies))
        showError(settings().messages.MsgMapPrintFailed, this);
}

bool PrintPreviewWindow::printCopies(int copies)
{
    if (m_picture.isNull())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool ok = true;
    m_printer->setCopyCount(1);
    for (int copy = 0; copy < copies && ok; ++copy) {
        // One document per copy: each copy is its own print job.
        QPainter painter;
        if (!painter.begin(m_printer)) {
            ok = false;
            break;
        }
        // The page at its natural size, played at the printer's resolution and
        // placed on the paper where the preview shows it. The painter's origin
        // is the printable area's corner, not the paper's.
        const double dotsPerMm = m_printer->resolution() / 25.4;
        const QSizeF size = m_picture.naturalSizeMm() * dotsPerMm;
        const QSizeF paper = m_printer->paperRect(QPrinter::DevicePixel).size();
        const QRectF target(pictureOffsetOnSheet(paper, size) - m_printer->pageRect(QPrinter::DevicePixel).topLeft(),
                            size);
        m_picture.render(&painter, target);
        ok = painter.end();
        if (ok)
            emit copyPrinted(copy + 1, copies);
    }
    QApplication::restoreOverrideCursor();
    return ok;
}

PrintPreviewWindow::PrinterChoice PrintPreviewWindow::choiceOf(const QPrinter &printer)
{
    PrinterChoice choice;
    choice.name = printer.printerName().toUpper();
    if (choice.name.isEmpty()) {
        choice.outputFormat = int(printer.outputFormat());
        choice.outputFile = printer.outputFileName();
    }
    return choice;
}

void PrintPreviewWindow::restorePrinterAtOpen()
{
    if (choiceOf(*m_printer) == m_printerAtOpen)
        return;
    if (m_printerAtOpen.name.isEmpty()) {
        m_printer->setPrinterName(QString());
        m_printer->setOutputFormat(QPrinter::OutputFormat(m_printerAtOpen.outputFormat));
        m_printer->setOutputFileName(m_printerAtOpen.outputFile);
        return;
    }
    for (const QPrinterInfo &info : QPrinterInfo::availablePrinters()) {
        if (info.printerName().toUpper() == m_printerAtOpen.name) {
            m_printer->setPrinterName(info.printerName());
            return;
        }
    }
}

void PrintPreviewWindow::closeEvent(QCloseEvent *event)
{
    // The printer that was current when the preview opened becomes current again.
    restorePrinterAtOpen();
    QWidget::closeEvent(event);
}

}  // namespace ortolan::print
