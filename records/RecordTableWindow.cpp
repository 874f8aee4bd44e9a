#include "records/RecordTableWindow.h"

#include "app/Help.h"
#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "browser/MdiArrange.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "records/ExportFiles.h"
#include "records/RecordTableModel.h"
#include "records/WaitPointer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
#include <QScopedValueRollback>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace ortolan::records {

RecordTableWindow::RecordTableWindow(const data::Recordset &records, Behaviour behaviour, QWidget *parent)
    : QWidget(parent), behaviour_(std::move(behaviour))
{
    setAttribute(Qt::WA_DeleteOnClose);
    const Settings &s = settings();
    // The exports work on the taxon the window was opened for, even when the
    // species window selects another one meanwhile.
    taxonCode_ = s.SelectedTaxonCode;
    taxonCaption_ = s.SelectedCaption;

    model_ = new RecordTableModel(this);
    model_->load(records);
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("MSFlexGrid1"));
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setWordWrap(false);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 4);
    grid_->verticalHeader()->setFixedWidth(twipsToPixels(300));
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);

    buildMenus();
    buildToolBar();
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RecordTableWindow::followViewSelection);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { editMenu_->popup(grid_->viewport()->mapToGlobal(pos)); });

    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(toolBar_);
    box->addWidget(grid_, 1);
    applyLayout();
    resize(760, 420);
}

QList<QMenu *> RecordTableWindow::frameMenus() const
{
    return menus_;
}

QString RecordTableWindow::caption(const QString &name, const QString &italian, const QString &english) const
{
    const auto it = behaviour_.captionOverrides.constFind(name);
    if (it != behaviour_.captionOverrides.constEnd())
        return settings().tr(it->first, it->second);
    return settings().tr(italian, english);
}

QAction *RecordTableWindow::addMenuItem(QMenu *menu, const QString &name, const QString &italian,
                                        const QString &english)
{
    QAction *a = menu->addAction(caption(name, italian, english));
    a->setObjectName(name);
    actions_.insert(name, a);
    return a;
}

void RecordTableWindow::buildMenus()
{
    const auto newMenu = [this](const QString &name, const QString &italian, const QString &english) {
        auto *m = new QMenu(caption(name, italian, english), this);
        m->setObjectName(name);
        menus_.append(m);
        return m;
    };
    QMenu *file = newMenu(QStringLiteral("File_mnu"), QStringLiteral("&File"), QStringLiteral("&File"));
    connect(addMenuItem(file, QStringLiteral("Home_mnu"), QStringLiteral("&Home"), QStringLiteral("&Home")),
            &QAction::triggered, this, [] { goHome(); });
    connect(addMenuItem(file, QStringLiteral("Chiudi_mnu"), QStringLiteral("&Chiudi"), QStringLiteral("&Close form")),
            &QAction::triggered, this, &QWidget::close);

    editMenu_ = newMenu(QStringLiteral("Modifica_mnu"), QStringLiteral("&Modifica"), QStringLiteral("&Edit"));
    connect(addMenuItem(editMenu_, QStringLiteral("Copia_celle_mnu"), QStringLiteral("&Copia celle negli appunti"),
                        QStringLiteral("&Copy cells to clipboard")),
            &QAction::triggered, this, &RecordTableWindow::copyCells);
    connect(addMenuItem(editMenu_, QStringLiteral("Copia_tabella_mnu"), QStringLiteral("Copia &tabella negli appunti"),
                        QStringLiteral("Cop&y table to clipboard")),
            &QAction::triggered, this, &RecordTableWindow::copyTable);

    QMenu *tools = newMenu(QStringLiteral("Strumenti_mnu"), QStringLiteral("&Strumenti"), QStringLiteral("&Tools"));
    const bool lastOnly = behaviour_.menuSortsLastColumn;
    connect(addMenuItem(tools, QStringLiteral("OrdinaCresc_mnu"), QStringLiteral("Ordina &crescente"),
                        QStringLiteral("&Ascending order")),
            &QAction::triggered, this, [this, lastOnly] { sortSelection(false, lastOnly); });
    connect(addMenuItem(tools, QStringLiteral("OrdinaDecresc_mnu"), QStringLiteral("Ordina &descrescente"),
                        QStringLiteral("&Descending order")),
            &QAction::triggered, this, [this, lastOnly] { sortSelection(true, lastOnly); });
    connect(addMenuItem(tools, QStringLiteral("ExpTxt_mnu"), QStringLiteral("Esporta &Testo..."),
                        QStringLiteral("&Export to Text file")),
            &QAction::triggered, this, &RecordTableWindow::exportText);
    if (behaviour_.excelExport)
        connect(addMenuItem(tools, QStringLiteral("ExpXls_mnu"), QStringLiteral("Esporta &Excel..."),
                            QStringLiteral("&Export to Excel file")),
                &QAction::triggered, this, &RecordTableWindow::exportExcel);

    QMenu *windows = newMenu(QStringLiteral("Finestre_mnu"), QStringLiteral("&Finestra"), QStringLiteral("&Window"));
    connect(addMenuItem(windows, QStringLiteral("Verticale_mnu"), QStringLiteral("Affianca &verticalmente"),
                        QStringLiteral("Tile &vertically")),
            &QAction::triggered, this, [this] { arrange(browser::MdiArrange::Mode::TileVertically); });
    connect(addMenuItem(windows, QStringLiteral("Orizzontale_mnu"), QStringLiteral("Affianca &orizzontalmente"),
                        QStringLiteral("Tile &horizontally")),
            &QAction::triggered, this, [this] { arrange(browser::MdiArrange::Mode::TileHorizontally); });
    connect(addMenuItem(windows, QStringLiteral("Sovrapponi_mnu"), QStringLiteral("&Sovrapponi"),
                        QStringLiteral("&Cascade")),
            &QAction::triggered, this, [this] { arrange(browser::MdiArrange::Mode::Cascade); });

    QMenu *help = newMenu(QStringLiteral("Aiuto_mnu"), QStringLiteral("&?"), QStringLiteral("&?"));
    connect(addMenuItem(help, QStringLiteral("Help_mnu"), QStringLiteral("&Help"), QStringLiteral("&Help")),
            &QAction::triggered, this, [this] { showHelp(); });
    connect(addMenuItem(help, QStringLiteral("Informazioni_mnu"), QStringLiteral("&Informazioni"),
                        QStringLiteral("&About Ortolan...")),
            &QAction::triggered, this, [] { openAbout(); });
}

void RecordTableWindow::buildToolBar()
{
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName(QStringLiteral("Toolbar1"));
    const Settings &s = settings();
    const auto add = [&](const QString &key, const QString &italian, const QString &english,
                         QStyle::StandardPixmap icon, auto slot) {
        QAction *a = toolBar_->addAction(style()->standardIcon(icon), key);
        a->setObjectName(key);
        a->setToolTip(s.tr(italian, english));
        toolActions_.insert(key, a);
        // A failing button reports itself by its key; the window stays usable.
        connect(a, &QAction::triggered, this, [this, key, slot] {
            try {
                slot();
            } catch (const std::exception &) {
                showError(settings().messages.MsgButtonError + key, this);
            }
        });
    };
    add(QStringLiteral("CopyCells"), QStringLiteral("Copia celle nel clipboard"), QStringLiteral("Copy cells to clipboard"),
        QStyle::SP_FileIcon, [this] { copyCells(); });
    add(QStringLiteral("CopyTable"), QStringLiteral("Copia tabella nel clipboard"),
        QStringLiteral("Copy table to clipboard"), QStyle::SP_FileDialogDetailedView, [this] { copyTable(); });
    toolBar_->addSeparator();
    add(QStringLiteral("OrderAsc"), QStringLiteral("Ordine crescente"), QStringLiteral("Ascending order"),
        QStyle::SP_ArrowUp, [this] { sortSelection(false, false); });
    add(QStringLiteral("OrderDesc"), QStringLiteral("Ordine decrescente"), QStringLiteral("Descending order"),
        QStyle::SP_ArrowDown, [this] { sortSelection(true, false); });
    add(QStringLiteral("ExpoTxt"), QStringLiteral("Esporta testo"), QStringLiteral("Export to text file"),
        QStyle::SP_DialogSaveButton, [this] { exportText(); });
    toolBar_->addSeparator();
    add(QStringLiteral("CloseStaz"), QStringLiteral("Chiudi scheda"), QStringLiteral("Close form"),
        QStyle::SP_DialogCloseButton, [this] { close(); });
    add(QStringLiteral("HelpStaz"), QStringLiteral("Aiuto"), QStringLiteral("Help"), QStyle::SP_DialogHelpButton,
        [this] { showHelp(); });
}

void RecordTableWindow::showHelp() const
{
    if (behaviour_.helpContext == HelpContext::Contents)
        showHelpContents();
    else
        showHelpTopic(behaviour_.helpContext);
}

void RecordTableWindow::applyLayout()
{
    const bool english = settings().isEnglish();
    const RecordTableLayout &layout = behaviour_.layout;
    model_->applyHeaders(layout, english);
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int gridColumn = c + 1;
        if (gridColumn <= layout.columns.size()) {
            const int width = layout.columns[gridColumn - 1].widthTwips;
            grid_->setColumnHidden(c, width == 0);
            if (width > 0)
                grid_->setColumnWidth(c, twipsToPixels(width));
        }
    }
}

void RecordTableWindow::selectBlock(int row1, int column1, int row2, int column2)
{
    block_ = {row1, column1, row2, column2, true};
    const int lastRow = model_->rowCount() - 1;
    QItemSelectionModel *sel = grid_->selectionModel();
    const QScopedValueRollback<bool> guard(settingSelection_, true);
    sel->clearSelection();
    if (lastRow < 0)
        return;  // no records: only the header row, which the view does not select
    const auto modelRow = [lastRow](int gridRow) { return std::clamp(gridRow - 1, 0, lastRow); };
    const auto modelColumn = [](int gridColumn) { return std::max(gridColumn - 1, 0); };
    const QModelIndex a = model_->index(modelRow(row1), modelColumn(column1));
    const QModelIndex b = model_->index(modelRow(row2), modelColumn(column2));
    sel->setCurrentIndex(b, QItemSelectionModel::NoUpdate);
    sel->select(QItemSelection(a, b), QItemSelectionModel::ClearAndSelect);
}

void RecordTableWindow::followViewSelection()
{
    if (settingSelection_)
        return;
    const QModelIndexList cells = grid_->selectionModel()->selectedIndexes();
    if (cells.isEmpty()) {
        block_.valid = false;
        return;
    }
    int r1 = INT_MAX, c1 = INT_MAX, r2 = -1, c2 = -1;
    for (const QModelIndex &i : cells) {
        r1 = std::min(r1, i.row());
        c1 = std::min(c1, i.column());
        r2 = std::max(r2, i.row());
        c2 = std::max(c2, i.column());
    }
    // The current cell is the end of the selection the user dragged to: it
    // stays the second corner, as "the last selected column".
    const QModelIndex current = grid_->selectionModel()->currentIndex();
    if (current.isValid() && current.column() == c1 && c1 != c2)
        std::swap(c1, c2);
    if (current.isValid() && current.row() == r1 && r1 != r2)
        std::swap(r1, r2);
    block_ = {r1 + 1, c1 + 1, r2 + 1, c2 + 1, true};
}

QString RecordTableWindow::selectionClipText() const
{
    if (!block_.valid)
        return QString();
    const int r1 = std::min(block_.row1, block_.row2), r2 = std::max(block_.row1, block_.row2);
    const int c1 = std::max(std::min(block_.column1, block_.column2), 1);
    const int c2 = std::min(std::max(block_.column1, block_.column2), model_->columnCount());
    const int lastRow = std::min(r2, model_->rowCount());
    // Grid row 0 is the header: model row -1.
    return model_->clipText(r1 - 1, lastRow - 1, c1 - 1, c2 - 1);
}

QString RecordTableWindow::tableClipText() const
{
    return model_->tableClipText(behaviour_.layout);
}

void RecordTableWindow::copyCells()
{
    QGuiApplication::clipboard()->setText(selectionClipText());
}

void RecordTableWindow::selectWholeTable()
{
    selectBlock(0, behaviour_.layout.firstCopyColumn, model_->rowCount(), model_->columnCount());
}

void RecordTableWindow::copyTable()
{
    selectWholeTable();
    copyCells();
}

void RecordTableWindow::sortSelection(bool descending, bool lastColumnOnly)
{
    if (!block_.valid)
        return;
    int first = block_.column1, last = block_.column2;
    if (lastColumnOnly)
        first = last;
    else if (first > last)
        std::swap(first, last);
    if (first < 1)
        first = 1;
    model_->sortByColumns(first - 1, last - 1, descending);
}

QString RecordTableWindow::chooseFile(const QString &filter, const QString &startFolder) const
{
    exportfiles::SaveRequest request;
    request.parent = const_cast<RecordTableWindow *>(this);
    request.title = taxonCaption_;
    request.startFolder = startFolder;
    request.proposedName = taxonCaption_;
    request.filter = filter;
    if (const auto &hook = exportfiles::saveDialogOverride())
        return hook(request);
    QString start = startFolder;
    if (!start.isEmpty() && !start.endsWith(QLatin1Char('/')))
        start += QLatin1Char('/');
    return QFileDialog::getSaveFileName(request.parent, request.title, start + request.proposedName, filter);
}

void RecordTableWindow::exportText()
{
    const Settings &s = settings();
    const QString chosen = chooseFile(QStringLiteral("Text files (*.txt)"),
                                      behaviour_.textExportStartsInUserFolder ? s.UserFolder : QString());
    if (chosen.isEmpty())
        return;  // cancelled
    const QString path = exportfiles::outputPath(chosen, QStringLiteral("txt"));
    try {
        WaitPointer wait;
        selectWholeTable();
        exportfiles::writeText(path, selectionClipText());
    } catch (const data::DataError &) {
        showError(s.messages.MsgExportFailed, this);
        return;
    }
    showInfo(s.messages.MsgExported + path, this);
}

void RecordTableWindow::exportExcel()
{
    const Settings &s = settings();
    const QString chosen = chooseFile(QStringLiteral("Excel files (*.xls)"), s.UserFolder);
    if (chosen.isEmpty())
        return;  // cancelled
    const QString path = exportfiles::outputPath(chosen, QStringLiteral("xls"));
    try {
        WaitPointer wait;
        // The writer replaces an earlier workbook only once the new one is
        // complete, so it is not deleted beforehand.
        const auto db = data::Connection::openPrivate();
        db->execute(data::queries::sitesToExcel(path, taxonCode_, s.isEnglish()));
    } catch (const data::DataError &) {
        showError(s.messages.MsgExportFailed, this);
        return;
    }
    showInfo(s.messages.MsgExported + path, this);
}

void RecordTableWindow::arrange(browser::MdiArrange::Mode mode)
{
    if (MainWindow *frame = mainWindow())
        browser::MdiArrange::arrange(frame->mdiArea(), mode);
}

}  // namespace ortolan::records
