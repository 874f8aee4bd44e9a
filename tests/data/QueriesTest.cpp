// Every text of the query catalogue, run on the standard checklist.
#include "StandardChecklistTest.h"

#include "app/Settings.h"
#include "data/DataError.h"
#include "data/Queries.h"

using namespace ortolan;
using namespace ortolan::test;
namespace q = ortolan::data::queries;

namespace {

const QStringList allFilters = {Filter::All, Filter::Invertebrates, Filter::Vertebrates,
                                Filter::HabitatDirective, Filter::RedList, Filter::Alien};

class Queries : public StandardChecklistTest {};

TEST_F(Queries, FirstLevelPerFilter)
{
    EXPECT_EQ(column(q::firstLevel(Filter::All)).size(), 17);
    EXPECT_EQ(column(q::firstLevel(Filter::Vertebrates)),
              list({"037", "037.001", "037.001.001", "037.001.001.001", "037.002", "037.002.001", "037.002.001.001"}));
    EXPECT_EQ(column(q::firstLevel(Filter::Invertebrates)).size(), 10);
    EXPECT_FALSE(column(q::firstLevel(Filter::Invertebrates)).contains(QStringLiteral("037")));
    EXPECT_EQ(column(q::firstLevel(Filter::RedList)),
              list({"037", "037.001", "037.001.001", "037.001.001.001", "044", "044.001", "044.001.001",
                    "044.001.001.001"}));
    EXPECT_EQ(column(q::firstLevel(Filter::Alien)),
              list({"001", "001.001", "001.001.001", "001.001.001.001", "037", "037.002", "037.002.001",
                    "037.002.001.001"}));
    EXPECT_EQ(column(q::firstLevel(Filter::HabitatDirective)).size(), 10);
    EXPECT_TRUE(q::firstLevel(QStringLiteral("Nessuno")).isEmpty());
}

TEST_F(Queries, FamilyListingsOfTreeAndSortAgree)
{
    const QString carabidae = QStringLiteral("044.001.001.001");
    const QStringList all = list({"044.00101.", "044.00101.001.0", "044.00101.001.01", "044.00101.002.0"});
    for (const QString &filter : {Filter::All, Filter::Invertebrates, Filter::Vertebrates}) {
        EXPECT_EQ(column(q::familyTaxa(carabidae, filter)), all);
        EXPECT_EQ(column(q::familyTaxaForSort(carabidae, filter)), all);
    }
    const QStringList redList = list({"044.00101.001.0", "044.00101.001.01", "044.00101.002.0"});
    EXPECT_EQ(column(q::familyTaxa(carabidae, Filter::RedList)), redList);
    EXPECT_EQ(column(q::familyTaxaForSort(carabidae, Filter::RedList)), redList);
    EXPECT_EQ(column(q::familyTaxa(carabidae, Filter::HabitatDirective)),
              list({"044.00101.", "044.00101.001.0", "044.00101.001.01"}));
    EXPECT_EQ(column(q::familyTaxaForSort(carabidae, Filter::HabitatDirective)),
              column(q::familyTaxa(carabidae, Filter::HabitatDirective)));
    EXPECT_TRUE(column(q::familyTaxa(carabidae, Filter::Alien)).isEmpty());
}

TEST_F(Queries, RedListAdmitsConservationCOnlyInFamilyListings)
{
    const QString ranidae = QStringLiteral("037.001.001.001");
    EXPECT_EQ(column(q::familyTaxa(ranidae, Filter::RedList)), list({"037.00101.001.0", "037.00101.002.0"}));
    EXPECT_EQ(column(q::familyTaxaForSort(ranidae, Filter::RedList)), list({"037.00101.001.0", "037.00101.002.0"}));
    EXPECT_EQ(column(q::genusTaxa(QStringLiteral("037.00101."), Filter::RedList)), list({"037.00101.001.0"}));
    EXPECT_EQ(column(q::searchByName(QStringLiteral("Rana"), Filter::RedList), 1), list({"Rana latastei"}));
}

TEST_F(Queries, GroupsBelowPerFilter)
{
    const QString coleoptera = QStringLiteral("044");
    EXPECT_EQ(column(q::groupsBelow(coleoptera, Filter::All)),
              list({"044.001", "044.001.001", "044.001.001.001", "044.002", "044.002.005.001"}));
    EXPECT_EQ(column(q::groupsBelow(coleoptera, Filter::Invertebrates)).size(), 5);
    EXPECT_TRUE(column(q::groupsBelow(coleoptera, Filter::Vertebrates)).isEmpty());
    EXPECT_EQ(column(q::groupsBelow(coleoptera, Filter::RedList)),
              list({"044.001", "044.001.001", "044.001.001.001"}));
    EXPECT_EQ(column(q::groupsBelow(coleoptera, Filter::HabitatDirective)).size(), 5);
    EXPECT_TRUE(column(q::groupsBelow(coleoptera, Filter::Alien)).isEmpty());
    EXPECT_EQ(column(q::groupsBelow(QStringLiteral("037.002"), Filter::Alien)),
              list({"037.002.001", "037.002.001.001"}));
}

TEST_F(Queries, GenusListingSkipsTheGenusRow)
{
    const QString carabus = QStringLiteral("044.00101.");
    EXPECT_EQ(column(q::genusTaxa(carabus, Filter::All)),
              list({"044.00101.001.0", "044.00101.001.01", "044.00101.002.0"}));
    EXPECT_EQ(column(q::genusTaxa(carabus, Filter::HabitatDirective)), list({"044.00101.001.0", "044.00101.001.01"}));
    EXPECT_EQ(column(q::genusTaxa(carabus, Filter::RedList)).size(), 3);
    EXPECT_TRUE(column(q::genusTaxa(carabus, Filter::Alien)).isEmpty());
}

TEST_F(Queries, DataOwnerAndSources)
{
    EXPECT_EQ(column(q::dataOwner(QStringLiteral("044.00101.001.0")), 1), list({"AC"}));
    data::Recordset owner = connection->openRecordset(q::dataOwner(QStringLiteral("037.00201.001.0")));
    ASSERT_EQ(owner.recordCount(), 1);
    EXPECT_TRUE(owner.isNull(QStringLiteral("Referente")));
    // Only the species' own records, sorted by kind of source, then code.
    EXPECT_EQ(column(q::dataSources(QStringLiteral("AC"), QStringLiteral("044.00101.001.0")), 0),
              list({"Collezione Sella", "Casale A."}));
    EXPECT_TRUE(column(q::dataSources(QStringLiteral("RS"), QStringLiteral("044.00101.001.0"))).isEmpty());
}

TEST_F(Queries, SpeciesCardJoinsChorotypeAndOwner)
{
    data::Recordset card = connection->openRecordset(q::speciesCard(QStringLiteral("044.00101.001.0")));
    ASSERT_EQ(card.recordCount(), 1);
    EXPECT_EQ(card.text(QStringLiteral("Nome_sp")), QStringLiteral("Carabus olympiae"));
    EXPECT_EQ(card.text(QStringLiteral("Corotipi")), QStringLiteral("Endemica"));
    EXPECT_EQ(card.text(QStringLiteral("Specialista")), QStringLiteral("A. Casale"));
    EXPECT_EQ(card.text(QStringLiteral("Specie.Corologia")), QStringLiteral("END"));
    EXPECT_EQ(card.text(QStringLiteral("Corotipi.Corologia")), QStringLiteral("END"));
    EXPECT_EQ(card.field(QStringLiteral("Allegato II")).toLongLong(), -1);
    EXPECT_EQ(card.field(QStringLiteral("Allegato V")).toLongLong(), 0);

    // Without chorotype the card still has its row (outer join) ...
    data::Recordset noChorotype = connection->openRecordset(q::speciesCard(QStringLiteral("044.00101.002.0")));
    ASSERT_EQ(noChorotype.recordCount(), 1);
    EXPECT_TRUE(noChorotype.isNull(QStringLiteral("Corotipi")));
    // ... but an owner missing from Referenti, or none, gives no row (inner join).
    EXPECT_EQ(connection->openRecordset(q::speciesCard(QStringLiteral("001.00101.001.0"))).recordCount(), 0);
    EXPECT_EQ(connection->openRecordset(q::speciesCard(QStringLiteral("037.00201.001.0"))).recordCount(), 0);
}

TEST_F(Queries, SitesIncludeSubspeciesAndNullSquares)
{
    EXPECT_EQ(column(q::sitesOfTaxon(QStringLiteral("044.00101.001.0")), 4),
              list({"Valle Sessera", "Valle Sessera", "Valsesia", "Piano del Sole", "Valle Sessera"}));
    EXPECT_EQ(column(q::sitesOfTaxon(QStringLiteral("037.00101.001.0")), 9), list({"", "NF00"}));
    EXPECT_EQ(column(q::sitesInSquare(QStringLiteral("044.00101.001.0"), QStringLiteral("UG12")), 5),
              list({"Alpe Sella", "Bocchetta", "Alpe Sella"}));
    EXPECT_EQ(column(q::sitesInSquare(QStringLiteral("044.00101."), QStringLiteral("ug12"))).size(), 3);
}

TEST_F(Queries, MapSquaresOncePerTaxonWithoutNullSquares)
{
    const QString sql = q::mapSquares(QStringLiteral("044.00101.001.0"));
    EXPECT_EQ(column(sql, 0), list({"044.00101.001.0", "044.00101.001.0", "044.00101.001.01", "044.00101.001.01"}));
    EXPECT_EQ(column(sql, 1), list({"NF00", "UG12", "UG12", "WA00"}));
    EXPECT_EQ(column(q::mapSquares(QStringLiteral("037.00101.001.0")), 1), list({"NF00"}));
    EXPECT_TRUE(column(q::mapSquares(QStringLiteral("001.00101.001.0"))).isEmpty());
    // The exact code alone: the like on the code also finds the subspecies.
    EXPECT_EQ(column(q::mapSquares(QStringLiteral("044.00101.001.01")), 1), list({"UG12", "WA00"}));
}

TEST_F(Queries, SearchWithWildcardsAndFilters)
{
    EXPECT_EQ(column(q::searchByName(QStringLiteral("car*us"), Filter::All), 1),
              list({"Carabus", "Carabus dell'Ortolan", "Carabus olympiae", "Carabus olympiae olympiae"}));
    EXPECT_EQ(column(q::searchByName(QStringLiteral("R?NA"), Filter::Vertebrates), 1),
              list({"Rana", "Rana italica", "Rana latastei"}));
    EXPECT_TRUE(column(q::searchByName(QStringLiteral("rana"), Filter::Invertebrates)).isEmpty());
    EXPECT_EQ(column(q::searchByName(QStringLiteral("dell'O"), Filter::All), 1), list({"Carabus dell'Ortolan"}));
    EXPECT_EQ(column(q::searchByName(QStringLiteral("us"), Filter::Alien), 1),
              list({"Myocastor coypus"}));
    EXPECT_EQ(column(q::searchByName(QStringLiteral("a"), Filter::HabitatDirective), 1).size(), 7);
    EXPECT_EQ(column(q::searchByName(QStringLiteral("%"), Filter::All)).size(), 0);
}

TEST_F(Queries, TaxonAndGroupByName)
{
    EXPECT_EQ(column(q::taxonByName(QStringLiteral("Carabus dell'Ortolan")), 2), list({"D'Orbigny, 1839"}));
    EXPECT_EQ(column(q::groupName(QStringLiteral("044.001.001.001")), 1), list({"Carabidae"}));
}

TEST_F(Queries, ExplanationListsFollowTheirOrderField)
{
    EXPECT_EQ(column(q::explanationList(QStringLiteral("Conservazione"), QStringLiteral("Ordinamento"))),
              list({"EX", "EN", "VU", "NT", "LC", "C"}));
    EXPECT_EQ(column(q::explanationList(QStringLiteral("Habitat"), QStringLiteral("Habitat inglese")), 2),
              list({"Broadleaved woods", "Standing waters", "Wet meadows"}));
}

TEST_F(Queries, OccupiedSquaresDropSquaresMissingFromTheSquareTable)
{
    data::Recordset squares = connection->openRecordset(q::occupiedSquares(QStringLiteral("044.00101.001.0"), true));
    EXPECT_EQ(squares.fieldNames(), list({"UTM", "SITES", "YEAR", "E_UTM32", "N_UTM32"}));
    EXPECT_EQ(column(q::occupiedSquares(QStringLiteral("044.00101.001.0"), true), 0), list({"NF00", "UG12", "WA00"}));
    // A record without a site name is not counted; the latest year wins.
    EXPECT_EQ(column(q::occupiedSquares(QStringLiteral("044.00101.001.0"), false), 1), list({"0", "3", "1"}));
    EXPECT_EQ(column(q::occupiedSquares(QStringLiteral("044.00101.001.0"), false), 2), list({"1985", "2005", "1995"}));
    EXPECT_EQ(column(q::occupiedSquares(QStringLiteral("044.00201.001.0"), true), 0), list({"WA00"}));
}

TEST_F(Queries, EveryTextRunsUnderEveryFilter)
{
    for (const QString &filter : allFilters) {
        for (const QString &sql :
             {q::firstLevel(filter), q::familyTaxa(QStringLiteral("044.001.001.001"), filter),
              q::familyTaxaForSort(QStringLiteral("044.001.001.001"), filter),
              q::groupsBelow(QStringLiteral("044.001"), filter), q::genusTaxa(QStringLiteral("044.00101."), filter),
              q::searchByName(QStringLiteral("a*b?"), filter)})
            EXPECT_NO_THROW(connection->openRecordset(sql)) << sql.toStdString();
    }
}

// Apostrophes and SQL fragments in codes, names and search texts stay inside
// their literals: they find nothing (or the exact name), never more.
TEST_F(Queries, InsertedTextCannotChangeTheQuery)
{
    const QString attack = QStringLiteral("x' OR '1'='1");
    for (const QString &sql :
         {q::dataOwner(attack), q::speciesCard(attack), q::sitesOfTaxon(attack), q::sitesInSquare(attack, attack),
          q::dataSources(attack, attack), q::mapSquares(attack), q::taxonByName(attack), q::groupName(attack),
          q::familyTaxa(attack, Filter::RedList), q::familyTaxaForSort(attack, Filter::All),
          q::groupsBelow(attack, Filter::Alien), q::genusTaxa(attack, Filter::HabitatDirective),
          q::searchByName(attack, Filter::All), q::occupiedSquares(attack, true), q::esportaQuery(attack, false)})
        EXPECT_EQ(connection->openRecordset(sql).recordCount(), 0) << sql.toStdString();
    EXPECT_EQ(q::quoted(QStringLiteral("dell'O''")), QStringLiteral("dell''O''''"));
}

}  // namespace
