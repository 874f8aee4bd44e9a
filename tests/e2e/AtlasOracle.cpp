#include "e2e/AtlasOracle.h"

#include <sqlite3.h>

namespace ortolan::test::e2e {

namespace {

// Rows of a query as texts; the parameters are bound as texts (numbers are
// CAST in the SQL).
QList<QStringList> query(sqlite3 *db, const QString &sql, const QStringList &parameters)
{
    QList<QStringList> rows;
    sqlite3_stmt *statement = nullptr;
    if (!db || sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        return rows;
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        const QByteArray text = parameters[i].toUtf8();
        sqlite3_bind_text(statement, int(i + 1), text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(statement); ++c)
            row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, c)));
        rows << row;
    }
    sqlite3_finalize(statement);
    return rows;
}

// The taxon and its subordinate taxa: codes that begin with its code.
const char *const kPrefix = "substr(CODICE_SP, 1, length(?1)) = ?1";

}  // namespace

AtlasOracle::AtlasOracle(const QString &databasePath)
{
    if (sqlite3_open_v2(databasePath.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

AtlasOracle::~AtlasOracle() { sqlite3_close(db_); }

QVariant AtlasOracle::scalar(const QString &sql, const QStringList &parameters) const
{
    const QList<QStringList> rows = query(db_, sql, parameters);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : QVariant(rows.first().first());
}

std::optional<AtlasOracle::Species> AtlasOracle::pickSpecies(int minSquares, int maxSquares) const
{
    const QList<QStringList> candidates = query(db_, QStringLiteral(
        "SELECT s.codice_sp, s.nome_sp, s.autore, s.REFERENTE, s.codice_gr "
        "FROM Specie s JOIN Stazioni st ON st.CODICE_SP = s.codice_sp "
        "WHERE substr(s.codice_sp, -1) <> '.' AND length(s.codice_gr) = 15 AND length(s.REFERENTE) >= 2 "
        "AND s.autore IS NOT NULL "
        "AND EXISTS (SELECT 1 FROM Taxa t WHERE t.codice_gr = substr(s.codice_gr, 1, 11)) "
        "AND EXISTS (SELECT 1 FROM Taxa t WHERE t.codice_gr = substr(s.codice_gr, 1, 7)) "
        "AND EXISTS (SELECT 1 FROM Taxa t WHERE t.codice_gr = substr(s.codice_gr, 1, 3)) "
        "AND (SELECT count(*) FROM Specie o WHERE o.nome_sp = s.nome_sp) = 1 "
        "GROUP BY s.codice_sp HAVING count(DISTINCT st.UTM) BETWEEN CAST(?1 AS INTEGER) AND CAST(?2 AS INTEGER) "
        "ORDER BY s.codice_sp LIMIT 50"),
        {QString::number(minSquares), QString::number(maxSquares)});
    for (const QStringList &c : candidates) {
        Species s{c[0], c[1], c[2], c[3], c[4], c[4].left(11), QString(), QString()};
        if (sources(s.code, s.owner) == 0)
            continue;
        // The genus is the last genus row before the species in its family.
        const QList<QStringList> genus = query(db_, QStringLiteral(
            "SELECT codice_sp, nome_sp FROM Specie WHERE codice_gr = ?1 AND substr(codice_sp, -1) = '.' "
            "AND codice_sp < ?2 ORDER BY codice_sp DESC LIMIT 1"), {s.familyCode, s.code});
        if (genus.isEmpty())
            continue;
        s.genusCode = genus.first()[0];
        s.genusName = genus.first()[1];
        return s;
    }
    return std::nullopt;
}

int AtlasOracle::groupCount(int length, const QString &where) const
{
    QString sql = QStringLiteral("SELECT count(*) FROM Taxa WHERE length(codice_gr) = CAST(?1 AS INTEGER)");
    if (!where.isEmpty())
        sql += QStringLiteral(" AND (") + where + QStringLiteral(")");
    return scalar(sql, {QString::number(length)}).toInt();
}

QString AtlasOracle::groupName(const QString &code) const
{
    return scalar(QStringLiteral("SELECT nome_gr FROM Taxa WHERE codice_gr = ?1"), {code}).toString();
}

int AtlasOracle::familyRows(const QString &familyCode) const
{
    return scalar(QStringLiteral("SELECT count(*) FROM Specie WHERE codice_gr = ?1"), {familyCode}).toInt();
}

int AtlasOracle::mapSquares(const QString &code) const
{
    return scalar(QStringLiteral("SELECT count(*) FROM (SELECT DISTINCT CODICE_SP, UTM FROM Stazioni WHERE ")
                      + QString::fromLatin1(kPrefix) + QStringLiteral(" AND UTM IS NOT NULL)"),
                  {code})
        .toInt();
}

int AtlasOracle::sites(const QString &code) const
{
    return scalar(QStringLiteral("SELECT count(*) FROM Stazioni WHERE ") + QString::fromLatin1(kPrefix), {code})
        .toInt();
}

int AtlasOracle::sitesInSquare(const QString &code, const QString &square) const
{
    return scalar(QStringLiteral("SELECT count(*) FROM Stazioni WHERE ") + QString::fromLatin1(kPrefix)
                      + QStringLiteral(" AND UTM = ?2"),
                  {code, square})
        .toInt();
}

int AtlasOracle::sources(const QString &code, const QString &owner) const
{
    return scalar(QStringLiteral(
                      "SELECT count(*) FROM (SELECT DISTINCT b.CODICE_AU, b.AUTORE, b.ANNO, b.TITOLO, b.PERIODICO, "
                      "b.VOL_PAGINE, b.TIPO_FONTE FROM Bibliografia b JOIN Stazioni st ON st.FONTE = b.CODICE_AU "
                      "WHERE st.CODICE_SP = ?1 AND b.REFERENTE = ?2)"),
                  {code, owner})
        .toInt();
}

int AtlasOracle::occupiedSquares(const QString &code) const
{
    return scalar(QStringLiteral("SELECT count(*) FROM (SELECT q.UTM FROM QuadUTM q JOIN Stazioni st "
                                 "ON q.UTM = st.UTM WHERE ")
                      + QString::fromLatin1(kPrefix).replace(QStringLiteral("CODICE_SP"), QStringLiteral("st.CODICE_SP"))
                      + QStringLiteral(" GROUP BY q.UTM, q.E_UTM32, q.N_UTM32)"),
                  {code})
        .toInt();
}

int AtlasOracle::allSquares() const { return scalar(QStringLiteral("SELECT count(*) FROM QuadUTM")).toInt(); }

}  // namespace ortolan::test::e2e
