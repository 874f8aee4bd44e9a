#include "bench/BenchTaxa.h"

#include "app/Settings.h"
#include "data/Connection.h"

#include <map>

namespace ortolan::bench {

namespace {

QString first(data::Connection &db, const char *sql)
{
    data::Recordset rows = db.openRecordset(QString::fromUtf8(sql));
    return rows.recordCount() ? rows.text(0) : QString();
}

}  // namespace

const BenchTaxa &BenchTaxa::of(const QString &databasePath)
{
    static std::map<QString, BenchTaxa> known;
    if (const auto it = known.find(databasePath); it != known.end())
        return it->second;
    const auto db = data::Connection::open(databasePath, QStringLiteral(";pwd=") + settings().DatabasePassword);
    // Only taxa the tree shows: their family hangs below an order (families
    // attached higher up are never loaded by the tree).
    db->createQuery(QStringLiteral("InTree"),
                    QStringLiteral("SELECT s.codice_sp FROM Specie s JOIN Taxa o ON o.codice_gr = substr(s.codice_gr, 1, 11)"));
    BenchTaxa t;
    t.fewSquares = first(*db, "SELECT CODICE_SP FROM Stazioni WHERE UTM IS NOT NULL AND length(CODICE_SP) = 15 "
                              "AND CODICE_SP IN (SELECT codice_sp FROM InTree) "
                              "GROUP BY CODICE_SP HAVING count(DISTINCT UTM) BETWEEN 5 AND 10 ORDER BY CODICE_SP");
    t.thousandSquares = first(*db, "SELECT CODICE_SP FROM Stazioni WHERE UTM IS NOT NULL "
                                   "AND CODICE_SP IN (SELECT codice_sp FROM InTree) GROUP BY CODICE_SP ORDER BY abs(count(DISTINCT UTM) - 1000), CODICE_SP");
    t.bigGenus = first(*db, "SELECT substr(CODICE_SP, 1, 10) AS g FROM Stazioni WHERE UTM IS NOT NULL "
                            "AND CODICE_SP IN (SELECT codice_sp FROM InTree) GROUP BY g "
                            "ORDER BY count(DISTINCT UTM) DESC, g");
    t.widespread = first(*db, "SELECT CODICE_SP FROM Stazioni WHERE UTM IS NOT NULL "
                              "AND CODICE_SP IN (SELECT codice_sp FROM InTree) GROUP BY CODICE_SP "
                              "ORDER BY count(DISTINCT UTM) DESC, CODICE_SP");
    t.order = first(*db, "SELECT substr(codice_gr, 1, 11) AS o FROM Taxa WHERE length(codice_gr) = 15 "
                         "AND substr(codice_gr, 1, 11) IN (SELECT codice_gr FROM Taxa) GROUP BY o "
                         "ORDER BY count(*) DESC, o");
    t.family = first(*db, "SELECT codice_gr FROM Specie WHERE codice_sp NOT LIKE '*.' AND length(codice_gr) = 15 "
                          "GROUP BY codice_gr ORDER BY abs(count(*) - 40), codice_gr");
    t.searchText = QStringLiteral("ita");
    return known.emplace(databasePath, t).first->second;
}

}  // namespace ortolan::bench
