#include "data/Schema.h"

#include <sqlite3.h>

namespace ortolan::data {

QStringList schemaStatements()
{
    return {
        QStringLiteral("CREATE TABLE [OrtolanInfo] ([Name] TEXT COLLATE NOCASE PRIMARY KEY, [Value] TEXT)"),
        // Systematic groups above the genus; codes of 3, 7, 11 or 15 characters.
        QStringLiteral("CREATE TABLE [Taxa] ("
                       "[codice_gr] TEXT COLLATE NOCASE PRIMARY KEY, [nome_gr] TEXT COLLATE NOCASE,"
                       "[dir_habitat] INTEGER NOT NULL DEFAULT 0, [red_list] INTEGER NOT NULL DEFAULT 0,"
                       "[introdotta] INTEGER NOT NULL DEFAULT 0)"),
        // Genera (codes ending in "."), species and subspecies.
        QStringLiteral("CREATE TABLE [Specie] ("
                       "[codice_sp] TEXT COLLATE NOCASE PRIMARY KEY, [nome_sp] TEXT COLLATE NOCASE,"
                       "[autore] TEXT COLLATE NOCASE, [codice_gr] TEXT COLLATE NOCASE,"
                       "[introdotta] INTEGER NOT NULL DEFAULT 0, [dir_habitat] INTEGER NOT NULL DEFAULT 0,"
                       "[conservazione] TEXT COLLATE NOCASE, [REFERENTE] TEXT COLLATE NOCASE,"
                       "[COROLOGIA] TEXT COLLATE NOCASE, [Variazioni] TEXT COLLATE NOCASE,"
                       "[Anno] TEXT COLLATE NOCASE,"
                       "[Habitat larva_1] TEXT COLLATE NOCASE, [Habitat larva_2] TEXT COLLATE NOCASE,"
                       "[Habitat adulto_3] TEXT COLLATE NOCASE, [Habitat adulto_4] TEXT COLLATE NOCASE,"
                       "[Alimentazione larva] TEXT COLLATE NOCASE, [Alimentazione adulto] TEXT COLLATE NOCASE,"
                       "[Dimensione larva] TEXT COLLATE NOCASE, [Dimensione adulto] TEXT COLLATE NOCASE,"
                       "[Endemica] INTEGER NOT NULL DEFAULT 0, [Bioindicatore] INTEGER NOT NULL DEFAULT 0,"
                       "[Prioritaria] INTEGER NOT NULL DEFAULT 0, [Allegato II] INTEGER NOT NULL DEFAULT 0,"
                       "[Allegato IV] INTEGER NOT NULL DEFAULT 0, [Allegato V] INTEGER NOT NULL DEFAULT 0,"
                       "[Note] TEXT COLLATE NOCASE)"),
        // Records ("sites"), one row per record.
        QStringLiteral("CREATE TABLE [Stazioni] ("
                       "[CODICE_SP] TEXT COLLATE NOCASE, [NOME_SP] TEXT COLLATE NOCASE,"
                       "[REGIONE] TEXT COLLATE NOCASE, [PROVINCIA] TEXT COLLATE NOCASE,"
                       "[LOC] TEXT COLLATE NOCASE, [STAZIONE] TEXT COLLATE NOCASE, [QUOTA] INTEGER,"
                       "[FONTE] TEXT COLLATE NOCASE, [ANNO] INTEGER, [UTM] TEXT COLLATE NOCASE,"
                       "[PRECISIONE_UTM] TEXT COLLATE NOCASE)"),
        // UTM 10-km squares with their centres in zone-32 coordinates (metres).
        QStringLiteral("CREATE TABLE [QuadUTM] ([UTM] TEXT COLLATE NOCASE PRIMARY KEY,"
                       "[E_UTM32] REAL, [N_UTM32] REAL)"),
        QStringLiteral("CREATE TABLE [Bibliografia] ("
                       "[CODICE_AU] TEXT COLLATE NOCASE PRIMARY KEY, [AUTORE] TEXT COLLATE NOCASE,"
                       "[ANNO] TEXT COLLATE NOCASE, [TITOLO] TEXT COLLATE NOCASE,"
                       "[PERIODICO] TEXT COLLATE NOCASE, [VOL_PAGINE] TEXT COLLATE NOCASE,"
                       "[REFERENTE] TEXT COLLATE NOCASE, [TIPO_FONTE] INTEGER)"),
        QStringLiteral("CREATE TABLE [Corotipi] ([Corologia] TEXT COLLATE NOCASE PRIMARY KEY,"
                       "[Corotipi] TEXT COLLATE NOCASE, [Corotipi inglese] TEXT COLLATE NOCASE)"),
        QStringLiteral("CREATE TABLE [Habitat] ([Codice] TEXT COLLATE NOCASE PRIMARY KEY,"
                       "[Habitat] TEXT COLLATE NOCASE, [Habitat inglese] TEXT COLLATE NOCASE)"),
        QStringLiteral("CREATE TABLE [Conservazione] ([Codice] TEXT COLLATE NOCASE PRIMARY KEY,"
                       "[Stato di conservazione] TEXT COLLATE NOCASE, [Conservation Status] TEXT COLLATE NOCASE,"
                       "[Ordinamento] INTEGER)"),
        QStringLiteral("CREATE TABLE [Referenti] ([Referente] TEXT COLLATE NOCASE PRIMARY KEY,"
                       "[Specialista] TEXT COLLATE NOCASE)"),
    };
}

QStringList indexStatements()
{
    return {
        QStringLiteral("CREATE INDEX [Specie_codice_gr] ON [Specie]([codice_gr], [codice_sp])"),
        QStringLiteral("CREATE INDEX [Specie_nome_sp] ON [Specie]([nome_sp])"),
        QStringLiteral("CREATE INDEX [Stazioni_codice_sp] ON [Stazioni]([CODICE_SP], [UTM])"),
        QStringLiteral("CREATE INDEX [Stazioni_utm] ON [Stazioni]([UTM])"),
        QStringLiteral("CREATE INDEX [Bibliografia_referente] ON [Bibliografia]([REFERENTE])"),
    };
}

QString infoTableName() { return QStringLiteral("OrtolanInfo"); }

QString createSchema(sqlite3 *db, const QString &password)
{
    for (const QString &statement : schemaStatements()) {
        char *error = nullptr;
        if (sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
            const QString text = QString::fromUtf8(error ? error : "unknown error");
            sqlite3_free(error);
            return text;
        }
    }
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO OrtolanInfo(Name, Value) VALUES ('password', ?), ('schema', '1')",
                           -1, &insert, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(db));
    const QByteArray pwd = password.toUtf8();
    sqlite3_bind_text(insert, 1, pwd.constData(), int(pwd.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(insert);
    sqlite3_finalize(insert);
    return rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(db));
}

}  // namespace ortolan::data
