#include "browser/CommandDispatcher.h"

#include "app/Settings.h"
#include "browser/ButtonPositions.h"
#include "browser/MapPane.h"
#include "app/MessageBoxes.h"
#include "browser/SpeciesWindow.h"
#include "browser/TaxonTree.h"
#include "browser/WaitCursor.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "export/ClipboardCopy.h"
#include "map/MapTools.h"
#include "print/MapPrinting.h"
#include "records/RecordWindows.h"

#include <QTreeWidgetItem>

#include <stdexcept>

namespace ortolan::browser {

namespace {

namespace T1 = Toolbar1Button;
namespace T2 = Toolbar2Button;

QString key(const char16_t *text) { return QString::fromUtf16(text); }

bool isFilterKey(const QString &k)
{
    return k == Filter::All || k == Filter::Invertebrates || k == Filter::Vertebrates || k == Filter::HabitatDirective ||
           k == Filter::RedList || k == Filter::Alien;
}

bool isPrintKey(const QString &k) { return k == key(u"StampaCol") || k == key(u"StampaBW"); }

}  // namespace

QStringList CommandDispatcher::commandKeys()
{
    return {key(u"Espandi"),  key(u"Collassa"),  key(u"Ordina"),        key(u"Ricerca"),  key(u"Scheda"),
            key(u"Stazioni"), key(u"Biblio"),    key(u"Cartina"),       key(u"Italia"),   key(u"Simboli"),
            key(u"Reticolo"), key(u"ZoomIn"),    key(u"ZoomOut"),       key(u"Area"),     key(u"Pan"),
            key(u"CopiaBMP"), key(u"StampaCol"), key(u"StampaBW"),      key(u"SceltaCartine"), key(u"Tree"),
            Filter::All,      Filter::Invertebrates, Filter::Vertebrates, Filter::HabitatDirective, Filter::RedList,
            Filter::Alien};
}

void CommandDispatcher::Species_Tools(Origin origin) { runGuarded(settings().CommandKey, origin); }

void CommandDispatcher::menuCommand(const QString &k)
{
    // The toolbar first shows what a click on its button would have shown,
    // so that the dispatcher reads the same state from either path.
    static const QHash<QString, int> tools = {
        {key(u"ZoomIn"), T2::ZoomIn}, {key(u"ZoomOut"), T2::ZoomOut}, {key(u"Area"), T2::Area}, {key(u"Pan"), T2::Pan}};
    if (const auto tool = tools.constFind(k); tool != tools.constEnd()) {
        if (!w_.isPressed(2, *tool))
            w_.setPressed(2, *tool, true);
    } else if (k == key(u"Simboli")) {
        w_.setPressed(2, T2::Select, !w_.isPressed(2, T2::Select));
    } else if (k == key(u"Reticolo")) {
        w_.setPressed(2, T2::Grid, !w_.isPressed(2, T2::Grid));
    } else if (k == key(u"Tree")) {
        w_.setPressed(2, T2::Tree, !w_.isPressed(2, T2::Tree));
    } else if (k == key(u"Cartina")) {
        // The map item toggles the map pane as the tree item toggles the tree.
        w_.setPressed(1, T1::Map, !w_.isPressed(1, T1::Map));
    }
    settings().CommandKey = k;
    Species_Tools(Origin::Menu);
}

void CommandDispatcher::mapToolbarClick(const QString &k)
{
    settings().CommandKey = k;
    Species_Tools(Origin::MapToolbar);
}

void CommandDispatcher::treeToolbarClick(const QString &k)
{
    if (k == key(u"Aiuto")) {
        w_.showHelp(11);
        return;
    }
    runGuarded(k, Origin::TreeToolbar);
}

void CommandDispatcher::runGuarded(const QString &k, Origin origin)
{
    try {
        WaitCursor wait;
        perform(k, origin);
    } catch (const std::exception &) {
        // Expand, collapse and sort on the tree toolbar fail quietly (for
        // example with no node selected); everything else is reported.
        if (origin == Origin::TreeToolbar &&
            (k == key(u"Espandi") || k == key(u"Collassa") || k == key(u"Ordina")))
            return;
        const MessageCatalogue &m = settings().messages;
        showError(isPrintKey(k) ? m.MsgMapPrintFailed : m.MsgButtonError + k, &w_);
    }
}

void CommandDispatcher::perform(const QString &k, Origin origin)
{
    if (k == key(u"Espandi"))
        expandCommand();
    else if (k == key(u"Collassa"))
        collapseCommand();
    else if (k == key(u"Ordina"))
        sortCommand(origin);
    else if (k == key(u"Ricerca"))
        searchCommand();
    else if (k == key(u"Scheda"))
        recordCommand(RecordWindowKind::Card, origin);
    else if (k == key(u"Stazioni"))
        recordCommand(RecordWindowKind::Sites, origin);
    else if (k == key(u"Biblio"))
        recordCommand(RecordWindowKind::Sources, origin);
    else if (k == key(u"Cartina"))
        paneCommand(false);
    else if (k == key(u"Tree"))
        paneCommand(true);
    else if (k == key(u"Italia"))
        fullExtentCommand();
    else if (k == key(u"Simboli"))
        selectCommand();
    else if (k == key(u"Reticolo"))
        gridCommand();
    else if (k == key(u"ZoomIn"))
        zoomInCommand();
    else if (k == key(u"ZoomOut"))
        zoomOutCommand();
    else if (k == key(u"Area"))
        areaCommand();
    else if (k == key(u"Pan"))
        panCommand();
    else if (k == key(u"CopiaBMP"))
        copyCommand();
    else if (isPrintKey(k))
        printCommand(k);
    else if (k == key(u"SceltaCartine"))
        w_.mapTools().chooseBackground();
    else if (isFilterKey(k))
        filterCommand(k);
}

bool CommandDispatcher::selectionIs(const QString &kinds) const
{
    // A genus under the Habitat Directive, Red List and alien filters is not
    // selectable: its kind is "G" but no taxon code is selected.
    const Settings &s = settings();
    return s.SelectedNodeKind.size() == 1 && kinds.contains(s.SelectedNodeKind) &&
           s.SelectedTaxonCode != QStringLiteral("No");
}

void CommandDispatcher::setButtonAndMenu(int toolbar, int position, bool pressed)
{
    w_.setButtonAndMenu(toolbar, position, pressed);
}

void CommandDispatcher::expandCommand()
{
    if (QTreeWidgetItem *node = w_.tree()->selectedNode())
        node->setExpanded(true);
}

void CommandDispatcher::collapseCommand()
{
    QTreeWidgetItem *node = w_.tree()->selectedNode();
    if (node && node->parent())
        node->parent()->setExpanded(false);
}

void CommandDispatcher::sortCommand(Origin origin)
{
    TaxonTree *tree = w_.tree();
    QTreeWidgetItem *node = tree->selectedNode();
    // A top-level group never sorts.
    if (!node || TaxonTree::kindOf(node) == u'P') {
        setButtonAndMenu(1, T1::Sort, false);
        return;
    }
    const bool sorted = origin == Origin::Menu ? !w_.isPressed(1, T1::Sort) : w_.isPressed(1, T1::Sort);
    setButtonAndMenu(1, T1::Sort, sorted);
    if (sorted)
        tree->setSorted(node, true);
    else
        tree->reloadInCodeOrder(node);
}

void CommandDispatcher::searchCommand()
{
    records::closeRecordWindow(w_, RecordWindowKind::Search);
    records::openSpeciesSearch(w_);
}

void CommandDispatcher::recordCommand(RecordWindowKind kind, Origin origin)
{
    Settings &s = settings();
    const int position = SpeciesWindow::buttonOf(kind);
    const bool qualifies = selectionIs(kind == RecordWindowKind::Sites ? key(u"SG") : key(u"S"));
    if (!qualifies) {
        setButtonAndMenu(1, position, false);
        showInfo(s.messages.MsgSelectSpecies, &w_);
        return;
    }
    if (origin == Origin::Menu)
        w_.setPressed(1, position, !w_.isPressed(1, position));
    if (!w_.isPressed(1, position)) {
        records::closeRecordWindow(w_, kind);
        setButtonAndMenu(1, position, false);
        return;
    }

    const QString &code = s.SelectedTaxonCode;
    switch (kind) {
    case RecordWindowKind::Card:
        s.RecordQuery = data::queries::speciesCard(code);
        records::openSpeciesCard(w_, s.RecordQuery, s.messages.TitleCard + s.SelectedCaption);
        break;
    case RecordWindowKind::Sites:
        records::closeRecordWindow(w_, kind);
        s.RecordQuery = data::queries::sitesOfTaxon(code);
        records::openSitesTable(w_, s.RecordQuery, s.messages.TitleSites + s.SelectedCaption);
        break;
    default:
        if (!prepareSourcesQuery(origin))
            return;
        records::openDataSources(w_, s.RecordQuery, s.messages.TitleSources + s.SelectedCaption);
        break;
    }
    // Opening replaces an earlier window of the kind, whose closing released
    // the button: the open window's button stays pressed.
    setButtonAndMenu(1, position, true);
}

bool CommandDispatcher::prepareSourcesQuery(Origin origin)
{
    Settings &s = settings();
    const auto refuse = [this] { setButtonAndMenu(1, T1::Sources, false); };
    QString owner;
    bool ownerMissing = false;
    try {
        const auto db = data::Connection::openDefault();
        const data::Recordset rs = db->openRecordset(data::queries::dataOwner(s.SelectedTaxonCode));
        ownerMissing = rs.rows().empty() || rs.rows().front().size() < 2 || rs.rows().front()[1].isNull();
        if (!ownerMissing)
            owner = rs.rows().front()[1].toString();
    } catch (const data::DataError &) {
        refuse();
        showError(s.messages.MsgNoDataSource, &w_);
        return false;
    }
    if (ownerMissing) {
        refuse();
        if (origin == Origin::TreeToolbar)
            showError(s.messages.MsgNoDataSource, &w_);
        else
            showPlain(s.messages.MsgNoDataSource, &w_);
        return false;
    }
    s.DataOwner = owner;
    if (owner.size() < 2) {
        refuse();
        return false;
    }
    s.RecordQuery = data::queries::dataSources(owner, s.SelectedTaxonCode);
    return true;
}

void CommandDispatcher::paneCommand(bool treeButton)
{
    Settings &s = settings();
    records::closeRecordWindow(w_, RecordWindowKind::Sites);
    records::closeRecordWindow(w_, RecordWindowKind::Sources);
    records::closeRecordWindow(w_, RecordWindowKind::Card);
    w_.setWindowTitle(s.SelectedCaption);
    const bool treeShown = w_.isPressed(2, T2::Tree);
    const bool mapShown = w_.isPressed(1, T1::Map);
    if (treeButton) {
        if (treeShown) {
            s.TreeShare = mapShown ? 0.5 : 1.0;
            w_.setMenuChecked(QStringLiteral("Tree_mnu"), true);
        } else {
            // One pane always stays: hiding the tree shows the map.
            setButtonAndMenu(1, T1::Map, true);
            s.TreeShare = 0.0;
            w_.setMenuChecked(QStringLiteral("Tree_mnu"), false);
        }
    } else {
        if (mapShown) {
            s.TreeShare = treeShown ? 0.5 : 0.0;
            w_.setMenuChecked(QStringLiteral("Mappa_mnu"), true);
        } else {
            setButtonAndMenu(2, T2::Tree, true);
            s.TreeShare = 1.0;
            w_.setMenuChecked(QStringLiteral("Mappa_mnu"), false);
        }
    }
    w_.Riassetta();
}

void CommandDispatcher::releaseTools()
{
    for (int p = T2::ZoomIn; p <= T2::Pan; ++p)
        w_.setPressed(2, p, false);
}

void CommandDispatcher::fullExtentCommand()
{
    w_.mapTools().fullExtent();
    setButtonAndMenu(2, T2::Select, true);
    w_.mapTools().setSelectTool(true);
    releaseTools();
}

void CommandDispatcher::selectCommand()
{
    const bool on = w_.isPressed(2, T2::Select);
    w_.setMenuChecked(QStringLiteral("Selettore_mnu"), on);
    w_.mapTools().setSelectTool(on);
    if (on)
        releaseTools();
}

void CommandDispatcher::gridCommand()
{
    const bool on = w_.isPressed(2, T2::Grid);
    w_.setMenuChecked(QStringLiteral("Reticolo_mnu"), on);
    w_.mapTools().setGrid(on);
    settings().GridShown = on ? QStringLiteral("Sì") : QStringLiteral("No");
}

void CommandDispatcher::zoomInCommand()
{
    w_.mapTools().zoomInTool();
    setButtonAndMenu(2, T2::Select, false);
}

void CommandDispatcher::zoomOutCommand()
{
    if (w_.mapTools().zoomOutTool())
        setButtonAndMenu(2, T2::Select, false);
    else
        w_.setPressed(2, T2::ZoomOut, false);  // nothing to zoom out of
}

void CommandDispatcher::areaCommand() { w_.mapTools().areaTool(); }

void CommandDispatcher::panCommand()
{
    setButtonAndMenu(2, T2::Select, false);
    if (!w_.mapTools().panTool())
        w_.setPressed(2, T2::Pan, false);  // nothing to pan at the full view
}

void CommandDispatcher::copyCommand()
{
    if (!selectionIs(key(u"SG"))) {
        showInfo(settings().messages.MsgSelectSpecies, &w_);
        return;
    }
    exporting::copyMapToClipboard(*w_.mapPane()->pictureSource());
}

void CommandDispatcher::printCommand(const QString &k)
{
    Settings &s = settings();
    if (!selectionIs(key(u"SG"))) {
        showInfo(s.messages.MsgSelectSpecies, &w_);
        return;
    }
    // Pages are always made of the whole map with square selection on.
    fullExtentCommand();
    s.PrintColourMode = k == key(u"StampaCol") ? QStringLiteral("Colori") : QStringLiteral("BW");
    s.MetafileTarget = QStringLiteral("No");
    if (!print::StampaMetafile(w_))
        throw std::runtime_error("map page not made");
}

void CommandDispatcher::filterCommand(const QString &k)
{
    // Rebuilds the whole window: selection, expansion and map view are lost.
    // This window is unloaded by the call; nothing of it may be used after.
    openSpeciesWindow(k);
}

}  // namespace ortolan::browser
