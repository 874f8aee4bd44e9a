// The tree builder on the standard fixture checklist: group levels under the
// six filters, the families' genera and species, and the sort command's
// re-reading of children in code order.
#include "browser/TreeBuilder.h"

#include "BrowserFixture.h"
#include "data/Connection.h"
#include "data/DataError.h"

#include <gtest/gtest.h>

using namespace ortolan;
using browser::TreeBuilder;
using browser::TreeNode;

namespace {

// "key<parent" per node, in the order the builder adds them.
QStringList shape(const std::vector<TreeNode> &nodes)
{
    QStringList out;
    for (const TreeNode &n : nodes)
        out.append(n.key + QLatin1Char('<') + n.parentKey);
    return out;
}

const TreeNode *find(const std::vector<TreeNode> &nodes, const QString &key)
{
    for (const TreeNode &n : nodes)
        if (n.key == key)
            return &n;
    return nullptr;
}

QStringList list(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *i : items)
        out.append(QString::fromUtf8(i));
    return out;
}

class TreeBuilderTest : public ::testing::Test {
protected:
    std::vector<TreeNode> groups(const char *filter)
    {
        return TreeBuilder::groupLevels(*db(), QString::fromUtf8(filter));
    }
    std::vector<TreeNode> family(const char *code, const char *filter)
    {
        return TreeBuilder::familyTaxa(*db(), QString::fromUtf8(code), QString::fromUtf8(filter));
    }
    std::vector<TreeNode> children(const char *key, const char *filter)
    {
        return TreeBuilder::childrenInCodeOrder(*db(), QString::fromUtf8(key), QString::fromUtf8(filter));
    }
    data::Connection *db()
    {
        if (!connection_)
            connection_ = data::Connection::openPrivate();
        return connection_.get();
    }

    test::BrowserDatabase fixture;
    std::unique_ptr<data::Connection> connection_;
};

TEST_F(TreeBuilderTest, AllTaxaAttachEachLevelToTheNearestRememberedGroup)
{
    EXPECT_EQ(shape(groups("Tutto")),
              list({"P001<", "C001.001<P001", "O001.001.001<C001.001", "F001.001.001.001<O001.001.001",
                    "P037<", "C037.001<P037", "O037.001.001<C037.001", "F037.001.001.001<O037.001.001",
                    "C037.002<P037", "O037.002.001<C037.002", "F037.002.001.001<O037.002.001",
                    "P044<", "C044.001<P044", "O044.001.001<C044.001", "F044.001.001.001<O044.001.001",
                    "C044.002<P044",
                    // A family with no order between it and its second-level group.
                    "F044.002.005.001<C044.002"}));
}

TEST_F(TreeBuilderTest, GroupNodesCarryNamesImagesAndExpansion)
{
    const auto nodes = groups("Tutto");
    const TreeNode *top = find(nodes, QStringLiteral("P044"));
    const TreeNode *second = find(nodes, QStringLiteral("C044.001"));
    const TreeNode *order = find(nodes, QStringLiteral("O044.001.001"));
    const TreeNode *fam = find(nodes, QStringLiteral("F044.001.001.001"));
    ASSERT_TRUE(top && second && order && fam);
    EXPECT_EQ(top->text, QStringLiteral("Coleoptera"));
    EXPECT_EQ(fam->text, QStringLiteral("Carabidae"));
    EXPECT_TRUE(top->expanded);
    EXPECT_TRUE(second->expanded);
    EXPECT_FALSE(order->expanded);
    EXPECT_FALSE(fam->expanded);
    for (const TreeNode *n : {top, second, order})
        EXPECT_EQ(n->image + QLatin1Char('/') + n->expandedImage, QStringLiteral("O_closed/O_open"));
    EXPECT_EQ(fam->image + QLatin1Char('/') + fam->expandedImage, QStringLiteral("F_closed/F_open"));
}

TEST_F(TreeBuilderTest, EachFilterListsOnlyItsGroups)
{
    EXPECT_EQ(shape(groups("Invertebrati")),
              list({"P001<", "C001.001<P001", "O001.001.001<C001.001", "F001.001.001.001<O001.001.001", "P044<",
                    "C044.001<P044", "O044.001.001<C044.001", "F044.001.001.001<O044.001.001", "C044.002<P044",
                    "F044.002.005.001<C044.002"}));
    EXPECT_EQ(shape(groups("Vertebrati")),
              list({"P037<", "C037.001<P037", "O037.001.001<C037.001", "F037.001.001.001<O037.001.001",
                    "C037.002<P037", "O037.002.001<C037.002", "F037.002.001.001<O037.002.001"}));
    EXPECT_EQ(shape(groups("DirHabitat")),
              list({"P037<", "C037.001<P037", "O037.001.001<C037.001", "F037.001.001.001<O037.001.001", "P044<",
                    "C044.001<P044", "O044.001.001<C044.001", "F044.001.001.001<O044.001.001", "C044.002<P044",
                    "F044.002.005.001<C044.002"}));
    EXPECT_EQ(shape(groups("RedList")),
              list({"P037<", "C037.001<P037", "O037.001.001<C037.001", "F037.001.001.001<O037.001.001", "P044<",
                    "C044.001<P044", "O044.001.001<C044.001", "F044.001.001.001<O044.001.001"}));
    EXPECT_EQ(shape(groups("Aliene")),
              list({"P001<", "C001.001<P001", "O001.001.001<C001.001", "F001.001.001.001<O001.001.001", "P037<",
                    "C037.002<P037", "O037.002.001<C037.002", "F037.002.001.001<O037.002.001"}));
}

TEST_F(TreeBuilderTest, FilteredGroupsHangUnderTheNearestGroupPresent)
{
    // Red List groups whose own parents are not on the Red List.
    for (const char *code : {"060", "060.001.001", "060.001.001.001", "070", "070.001", "070.002.001",
                             "080.001", "080.001.001.001"})
        fixture.database->insert("Taxa", {{"codice_gr", code}, {"nome_gr", code}, {"red_list", true}});
    for (const char *code : {"060.001", "070.002", "080"})
        fixture.database->insert("Taxa", {{"codice_gr", code}, {"nome_gr", code}});

    const QStringList got = shape(groups("RedList"));
    // No second-level group remembered: the order hangs under the top level.
    EXPECT_TRUE(got.contains(QStringLiteral("O060.001.001<P060")));
    EXPECT_TRUE(got.contains(QStringLiteral("F060.001.001.001<O060.001.001")));
    // The remembered second-level group of another branch takes the order.
    EXPECT_TRUE(got.contains(QStringLiteral("O070.002.001<C070.001")));
    // A second-level group whose top level is not listed becomes a top-level node.
    EXPECT_TRUE(got.contains(QStringLiteral("C080.001<")));
    EXPECT_TRUE(got.contains(QStringLiteral("F080.001.001.001<C080.001")));
}

TEST_F(TreeBuilderTest, UnknownFilterReusesThePreviousQuery)
{
    const auto vertebrates = groups("Vertebrati");
    EXPECT_EQ(shape(groups("Bogus")), shape(vertebrates));
}

TEST_F(TreeBuilderTest, EmptyChecklistGivesNoNodes)
{
    fixture.database->exec(QStringLiteral("DELETE FROM Taxa"));
    EXPECT_TRUE(groups("Tutto").empty());
}

TEST_F(TreeBuilderTest, FamilyListsGeneraWithTheTaxaThatFollowThem)
{
    const auto nodes = family("044.001.001.001", "Tutto");
    EXPECT_EQ(shape(nodes), list({"G044.00101.<F044.001.001.001", "S044.00101.001.0<G044.00101.",
                                  "S044.00101.001.01<G044.00101.", "S044.00101.002.0<G044.00101."}));
    EXPECT_EQ(nodes[0].text, QStringLiteral("Carabus"));
    EXPECT_EQ(nodes[0].image + QLatin1Char('/') + nodes[0].expandedImage, QStringLiteral("F_closed/F_open"));
    EXPECT_EQ(nodes[1].text, QStringLiteral("Carabus olympiae Sella, 1855"));
    EXPECT_EQ(nodes[3].text, QStringLiteral("Carabus dell'Ortolan D'Orbigny, 1839"));
    EXPECT_EQ(nodes[1].image, QStringLiteral("Col"));
    EXPECT_EQ(nodes[1].expandedImage, QStringLiteral("Col"));
}

TEST_F(TreeBuilderTest, TaxaHangUnderTheGenusBeforeThemEvenWithAnotherPrefix)
{
    // A species of a genus missing from the list follows Ephydatia in code
    // order; one that sorts before every genus hangs under the family.
    fixture.database->insert("Specie", {{"codice_sp", "001.00103.001.0"}, {"nome_sp", "Trochospongilla horrida"},
                                        {"autore", "Weltner, 1893"}, {"codice_gr", "001.001.001.001"}});
    fixture.database->insert("Specie", {{"codice_sp", "001.00100.001.0"}, {"nome_sp", "Eunapius fragilis"},
                                        {"autore", "(Leidy, 1851)"}, {"codice_gr", "001.001.001.001"}});
    EXPECT_EQ(shape(family("001.001.001.001", "Tutto")),
              list({"S001.00100.001.0<F001.001.001.001", "G001.00101.<F001.001.001.001",
                    "S001.00101.001.0<G001.00101.", "G001.00102.<F001.001.001.001", "S001.00102.001.0<G001.00102.",
                    "S001.00103.001.0<G001.00102."}));
}

TEST_F(TreeBuilderTest, RedListFamilyShowsThreatenedCategoriesInGrey)
{
    // Genus rows carry no category: the listed species hang under the family.
    auto nodes = family("037.001.001.001", "RedList");
    ASSERT_EQ(shape(nodes), list({"S037.00101.001.0<F037.001.001.001", "S037.00101.002.0<F037.001.001.001"}));
    EXPECT_EQ(nodes[0].image, QStringLiteral("Egrey"));  // EN
    EXPECT_EQ(nodes[1].image, QStringLiteral("Eph"));    // C keeps its group icon

    nodes = family("044.001.001.001", "RedList");
    ASSERT_EQ(nodes.size(), 3u);
    EXPECT_EQ(nodes[0].image, QStringLiteral("Vgrey"));
    EXPECT_EQ(nodes[1].image, QStringLiteral("Vgrey"));
    EXPECT_EQ(nodes[2].image, QStringLiteral("Xgrey"));
}

TEST_F(TreeBuilderTest, FilteredFamiliesListOnlyQualifyingRows)
{
    fixture.database->exec(QStringLiteral("UPDATE Specie SET introdotta = -1 WHERE codice_sp = '037.00201.'"));
    EXPECT_EQ(shape(family("037.002.001.001", "Aliene")),
              list({"G037.00201.<F037.002.001.001", "S037.00201.001.0<G037.00201."}));
    EXPECT_EQ(shape(family("044.002.005.001", "DirHabitat")),
              list({"G044.00201.<F044.002.005.001", "S044.00201.001.0<G044.00201."}));
    // A species whose genus row does not qualify hangs under its family.
    fixture.database->exec(QStringLiteral("UPDATE Specie SET dir_habitat = 0 WHERE codice_sp = '044.00201.'"));
    EXPECT_EQ(shape(family("044.002.005.001", "DirHabitat")), list({"S044.00201.001.0<F044.002.005.001"}));
    EXPECT_TRUE(family("044.002.005.001", "Aliene").empty());
}

TEST_F(TreeBuilderTest, SortReadsChildrenBackInCodeOrder)
{
    EXPECT_EQ(shape(children("C044.001", "Tutto")),
              list({"O044.001.001<C044.001", "F044.001.001.001<O044.001.001"}));
    // A family with no order above it stays under the second-level group.
    EXPECT_EQ(shape(children("C044.002", "Tutto")), list({"F044.002.005.001<C044.002"}));
    EXPECT_EQ(shape(children("O044.001.001", "Tutto")), list({"F044.001.001.001<O044.001.001"}));
    EXPECT_EQ(shape(children("F044.001.001.001", "Tutto")), shape(family("044.001.001.001", "Tutto")));
    EXPECT_EQ(shape(children("G044.00101.", "Tutto")),
              list({"S044.00101.001.0<G044.00101.", "S044.00101.001.01<G044.00101.", "S044.00101.002.0<G044.00101."}));
    EXPECT_TRUE(children("P044", "Tutto").empty());
    EXPECT_TRUE(children("S044.00101.001.0", "Tutto").empty());
}

TEST_F(TreeBuilderTest, SortUnderFiltersUsesTheFilteredQueries)
{
    EXPECT_EQ(shape(children("C037.001", "Vertebrati")), list({"O037.001.001<C037.001", "F037.001.001.001<O037.001.001"}));
    EXPECT_TRUE(children("C044.002", "RedList").empty());
    const auto redGenus = children("G037.00101.", "RedList");
    // The genus listing of the Red List admits V, E and X only, not C.
    ASSERT_EQ(shape(redGenus), list({"S037.00101.001.0<G037.00101."}));
    EXPECT_EQ(redGenus[0].image, QStringLiteral("Egrey"));
    EXPECT_EQ(shape(children("F037.001.001.001", "RedList")), shape(family("037.001.001.001", "RedList")));
    EXPECT_EQ(shape(children("G044.00101.", "DirHabitat")),
              list({"S044.00101.001.0<G044.00101.", "S044.00101.001.01<G044.00101."}));
}

TEST_F(TreeBuilderTest, CodesWithApostrophesAreQuoted)
{
    EXPECT_TRUE(family("0'1", "Tutto").empty());
    EXPECT_TRUE(children("G0'1.", "RedList").empty());
}

TEST(TreeBuilderWithoutDatabaseTest, MissingDatabaseThrowsDataError)
{
    settings().DatabasePath = QStringLiteral("/nonexistent/OrtolanDati.mde");
    EXPECT_THROW(TreeBuilder::groupLevels(QStringLiteral("Tutto")), data::DataError);
}

}  // namespace
