#include "records/RecordWindows.h"

#include "app/MainWindow.h"
#include "app/Settings.h"
#include "browser/SpeciesWindow.h"
#include "data/Connection.h"
#include "data/Queries.h"
#include "records/DataSourcesWindow.h"
#include "records/SitesTableWindow.h"
#include "records/SpeciesCardWindow.h"
#include "records/SpeciesSearchWindow.h"

#include <QMdiSubWindow>

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

// Replaces the open window of a kind by a new one built from the query's rows.
template <typename Window>
QWidget *openRecords(browser::SpeciesWindow &owner, RecordWindowKind kind, const QString &query,
                     const QString &caption)
{
    closeRecordWindow(owner, kind);
    const auto db = data::Connection::openDefault();
    auto *window = new Window(db->openRecordset(query));
    window->setWindowTitle(caption);
    owner.registerRecordWindow(window, kind);
    showInFrame(window);
    return window;
}

}  // namespace

QWidget *openSpeciesCard(browser::SpeciesWindow &owner, const QString &query, const QString &caption)
{
    return openRecords<SpeciesCardWindow>(owner, RecordWindowKind::Card, query, caption);
}

QWidget *openSitesTable(browser::SpeciesWindow &owner, const QString &query, const QString &caption)
{
    return openRecords<SitesTableWindow>(owner, RecordWindowKind::Sites, query, caption);
}

QWidget *openSitesOfSquare(browser::SpeciesWindow &owner, const QString &square)
{
    const Settings &s = settings();
    return openSitesTable(owner, data::queries::sitesInSquare(s.SelectedTaxonCode, square),
                          sitesCaption(s.SelectedCaption, square));
}

QString sitesCaption(const QString &taxonCaption, const QString &square)
{
    QString caption = settings().messages.TitleSites + taxonCaption;
    if (!square.isEmpty())
        caption += QStringLiteral(" in ") + square;
    return caption;
}

QWidget *openDataSources(browser::SpeciesWindow &owner, const QString &query, const QString &caption)
{
    return openRecords<DataSourcesWindow>(owner, RecordWindowKind::Sources, query, caption);
}

QWidget *openSpeciesSearch(browser::SpeciesWindow &owner)
{
    closeRecordWindow(owner, RecordWindowKind::Search);
    auto *window = new SpeciesSearchWindow(owner);
    owner.registerRecordWindow(window, RecordWindowKind::Search);
    showInFrame(window);
    return window;
}

void closeRecordWindow(browser::SpeciesWindow &owner, browser::RecordWindowKind kind)
{
    owner.closeRecordWindow(kind);
}

}  // namespace ortolan::records
