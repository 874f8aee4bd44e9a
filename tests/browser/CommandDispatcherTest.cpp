// The command keys of the species window through menus and toolbars: each
// reaches its branch and leaves buttons, menu check marks and settings in step.
#include "SpeciesWindowFixture.h"

#include "browser/MapPane.h"
#include "browser/TreeBuilder.h"
#include "data/Queries.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>

using namespace ortolan;
using browser::RecordWindowKind;
using test::SpeciesWindowTest;

namespace {

using Dispatcher = browser::CommandDispatcher;

TEST_F(SpeciesWindowTest, EveryCommandKeyIsKnown)
{
    EXPECT_EQ(Dispatcher::commandKeys().size(), 26);
    EXPECT_TRUE(Dispatcher::commandKeys().contains(QStringLiteral("SceltaCartine")));
}

TEST_F(SpeciesWindowTest, UnknownOrMiscasedKeysDoNothing)
{
    click("S044.00101.001.0");
    const int before = map->riscalaCalls;
    for (const char *key : {"Bogus", "zoomin", "", "tree"}) {
        settings().CommandKey = QString::fromUtf8(key);
        window->dispatcher().Species_Tools();
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(map->riscalaCalls, before);
    EXPECT_TRUE(pressed(2, 2));
    EXPECT_TRUE(pressed(2, 16));
    EXPECT_FALSE(pressed(2, 5));
}

TEST_F(SpeciesWindowTest, ExpandAndCollapseWorkOnTheSelectedNode)
{
    click("O044.001.001");
    menu("Espandi_mnu");
    EXPECT_TRUE(node("O044.001.001")->isExpanded());
    EXPECT_TRUE(node("G044.00101.")) << "expanding loads the order's families";
    click("F044.001.001.001");
    toolbar(1, 2);  // Collassa: the parent of the selection folds
    EXPECT_FALSE(node("O044.001.001")->isExpanded());

    tree()->setCurrentItem(nullptr);
    tree()->clearSelection();
    menu("Espandi_mnu");
    toolbar(1, 2);
    EXPECT_TRUE(messages.empty()) << "nothing selected: nothing happens";
}

QStringList childTexts(QTreeWidgetItem *item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts.append(item->child(i)->text(0));
    return texts;
}

TEST_F(SpeciesWindowTest, SortShowsChildrenAlphabeticallyAndUnsortRestoresCodeOrder)
{
    const QStringList codeOrder = {QStringLiteral("Carabus olympiae Sella, 1855"),
                                   QStringLiteral("Carabus olympiae olympiae Sella, 1855"),
                                   QStringLiteral("Carabus dell'Ortolan D'Orbigny, 1839")};
    QTreeWidgetItem *genus = click("G044.00101.");
    genus->setExpanded(true);
    ASSERT_EQ(childTexts(genus), codeOrder);

    toolbar(1, 4);
    EXPECT_TRUE(pressed(1, 4));
    EXPECT_TRUE(checked("Ordina_mnu"));
    EXPECT_TRUE(browser::TaxonTree::isSorted(genus));
    EXPECT_EQ(childTexts(genus), (QStringList{codeOrder[2], codeOrder[1], codeOrder[0]}));

    // Clicking elsewhere and back shows the node's own sort state.
    click("O044.001.001");
    EXPECT_FALSE(pressed(1, 4));
    EXPECT_FALSE(checked("Ordina_mnu"));
    genus = click("G044.00101.");
    EXPECT_TRUE(pressed(1, 4));
    EXPECT_TRUE(checked("Ordina_mnu"));

    menu("Ordina_mnu");
    genus = node("G044.00101.");
    EXPECT_FALSE(pressed(1, 4));
    EXPECT_FALSE(checked("Ordina_mnu"));
    EXPECT_FALSE(browser::TaxonTree::isSorted(genus));
    EXPECT_EQ(childTexts(genus), codeOrder);
    EXPECT_TRUE(node("S044.00101.001.01")) << "re-read children are addressable by key";
}

TEST_F(SpeciesWindowTest, SortedFamilyKeepsChildrenLoadedLaterInOrder)
{
    click("F001.001.001.001");
    menu("Ordina_mnu");
    EXPECT_TRUE(pressed(1, 4));
    node("O001.001.001")->setExpanded(true);
    EXPECT_EQ(childTexts(node("F001.001.001.001")),
              (QStringList{QStringLiteral("Ephydatia"), QStringLiteral("Spongilla")}));
}

TEST_F(SpeciesWindowTest, TopLevelGroupNeverSorts)
{
    click("P044");
    toolbar(1, 4);
    EXPECT_FALSE(pressed(1, 4));
    EXPECT_FALSE(checked("Ordina_mnu"));
    EXPECT_FALSE(browser::TaxonTree::isSorted(node("P044")));
    menu("Ordina_mnu");
    EXPECT_FALSE(pressed(1, 4));
    EXPECT_FALSE(checked("Ordina_mnu"));
}

TEST_F(SpeciesWindowTest, RecordCommandsNeedAQualifyingSelection)
{
    struct Case {
        const char *node;
        int position;
        const char *menuName;
    };
    for (const Case &c : {Case{"O044.001.001", 7, "Scheda_mnu"}, Case{"O044.001.001", 8, "Stazioni_mnu"},
                          Case{"F044.001.001.001", 9, "Biblio_mnu"}, Case{"G044.00101.", 7, "Scheda_mnu"},
                          Case{"G044.00101.", 9, "Biblio_mnu"}}) {
        click(c.node);
        messages.clear();
        toolbar(1, c.position);
        EXPECT_FALSE(pressed(1, c.position)) << c.node << " " << c.position;
        EXPECT_FALSE(checked(c.menuName));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].kind, MessageKind::Info);
        EXPECT_EQ(messages[0].caption, QStringLiteral("Ortolan Info"));
        EXPECT_EQ(messages[0].text, QStringLiteral("Please select a species"));
        menu(c.menuName);
        EXPECT_FALSE(pressed(1, c.position));
        EXPECT_FALSE(checked(c.menuName));
    }
    EXPECT_TRUE(window->registeredWindows().isEmpty());
}

TEST_F(SpeciesWindowTest, CardOpensForASpeciesAndClosesOnTheSecondClick)
{
    click("S044.00101.001.0");
    toolbar(1, 7);
    QWidget *card = window->recordWindow(RecordWindowKind::Card);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->windowTitle(), QStringLiteral("Form of Carabus olympiae Sella, 1855"));
    EXPECT_EQ(settings().RecordQuery, data::queries::speciesCard(QStringLiteral("044.00101.001.0")));
    EXPECT_TRUE(pressed(1, 7));
    EXPECT_TRUE(checked("Scheda_mnu"));

    toolbar(1, 7);
    settle();
    EXPECT_FALSE(window->recordWindow(RecordWindowKind::Card));
    EXPECT_FALSE(pressed(1, 7));
    EXPECT_FALSE(checked("Scheda_mnu"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SpeciesWindowTest, SitesOfAGenusFromTheMenuAndClosedByTheUser)
{
    click("G044.00101.");
    menu("Stazioni_mnu");
    QPointer<QWidget> sites = window->recordWindow(RecordWindowKind::Sites);
    ASSERT_TRUE(sites);
    EXPECT_EQ(sites->windowTitle(), QStringLiteral("Sites of Carabus"));
    EXPECT_EQ(settings().RecordQuery, data::queries::sitesOfTaxon(QStringLiteral("044.00101.")));
    EXPECT_TRUE(pressed(1, 8));
    EXPECT_TRUE(checked("Stazioni_mnu"));

    sites->close();
    settle();
    EXPECT_FALSE(sites);
    EXPECT_FALSE(pressed(1, 8)) << "closing the table releases its button";
    EXPECT_FALSE(checked("Stazioni_mnu"));
}

TEST_F(SpeciesWindowTest, SourcesReadTheDataOwner)
{
    click("S044.00101.001.0");
    menu("Biblio_mnu");
    QWidget *sources = window->recordWindow(RecordWindowKind::Sources);
    ASSERT_TRUE(sources);
    EXPECT_EQ(sources->windowTitle(), QStringLiteral("Data sources for Carabus olympiae Sella, 1855"));
    EXPECT_EQ(settings().DataOwner, QStringLiteral("AC"));
    EXPECT_EQ(settings().RecordQuery,
              data::queries::dataSources(QStringLiteral("AC"), QStringLiteral("044.00101.001.0")));
    EXPECT_TRUE(pressed(1, 9));
    EXPECT_TRUE(checked("Biblio_mnu"));
}

TEST_F(SpeciesWindowTest, SpeciesWithoutDataOwnerShowsDataSourceMissing)
{
    click("S037.00201.001.0");  // REFERENTE null
    menu("Biblio_mnu");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Plain);
    EXPECT_EQ(messages[0].caption, QStringLiteral("Ortolan Info"));
    EXPECT_EQ(messages[0].text, QStringLiteral("Data source is missing"));
    EXPECT_FALSE(pressed(1, 9));
    EXPECT_FALSE(checked("Biblio_mnu"));
    EXPECT_FALSE(window->recordWindow(RecordWindowKind::Sources));

    toolbar(1, 9);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].kind, MessageKind::Error) << "the tree toolbar reports it as an error";
    EXPECT_EQ(messages[1].caption, QStringLiteral("Ortolan Error"));
    EXPECT_FALSE(pressed(1, 9));
}

TEST_F(SpeciesWindowTest, OneCharacterDataOwnerOpensNothingAndSaysNothing)
{
    click("S001.00102.001.0");  // REFERENTE "-"
    toolbar(1, 9);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(pressed(1, 9));
    EXPECT_FALSE(checked("Biblio_mnu"));
    EXPECT_FALSE(window->recordWindow(RecordWindowKind::Sources));
}

TEST_F(SpeciesWindowTest, FailingCommandReportsItsKeyAndTheWindowStaysUsable)
{
    click("S044.00101.001.0");
    QFile::remove(settings().DatabasePath);
    toolbar(1, 8);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Error);
    EXPECT_EQ(messages[0].caption, QStringLiteral("Ortolan Error"));
    EXPECT_EQ(messages[0].text, QStringLiteral("Error in button Stazioni"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    messages.clear();
    toolbar(1, 9);  // the owner query fails: data source missing, as an error
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Data source is missing"));
    EXPECT_EQ(messages[0].kind, MessageKind::Error);

    messages.clear();
    click("G044.00101.");
    toolbar(1, 4);  // sorting may fail quietly on the tree toolbar
    EXPECT_TRUE(messages.empty());
    toolbar(2, 16);
    EXPECT_FALSE(pressed(2, 16)) << "other commands still work";
}

TEST_F(SpeciesWindowTest, HidingTheTreeShowsTheMapAloneAndBack)
{
    click("S044.00101.001.0");
    toolbar(2, 16);
    EXPECT_DOUBLE_EQ(settings().TreeShare, 0.0);
    EXPECT_FALSE(checked("Tree_mnu"));
    EXPECT_FALSE(tree()->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Carabus olympiae Sella, 1855"));

    // Hiding the map with the tree hidden brings the tree back alone.
    toolbar(1, 11);
    EXPECT_DOUBLE_EQ(settings().TreeShare, 1.0);
    EXPECT_TRUE(pressed(2, 16));
    EXPECT_TRUE(checked("Tree_mnu"));
    EXPECT_FALSE(checked("Mappa_mnu"));
    EXPECT_FALSE(window->mapPane()->isVisible());

    menu("Mappa_mnu");
    EXPECT_TRUE(pressed(1, 11));
    EXPECT_TRUE(checked("Mappa_mnu"));
    EXPECT_DOUBLE_EQ(settings().TreeShare, 0.5);
    EXPECT_TRUE(tree()->isVisible());
    EXPECT_TRUE(window->mapPane()->isVisible());
}

TEST_F(SpeciesWindowTest, HidingBothPanesKeepsTheMapWithTheWholeWidth)
{
    menu("Mappa_mnu");  // map hidden: tree alone
    EXPECT_FALSE(pressed(1, 11));
    EXPECT_DOUBLE_EQ(settings().TreeShare, 1.0);
    menu("Tree_mnu");  // tree hidden too: the map comes back
    EXPECT_FALSE(pressed(2, 16));
    EXPECT_TRUE(pressed(1, 11));
    EXPECT_TRUE(checked("Mappa_mnu"));
    EXPECT_FALSE(checked("Tree_mnu"));
    EXPECT_DOUBLE_EQ(settings().TreeShare, 0.0);
}

TEST_F(SpeciesWindowTest, PaneToggleClosesTheRecordWindows)
{
    click("S044.00101.001.0");
    toolbar(1, 7);
    toolbar(1, 8);
    ASSERT_EQ(window->registeredWindows().size(), 2);
    toolbar(2, 16);
    settle();
    EXPECT_TRUE(window->registeredWindows().isEmpty());
    EXPECT_FALSE(pressed(1, 7));
    EXPECT_FALSE(pressed(1, 8));
}

TEST_F(SpeciesWindowTest, ZoomToolsPressTheirButtonAndReleaseTheSelector)
{
    menu("ZoomIn_mnu");
    EXPECT_TRUE(pressed(2, 5));
    EXPECT_FALSE(pressed(2, 2));
    EXPECT_FALSE(checked("Selettore_mnu"));
    EXPECT_TRUE(map->isToolActive(map::MapTools::ZoomInTool));

    menu("Area_mnu");
    EXPECT_TRUE(pressed(2, 7));
    EXPECT_FALSE(pressed(2, 5));
    EXPECT_TRUE(map->isToolActive(map::MapTools::ZoomAreaTool));
    EXPECT_FALSE(map->isToolActive(map::MapTools::ZoomInTool));

    menu("Italia_mnu");
    EXPECT_TRUE(pressed(2, 2));
    EXPECT_TRUE(checked("Selettore_mnu"));
    for (int p = 5; p <= 8; ++p)
        EXPECT_FALSE(pressed(2, p)) << p;
    for (auto tool : {map::MapTools::ZoomInTool, map::MapTools::ZoomOutTool, map::MapTools::ZoomAreaTool,
                      map::MapTools::PanTool})
        EXPECT_FALSE(map->isToolActive(tool));
}

TEST_F(SpeciesWindowTest, ZoomOutAndPanNeedAZoomedView)
{
    toolbar(2, 6);
    EXPECT_FALSE(pressed(2, 6)) << "nothing to zoom out of";
    EXPECT_TRUE(pressed(2, 2));
    menu("Pan_mnu");
    EXPECT_FALSE(pressed(2, 8)) << "nothing to pan at the full view";
    EXPECT_FALSE(map->isToolActive(map::MapTools::PanTool));

    map->setZoomLevel(2);
    toolbar(2, 6);
    EXPECT_TRUE(pressed(2, 6));
    EXPECT_TRUE(map->isToolActive(map::MapTools::ZoomOutTool));
    EXPECT_FALSE(pressed(2, 2));
    menu("Pan_mnu");
    EXPECT_TRUE(pressed(2, 8));
    EXPECT_FALSE(pressed(2, 6));
    EXPECT_TRUE(map->isToolActive(map::MapTools::PanTool));
}

TEST_F(SpeciesWindowTest, SelectorAndGridFollowTheirButtons)
{
    toolbar(2, 2);
    EXPECT_FALSE(pressed(2, 2));
    EXPECT_FALSE(checked("Selettore_mnu"));
    EXPECT_FALSE(map->selectToolOn());
    menu("Selettore_mnu");
    EXPECT_TRUE(pressed(2, 2));
    EXPECT_TRUE(checked("Selettore_mnu"));
    EXPECT_TRUE(map->selectToolOn());

    menu("Reticolo_mnu");
    EXPECT_FALSE(pressed(2, 3));
    EXPECT_FALSE(checked("Reticolo_mnu"));
    EXPECT_EQ(settings().GridShown, QStringLiteral("No"));
    EXPECT_FALSE(map->gridOn());
    toolbar(2, 3);
    EXPECT_TRUE(pressed(2, 3));
    EXPECT_TRUE(checked("Reticolo_mnu"));
    EXPECT_EQ(settings().GridShown, QStringLiteral("Sì"));

    // A new selection redraws the map with its grid.
    toolbar(2, 3);
    click("S044.00101.001.0");
    EXPECT_TRUE(pressed(2, 3));
    EXPECT_TRUE(checked("Reticolo_mnu"));
    EXPECT_EQ(settings().GridShown, QStringLiteral("Sì"));
}

TEST_F(SpeciesWindowTest, CopyPutsTheMapOnTheClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    menu("CopiaBMP_mnu");
    EXPECT_EQ(lastText(), QStringLiteral("Please select a species"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

    click("G044.00101.");
    toolbar(2, 10);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
        // Exactly the map surface's pixels.
    const QWidget *surface = window->mapPane()->pictureSource();
    EXPECT_EQ(copied.size(), surface->size() * surface->devicePixelRatio());
}

TEST_F(SpeciesWindowTest, PrintsGoBackToTheWholeMapAndReportAMissingPage)
{
    toolbar(2, 11);
    EXPECT_EQ(lastText(), QStringLiteral("Please select a species"));

    click("S044.00101.001.0");
    map->setZoomLevel(3);
    toolbar(2, 8);
    messages.clear();
    toolbar(2, 11);
    EXPECT_EQ(settings().PrintColourMode, QStringLiteral("Colori"));
    EXPECT_EQ(settings().MetafileTarget, QStringLiteral("No"));
    EXPECT_EQ(map->zoomLevel(), 0);
    EXPECT_TRUE(pressed(2, 2));
    EXPECT_TRUE(checked("Selettore_mnu"));
    EXPECT_FALSE(pressed(2, 8));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Error);
    EXPECT_EQ(messages[0].text, QStringLiteral("Map print failed"));

    menu("StBN_mnu");
    EXPECT_EQ(settings().PrintColourMode, QStringLiteral("BW"));
}

TEST_F(SpeciesWindowTest, BackgroundChoiceGoesToTheMap)
{
    toolbar(2, 14);
    menu("Cartine_mnu");
    EXPECT_EQ(map->backgroundCalls, 2);
}

TEST_F(SpeciesWindowTest, SearchWindowIsOpenedAfresh)
{
    toolbar(1, 5);
    QPointer<QWidget> first = window->recordWindow(RecordWindowKind::Search);
    ASSERT_TRUE(first);
    menu("Ricerca_mnu");
    settle();
    EXPECT_FALSE(first);
    EXPECT_TRUE(window->recordWindow(RecordWindowKind::Search));
}

TEST_F(SpeciesWindowTest, SearchShowsTheChosenTaxonInTheTree)
{
    // A sorted genus: the found node presses the sort button, the menu keeps its mark.
    click("G044.00101.");
    toolbar(1, 4);
    click("O044.001.001");
    node("O044.001.001")->setExpanded(false);

    toolbar(1, 5);
    QPointer<QWidget> search = window->recordWindow(RecordWindowKind::Search);
    ASSERT_TRUE(search);
    auto *text = search->findChild<QLineEdit *>(QStringLiteral("TestoRicerca"));
    auto *list = search->findChild<QListWidget *>(QStringLiteral("ListaSpecie"));
    ASSERT_TRUE(text && list);
    text->setText(QStringLiteral("car*us"));
    emit text->returnPressed();
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Carabus"));
    list->setCurrentRow(0);
    search->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
    settle();
    EXPECT_FALSE(search);
    EXPECT_EQ(settings().SelectedNodeKind, QStringLiteral("G"));
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("044.00101."));
    EXPECT_EQ(tree()->selectedNode(), node("G044.00101."));
    EXPECT_TRUE(node("O044.001.001")->isExpanded());
    EXPECT_TRUE(pressed(1, 4));
    EXPECT_FALSE(checked("Ordina_mnu"));
    EXPECT_EQ(window->statusPanel(1, 1)->text(),
              QStringLiteral("Coleoptera\\Adephaga\\Caraboidea\\Carabidae\\Carabus"));
}

TEST_F(SpeciesWindowTest, ExportItemsSetTheExportType)
{
    menu("Shapefile_mnu");
    EXPECT_EQ(settings().ExportType, QStringLiteral("shp"));
    menu("TXT_mnu");
    EXPECT_EQ(settings().ExportType, QStringLiteral("txt"));
}

class FilterCommandTest : public SpeciesWindowTest, public ::testing::WithParamInterface<const char *> {};

TEST_P(FilterCommandTest, RebuildsTheWindowUnderTheFilterWithOnlyItsItemChecked)
{
    const QString filter = QString::fromUtf8(GetParam());
    click("S044.00101.001.0");
    QPointer<browser::SpeciesWindow> old = window;
    QString item;
    for (const QString &name : {QStringLiteral("Tutto_mnu"), QStringLiteral("Invertebrati_mnu"),
                                QStringLiteral("Vertebrati_mnu"), QStringLiteral("DirHabitat_mnu"),
                                QStringLiteral("RedList_mnu"), QStringLiteral("Alien_mnu")})
        if (window->menuItem(name)->data().toString() == filter)
            item = name;
    ASSERT_FALSE(item.isEmpty());
    window->menuItem(item)->trigger();
    settle();
    window = browser::SpeciesWindow::current();
    ASSERT_TRUE(window);
    EXPECT_FALSE(old) << "the old window is unloaded";
    EXPECT_EQ(settings().TreeFilter, filter);
    EXPECT_EQ(tree()->filter(), filter);
    EXPECT_EQ(tree()->nodeCount(), int(browser::TreeBuilder::groupLevels(filter).size()));
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("No"));
    for (const QString &name : {QStringLiteral("Tutto_mnu"), QStringLiteral("Invertebrati_mnu"),
                                QStringLiteral("Vertebrati_mnu"), QStringLiteral("DirHabitat_mnu"),
                                QStringLiteral("RedList_mnu"), QStringLiteral("Alien_mnu")})
        EXPECT_EQ(window->isMenuChecked(name), name == item) << name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Filters, FilterCommandTest,
                         ::testing::Values("Tutto", "Invertebrati", "Vertebrati", "DirHabitat", "RedList", "Aliene"),
                         [](const ::testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

TEST_F(SpeciesWindowTest, OpeningWithAFilterChecksOnlyThatItem)
{
    window = browser::openSpeciesWindow(QStringLiteral("RedList"));
    settle();
    EXPECT_EQ(browser::SpeciesWindow::current(), window.data());
    EXPECT_TRUE(checked("RedList_mnu"));
    EXPECT_FALSE(checked("Tutto_mnu"));
    EXPECT_FALSE(node("P001")) << "Porifera is not on the Red List";
    EXPECT_TRUE(node("P044"));
}

}  // namespace
