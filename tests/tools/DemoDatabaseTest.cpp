// Checks of the demo species database that the build generates into the
// application folder, and of its generator's determinism and options.

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// A read-only connection with two helpers for one-value and one-column queries.
class Db
{
public:
    explicit Db(const QString &path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(m_db);
            m_db = nullptr;
        }
    }
    ~Db() { sqlite3_close(m_db); }
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;

    bool isOpen() const { return m_db != nullptr; }

    std::int64_t number(const std::string &sql) const
    {
        std::int64_t value = -1;
        each(sql, [&](sqlite3_stmt *s) { value = sqlite3_column_int64(s, 0); });
        return value;
    }

    std::vector<std::string> column(const std::string &sql) const
    {
        std::vector<std::string> values;
        each(sql, [&](sqlite3_stmt *s) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(s, 0));
            values.emplace_back(text ? text : "<null>");
        });
        return values;
    }

    std::vector<std::pair<std::string, std::string>> pairs(const std::string &sql) const
    {
        std::vector<std::pair<std::string, std::string>> values;
        each(sql, [&](sqlite3_stmt *s) {
            const auto *a = reinterpret_cast<const char *>(sqlite3_column_text(s, 0));
            const auto *b = reinterpret_cast<const char *>(sqlite3_column_text(s, 1));
            values.emplace_back(a ? a : "<null>", b ? b : "<null>");
        });
        return values;
    }

private:
    void each(const std::string &sql, const std::function<void(sqlite3_stmt *)> &row) const
    {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) {
            ADD_FAILURE() << sqlite3_errmsg(m_db) << " in " << sql;
            return;
        }
        while (sqlite3_step(s) == SQLITE_ROW)
            row(s);
        sqlite3_finalize(s);
    }

    sqlite3 *m_db = nullptr;
};

QString shippedDatabase() { return ortolan::test::appDir() + QStringLiteral("/Data/OrtolanDati.mde"); }

// Runs the generator; returns its exit status (-1 when it did not run).
int runGenerator(const QStringList &arguments, QString *errors = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(ORTOLAN_DEMO_DB_EXE), arguments);
    if (!process.waitForFinished(120000))
        return -1;
    if (errors)
        *errors = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ShippedDatabase : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_db = new Db(shippedDatabase()); }
    static void TearDownTestSuite()
    {
        delete s_db;
        s_db = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(s_db->isOpen()) << "missing " << shippedDatabase().toStdString(); }

    static Db *s_db;
};
Db *ShippedDatabase::s_db = nullptr;

const Db &db(Db *d) { return *d; }

}  // namespace

TEST_F(ShippedDatabase, CountsAreInTheExpectedRanges)
{
    const Db &d = db(s_db);
    EXPECT_GE(d.number("SELECT count(*) FROM Taxa"), 400);
    const std::int64_t taxa = d.number("SELECT count(*) FROM Specie");
    EXPECT_GE(taxa, 9000);
    EXPECT_LE(taxa, 12000);
    const std::int64_t species = d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) = 15");
    EXPECT_GE(species, 6500);
    const std::int64_t records = d.number("SELECT count(*) FROM Stazioni");
    EXPECT_GE(records, 170000);
    EXPECT_LE(records, 250000);
    const std::int64_t sources = d.number("SELECT count(*) FROM Bibliografia");
    EXPECT_GE(sources, 1600);
    EXPECT_LE(sources, 2400);
    // The square table is the map generator's, row for row.
    QFile csv(ortolan::test::sourceDir() + QStringLiteral("/assets/squares/squares.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const std::int64_t lines = csv.readAll().count('\n') - 1;
    EXPECT_EQ(d.number("SELECT count(*) FROM QuadUTM"), lines);
    EXPECT_EQ(d.column("SELECT Value FROM OrtolanInfo WHERE Name = 'password'"),
              std::vector<std::string>{"HXWLB58"});
    EXPECT_EQ(d.column("SELECT Value FROM OrtolanInfo WHERE Name = 'dataset'"),
              std::vector<std::string>{"demo: generated names and records"});
}

TEST_F(ShippedDatabase, GroupCodesAreHierarchicalByPrefix)
{
    const Db &d = db(s_db);
    EXPECT_EQ(d.number("SELECT count(*) FROM Taxa WHERE length(codice_gr) NOT IN (3, 7, 11, 15)"), 0);
    // Every group lies below an existing top group; classes and orders below
    // their own parents.
    EXPECT_EQ(d.number("SELECT count(*) FROM Taxa t WHERE length(codice_gr) > 3 AND NOT EXISTS "
                       "(SELECT 1 FROM Taxa p WHERE p.codice_gr = substr(t.codice_gr, 1, 3))"),
              0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Taxa t WHERE length(codice_gr) IN (7, 11) AND NOT EXISTS "
                       "(SELECT 1 FROM Taxa p WHERE p.codice_gr = substr(t.codice_gr, 1, length(t.codice_gr) - 4))"),
              0);
    // Families hanging directly below a class and directly below a top group.
    EXPECT_GE(d.number("SELECT count(*) FROM Taxa t WHERE length(codice_gr) = 15 "
                       "AND NOT EXISTS (SELECT 1 FROM Taxa p WHERE p.codice_gr = substr(t.codice_gr, 1, 11)) "
                       "AND EXISTS (SELECT 1 FROM Taxa p WHERE p.codice_gr = substr(t.codice_gr, 1, 7))"),
              1);
    EXPECT_GE(d.number("SELECT count(*) FROM Taxa t WHERE length(codice_gr) = 15 "
                       "AND NOT EXISTS (SELECT 1 FROM Taxa p WHERE p.codice_gr = substr(t.codice_gr, 1, 7))"),
              1);
    EXPECT_EQ(d.column("SELECT nome_gr FROM Taxa WHERE codice_gr = '037'"), std::vector<std::string>{"Vertebrata"});
}

TEST_F(ShippedDatabase, TaxonCodesFollowGenusSpeciesSubspeciesRules)
{
    const Db &d = db(s_db);
    // Genera "FFF.GGGGG.", species "FFF.GGGGG.SSSSS", subspecies two digits more.
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE NOT ("
                       "(length(codice_sp) = 10 AND codice_sp GLOB '[0-9][0-9][0-9].[0-9][0-9][0-9][0-9][0-9].') OR "
                       "(length(codice_sp) = 15 AND codice_sp GLOB '[0-9][0-9][0-9].[0-9][0-9][0-9][0-9][0-9].[0-9][0-9][0-9][0-9][0-9]') OR "
                       "(length(codice_sp) = 17 AND codice_sp GLOB '[0-9][0-9][0-9].[0-9][0-9][0-9][0-9][0-9].[0-9][0-9][0-9][0-9][0-9][0-9][0-9]'))"),
              0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie s WHERE length(codice_sp) = 15 AND NOT EXISTS "
                       "(SELECT 1 FROM Specie g WHERE g.codice_sp = substr(s.codice_sp, 1, 10) AND g.codice_gr = s.codice_gr)"),
              0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie s WHERE length(codice_sp) = 17 AND NOT EXISTS "
                       "(SELECT 1 FROM Specie p WHERE p.codice_sp = substr(s.codice_sp, 1, 15) AND p.codice_gr = s.codice_gr)"),
              0);
    // Every taxon belongs to a family, and every family has taxa.
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie s WHERE NOT EXISTS "
                       "(SELECT 1 FROM Taxa t WHERE t.codice_gr = s.codice_gr AND length(t.codice_gr) = 15)"),
              0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Taxa t WHERE length(codice_gr) = 15 AND NOT EXISTS "
                       "(SELECT 1 FROM Specie s WHERE s.codice_gr = t.codice_gr AND length(s.codice_sp) >= 15)"),
              0);
    // Vertebrates: group codes under "037", taxon codes in volume 110, and no
    // genus in the band that the icons leave to birds.
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE (codice_gr LIKE '037%') <> (codice_sp LIKE '110.%')"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE codice_sp LIKE '110.%' "
                       "AND CAST(substr(codice_sp, 5, 3) AS INTEGER) BETWEEN 400 AND 616"),
              0);
    // Names: capitalised genus, lowercase epithets, two words for species, three for subspecies.
    const std::string words = "length(nome_sp) - length(replace(nome_sp, ' ', '')) + 1";
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE nome_sp NOT GLOB '[A-Z][a-z]*' OR substr(nome_sp, 2) GLOB '*[^a-z ]*'"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE " + words + " <> length(codice_sp) / 5 - 1 AND length(codice_sp) <> 17"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) = 17 AND " + words + " <> 3"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM (SELECT nome_sp FROM Specie GROUP BY nome_sp HAVING count(*) > 1)"), 0);
    EXPECT_GE(d.number("SELECT count(*) FROM Specie WHERE autore GLOB '(* [0-9][0-9][0-9][0-9])'"), 100);
}

// The pictogram rules of the checklist tree, applied in order, the last
// matching one winning. Every rule must select some taxa of the demo data.
TEST_F(ShippedDatabase, EveryIconRuleHasTaxa)
{
    struct Rule {
        const char *icon;
        std::function<bool(int n3, const std::string &first3, int n5)> matches;
    };
    const std::vector<Rule> rules = {
        {"Oligo (below 13)", [](int n3, auto &, int) { return n3 < 13; }},
        {"Gast", [](int n3, auto &, int) { return n3 >= 13 && n3 <= 18; }},
        {"Oligo (020)", [](int, auto &f, int) { return f == "020"; }},
        {"Arac", [](int, auto &f, int) { return f == "022" || f == "023" || f == "024"; }},
        {"Crust", [](int n3, auto &, int) { return n3 >= 26 && n3 <= 31; }},
        {"Chilo", [](int, auto &f, int) { return f == "032"; }},
        {"Eph (034)", [](int, auto &f, int) { return f == "034"; }},
        {"Eph (037)", [](int, auto &f, int) { return f == "037"; }},
        {"Odo", [](int, auto &f, int) { return f == "035"; }},
        {"Grass", [](int, auto &f, int n5) { return f == "036" && (n5 < 159 || n5 > 169); }},
        {"Ear", [](int, auto &f, int n5) { return f == "036" && n5 >= 159 && n5 <= 169; }},
        {"Hem", [](int, auto &f, int) { return f == "041" || f == "042"; }},
        {"Col", [](int n3, auto &, int) { return n3 >= 44 && n3 <= 61; }},
        {"Dipt", [](int n3, auto &, int) { return n3 >= 63 && n3 <= 74; }},
        {"Tric", [](int, auto &f, int) { return f == "079"; }},
        {"Lep", [](int n3, auto &, int) { return n3 >= 80 && n3 <= 91; }},
        {"Hym", [](int n3, auto &, int) { return n3 >= 99 && n3 <= 106; }},
        {"Fish", [](int, auto &f, int n5) { return f == "110" && n5 < 355; }},
        {"Frog", [](int, auto &f, int n5) { return f == "110" && n5 >= 355 && n5 < 368; }},
        {"Turtle", [](int, auto &f, int n5) { return f == "110" && n5 >= 368 && n5 < 377; }},
        {"Snake", [](int, auto &f, int n5) { return f == "110" && n5 >= 377 && n5 < 400; }},
        {"Bat", [](int, auto &f, int n5) { return f == "110" && n5 >= 623 && n5 < 634; }},
        {"Mamm (617-622)", [](int, auto &f, int n5) { return f == "110" && n5 >= 617 && n5 <= 622; }},
        {"Mamm (634 on)", [](int, auto &f, int n5) { return f == "110" && n5 >= 634; }},
        {"Ins (no other rule)", [](int n3, auto &f, int) {
             return (n3 == 19 || n3 == 21 || n3 == 25 || n3 == 33 || (n3 >= 38 && n3 <= 40) || n3 == 43 || n3 == 62
                     || (n3 >= 75 && n3 <= 78) || (n3 >= 92 && n3 <= 98) || (n3 >= 107 && n3 <= 109))
                 && f != "020";
         }},
    };
    std::map<std::string, int> hits;
    for (const std::string &code : db(s_db).column("SELECT codice_sp FROM Specie WHERE length(codice_sp) >= 15")) {
        const std::string first3 = code.substr(0, 3);
        const int n3 = std::stoi(first3), n5 = std::stoi(code.substr(4, 3));
        for (const Rule &rule : rules)
            if (rule.matches(n3, first3, n5))
                ++hits[rule.icon];
    }
    for (const Rule &rule : rules)
        EXPECT_GT(hits[rule.icon], 0) << rule.icon;
    // The grey Red List pictograms.
    for (const char *code : {"VU", "EN", "EX"})
        EXPECT_GT(db(s_db).number(std::string("SELECT count(*) FROM Specie WHERE length(codice_sp) >= 15 AND conservazione = '") + code + "'"), 0)
            << code;
}

TEST_F(ShippedDatabase, EveryTreeFilterHasGroupsAndTaxa)
{
    const Db &d = db(s_db);
    struct Filter {
        const char *name, *groups, *taxa;
    };
    const std::vector<Filter> filters = {
        {"Tutto", "1", "1"},
        {"Invertebrati", "codice_gr NOT LIKE '037%'", "codice_gr NOT LIKE '037%'"},
        {"Vertebrati", "codice_gr LIKE '037%'", "codice_gr LIKE '037%'"},
        {"DirHabitat", "dir_habitat = -1", "dir_habitat = -1"},
        {"RedList", "red_list = -1",
         "(conservazione = 'C' OR conservazione LIKE 'V%' OR conservazione LIKE 'E%' OR conservazione LIKE 'X%')"},
        {"Aliene", "introdotta = -1", "introdotta = -1"},
    };
    for (const Filter &f : filters) {
        SCOPED_TRACE(f.name);
        EXPECT_GT(d.number(std::string("SELECT count(*) FROM Taxa WHERE length(codice_gr) = 3 AND ") + f.groups), 0);
        // Families listed under the filter have taxa under it too.
        EXPECT_EQ(d.number(std::string("SELECT count(*) FROM Taxa t WHERE length(codice_gr) = 15 AND ") + f.groups
                           + " AND NOT EXISTS (SELECT 1 FROM Specie s WHERE s.codice_gr = t.codice_gr AND length(s.codice_sp) >= 15 AND "
                           + f.taxa + ")"),
                  0);
        // A family listing under the filter never shows a species without its
        // genus row, which the tree needs as the species' parent.
        EXPECT_EQ(d.number(std::string("SELECT count(*) FROM Specie s WHERE length(codice_sp) >= 15 AND ") + f.taxa
                           + " AND NOT EXISTS (SELECT 1 FROM Specie g WHERE g.codice_sp = substr(s.codice_sp, 1, 10) AND " + f.taxa + ")"),
                  0);
    }
}

TEST_F(ShippedDatabase, GroupFlagsFollowTheTaxaBelowThem)
{
    const Db &d = db(s_db);
    struct Flag {
        const char *group, *taxon;
    };
    for (const Flag &f : {Flag{"dir_habitat", "dir_habitat = -1"}, Flag{"introdotta", "introdotta = -1"},
                          Flag{"red_list", "(conservazione = 'C' OR conservazione LIKE 'V%' OR conservazione LIKE 'E%' "
                                           "OR conservazione LIKE 'X%')"}}) {
        SCOPED_TRACE(f.group);
        // (Group codes hold digits and dots, so the codes below a group sort
        // between the group's code and that code followed by "~".)
        EXPECT_EQ(d.number(std::string("SELECT count(*) FROM Taxa t WHERE (") + f.group + " = -1) <> EXISTS ("
                           "SELECT 1 FROM Specie s WHERE s.codice_gr BETWEEN t.codice_gr AND t.codice_gr || '~' AND length(s.codice_sp) >= 15 AND "
                           + f.taxon + ")"),
                  0);
        EXPECT_EQ(d.number(std::string("SELECT count(*) FROM Taxa WHERE ") + f.group + " NOT IN (-1, 0)"), 0);
    }
    // About two per cent aliens and Habitat Directive species.
    const double species = double(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) = 15"));
    const double aliens = double(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) = 15 AND introdotta = -1"));
    const double directive = double(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) = 15 AND dir_habitat = -1"));
    EXPECT_GT(aliens / species, 0.01);
    EXPECT_LT(aliens / species, 0.04);
    EXPECT_GT(directive / species, 0.01);
    EXPECT_LT(directive / species, 0.04);
    // Annexes only on Habitat Directive species, and each of those in one at least.
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) >= 15 AND (dir_habitat = -1) <> "
                       "([Allegato II] = -1 OR [Allegato IV] = -1 OR [Allegato V] = -1)"),
              0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE Prioritaria = -1 AND [Allegato II] <> -1"), 0);
}

TEST_F(ShippedDatabase, LookupCodesAndDataOwnersResolve)
{
    const Db &d = db(s_db);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE COROLOGIA IS NOT NULL AND COROLOGIA NOT IN (SELECT Corologia FROM Corotipi)"), 0);
    EXPECT_GT(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) = 15 AND COROLOGIA IS NULL"), 0);
    for (const char *field : {"[Habitat larva_1]", "[Habitat larva_2]", "[Habitat adulto_3]", "[Habitat adulto_4]"})
        EXPECT_EQ(d.number(std::string("SELECT count(*) FROM Specie WHERE ") + field + " IS NOT NULL AND " + field
                           + " NOT IN (SELECT Codice FROM Habitat)"),
                  0)
            << field;
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE conservazione IS NOT NULL AND conservazione NOT IN (SELECT Codice FROM Conservazione)"), 0);
    // The explanations list of conservation categories is ordered by severity, not by code.
    EXPECT_NE(d.column("SELECT Codice FROM Conservazione ORDER BY Ordinamento"),
              d.column("SELECT Codice FROM Conservazione ORDER BY Codice"));
    for (const char *table : {"Corotipi", "Habitat", "Conservazione"})
        EXPECT_GE(d.number(std::string("SELECT count(*) FROM ") + table), 10) << table;
    EXPECT_EQ(d.number("SELECT count(*) FROM Corotipi WHERE [Corotipi inglese] IS NULL OR Corotipi IS NULL"), 0);

    // Data owners: codes of two to four characters, with the deliberate
    // exceptions: some species without an owner, one with a one-character
    // code, one whose owner is missing from the list of owners.
    EXPECT_EQ(d.number("SELECT count(*) FROM Referenti WHERE length(Referente) > 4"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Referenti WHERE length(Referente) < 2"), 1);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) >= 15 AND length(REFERENTE) = 1"), 1);
    EXPECT_GE(d.number("SELECT count(*) FROM Specie WHERE length(codice_sp) >= 15 AND REFERENTE IS NULL"), 1);
    EXPECT_EQ(d.number("SELECT count(*) FROM Specie WHERE REFERENTE IS NOT NULL AND REFERENTE NOT IN (SELECT Referente FROM Referenti)"), 1);
}

TEST_F(ShippedDatabase, RecordsReferToTaxaSourcesAndSquares)
{
    const Db &d = db(s_db);
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni WHERE CODICE_SP NOT IN (SELECT codice_sp FROM Specie)"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni WHERE CODICE_SP LIKE '%.'"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni t JOIN Specie s ON s.codice_sp = t.CODICE_SP WHERE t.NOME_SP <> s.nome_sp"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni WHERE FONTE NOT IN (SELECT CODICE_AU FROM Bibliografia)"), 0);
    // A record cites a source of its taxon's own data owner.
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni t JOIN Specie s ON s.codice_sp = t.CODICE_SP "
                       "JOIN Bibliografia b ON b.CODICE_AU = t.FONTE WHERE s.REFERENTE IS NOT NULL AND b.REFERENTE <> s.REFERENTE"),
              0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni WHERE ANNO NOT BETWEEN 1850 AND 2005"), 0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni WHERE REGIONE IS NULL OR PROVINCIA IS NULL OR LOC IS NULL"), 0);
    // Records without a square and with a square missing from the square table.
    const std::int64_t noSquare = d.number("SELECT count(*) FROM Stazioni WHERE UTM IS NULL");
    const std::int64_t unknown = d.number("SELECT count(*) FROM Stazioni WHERE UTM IS NOT NULL AND UTM NOT IN (SELECT UTM FROM QuadUTM)");
    EXPECT_GT(noSquare, 0);
    EXPECT_LT(noSquare, 2000);
    EXPECT_GT(unknown, 0);
    EXPECT_LT(unknown, 1000);
    // Every kind of source, about a thousand-odd sources actually cited.
    EXPECT_EQ(d.column("SELECT DISTINCT TIPO_FONTE FROM Bibliografia ORDER BY 1"),
              (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_GT(d.number("SELECT count(DISTINCT FONTE) FROM Stazioni"), 1000);
}

TEST_F(ShippedDatabase, RangeSizesLookLikeAnAtlas)
{
    const Db &d = db(s_db);
    std::vector<std::int64_t> sizes;
    for (const std::string &n : d.column("SELECT count(DISTINCT UTM) FROM Stazioni GROUP BY CODICE_SP"))
        sizes.push_back(std::stoll(n));
    std::sort(sizes.begin(), sizes.end());
    ASSERT_FALSE(sizes.empty());
    EXPECT_GE(sizes.back(), 700);
    EXPECT_LE(sizes.back(), 1600);
    const std::int64_t median = sizes[sizes.size() / 2];
    EXPECT_GE(median, 4);
    EXPECT_LE(median, 60);
    EXPECT_GE(std::count_if(sizes.begin(), sizes.end(), [](std::int64_t n) { return n >= 700; }), 5);
    // Some taxa have no record at all.
    EXPECT_GT(d.number("SELECT count(*) FROM Specie s WHERE length(codice_sp) >= 15 AND NOT EXISTS "
                       "(SELECT 1 FROM Stazioni t WHERE t.CODICE_SP = s.codice_sp)"),
              20);
}

// Taxa of restricted chorotypes stay inside their area: the check covers every
// record of every such species and subspecies.
TEST_F(ShippedDatabase, RestrictedChorotypesStayInTheirArea)
{
    const Db &d = db(s_db);
    const std::string records = "SELECT DISTINCT t.REGIONE FROM Stazioni t JOIN Specie s ON s.codice_sp = t.CODICE_SP "
                                "WHERE s.COROLOGIA ";
    EXPECT_EQ(d.column(records + "IN ('SAR', 'SARCOR')"), std::vector<std::string>{"Sardegna"});
    EXPECT_EQ(d.column(records + "= 'SIC'"), std::vector<std::string>{"Sicilia"});
    const std::set<std::string> alpine = {"Piemonte", "Valle d'Aosta", "Lombardia", "Trentino-Alto Adige", "Veneto",
                                          "Friuli-Venezia Giulia"};
    const std::vector<std::string> alpRegions = d.column(records + "IN ('ALP', 'BAL')");
    EXPECT_FALSE(alpRegions.empty());
    for (const std::string &region : alpRegions)
        EXPECT_TRUE(alpine.count(region)) << "Alpine taxon recorded in " << region;
    // In the Alpine band: north of the plain (zone-32 northing above about 45.5
    // degrees), or in the Cottian and Maritime Alps of the south-west.
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni t JOIN Specie s ON s.codice_sp = t.CODICE_SP "
                       "JOIN QuadUTM q ON q.UTM = t.UTM WHERE s.COROLOGIA = 'ALP' AND q.N_UTM32 < 5040000 AND q.E_UTM32 > 450000"),
              0);
    EXPECT_EQ(d.number("SELECT count(*) FROM Stazioni t JOIN Specie s ON s.codice_sp = t.CODICE_SP "
                       "WHERE s.COROLOGIA = 'ALP' AND t.QUOTA < 800"),
              0);
    const std::vector<std::string> appRegions = d.column(records + "= 'APP'");
    EXPECT_FALSE(appRegions.empty());
    for (const std::string &region : appRegions)
        EXPECT_FALSE(region == "Sardegna" || region == "Sicilia" || region == "Lombardia" || region == "Veneto"
                     || region == "Valle d'Aosta" || region == "Trentino-Alto Adige" || region == "Friuli-Venezia Giulia"
                     || region == "Puglia")
            << "Apennine taxon recorded in " << region;
    // Subspecies of a Sardinian species stay in Sardinia as well.
    EXPECT_EQ(d.column("SELECT DISTINCT t.REGIONE FROM Stazioni t JOIN Specie s ON s.codice_sp = substr(t.CODICE_SP, 1, 15) "
                       "WHERE s.COROLOGIA = 'SAR'"),
              std::vector<std::string>{"Sardegna"});
}

TEST_F(ShippedDatabase, AliensClusterAroundPortsAndCities)
{
    // More than half of the squares of alien taxa lie within about 60 km of
    // one of the big ports and cities (zone-32 coordinates of their centres).
    const Db &d = db(s_db);
    const std::vector<std::pair<std::string, std::string>> squares = d.pairs(
        "SELECT q.E_UTM32, q.N_UTM32 FROM Stazioni t JOIN Specie s ON s.codice_sp = t.CODICE_SP "
        "JOIN QuadUTM q ON q.UTM = t.UTM WHERE s.COROLOGIA = 'ADV' GROUP BY t.CODICE_SP, t.UTM");
    ASSERT_GT(squares.size(), 50u);
    // Centres of the provinces of those cities, from the squares recorded in them.
    std::vector<std::pair<double, double>> centres;
    for (const auto &[e, n] : d.pairs(
             "SELECT avg(E), avg(N) FROM (SELECT DISTINCT t.PROVINCIA P, q.E_UTM32 E, q.N_UTM32 N FROM Stazioni t "
             "JOIN QuadUTM q ON q.UTM = t.UTM WHERE t.PROVINCIA IN ('Genova', 'Napoli', 'Venezia', 'Livorno', 'Roma', "
             "'Milano', 'Palermo', 'Trieste', 'Torino', 'Bologna', 'Firenze', 'Bari', 'Catania', 'Cagliari', "
             "'La Spezia', 'Ancona', 'Salerno', 'Taranto', 'Ravenna', 'Verona', 'Padova', 'Sassari', 'Messina')) "
             "GROUP BY P"))
        centres.emplace_back(std::stod(e), std::stod(n));
    ASSERT_EQ(centres.size(), 23u);
    int near = 0;
    for (const auto &[e, n] : squares) {
        const double x = std::stod(e), y = std::stod(n);
        for (const auto &[cx, cy] : centres)
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < 60000.0 * 60000.0) {
                ++near;
                break;
            }
    }
    EXPECT_GT(double(near) / double(squares.size()), 0.5);
}

TEST(DemoDatabaseGenerator, SameArgumentsGiveIdenticalBytes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString csv = QStringLiteral(ORTOLAN_SQUARES_CSV);
    const QString a = dir.filePath(QStringLiteral("a/OrtolanDati.mde")), b = dir.filePath(QStringLiteral("b.mde")),
                  c = dir.filePath(QStringLiteral("c.mde"));
    const QStringList common = {QStringLiteral("--squares"), csv, QStringLiteral("--scale"), QStringLiteral("0.03")};
    ASSERT_EQ(runGenerator(QStringList{QStringLiteral("--out"), a} + common), 0);
    ASSERT_EQ(runGenerator(QStringList{QStringLiteral("--out"), b} + common), 0);
    const QByteArray first = fileBytes(a);
    ASSERT_GT(first.size(), 100000);
    EXPECT_TRUE(first == fileBytes(b));
    // No temporary file is left beside the database.
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("a"))).entryList(QDir::Files), QStringList{QStringLiteral("OrtolanDati.mde")});
    // Another seed gives another data set.
    ASSERT_EQ(runGenerator(QStringList{QStringLiteral("--out"), c, QStringLiteral("--seed"), QStringLiteral("7")} + common), 0);
    EXPECT_FALSE(first == fileBytes(c));
}

TEST(DemoDatabaseGenerator, ScaleChangesTheRecordsButNotTheRanges)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString small = dir.filePath(QStringLiteral("small.mde"));
    ASSERT_EQ(runGenerator({QStringLiteral("--out"), small, QStringLiteral("--squares"), QStringLiteral(ORTOLAN_SQUARES_CSV),
                            QStringLiteral("--scale"), QStringLiteral("0.05")}),
              0);
    Db scaled(small);
    Db full(shippedDatabase());
    ASSERT_TRUE(scaled.isOpen());
    ASSERT_TRUE(full.isOpen());
    const double ratio = double(scaled.number("SELECT count(*) FROM Stazioni")) / double(full.number("SELECT count(*) FROM Stazioni"));
    EXPECT_GT(ratio, 0.035);
    EXPECT_LT(ratio, 0.065);
    // The checklist, the sources and the squares are those of the full data
    // set, and every square of a taxon at the small scale is one of its squares
    // at full scale.
    EXPECT_EQ(scaled.column("SELECT codice_sp || nome_sp || autore FROM Specie ORDER BY codice_sp"),
              full.column("SELECT codice_sp || nome_sp || autore FROM Specie ORDER BY codice_sp"));
    EXPECT_EQ(scaled.number("SELECT count(*) FROM Bibliografia"), full.number("SELECT count(*) FROM Bibliografia"));
    const std::vector<std::string> smallPairs = scaled.column(
        "SELECT DISTINCT CODICE_SP || ' ' || UTM FROM Stazioni WHERE UTM IN (SELECT UTM FROM QuadUTM) ORDER BY 1");
    const std::vector<std::string> fullPairs = full.column(
        "SELECT DISTINCT CODICE_SP || ' ' || UTM FROM Stazioni WHERE UTM IN (SELECT UTM FROM QuadUTM) ORDER BY 1");
    ASSERT_FALSE(smallPairs.empty());
    // (A pair may be missing at full scale when all its records there lost their
    // square to a transcription slip; that happens to a handful at most.)
    std::vector<std::string> outside;
    std::set_difference(smallPairs.begin(), smallPairs.end(), fullPairs.begin(), fullPairs.end(), std::back_inserter(outside));
    EXPECT_LE(outside.size(), smallPairs.size() / 100);
}

TEST(DemoDatabaseGenerator, BadInputFailsWithoutLeavingAFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("x.mde"));
    struct Case {
        const char *name;
        QStringList arguments;
        int status;
    };
    const QString missingCsv = dir.filePath(QStringLiteral("none.csv"));
    const QString badCsv = dir.filePath(QStringLiteral("bad.csv"));
    {
        QFile f(badCsv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("UTM,zone,E_UTM32,N_UTM32,lon,lat,region,province,land_share\nLP49,32,abc,4895000,7.0,44.1,Piemonte,Cuneo,0.1\n");
    }
    const std::vector<Case> cases = {
        {"no output path", {QStringLiteral("--scale"), QStringLiteral("1")}, 2},
        {"option without value", {QStringLiteral("--out")}, 2},
        {"unknown option", {QStringLiteral("--out"), out, QStringLiteral("--fast"), QStringLiteral("1")}, 2},
        {"scale not a number", {QStringLiteral("--out"), out, QStringLiteral("--scale"), QStringLiteral("lots")}, 2},
        {"scale zero", {QStringLiteral("--out"), out, QStringLiteral("--scale"), QStringLiteral("0")}, 2},
        {"missing square table", {QStringLiteral("--out"), out, QStringLiteral("--squares"), missingCsv}, 1},
        {"malformed square table", {QStringLiteral("--out"), out, QStringLiteral("--squares"), badCsv}, 1},
    };
    for (const Case &c : cases) {
        QString errors;
        EXPECT_EQ(runGenerator(c.arguments, &errors), c.status) << c.name;
        EXPECT_FALSE(errors.isEmpty()) << c.name;
        EXPECT_FALSE(QFile::exists(out)) << c.name;
        EXPECT_FALSE(QFile::exists(out + QStringLiteral(".partial"))) << c.name;
    }
}
