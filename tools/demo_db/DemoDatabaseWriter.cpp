#include "tools/demo_db/DemoDatabaseWriter.h"

#include "data/Schema.h"
#include "tools/demo_db/LookupTables.h"
#include "tools/demo_db/SquareGrid.h"

#include <sqlite3.h>

#include <stdexcept>

namespace ortolan::demo {

namespace {

void bindText(sqlite3_stmt *s, int index, const std::string &value)
{
    sqlite3_bind_text(s, index, value.data(), int(value.size()), SQLITE_TRANSIENT);
}

void bindText(sqlite3_stmt *s, int index, const std::optional<std::string> &value)
{
    if (value)
        bindText(s, index, *value);
    else
        sqlite3_bind_null(s, index);
}

void bindFlag(sqlite3_stmt *s, int index, bool value) { sqlite3_bind_int(s, index, value ? -1 : 0); }

}  // namespace

DemoDatabaseWriter::DemoDatabaseWriter(const std::string &path, const std::string &password,
                                       const std::string &dataset)
{
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE,
                        nullptr) != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        m_db = nullptr;
        throw std::runtime_error("cannot create " + path + ": " + message);
    }
    // The file is private until it is renamed into place: no journal is needed.
    exec("PRAGMA page_size=4096");
    exec("PRAGMA journal_mode=OFF");
    exec("PRAGMA synchronous=OFF");
    exec("BEGIN");
    const QString error = ortolan::data::createSchema(m_db, QString::fromStdString(password));
    if (!error.isEmpty())
        throw std::runtime_error("cannot create the tables: " + error.toStdString());
    const Statement info = prepare("INSERT INTO OrtolanInfo(Name, Value) VALUES ('dataset', ?)");
    bindText(info.get(), 1, dataset);
    step(info);
}

DemoDatabaseWriter::~DemoDatabaseWriter()
{
    m_siteInsert.reset();
    sqlite3_close(m_db);
}

void DemoDatabaseWriter::Finalize::operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }

void DemoDatabaseWriter::exec(const std::string &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error(message + " in: " + sql);
    }
}

DemoDatabaseWriter::Statement DemoDatabaseWriter::prepare(const std::string &sql)
{
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in: " + sql);
    return Statement(statement);
}

void DemoDatabaseWriter::step(const Statement &statement)
{
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    sqlite3_reset(statement.get());
    sqlite3_clear_bindings(statement.get());
}

void DemoDatabaseWriter::writeCodedTexts(const std::string &insert, const std::vector<CodedText> &rows)
{
    const Statement statement = prepare(insert);
    for (const CodedText &row : rows) {
        bindText(statement.get(), 1, row.code);
        bindText(statement.get(), 2, row.italian);
        bindText(statement.get(), 3, row.english);
        step(statement);
    }
}

void DemoDatabaseWriter::writeLookups(const Checklist &list)
{
    writeCodedTexts("INSERT INTO Corotipi(Corologia, Corotipi, [Corotipi inglese]) VALUES (?, ?, ?)",
                    LookupTables::chorotypes());
    writeCodedTexts("INSERT INTO Habitat(Codice, Habitat, [Habitat inglese]) VALUES (?, ?, ?)", LookupTables::habitats());
    Statement statement = prepare("INSERT INTO Conservazione(Codice, [Stato di conservazione], [Conservation Status], Ordinamento)"
                                  " VALUES (?, ?, ?, ?)");
    sqlite3_stmt *s = statement.get();
    for (const ConservationCategory &c : LookupTables::conservation()) {
        bindText(s, 1, c.code);
        bindText(s, 2, c.italian);
        bindText(s, 3, c.english);
        sqlite3_bind_int(s, 4, c.order);
        step(statement);
    }
    statement = prepare("INSERT INTO Referenti(Referente, Specialista) VALUES (?, ?)");
    s = statement.get();
    for (const Owner &o : list.owners) {
        bindText(s, 1, o.code);
        bindText(s, 2, o.specialists);
        step(statement);
    }
}

void DemoDatabaseWriter::writeChecklist(const Checklist &list)
{
    Statement statement = prepare("INSERT INTO Taxa(codice_gr, nome_gr, dir_habitat, red_list, introdotta)"
                              " VALUES (?, ?, ?, ?, ?)");
    sqlite3_stmt *s = statement.get();
    for (const GroupRow &g : list.groups) {
        bindText(s, 1, g.code);
        bindText(s, 2, g.name);
        bindFlag(s, 3, g.directive);
        bindFlag(s, 4, g.redList);
        bindFlag(s, 5, g.alien);
        step(statement);
    }
    statement = prepare("INSERT INTO Specie(codice_sp, nome_sp, autore, codice_gr, introdotta, dir_habitat, conservazione,"
                " REFERENTE, COROLOGIA, Variazioni, Anno, [Habitat larva_1], [Habitat larva_2],"
                " [Habitat adulto_3], [Habitat adulto_4], [Alimentazione larva], [Alimentazione adulto],"
                " [Dimensione larva], [Dimensione adulto], Endemica, Bioindicatore, Prioritaria,"
                " [Allegato II], [Allegato IV], [Allegato V], Note)"
                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    s = statement.get();
    for (const TaxonRow &t : list.taxa) {
        int i = 0;
        bindText(s, ++i, t.code);
        bindText(s, ++i, t.name);
        bindText(s, ++i, t.author);
        bindText(s, ++i, t.groupCode);
        bindFlag(s, ++i, t.alien);
        bindFlag(s, ++i, t.directive);
        bindText(s, ++i, t.conservation);
        bindText(s, ++i, t.owner);
        bindText(s, ++i, t.chorotype);
        bindText(s, ++i, t.changes);
        bindText(s, ++i, t.firstYear);
        bindText(s, ++i, t.larvaHabitat1);
        bindText(s, ++i, t.larvaHabitat2);
        bindText(s, ++i, t.adultHabitat3);
        bindText(s, ++i, t.adultHabitat4);
        bindText(s, ++i, t.larvaFeeding);
        bindText(s, ++i, t.adultFeeding);
        bindText(s, ++i, t.larvaSize);
        bindText(s, ++i, t.adultSize);
        bindFlag(s, ++i, t.endemic);
        bindFlag(s, ++i, t.bioindicator);
        bindFlag(s, ++i, t.priority);
        bindFlag(s, ++i, t.annexII);
        bindFlag(s, ++i, t.annexIV);
        bindFlag(s, ++i, t.annexV);
        bindText(s, ++i, t.note);
        step(statement);
    }
}

void DemoDatabaseWriter::writeSquares(const std::vector<Square> &squares)
{
    Statement statement = prepare("INSERT INTO QuadUTM(UTM, E_UTM32, N_UTM32) VALUES (?, ?, ?)");
    sqlite3_stmt *s = statement.get();
    for (const Square &q : squares) {
        bindText(s, 1, q.code);
        sqlite3_bind_double(s, 2, q.east);
        sqlite3_bind_double(s, 3, q.north);
        step(statement);
    }
}

void DemoDatabaseWriter::writeSources(const std::vector<SourceRow> &sources)
{
    Statement statement = prepare("INSERT INTO Bibliografia(CODICE_AU, AUTORE, ANNO, TITOLO, PERIODICO, VOL_PAGINE,"
                              " REFERENTE, TIPO_FONTE) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt *s = statement.get();
    for (const SourceRow &b : sources) {
        bindText(s, 1, b.code);
        bindText(s, 2, b.author);
        bindText(s, 3, b.year);
        bindText(s, 4, b.title);
        bindText(s, 5, b.journal);
        bindText(s, 6, b.details);
        bindText(s, 7, b.owner);
        sqlite3_bind_int(s, 8, b.kind);
        step(statement);
    }
}

void DemoDatabaseWriter::addSite(const SiteRow &site)
{
    if (!m_siteInsert)
        m_siteInsert = prepare("INSERT INTO Stazioni(CODICE_SP, NOME_SP, REGIONE, PROVINCIA, LOC, STAZIONE, QUOTA,"
                               " FONTE, ANNO, UTM, PRECISIONE_UTM) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    sqlite3_stmt *s = m_siteInsert.get();
    bindText(s, 1, site.taxonCode);
    bindText(s, 2, site.taxonName);
    bindText(s, 3, site.region);
    bindText(s, 4, site.province);
    bindText(s, 5, site.locality);
    bindText(s, 6, site.site);
    if (site.elevation)
        sqlite3_bind_int(s, 7, *site.elevation);
    else
        sqlite3_bind_null(s, 7);
    bindText(s, 8, site.source);
    sqlite3_bind_int(s, 9, site.year);
    bindText(s, 10, site.square);
    bindText(s, 11, site.precision);
    step(m_siteInsert);
}

void DemoDatabaseWriter::finish()
{
    m_siteInsert.reset();
    for (const QString &statement : ortolan::data::indexStatements())
        exec(statement.toStdString());
    exec("COMMIT");
    // Statistics for the query planner; computed from the data, so deterministic.
    exec("ANALYZE");
    if (sqlite3_close(m_db) != SQLITE_OK)
        throw std::runtime_error("cannot close the database: " + std::string(sqlite3_errmsg(m_db)));
    m_db = nullptr;
}

}  // namespace ortolan::demo
