#include "bench/BenchWindow.h"

#include "app/Settings.h"
#include "browser/SpeciesWindow.h"
#include "browser/TaxonTree.h"
#include "data/Connection.h"
#include "data/Queries.h"

#include <QApplication>
#include <QPointer>

namespace ortolan::bench {

namespace {

struct Open {
    QPointer<browser::SpeciesWindow> window;
    QString database;
};

Open &current()
{
    static Open open;
    return open;
}

}  // namespace

void BenchWindow::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

browser::SpeciesWindow &BenchWindow::open()
{
    close();
    browser::SpeciesWindow *w = browser::openSpeciesWindow(QStringLiteral("Tutto"));
    w->resize(Width, Height);
    QCoreApplication::processEvents();
    w->repaint();
    current() = {w, settings().DatabasePath};
    return *w;
}

browser::SpeciesWindow &BenchWindow::get()
{
    Open &o = current();
    if (o.window && o.database == settings().DatabasePath)
        return *o.window;
    return open();
}

void BenchWindow::close()
{
    if (current().window)
        current().window->unload();
    current() = {};
    settle();
}

QString BenchWindow::familyOf(const QString &taxonCode)
{
    const auto db = data::Connection::openPrivate();
    data::Recordset rows = db->openRecordset(QStringLiteral("SELECT [codice_gr] FROM [Specie] WHERE [codice_sp]='")
                                             + data::queries::quoted(taxonCode) + QStringLiteral("'"));
    return rows.recordCount() ? rows.text(0) : QString();
}

QTreeWidgetItem *BenchWindow::reveal(const QString &taxonCode)
{
    browser::SpeciesWindow &w = get();
    return w.tree()->revealTaxon(familyOf(taxonCode), taxonCode);
}

}  // namespace ortolan::bench
