#include "records/RecordWindows.h"

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "app/MessageBoxes.h"
#include "browser/SpeciesWindow.h"
#include "browser/TaxonTree.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "records/RecordGridWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

// The windows opened here are plain read-only views of the records, so that
// every record command works end to end; the record windows proper (species
// card with its fields, sites and sources tables with copy, sort and export,
// the search window) replace them behind the same functions.

namespace ortolan::records {

namespace {

using browser::RecordWindowKind;

// Shows a window in the main frame (or on its own when there is no frame),
// placed as windows opened from menus are: centred horizontally, one third
// down the free height.
void showInFrame(QWidget *window)
{
    if (MainWindow *frame = mainWindow()) {
        QMdiSubWindow *sub = frame->addChild(window);
        frame->placeChild(sub, 3);
    } else {
        window->show();
    }
}

QWidget *openGrid(browser::SpeciesWindow &owner, RecordWindowKind kind, const QString &query, const QString &caption,
                  RecordGridWindow::Layout layout, const QString &objectName)
{
    closeRecordWindow(owner, kind);
    const auto db = data::Connection::openDefault();
    auto *window = new RecordGridWindow(db->openRecordset(query), layout);
    window->setObjectName(objectName);
    window->setWindowTitle(caption);
    owner.registerRecordWindow(window, kind);
    showInFrame(window);
    return window;
}

// The node of a found name below its family: the species text (name, blank,
// author) or, for a genus, the name alone.
QTreeWidgetItem *findBelow(QTreeWidgetItem *family, const QString &name, const QString &nodeText)
{
    for (int i = 0; i < family->childCount(); ++i) {
        QTreeWidgetItem *child = family->child(i);
        if (child->text(0) == nodeText || (browser::TaxonTree::kindOf(child) == u'G' && child->text(0) == name))
            return child;
        if (QTreeWidgetItem *deeper = findBelow(child, name, nodeText))
            return deeper;
    }
    return nullptr;
}

}  // namespace

QWidget *openSpeciesCard(browser::SpeciesWindow &owner, const QString &query, const QString &caption)
{
    return openGrid(owner, RecordWindowKind::Card, query, caption, RecordGridWindow::Layout::FieldPerRow,
                    QStringLiteral("Form_Scheda"));
}

QWidget *openSitesTable(browser::SpeciesWindow &owner, const QString &query, const QString &caption)
{
    return openGrid(owner, RecordWindowKind::Sites, query, caption, RecordGridWindow::Layout::Rows,
                    QStringLiteral("Form_Stazioni"));
}

QWidget *openDataSources(browser::SpeciesWindow &owner, const QString &query, const QString &caption)
{
    return openGrid(owner, RecordWindowKind::Sources, query, caption, RecordGridWindow::Layout::Rows,
                    QStringLiteral("Form_Biblio"));
}

QWidget *openSpeciesSearch(browser::SpeciesWindow &owner)
{
    closeRecordWindow(owner, RecordWindowKind::Search);
    const Settings &s = settings();
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("Form_Ricerca"));
    window->setWindowTitle(s.tr(QStringLiteral("Ricerca"), QStringLiteral("Search")));
    auto *text = new QLineEdit(window);
    text->setObjectName(QStringLiteral("TestoRicerca"));
    auto *find = new QPushButton(s.tr(QStringLiteral("&Trova"), QStringLiteral("&Find")), window);
    find->setObjectName(QStringLiteral("Command1"));
    auto *list = new QListWidget(window);
    list->setObjectName(QStringLiteral("ListaSpecie"));
    auto *ok = new QPushButton(QStringLiteral("OK"), window);
    ok->setObjectName(QStringLiteral("Command2"));
    auto *cancel = new QPushButton(s.tr(QStringLiteral("&Annulla"), QStringLiteral("&Cancel")), window);
    cancel->setObjectName(QStringLiteral("Command3"));

    auto *box = new QVBoxLayout(window);
    auto *row = new QHBoxLayout;
    row->addWidget(text, 1);
    row->addWidget(find);
    box->addLayout(row);
    box->addWidget(list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    box->addLayout(buttons);

    const auto runFind = [text, list] {
        if (text->text().isEmpty())
            return;
        list->clear();
        try {
            const auto db = data::Connection::openDefault();
            const data::Recordset rs = db->openRecordset(data::queries::searchByName(text->text(), settings().TreeFilter));
            for (const auto &r : rs.rows())
                list->addItem(r.size() > 1 ? r[1].toString() : QString());
        } catch (const data::DataError &e) {
            showError(settings().messages.MsgDataError + e.description(), list);
        }
        if (list->count() > 0)
            list->setCurrentRow(0);
        list->setFocus();
    };
    QPointer<browser::SpeciesWindow> species(&owner);
    const auto runOk = [window, list, species] {
        QTreeWidgetItem *found = nullptr;
        try {
            if (!species || !list->currentItem())
                throw data::DataError(QString());
            const QString name = list->currentItem()->text();
            const auto db = data::Connection::openDefault();
            data::Recordset rs = db->openRecordset(data::queries::taxonByName(name));
            rs.moveFirst();
            const QString family = rs.text(0);
            const QString nodeText = rs.text(1) + QLatin1Char(' ') + rs.text(2);
            browser::TaxonTree *tree = species->tree();
            if (QTreeWidgetItem *familyNode = tree->node(QLatin1Char('F') + family)) {
                tree->revealTaxon(family, QString());
                found = findBelow(familyNode, rs.text(1), nodeText);
            }
        } catch (const data::DataError &) {
            showInfo(settings().messages.MsgSelectSpecies, window);
            return;
        }
        if (!found)
            return;
        species->showFoundNode(found);
        window->close();
    };
    QObject::connect(find, &QPushButton::clicked, window, runFind);
    QObject::connect(text, &QLineEdit::returnPressed, window, runFind);
    QObject::connect(ok, &QPushButton::clicked, window, runOk);
    QObject::connect(list, &QListWidget::itemDoubleClicked, window, runOk);
    QObject::connect(cancel, &QPushButton::clicked, window, &QWidget::close);

    window->resize(420, 360);
    owner.registerRecordWindow(window, RecordWindowKind::Search);
    showInFrame(window);
    return window;
}

void closeRecordWindow(browser::SpeciesWindow &owner, browser::RecordWindowKind kind)
{
    owner.closeRecordWindow(kind);
}

}  // namespace ortolan::records
