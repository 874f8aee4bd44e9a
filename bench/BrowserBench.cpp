// The species window: opening it with the tree's first level, expanding
// orders, selecting a taxon (query, dots, repaint) and searching names, each
// beside the bare queries it runs.
#include "bench/BenchContext.h"
#include "bench/BenchOperation.h"
#include "bench/BenchSuites.h"
#include "bench/BenchTaxa.h"
#include "bench/BenchWindow.h"

#include "app/Settings.h"
#include "browser/SpeciesWindow.h"
#include "browser/TaxonTree.h"
#include "data/Connection.h"
#include "data/Queries.h"
#include "map/MapWidget.h"
#include "map/RecordsLayer.h"
#include "records/SpeciesSearchWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QTreeWidgetItem>

#include <sqlite3.h>

#include <cstdio>
#include <memory>

namespace ortolan::bench {

namespace {

const QString All = QStringLiteral("Tutto");

// The family codes below an order, from the tree's first level.
QStringList familiesOf(const QString &order)
{
    QStringList families;
    const auto db = data::Connection::openPrivate();
    data::Recordset rows = db->openRecordset(data::queries::firstLevel(All));
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        const QString code = rows.text(0);
        if (code.size() == 15 && code.startsWith(order))
            families << code;
    }
    return families;
}

QStringList allOrders()
{
    QStringList orders;
    const auto db = data::Connection::openPrivate();
    data::Recordset rows = db->openRecordset(data::queries::firstLevel(All));
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        if (rows.text(0).size() == 11)
            orders << rows.text(0);
    return orders;
}

// What expanding an order reads: one connection, the family listings.
void familyQueries(const QStringList &families)
{
    const auto db = data::Connection::openPrivate();
    for (const QString &family : families)
        db->openRecordset(data::queries::familyTaxa(family, All));
}

// The statement alone, stepped through without building rows: what SQLite
// itself needs for a query of the program's dialect.
void rawQuery(const QString &sql)
{
    const auto db = data::Connection::openDefault();
    const QByteArray text = db->translate(sql).toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db->handle(), text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK)
        return;
    while (sqlite3_step(statement) == SQLITE_ROW)
        sqlite3_column_text(statement, 1);
    sqlite3_finalize(statement);
}

void selection(const QString &label, const QString &database, const QString &suffix,
               QString (*pick)(const BenchTaxa &))
{
    auto item = std::make_shared<QTreeWidgetItem *>(nullptr);
    registerOperation({QStringLiteral("select ") + label + suffix, 10,
                       [database, item, pick, label] {
                           BenchContext::instance().use(database);
                           *item = BenchWindow::reveal(pick(BenchTaxa::of(database)));
                           if (!*item)
                               std::fprintf(stderr, "ortolan-bench: %s (%s) is not in the tree\n", qPrintable(label),
                                            qPrintable(pick(BenchTaxa::of(database))));
                       },
                       {},
                       [item] {
                           browser::SpeciesWindow &w = BenchWindow::get();
                           if (*item)
                               w.nodeClick(*item);
                           w.mapWidget()->repaint();
                       }});
    registerOperation({QStringLiteral("floor: squares query of ") + label + suffix, 10, {}, {}, [database, pick] {
                           const auto db = data::Connection::openPrivate();
                           db->openRecordset(data::queries::mapSquares(pick(BenchTaxa::of(database))));
                       }});
}

}  // namespace

void registerBrowserBenchmarks(const QString &database, const QString &suffix)
{
    auto use = [database] { BenchContext::instance().use(database); };
    registerOperation({QStringLiteral("start: species window with the first tree level") + suffix, 10, use,
                       [] { BenchWindow::close(); }, [] { BenchWindow::open(); }});
    registerOperation({QStringLiteral("floor: open the database and read the first level") + suffix, 10, {}, {}, [] {
                           const auto db = data::Connection::openPrivate();
                           db->openRecordset(data::queries::firstLevel(All));
                       }});

    auto order = std::make_shared<QString>();
    auto families = std::make_shared<QStringList>();
    auto orders = std::make_shared<QStringList>();
    auto familiesByOrder = std::make_shared<std::vector<QStringList>>();
    auto reload = [] { BenchWindow::get().tree()->loadGroups(All); };
    registerOperation({QStringLiteral("expand the largest order") + suffix, 10,
                       [database, order, families, orders, familiesByOrder] {
                           BenchContext::instance().use(database);
                           *order = BenchTaxa::of(database).order;
                           *families = familiesOf(*order);
                           *orders = allOrders();
                           familiesByOrder->clear();
                           for (const QString &o : *orders)
                               familiesByOrder->push_back(familiesOf(o));
                       },
                       reload,
                       [order] {
                           browser::TaxonTree *tree = BenchWindow::get().tree();
                           if (QTreeWidgetItem *node = tree->node(QStringLiteral("O") + *order))
                               node->setExpanded(true);
                           tree->viewport()->repaint();
                       }});
    registerOperation({QStringLiteral("floor: family queries of the largest order") + suffix, 10, {}, {},
                       [families] { familyQueries(*families); }});
    registerOperation({QStringLiteral("expand every order") + suffix, 3, {}, reload, [orders] {
                           browser::TaxonTree *tree = BenchWindow::get().tree();
                           for (const QString &o : *orders)
                               if (QTreeWidgetItem *node = tree->node(QStringLiteral("O") + o))
                                   node->setExpanded(true);
                           tree->viewport()->repaint();
                       }});
    registerOperation({QStringLiteral("floor: family queries of every order") + suffix, 3, {}, {},
                       [familiesByOrder] {
                           for (const QStringList &families : *familiesByOrder)
                               familyQueries(families);
                       }});

    selection(QStringLiteral("a species of few squares"), database, suffix,
              [](const BenchTaxa &t) { return t.fewSquares; });
    selection(QStringLiteral("a species of ~1,000 squares"), database, suffix,
              [](const BenchTaxa &t) { return t.thousandSquares; });
    selection(QStringLiteral("the largest genus"), database, suffix, [](const BenchTaxa &t) { return t.bigGenus; });

    // The map's own query path (connection, dialect, rows, square table)
    // against SQLite stepping through the same statement.
    registerOperation({QStringLiteral("map query path: squares of the ~1,000-square species") + suffix, 20, {}, {},
                       [database] {
                           map::RecordsLayer records;
                           records.load(BenchTaxa::of(database).thousandSquares);
                       }});
    registerOperation({QStringLiteral("floor: raw squares query of the ~1,000-square species") + suffix, 20, {}, {},
                       [database] { rawQuery(data::queries::mapSquares(BenchTaxa::of(database).thousandSquares)); }});

    auto search = std::make_shared<QPointer<records::SpeciesSearchWindow>>();
    for (const QString &text : {QStringLiteral("ita"), QStringLiteral("a")}) {
        const QString label = QStringLiteral("search names for '") + text + QStringLiteral("'");
        registerOperation({label + suffix, 10,
                           [search] {
                               if (!*search) {
                                   *search = new records::SpeciesSearchWindow(BenchWindow::get());
                                   (*search)->show();
                               }
                           },
                           {},
                           [search, text] {
                               (*search)->textBox()->setText(text);
                               (*search)->find();
                               (*search)->list()->repaint();
                           }});
        registerOperation({QStringLiteral("floor: raw query of ") + label + suffix, 10, {}, {},
                           [text] { rawQuery(data::queries::searchByName(text, All)); }});
    }
}

}  // namespace ortolan::bench
