// The record windows opened from the species window: what each shows, its
// captions, copy, sort, exports, explanations and closing rules.
#include "../browser/SpeciesWindowFixture.h"
#include "../data/WriterTestSupport.h"
#include "app/ExplanationsWindow.h"
#include "browser/ButtonPositions.h"
#include "data/Queries.h"
#include "records/DataSourcesWindow.h"
#include "records/ExportFiles.h"
#include "records/RecordTableModel.h"
#include "records/RecordWindows.h"
#include "records/SitesTableWindow.h"
#include "records/SpeciesCardWindow.h"
#include "records/SpeciesSearchWindow.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>

using namespace ortolan;
using browser::Toolbar1Button::Card;
using browser::Toolbar1Button::Sites;
using browser::Toolbar1Button::Sources;

namespace {

template <typename T>
T *openWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *t = qobject_cast<T *>(w); t && t->isVisible())
            return t;
    return nullptr;
}

class RecordWindowsTest : public test::SpeciesWindowTest {
protected:
    void TearDown() override
    {
        records::exportfiles::setSaveDialog({});
        SpeciesWindowTest::TearDown();
    }
    records::SitesTableWindow *sitesOf(const char *key)
    {
        click(key);
        menu("Stazioni_mnu");
        return openWindow<records::SitesTableWindow>();
    }
    // Save dialogs answer with path; the last request is kept.
    void answerSaveDialog(const QString &path)
    {
        records::exportfiles::setSaveDialog([this, path](const records::exportfiles::SaveRequest &r) {
            lastRequest = r;
            return path;
        });
    }
    records::exportfiles::SaveRequest lastRequest;
    QTemporaryDir out;
};

TEST_F(RecordWindowsTest, SitesTableListsTheTaxonAndItsSubspeciesWithEnglishHeaders)
{
    auto *w = sitesOf("S044.00101.001.0");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Sites of Carabus olympiae Sella, 1855"));
    EXPECT_TRUE(pressed(1, Sites));
    EXPECT_TRUE(checked("Stazioni_mnu"));
    EXPECT_EQ(w->model()->rowCount(), 5);
    EXPECT_TRUE(w->grid()->isColumnHidden(0)) << "code column";
    EXPECT_EQ(w->grid()->columnWidth(1), 2500 / 15);
    EXPECT_EQ(w->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("SPECIES"));
    EXPECT_EQ(w->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("UTM"));
    // Ordered by code, then locality.
    EXPECT_EQ(w->model()->cell(0, 5), QStringLiteral("Alpe Sella"));
    EXPECT_EQ(w->model()->cell(2, 4), QStringLiteral("Valsesia"));
    EXPECT_EQ(w->model()->cell(2, 5), QString()) << "no site name";

    w->copyTable();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QStringLiteral("SPECIES\tREGION\tPROVINCE\tLOCALITY\tSITE\tELEVATION\tSOURCE\tYEAR\tUTM\tPRECISION"));
    EXPECT_EQ(lines[1], QStringLiteral("Carabus olympiae\tPiemonte\tBI\tValle Sessera\tAlpe Sella\t1400\tB001\t1990\tUG12\t1"));

    w->selectBlock(1, 8, 2, 9);  // source and year of the first two rows
    w->copyCells();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("B001\t1990\rB002\t2001"));

    w->close();
    settle();
    EXPECT_FALSE(pressed(1, Sites));
    EXPECT_FALSE(checked("Stazioni_mnu"));
}

TEST_F(RecordWindowsTest, SitesTableInItalianAndOfOneSquare)
{
    settings().setLanguage(QStringLiteral("Italiano"));
    click("S044.00101.001.0");
    auto *w = qobject_cast<records::SitesTableWindow *>(records::openSitesOfSquare(*window, QStringLiteral("UG12")));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Località di Carabus olympiae Sella, 1855 in UG12"));
    EXPECT_EQ(w->model()->rowCount(), 3);
    EXPECT_EQ(w->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("SPECIE"));
    EXPECT_EQ(w->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("REGIONE"));
    EXPECT_EQ(w->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("LOCALITA'"));
    EXPECT_EQ(w->menuAction(QStringLiteral("ExpTxt_mnu"))->text(), QStringLiteral("Esporta &Testo..."));
    EXPECT_EQ(w->toolAction(QStringLiteral("OrderAsc"))->toolTip(), QStringLiteral("Ordine crescente"));
    EXPECT_EQ(w->frameMenus().size(), 5);
}

TEST_F(RecordWindowsTest, SortingTheYearColumnOrdersItAsText)
{
    click("S044.00101.001.0");
    // The genus: every Carabus record.
    auto *w = qobject_cast<records::SitesTableWindow *>(records::openSitesTable(
        *window, data::queries::sitesOfTaxon(QStringLiteral("044.00101.")), QStringLiteral("Sites")));
    ASSERT_TRUE(w);
    ASSERT_EQ(w->model()->rowCount(), 6);
    w->selectBlock(1, 9, 1, 9);
    w->toolAction(QStringLiteral("OrderAsc"))->trigger();
    EXPECT_EQ(w->model()->cell(0, 8), QStringLiteral("1950"));
    EXPECT_EQ(w->model()->cell(5, 8), QStringLiteral("2005"));
    w->menuAction(QStringLiteral("OrdinaDecresc_mnu"))->trigger();
    EXPECT_EQ(w->model()->cell(0, 8), QStringLiteral("2005"));
}

TEST_F(RecordWindowsTest, TextExportWritesWhatTheGridShows)
{
    auto *w = sitesOf("S037.00101.001.0");
    ASSERT_TRUE(w);
    answerSaveDialog(out.filePath(QStringLiteral("rana")));
    w->toolAction(QStringLiteral("ExpoTxt"))->trigger();
    const QString path = out.filePath(QStringLiteral("rana.txt"));
    EXPECT_EQ(test::readFile(path),
              QByteArray("SPECIES\tREGION\tPROVINCE\tLOCALITY\tSITE\tELEVATION\tSOURCE\tYEAR\tUTM\tPRECISION\r"
                         "Rana latastei\tLombardia\tMI\tAbbiategrasso\tFontanile\t120\tB003\t2010\t\t1\r"
                         "Rana latastei\tLombardia\tMI\tParco del Ticino\tBosco\t100\tB003\t1999\tNF00\t1\r\n"));
    EXPECT_EQ(lastRequest.startFolder, settings().UserFolder);
    EXPECT_EQ(lastRequest.proposedName, QStringLiteral("Rana latastei Boulenger, 1879"));
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(lastText(), settings().messages.MsgExported + path);

    // Cancelled: silent. Vanished folder: "Export failed", earlier file intact.
    messages.clear();
    answerSaveDialog(QString());
    w->exportText();
    EXPECT_TRUE(messages.empty());
    answerSaveDialog(out.filePath(QStringLiteral("gone/rana.txt")));
    w->exportText();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Error);
    EXPECT_EQ(messages[0].text, QStringLiteral("Export failed"));
}

TEST_F(RecordWindowsTest, ExcelExportWritesAllRecordsOfTheTaxon)
{
    click("S044.00101.001.0");
    auto *w = qobject_cast<records::SitesTableWindow *>(records::openSitesOfSquare(*window, QStringLiteral("WA00")));
    ASSERT_TRUE(w);
    answerSaveDialog(out.filePath(QStringLiteral("carabus.txt")));
    w->menuAction(QStringLiteral("ExpXls_mnu"))->trigger();
    const QString path = out.filePath(QStringLiteral("carabus.xls"));
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(lastText(), settings().messages.MsgExported + path);
    EXPECT_EQ(test::readFile(path).left(4), QByteArray("\xd0\xcf\x11\xe0")) << "compound file";

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, xlrd; s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0); "
                                 "print(s.name, s.nrows, s.cell_value(0, 0), s.cell_value(0, 3))"),
                  path});
    if (!python.waitForFinished(20000) || python.exitCode() != 0)
        GTEST_SKIP() << "python3 with xlrd not available";
    EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(), QStringLiteral("Sites 6 SPECIES LOCALITY"))
        << "all five records of the taxon, not the one of the square";
}

TEST_F(RecordWindowsTest, DataSourcesListOwnSourcesOnceAndSortByLastColumnFromTheMenu)
{
    click("S044.00101.001.0");
    menu("Biblio_mnu");
    auto *w = openWindow<records::DataSourcesWindow>();
    ASSERT_TRUE(w);
    EXPECT_TRUE(pressed(1, Sources));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Data sources for Carabus olympiae Sella, 1855"));
    ASSERT_EQ(w->model()->rowCount(), 2) << "B001 cited twice, listed once; subspecies records do not count";
    EXPECT_EQ(w->model()->cell(0, 0), QStringLiteral("Collezione Sella")) << "kind of source 1 first";
    EXPECT_EQ(w->menuAction(QStringLiteral("ExpXls_mnu")), nullptr);
    EXPECT_EQ(w->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("DATA SOURCE"));

    w->copyTable();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("DATA SOURCE\tYEAR\tTITLE/COLLECTION")));

    // Columns 1..2 selected, ending on column 1 (author): the menu sorts by
    // the author alone, the toolbar by year and author.
    w->selectBlock(1, 2, 2, 1);
    w->menuAction(QStringLiteral("OrdinaDecresc_mnu"))->trigger();
    EXPECT_EQ(w->model()->cell(0, 0), QStringLiteral("Collezione Sella"));
    w->toolAction(QStringLiteral("OrderDesc"))->trigger();
    EXPECT_EQ(w->model()->cell(0, 1), QStringLiteral("2001"));
    w->selectBlock(1, 1, 2, 1);
    w->menuAction(QStringLiteral("OrdinaCresc_mnu"))->trigger();
    EXPECT_EQ(w->model()->cell(0, 0), QStringLiteral("Casale A."));

    answerSaveDialog(out.filePath(QStringLiteral("fonti.txt")));
    w->exportText();
    EXPECT_TRUE(lastRequest.startFolder.isEmpty());
    EXPECT_TRUE(test::readFile(out.filePath(QStringLiteral("fonti.txt"))).startsWith("DATA SOURCE\tYEAR\t"));

    w->close();
    settle();
    EXPECT_FALSE(pressed(1, Sources));
    EXPECT_FALSE(checked("Biblio_mnu"));
}

TEST_F(RecordWindowsTest, SpeciesCardShowsFieldsAndExplanationsCloseWithIt)
{
    click("S044.00101.001.0");
    menu("Scheda_mnu");
    auto *card = openWindow<records::SpeciesCardWindow>();
    ASSERT_TRUE(card);
    EXPECT_TRUE(pressed(1, Card));
    EXPECT_TRUE(checked("Scheda_mnu"));
    EXPECT_EQ(card->windowTitle(), QStringLiteral("Form of Carabus olympiae Sella, 1855"));
    EXPECT_EQ(card->caption(QStringLiteral("Label_05")), QStringLiteral("Firs record for Italy"));
    EXPECT_EQ(card->caption(QStringLiteral("B_Corologia")), QStringLiteral("Chorotypes"));
    EXPECT_EQ(card->text(QStringLiteral("Text_01")), QStringLiteral("044.00101.001.0"));
    EXPECT_EQ(card->text(QStringLiteral("Text_06")), QStringLiteral("END"));
    EXPECT_EQ(card->text(QStringLiteral("Text_07")), QStringLiteral("Endemica")) << "Italian description always";
    EXPECT_EQ(card->text(QStringLiteral("Text_17")), QStringLiteral("A. Casale"));
    EXPECT_TRUE(card->checked(QStringLiteral("Check_02")));
    EXPECT_TRUE(card->checked(QStringLiteral("Check_04")));
    EXPECT_FALSE(card->checked(QStringLiteral("Check_07")));

    card->button(QStringLiteral("B_COnservazione"))->click();
    ExplanationsWindow *expl = explanationsWindow();
    ASSERT_TRUE(expl);
    settle();
    EXPECT_EQ(expl->windowTitle(), QStringLiteral("Conservation Status"));
    ASSERT_EQ(expl->list()->count(), 6);
    EXPECT_TRUE(expl->list()->item(0)->text().startsWith(QStringLiteral("EX - "))) << "in the order of Ordinamento";
    EXPECT_EQ(expl->list()->currentRow(), 0);
    expl->hide();
    expl->show();
    EXPECT_EQ(expl->list()->count(), 6) << "filled once per window";

    card->button(QStringLiteral("B_Habitat"))->click();
    settle();
    ExplanationsWindow *habitats = explanationsWindow();
    ASSERT_TRUE(habitats);
    EXPECT_EQ(habitats->list()->item(0)->text(), QStringLiteral("B1 - Broadleaved woods"));
    EXPECT_EQ(openWindow<ExplanationsWindow>(), habitats) << "the list replaced the earlier one";

    card->button(QStringLiteral("B_OK"))->click();
    settle();
    EXPECT_EQ(explanationsWindow(), nullptr);
    EXPECT_FALSE(pressed(1, Card));
    EXPECT_FALSE(checked("Scheda_mnu"));
}

TEST_F(RecordWindowsTest, CardWithoutChorotypeAndWithoutDataOwnerRow)
{
    settings().setLanguage(QStringLiteral("Italiano"));
    click("S044.00101.002.0");
    auto *card = qobject_cast<records::SpeciesCardWindow *>(records::openSpeciesCard(
        *window, data::queries::speciesCard(QStringLiteral("044.00101.002.0")), QStringLiteral("Scheda")));
    ASSERT_TRUE(card);
    EXPECT_EQ(card->caption(QStringLiteral("Label_06")), QStringLiteral("Categoria corologica"));
    EXPECT_EQ(card->text(QStringLiteral("Text_02")), QStringLiteral("Carabus dell'Ortolan"));
    EXPECT_EQ(card->text(QStringLiteral("Text_06")), QString());
    EXPECT_EQ(card->text(QStringLiteral("Text_07")), QString());

    auto *empty = qobject_cast<records::SpeciesCardWindow *>(records::openSpeciesCard(
        *window, data::queries::speciesCard(QStringLiteral("001.00101.001.0")), QStringLiteral("Scheda")));
    ASSERT_TRUE(empty);
    settle();
    EXPECT_EQ(empty->text(QStringLiteral("Text_01")), QString());
    EXPECT_FALSE(empty->checked(QStringLiteral("Check_01")));
}

TEST_F(RecordWindowsTest, ExplanationsOfAnEmptyTableReportTheTable)
{
    settings().ExplTable = QStringLiteral("Referenti");
    settings().ExplCodeField = QStringLiteral("Referente");
    settings().ExplTextField = QStringLiteral("Specialista");
    settings().ExplOrderField = QStringLiteral("Referente");
    ExplanationsWindow *w = openExplanations(QStringLiteral("x"));
    settle();
    EXPECT_EQ(w->list()->count(), 2);
    fixture.database->exec(QStringLiteral("DELETE FROM Referenti"));
    w = openExplanations(QStringLiteral("x"));
    settle();
    EXPECT_EQ(w->list()->count(), 0);
    EXPECT_EQ(lastText(), settings().messages.MsgDataError + QStringLiteral("Referenti"));
    closeExplanations();
}

TEST(LargeSitesTable, TenThousandRecordsAppearAtOnce)
{
    QStringList fields;
    for (const char *f : {"CODICE_SP", "NOME_SP", "REGIONE", "PROVINCIA", "LOC", "STAZIONE", "QUOTA", "FONTE", "ANNO",
                          "UTM", "PRECISIONE_UTM"})
        fields.append(QString::fromUtf8(f));
    std::vector<std::vector<QVariant>> rows;
    for (int i = 0; i < 10000; ++i)
        rows.push_back({QStringLiteral("044.00101.001.0"), QStringLiteral("Carabus olympiae"),
                        QStringLiteral("Piemonte"), QStringLiteral("BI"), QStringLiteral("Loc %1").arg(i),
                        QStringLiteral("Site"), qlonglong(i), QStringLiteral("B001"), qlonglong(1900 + i % 120),
                        QStringLiteral("UG12"), QStringLiteral("1")});
    const data::Recordset records(fields, rows);
    QElapsedTimer t;
    t.start();
    auto *w = new records::SitesTableWindow(records);
    w->show();
    QCoreApplication::processEvents();
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(w->model()->rowCount(), 10000);
    w->copyTable();
    EXPECT_EQ(QGuiApplication::clipboard()->text().count(QLatin1Char('\r')), 10000);
    EXPECT_EQ(w->editMenu()->objectName(), QStringLiteral("Modifica_mnu")) << "also the grid's pop-up menu";
    EXPECT_EQ(w->grid()->contextMenuPolicy(), Qt::CustomContextMenu);
    w->close();
    test::settleEvents();
}

class SearchTest : public RecordWindowsTest {
protected:
    records::SpeciesSearchWindow *search()
    {
        return qobject_cast<records::SpeciesSearchWindow *>(records::openSpeciesSearch(*window));
    }
    QStringList find(records::SpeciesSearchWindow *s, const char *text)
    {
        s->textBox()->setText(QString::fromUtf8(text));
        s->find();
        QStringList names;
        for (int i = 0; i < s->list()->count(); ++i)
            names.append(s->list()->item(i)->text());
        return names;
    }
};

TEST_F(SearchTest, WildcardsAndSpecialCharacters)
{
    auto *s = search();
    ASSERT_TRUE(s);
    EXPECT_EQ(find(s, "car*us"), (QStringList{QStringLiteral("Carabus"), QStringLiteral("Carabus dell'Ortolan"),
                                              QStringLiteral("Carabus olympiae"),
                                              QStringLiteral("Carabus olympiae olympiae")}));
    EXPECT_EQ(s->list()->currentRow(), 0);
    EXPECT_EQ(find(s, "R?na"), QStringList({QStringLiteral("Rana"), QStringLiteral("Rana italica"),
                                            QStringLiteral("Rana latastei")}));
    EXPECT_EQ(find(s, "dell'O"), QStringList{QStringLiteral("Carabus dell'Ortolan")});
    for (const char *odd : {"%", "_", "[", "\xc3\xa0"})
        EXPECT_TRUE(find(s, odd).isEmpty()) << odd;
    EXPECT_TRUE(messages.empty());
    find(s, "Rana");
    EXPECT_EQ(find(s, ""), QStringList({QStringLiteral("Rana"), QStringLiteral("Rana italica"),
                                        QStringLiteral("Rana latastei")}))
        << "an empty text keeps the list";
}

TEST_F(SearchTest, FilterRestrictsTheNames)
{
    settings().TreeFilter = QStringLiteral("Vertebrati");
    auto *s = search();
    EXPECT_TRUE(find(s, "car").isEmpty());
    EXPECT_EQ(find(s, "a"), (QStringList{QStringLiteral("Myocastor"), QStringLiteral("Myocastor coypus"),
                                         QStringLiteral("Rana"), QStringLiteral("Rana italica"),
                                         QStringLiteral("Rana latastei")}));
    settings().TreeFilter = QStringLiteral("Tutto");
}

TEST_F(SearchTest, HomonymsAllAppear)
{
    fixture.database->insert("Specie", {{"CODICE_SP", "044.00201.002.0"}, {"NOME_SP", "Rana latastei"},
                                        {"CODICE_GR", "044.002.005.001"}, {"AUTORE", "Homonym, 1900"}});
    auto *s = search();
    EXPECT_EQ(find(s, "latastei").size(), 2);
}

TEST_F(SearchTest, OkSelectsTheTaxonInTheTreeAndCloses)
{
    auto *s = search();
    find(s, "olympiae olympiae");
    QPointer<records::SpeciesSearchWindow> alive(s);
    QTreeWidgetItem *found = s->showChosen();
    ASSERT_TRUE(found);
    settle();
    EXPECT_EQ(tree()->currentItem(), found);
    EXPECT_EQ(settings().SelectedTaxonCode, QStringLiteral("044.00101.001.01"));
    EXPECT_FALSE(alive) << "the window closes";

    auto *again = search();
    again->list()->clear();
    EXPECT_EQ(again->showChosen(), nullptr);
    EXPECT_EQ(lastText(), settings().messages.MsgSelectSpecies);
    again->close();
}

}  // namespace
