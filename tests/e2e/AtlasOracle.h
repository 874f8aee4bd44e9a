#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

struct sqlite3;

namespace ortolan::test::e2e {

// The expected contents of the atlas, read from the species database with
// plain SQL of its own, never through the program's query layer: what each
// window and each exported file must show for a taxon.
class AtlasOracle {
public:
    explicit AtlasOracle(const QString &databasePath);
    ~AtlasOracle();
    AtlasOracle(const AtlasOracle &) = delete;
    AtlasOracle &operator=(const AtlasOracle &) = delete;

    bool isOpen() const { return db_ != nullptr; }

    // A species of the checklist with its place in the tree.
    struct Species {
        QString code;        // codice_sp
        QString name;        // nome_sp
        QString author;      // autore
        QString owner;       // REFERENTE
        QString familyCode;  // 15 characters
        QString orderCode;   // 11 characters
        QString genusCode;   // the genus row that precedes it in its family
        QString genusName;
        QString nodeText() const { return name + QLatin1Char(' ') + author; }
    };
    // The first species, in code order, that a user can take through every
    // window: below an order of the tree, with a name no other taxon has,
    // between minSquares and maxSquares occupied squares, and data sources.
    std::optional<Species> pickSpecies(int minSquares, int maxSquares) const;

    // Number of group rows of `length` characters whose code passes `where`
    // (an SQL condition on codice_gr, or empty).
    int groupCount(int length, const QString &where = QString()) const;
    QString groupName(const QString &code) const;
    // Rows of a family in the tree: its genera and species.
    int familyRows(const QString &familyCode) const;
    // Distinct (taxon, square) pairs of a taxon and its subordinate taxa: the dots.
    int mapSquares(const QString &code) const;
    // Records of the taxon and its subordinate taxa, and those in one square.
    int sites(const QString &code) const;
    int sitesInSquare(const QString &code, const QString &square) const;
    // Bibliographic sources of the taxon's records under its data owner.
    int sources(const QString &code, const QString &owner) const;
    // Occupied squares listed in QuadUTM (rows of the dBase, Excel and text exports).
    int occupiedSquares(const QString &code) const;
    int allSquares() const;

    // First column of the first row of a query with positional text parameters.
    QVariant scalar(const QString &sql, const QStringList &parameters = {}) const;

private:
    sqlite3 *db_ = nullptr;
};

}  // namespace ortolan::test::e2e
