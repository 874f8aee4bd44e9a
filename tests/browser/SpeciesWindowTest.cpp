// The species window: captions in both languages, toolbar layout and button
// styles, node selection, lazy loading, splitter, layout limits and closing.
#include "SpeciesWindowFixture.h"

#include "browser/ButtonPositions.h"
#include "browser/IconLibrary.h"
#include "browser/MapPane.h"
#include "browser/SplitterBar.h"
#include "browser/Twips.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>

using namespace ortolan;
using test::SpeciesWindowTest;

namespace {

TEST_F(SpeciesWindowTest, EnglishCaptionsOfEveryMenuItem)
{
    const QList<QPair<const char *, const char *>> english = {
        {"File_mnu", "&File"}, {"Home_mnu", "&Home..."}, {"Esporta_mnu", "&Export map"},
        {"Bitmap_mnu", "Bitmap (.&bmp)..."}, {"Metafile_mnu", "Metafile (.&emf)..."},
        {"Shapefile_mnu", "Shapefile (.shp)..."}, {"EsportaDati_mnu", "E&xport points"},
        {"DBF_mnu", "dBase (.&dbf)..."}, {"XLS_mnu", "Excel (.&xls)..."}, {"TXT_mnu", "Text (.&txt)..."},
        {"Stampa_mnu", "&Print preview"}, {"StColori_mnu", "&Colours..."}, {"StBN_mnu", "&Black/white..."},
        {"Esci_mnu", "&Exit"}, {"SpecieTree_mnu", "&Tree"}, {"Espandi_mnu", "Expan&d"},
        {"Collassa_mnu", "&Collapse"}, {"Ordina_mnu", "Sor&t"}, {"Ricerca_mnu", "Sea&rch..."},
        {"Scheda_mnu", "&Details..."}, {"Stazioni_mnu", "Si&tes..."}, {"Biblio_mnu", "&Sources..."},
        {"Mappa_mnu", "&Map"}, {"Cartina_mnu", "&Map"}, {"Italia_mnu", "&Full extent"},
        {"Selettore_mnu", "&Select"}, {"Reticolo_mnu", "&Grid"}, {"ZoomIn_mnu", "Zoom &In"},
        {"ZoomOut_mnu", "Zoom &Out"}, {"Area_mnu", "Zoom &Area"}, {"Pan_mnu", "&Pan"},
        {"CopiaBMP_mnu", "&Copy to clipboard"}, {"Cartine_mnu", "Select &background..."}, {"Tree_mnu", "&Tree"},
        {"Filtro_mnu", "Fil&ter"}, {"Tutto_mnu", "&Full list"}, {"Invertebrati_mnu", "&Invertebrates"},
        {"Vertebrati_mnu", "&Vertebrates"}, {"DirHabitat_mnu", "Habitat &Directive"}, {"RedList_mnu", "&Red List"},
        {"Alien_mnu", "&Alien species"}, {"Fin_mnu", "&Window"}, {"Ver_mnu", "Tile &vertically"},
        {"Orizzontale_mnu", "Tile &horizontally"}, {"Cas_mnu", "&Cascade"}, {"Aiuto_mnu", "&?"}, {"Aiuto", "&Help"},
        {"Autori_mnu", "&Authors"}, {"Novità_mnu", "&New features"}, {"Info_mnu", "About &Ortolan"},
    };
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Species"));
    EXPECT_EQ(window->menuItemNames().size(), english.size());
    for (const auto &[name, caption] : english) {
        const QAction *item = window->menuItem(QString::fromUtf8(name));
        ASSERT_TRUE(item) << name;
        EXPECT_EQ(item->text(), QString::fromUtf8(caption)) << name;
    }
    EXPECT_EQ(window->menu(QStringLiteral("Filtro_mnu"))->title(), QStringLiteral("Fil&ter"));
    EXPECT_EQ(window->zonePrefix(), QStringLiteral("Fuse "));
    const QList<QMenu *> bar = window->frameMenus();
    ASSERT_EQ(bar.size(), 6);
    EXPECT_EQ(bar.first()->objectName(), QStringLiteral("File_mnu"));
    EXPECT_EQ(bar.last()->objectName(), QStringLiteral("Aiuto_mnu"));
}

TEST_F(SpeciesWindowTest, ItalianCaptionsAndTooltips)
{
    window->unload();
    settle();
    settings().setLanguage(QStringLiteral("Italiano"));
    open(QStringLiteral("Tutto"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Specie"));
    EXPECT_EQ(window->zonePrefix(), QStringLiteral("Fuso "));
    EXPECT_EQ(window->menuItem(QStringLiteral("Stampa_mnu"))->text(), QStringLiteral("&Stampa"));
    EXPECT_EQ(window->menuItem(QStringLiteral("Alien_mnu"))->text(), QStringLiteral("Specie &aliene"));
    EXPECT_EQ(window->menuItem(QStringLiteral("Info_mnu"))->text(), QStringLiteral("&Informazioni"));
    EXPECT_EQ(window->button(1, 1)->toolTip(), QStringLiteral("Espandi categorie inferiori"));
    EXPECT_EQ(window->button(2, 14)->toolTip(), QStringLiteral("Opzioni"));
    settings().setLanguage(QStringLiteral("Inglese"));
}

TEST_F(SpeciesWindowTest, ToolbarButtonsByPositionWithStylesAndStartStates)
{
    struct Button {
        int bar, position;
        const char *key, *tip;
        bool checkable, pressedAtStart;
    };
    const Button buttons[] = {
        {1, 1, "Espandi", "Expand", false, false},       {1, 2, "Collassa", "Collapse", false, false},
        {1, 4, "Ordina", "Sort", true, false},           {1, 5, "Ricerca", "Search", false, false},
        {1, 7, "Scheda", "Details", true, false},        {1, 8, "Stazioni", "Sites", true, false},
        {1, 9, "Biblio", "Sources", true, false},        {1, 11, "Cartina", "View/hide map", true, true},
        {1, 12, "Aiuto", "Help", false, false},          {2, 1, "Italia", "Full extent", false, false},
        {2, 2, "Simboli", "Select", true, true},         {2, 3, "Reticolo", "Grid", true, true},
        {2, 5, "ZoomIn", "Zoom In", true, false},        {2, 6, "ZoomOut", "Zoom Out", true, false},
        {2, 7, "Area", "Zoom Area", true, false},        {2, 8, "Pan", "Pan", true, false},
        {2, 10, "CopiaBMP", "Copy to clipboard", false, false}, {2, 11, "StampaCol", "Colour print", false, false},
        {2, 12, "StampaBW", "B/W print", false, false},  {2, 14, "SceltaCartine", "Select background", false, false},
        {2, 16, "Tree", "View/hide tree", true, true},
    };
    for (const Button &b : buttons) {
        const QAction *a = window->button(b.bar, b.position);
        ASSERT_TRUE(a) << b.key;
        EXPECT_EQ(a->data().toString(), QString::fromUtf8(b.key));
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(b.tip)) << b.key;
        EXPECT_EQ(a->isCheckable(), b.checkable) << b.key;
        EXPECT_EQ(a->isChecked(), b.pressedAtStart) << b.key;
        EXPECT_FALSE(a->icon().isNull()) << b.key;
    }
    for (const auto &[bar, position] : {std::pair{1, 3}, {1, 6}, {1, 10}, {2, 4}, {2, 9}, {2, 13}, {2, 15}})
        EXPECT_TRUE(window->button(bar, position)->isSeparator()) << bar << "/" << position;
    EXPECT_EQ(window->toolbar(1)->actions().size(), 12);
    EXPECT_EQ(window->toolbar(2)->actions().size(), 16);
    EXPECT_EQ(window->button(1, 13), nullptr);
    EXPECT_EQ(window->button(3, 1), nullptr);

    for (const char *name : {"Mappa_mnu", "Selettore_mnu", "Reticolo_mnu", "Tree_mnu", "Tutto_mnu"})
        EXPECT_TRUE(checked(name)) << name;
    for (const char *name : {"Ordina_mnu", "Scheda_mnu", "Stazioni_mnu", "Biblio_mnu", "Invertebrati_mnu"})
        EXPECT_FALSE(checked(name)) << name;
    EXPECT_EQ(settings().GridShown, QStringLiteral("Sì"));
}

TEST_F(SpeciesWindowTest, ToolGroupKeepsOnePressedAndCanBeReleasedFromCode)
{
    QToolBar *bar = window->toolbar(2);
    const auto clickTool = [&](int position) {
        QTest::mouseClick(bar->widgetForAction(window->button(2, position)), Qt::LeftButton);
    };
    map->setZoomLevel(2);
    clickTool(5);
    EXPECT_TRUE(pressed(2, 5));
    clickTool(5);
    EXPECT_TRUE(pressed(2, 5)) << "a pressed tool stays pressed when clicked again";
    clickTool(7);
    EXPECT_TRUE(pressed(2, 7));
    EXPECT_FALSE(pressed(2, 5));
    // Riassetta releases the area tool; the riscala releases every tool.
    window->Riscala();
    for (int p = 5; p <= 8; ++p)
        EXPECT_FALSE(pressed(2, p)) << p;
}

TEST_F(SpeciesWindowTest, ClickOnASpeciesSelectsItAndShowsItsGenusPath)
{
    click("S044.00101.001.0");
    const Settings &s = settings();
    EXPECT_EQ(s.SelectedNodeKind, QStringLiteral("S"));
    EXPECT_EQ(s.SelectedTaxonCode, QStringLiteral("044.00101.001.0"));
    EXPECT_EQ(s.SelectedCaption, QStringLiteral("Carabus olympiae Sella, 1855"));
    EXPECT_EQ(s.SelectedNodeIndex, browser::TaxonTree::indexOf(node("S044.00101.001.0")));
    EXPECT_EQ(tree()->nodeAt(s.SelectedNodeIndex), node("S044.00101.001.0"));
    EXPECT_EQ(window->statusPanel(1, 1)->text(),
              QStringLiteral("Coleoptera\\Adephaga\\Caraboidea\\Carabidae\\Carabus"));
    EXPECT_EQ(map->riscalaCalls, 1);
}

TEST_F(SpeciesWindowTest, ClickOnAGroupLeavesNoTaxonSelected)
{
    click("S044.00101.001.0");
    click("O044.001.001");
    const Settings &s = settings();
    EXPECT_EQ(s.SelectedNodeKind, QStringLiteral("O"));
    EXPECT_EQ(s.SelectedTaxonCode, QStringLiteral("No"));
    EXPECT_EQ(s.SelectedCaption, QStringLiteral("Please select a species"));
    EXPECT_EQ(window->statusPanel(1, 1)->text(), QStringLiteral("Coleoptera\\Adephaga\\Caraboidea"));
}

TEST_F(SpeciesWindowTest, GenusSelectableOnlyWithoutTheSpeciesFilters)
{
    click("G044.00101.");
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("044.00101."));
    EXPECT_EQ(settings().SelectedCaption, QStringLiteral("Carabus"));

    fixture.database->exec(QStringLiteral("UPDATE Specie SET dir_habitat = -1 WHERE codice_sp = '044.00101.'"));
    menu("DirHabitat_mnu");
    window = browser::SpeciesWindow::current();
    settle();
    click("G044.00101.");
    EXPECT_EQ(settings().SelectedNodeKind, QStringLiteral("G"));
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("No"));
    EXPECT_EQ(settings().SelectedCaption, QStringLiteral("Please select a species"));
}

TEST_F(SpeciesWindowTest, MouseClickOnANodeSelectsIt)
{
    QTreeWidgetItem *item = node("C044.001");
    tree()->scrollToItem(item);
    const QRect rect = tree()->visualItemRect(item);
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(settings().SelectedNodeKind, QStringLiteral("C"));
    EXPECT_EQ(window->statusPanel(1, 1)->text(), QStringLiteral("Coleoptera\\Adephaga"));
}

TEST_F(SpeciesWindowTest, ExpandingAnOrderLoadsItsFamiliesOnce)
{
    QTreeWidgetItem *family = node("F044.001.001.001");
    EXPECT_EQ(family->childCount(), 0);
    EXPECT_FALSE(node("G044.00101."));
    node("O044.001.001")->setExpanded(true);
    EXPECT_EQ(family->childCount(), 1);
    EXPECT_EQ(node("G044.00101.")->childCount(), 3);
    node("O044.001.001")->setExpanded(false);
    node("O044.001.001")->setExpanded(true);
    EXPECT_EQ(node("G044.00101.")->childCount(), 3);
    EXPECT_EQ(node("O044.001.001")->icon(0).cacheKey(), browser::IconLibrary::icon(QStringLiteral("O_open")).cacheKey());
    node("O044.001.001")->setExpanded(false);
    EXPECT_EQ(node("O044.001.001")->icon(0).cacheKey(),
              browser::IconLibrary::icon(QStringLiteral("O_closed")).cacheKey());

    // A family attached directly to a second-level group never shows genera.
    node("C044.002")->setExpanded(false);
    node("C044.002")->setExpanded(true);
    node("F044.002.005.001")->setExpanded(true);
    EXPECT_EQ(node("F044.002.005.001")->childCount(), 0);
}

TEST_F(SpeciesWindowTest, ExpandingWithoutTheDatabaseReportsADataError)
{
    QFile::remove(settings().DatabasePath);
    node("O044.001.001")->setExpanded(true);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().kind, MessageKind::Error);
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("Data error: "))) << lastText().toStdString();
    EXPECT_EQ(node("F044.001.001.001")->childCount(), 0);
}

TEST_F(SpeciesWindowTest, LoadWithoutTheDatabaseReportsAndShowsAnEmptyTree)
{
    window->unload();
    settle();
    QFile::remove(settings().DatabasePath);
    open(QStringLiteral("Tutto"));
    EXPECT_EQ(tree()->nodeCount(), 0);
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("Data error: ")));
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("No"));
}

TEST_F(SpeciesWindowTest, LayoutSharesTheWidthBetweenTreeAndMap)
{
    window->resize(1000, 700);
    settle();
    EXPECT_DOUBLE_EQ(settings().TreeShare, 0.5);
    EXPECT_NEAR(tree()->width(), 500, 1);
    EXPECT_NEAR(window->splitterBar()->x(), 500, 1);
    EXPECT_NEAR(window->mapPane()->x(), 505, 1);
    EXPECT_EQ(window->toolbar(2)->x(), window->mapPane()->x());
    EXPECT_EQ(window->statusBar(2)->x(), window->mapPane()->x());
    EXPECT_EQ(window->statusBar(1)->width(), tree()->width());
    EXPECT_EQ(window->statusBar(1)->y() + window->statusBar(1)->height(), 700);
    EXPECT_EQ(tree()->y(), window->mapPane()->y());
    EXPECT_GE(tree()->y(), window->toolbar(2)->height());
    EXPECT_EQ(window->splitterBar()->height(), 700);
}

TEST_F(SpeciesWindowTest, TinyResizesKeepTheMinimumSize)
{
    const browser::Twips twips(window);
    for (const QSize size : {QSize(1, 1), QSize(0, 0), QSize(50, 2000), QSize(3000, 20)}) {
        window->resize(size);
        settle();
        EXPECT_GE(twips.fromPixelsX(window->width()), 2000.0);
        EXPECT_GE(twips.fromPixelsY(window->height()), 2000.0);
    }
    for (const double share : {0.0, 1.0, 0.5}) {
        settings().TreeShare = share;
        window->Riassetta();
    }
    EXPECT_TRUE(tree()->isVisible());
}

TEST_F(SpeciesWindowTest, HiddenPanesTakeTheirToolbarsAndStatusBarsAlong)
{
    window->resize(1000, 700);
    settings().TreeShare = 0.0;
    window->Riassetta();
    EXPECT_FALSE(tree()->isVisible());
    EXPECT_FALSE(window->toolbar(1)->isVisible());
    EXPECT_TRUE(window->mapPane()->isVisible());
    EXPECT_GT(window->mapPane()->width(), 980);
    settings().TreeShare = 1.0;
    window->Riassetta();
    EXPECT_TRUE(tree()->isVisible());
    EXPECT_FALSE(window->mapPane()->isVisible());
    EXPECT_FALSE(window->toolbar(2)->isVisible());
    EXPECT_EQ(tree()->width(), 1000);
}

class SplitterTest : public SpeciesWindowTest {
protected:
    void send(QEvent::Type type, int x, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QWidget *bar = window->splitterBar();
        const QPointF local(x, 10);
        QMouseEvent event(type, local, bar->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(bar, &event);
    }
    // Drags the bar so that its left edge goes to window pixel x.
    void drag(int x)
    {
        send(QEvent::MouseButtonPress, 2, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, x - window->splitterBar()->x(), Qt::NoButton, Qt::LeftButton);
    }
    void release() { send(QEvent::MouseButtonRelease, 0, Qt::LeftButton, Qt::NoButton); }

    void SetUp() override
    {
        SpeciesWindowTest::SetUp();
        window->resize(1000, 700);
        settle();
    }
    double innerWidth() const { return browser::Twips(window).fromPixelsX(window->width()); }
    double twips(int pixels) const { return browser::Twips(window).fromPixelsX(pixels); }
};

TEST_F(SplitterTest, PanesFollowADragWithinTheLimitsAndTheShareIsKept)
{
    drag(400);
    EXPECT_EQ(window->splitterBar()->x(), 400);
    EXPECT_NEAR(tree()->width(), 398, 1);
    EXPECT_NEAR(window->mapPane()->x(), 403, 1);
    EXPECT_EQ(window->toolbar(2)->x(), window->mapPane()->x());
    release();
    EXPECT_NEAR(settings().TreeShare, twips(400) / innerWidth(), 1e-6);
    EXPECT_NEAR(window->splitterBar()->x(), 400, 1);
}

TEST_F(SplitterTest, BarCloserThan250TwipsToAnEdgeLeavesThePanes)
{
    const browser::Twips tw(window);
    drag(tw.toPixelsX(200));
    EXPECT_NEAR(tree()->width(), 500, 1) << "panes stay where they were";
    release();
    // The drag position stayed at the press; the tree keeps its toolbar's width.
    const double minimumShare = (twips(window->toolbar(1)->sizeHint().width()) + twips(window->splitterBar()->width()))
                                / innerWidth();
    EXPECT_NEAR(settings().TreeShare, minimumShare, 1e-6);
}

TEST_F(SplitterTest, ReleasedTooFarRightKeepsTheMapToolbarWidth)
{
    drag(960);
    release();
    const double expected = (innerWidth() - twips(window->toolbar(2)->sizeHint().width())
                             - twips(window->splitterBar()->width()))
                            / innerWidth();
    EXPECT_NEAR(settings().TreeShare, expected, 1e-6);
    EXPECT_GE(window->mapPane()->width(), window->toolbar(2)->sizeHint().width() - 2);
}

TEST_F(SplitterTest, ReleasedTooFarLeftKeepsTheTreeToolbarWidth)
{
    drag(60);
    release();
    const double expected = (twips(window->toolbar(1)->sizeHint().width()) + twips(window->splitterBar()->width()))
                            / innerWidth();
    EXPECT_NEAR(settings().TreeShare, expected, 1e-6);
    EXPECT_GE(tree()->width(), window->toolbar(1)->sizeHint().width());
}

TEST_F(SplitterTest, OnlyTheLeftButtonDragsAndTheBarTurnsGreyMeanwhile)
{
    send(QEvent::MouseButtonPress, 2, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, -100, Qt::NoButton, Qt::RightButton);
    send(QEvent::MouseButtonRelease, 0, Qt::RightButton, Qt::NoButton);
    EXPECT_DOUBLE_EQ(settings().TreeShare, 0.5);
    EXPECT_NEAR(window->splitterBar()->x(), 500, 1);

    drag(450);
    EXPECT_TRUE(window->splitterBar()->isDragging());
    release();
    EXPECT_FALSE(window->splitterBar()->isDragging());
}

TEST_F(SpeciesWindowTest, ClosingClosesEveryRegisteredWindow)
{
    QPointer<QWidget> card = new QWidget;
    QPointer<QWidget> sites = new QWidget;
    QPointer<QWidget> preview = new QWidget;
    for (QWidget *w : {card.data(), sites.data(), preview.data()}) {
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
    }
    window->registerRecordWindow(card, browser::RecordWindowKind::Card);
    window->registerRecordWindow(sites, browser::RecordWindowKind::Sites);
    window->registerRecordWindow(preview, browser::RecordWindowKind::Preview);
    click("S044.00101.001.0");
    window->unload();
    settle();
    EXPECT_FALSE(card);
    EXPECT_FALSE(sites);
    EXPECT_FALSE(preview);
    EXPECT_FALSE(window);
    EXPECT_EQ(browser::SpeciesWindow::current(), nullptr);
    EXPECT_EQ(settings().SelectedNodeKind, QStringLiteral("0"));
}

TEST_F(SpeciesWindowTest, MouseOverTheWindowClearsTheCursorReadOut)
{
    window->statusPanel(2, 1)->setText(QStringLiteral("Fuse 32"));
    window->statusPanel(2, 2)->setText(QStringLiteral("NF00"));
    window->statusPanel(2, 3)->setText(QStringLiteral("Zoom  x 1"));
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), window->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    EXPECT_TRUE(window->statusPanel(2, 1)->text().isEmpty());
    EXPECT_TRUE(window->statusPanel(2, 2)->text().isEmpty());
    EXPECT_EQ(window->statusPanel(2, 3)->text(), QStringLiteral("Zoom  x 1"));
}

}  // namespace
