#include "support/FixtureDatabase.h"

#include "app/Settings.h"
#include "data/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace ortolan::test {

FixtureDatabase::FixtureDatabase(const QString &folder, const QString &fileName)
    : path_(QDir(folder).absoluteFilePath(fileName))
{
    QDir().mkpath(folder);
    QFile::remove(path_);
    const QString error = data::createSchema(db(), password());
    if (!error.isEmpty())
        ADD_FAILURE() << "fixture schema: " << error.toStdString();
    for (const QString &index : data::indexStatements())
        exec(index);
}

FixtureDatabase::~FixtureDatabase()
{
    close();
}

sqlite3 *FixtureDatabase::db()
{
    if (!db_ && sqlite3_open_v2(path_.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                nullptr) != SQLITE_OK)
        ADD_FAILURE() << "fixture open: " << sqlite3_errmsg(db_);
    return db_;
}

void FixtureDatabase::close()
{
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void FixtureDatabase::makeCurrent() const
{
    Settings &s = settings();
    s.DatabasePath = path_;
    s.DataFolder = QFileInfo(path_).absolutePath() + QStringLiteral("/");
    s.DatabasePassword = password();
}

void FixtureDatabase::exec(const QString &sql)
{
    char *error = nullptr;
    if (sqlite3_exec(db(), sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK)
        ADD_FAILURE() << "fixture: " << (error ? error : "?") << " in " << sql.toStdString();
    sqlite3_free(error);
}

void FixtureDatabase::insert(const QString &table, std::initializer_list<FixtureField> fields)
{
    insert(table, QList<FixtureField>(fields));
}

void FixtureDatabase::insert(const QString &table, const QList<FixtureField> &fields)
{
    QStringList columns, marks;
    for (const FixtureField &f : fields) {
        columns << QStringLiteral("[") + f.name + QStringLiteral("]");
        marks << QStringLiteral("?");
    }
    const QString sql = QStringLiteral("INSERT INTO [") + table + QStringLiteral("] (") + columns.join(u',')
                        + QStringLiteral(") VALUES (") + marks.join(u',') + QStringLiteral(")");
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db(), sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << "fixture: " << sqlite3_errmsg(db_) << " in " << sql.toStdString();
        return;
    }
    int k = 1;
    for (const FixtureField &f : fields) {
        const QVariant &v = f.value;
        if (v.isNull()) {
            sqlite3_bind_null(statement, k);
        } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
            sqlite3_bind_int64(statement, k, v.toLongLong());
        } else if (v.typeId() == QMetaType::Double) {
            sqlite3_bind_double(statement, k, v.toDouble());
        } else {
            const QByteArray text = v.toString().toUtf8();
            sqlite3_bind_text(statement, k, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        ++k;
    }
    if (sqlite3_step(statement) != SQLITE_DONE)
        ADD_FAILURE() << "fixture: " << sqlite3_errmsg(db_) << " in " << sql.toStdString();
    sqlite3_finalize(statement);
}

void FixtureDatabase::addStandardChecklist()
{
    exec(QStringLiteral("BEGIN"));
    struct Group {
        const char *code, *name;
        bool habitat, red, alien;
    };
    const Group groups[] = {
        {"001", "Porifera", false, false, true},
        {"001.001", "Demospongiae", false, false, true},
        {"001.001.001", "Spongillida", false, false, true},
        {"001.001.001.001", "Spongillidae", false, false, true},
        {"037", "Vertebrata", true, true, true},
        {"037.001", "Amphibia", true, true, false},
        {"037.001.001", "Anura", true, true, false},
        {"037.001.001.001", "Ranidae", true, true, false},
        {"037.002", "Mammalia", false, false, true},
        {"037.002.001", "Rodentia", false, false, true},
        {"037.002.001.001", "Myocastoridae", false, false, true},
        {"044", "Coleoptera", true, true, false},
        {"044.001", "Adephaga", true, true, false},
        {"044.001.001", "Caraboidea", true, true, false},
        {"044.001.001.001", "Carabidae", true, true, false},
        {"044.002", "Polyphaga", true, false, false},
        {"044.002.005.001", "Lucanidae", true, false, false},
    };
    for (const Group &g : groups)
        insert("Taxa", {{"codice_gr", g.code}, {"nome_gr", g.name}, {"dir_habitat", g.habitat},
                        {"red_list", g.red}, {"introdotta", g.alien}});

    // Genus rows carry the Habitat Directive and alien flags of their species.
    auto genus = [this](const char *code, const char *name, const char *group, bool habitat, bool alien) {
        insert("Specie", {{"codice_sp", code}, {"nome_sp", name}, {"codice_gr", group}, {"dir_habitat", habitat},
                          {"introdotta", alien}});
    };
    genus("001.00101.", "Spongilla", "001.001.001.001", false, false);
    insert("Specie", {{"codice_sp", "001.00101.001.0"}, {"nome_sp", "Spongilla lacustris"},
                      {"autore", "(Linnaeus, 1759)"}, {"codice_gr", "001.001.001.001"}, {"conservazione", "LC"},
                      {"REFERENTE", "ZZ"}, {"COROLOGIA", "PAL"}});
    genus("001.00102.", "Ephydatia", "001.001.001.001", false, true);
    insert("Specie", {{"codice_sp", "001.00102.001.0"}, {"nome_sp", "Ephydatia fluviatilis"},
                      {"autore", "(Linnaeus, 1759)"}, {"codice_gr", "001.001.001.001"}, {"introdotta", true},
                      {"REFERENTE", "-"}});
    genus("037.00101.", "Rana", "037.001.001.001", true, false);
    insert("Specie", {{"codice_sp", "037.00101.001.0"}, {"nome_sp", "Rana latastei"}, {"autore", "Boulenger, 1879"},
                      {"codice_gr", "037.001.001.001"}, {"dir_habitat", true}, {"conservazione", "EN"},
                      {"REFERENTE", "RS"}, {"COROLOGIA", "EUR"}, {"Allegato II", true}, {"Allegato IV", true},
                      {"Habitat larva_1", "L2"}, {"Habitat adulto_3", "F3"}});
    insert("Specie", {{"codice_sp", "037.00101.002.0"}, {"nome_sp", "Rana italica"}, {"autore", "Dubois, 1987"},
                      {"codice_gr", "037.001.001.001"}, {"conservazione", "C"}, {"REFERENTE", "RS"},
                      {"COROLOGIA", "END"}, {"Endemica", true}});
    genus("037.00201.", "Myocastor", "037.002.001.001", false, true);
    insert("Specie", {{"codice_sp", "037.00201.001.0"}, {"nome_sp", "Myocastor coypus"}, {"autore", "(Molina, 1782)"},
                      {"codice_gr", "037.002.001.001"}, {"introdotta", true}, {"REFERENTE", nullptr}});
    genus("044.00101.", "Carabus", "044.001.001.001", true, false);
    insert("Specie", {{"codice_sp", "044.00101.001.0"}, {"nome_sp", "Carabus olympiae"}, {"autore", "Sella, 1855"},
                      {"codice_gr", "044.001.001.001"}, {"dir_habitat", true}, {"conservazione", "VU"},
                      {"REFERENTE", "AC"}, {"COROLOGIA", "END"}, {"Endemica", true}, {"Prioritaria", true},
                      {"Allegato II", true}, {"Allegato IV", true}, {"Habitat adulto_3", "B1"},
                      {"Alimentazione adulto", "Predatore di molluschi"}, {"Dimensione adulto", "25-32"},
                      {"Anno", "1855"}, {"Note", "Specie endemica delle Alpi Biellesi."}});
    insert("Specie", {{"codice_sp", "044.00101.001.01"}, {"nome_sp", "Carabus olympiae olympiae"},
                      {"autore", "Sella, 1855"}, {"codice_gr", "044.001.001.001"}, {"dir_habitat", true},
                      {"conservazione", "VU"}, {"REFERENTE", "AC"}, {"COROLOGIA", "END"}});
    insert("Specie", {{"codice_sp", "044.00101.002.0"}, {"nome_sp", "Carabus dell'Ortolan"},
                      {"autore", "D'Orbigny, 1839"}, {"codice_gr", "044.001.001.001"}, {"conservazione", "EX"},
                      {"REFERENTE", "AC"}, {"COROLOGIA", nullptr}});
    genus("044.00201.", "Lucanus", "044.002.005.001", true, false);
    insert("Specie", {{"codice_sp", "044.00201.001.0"}, {"nome_sp", "Lucanus cervus"}, {"autore", "(Linnaeus, 1758)"},
                      {"codice_gr", "044.002.005.001"}, {"dir_habitat", true}, {"conservazione", "NT"},
                      {"REFERENTE", "AC"}, {"COROLOGIA", "PAL"}, {"Allegato II", true}});

    struct Site {
        const char *code, *name, *region, *province, *locality;
        FixtureValue site;
        int elevation;
        const char *source;
        int year;
        FixtureValue square;
    };
    const Site sites[] = {
        {"044.00101.001.0", "Carabus olympiae", "Piemonte", "BI", "Valle Sessera", "Alpe Sella", 1400, "B001", 1990, "UG12"},
        {"044.00101.001.0", "Carabus olympiae", "Piemonte", "BI", "Valle Sessera", "Bocchetta", 1500, "B002", 2001, "UG12"},
        {"044.00101.001.0", "Carabus olympiae", "Piemonte", "VC", "Valsesia", nullptr, 1200, "B001", 1985, "NF00"},
        {"044.00101.001.01", "Carabus olympiae olympiae", "Piemonte", "BI", "Valle Sessera", "Alpe Sella", 1400, "B002", 2005, "UG12"},
        {"044.00101.001.01", "Carabus olympiae olympiae", "Piemonte", "BI", "Piano del Sole", "Piano", 900, "B001", 1995, "WA00"},
        {"044.00101.002.0", "Carabus dell'Ortolan", "Piemonte", "CN", "Colle dell'Agnello", "Colle dell'Agnello", 2700, "B001", 1950, "NF00"},
        {"037.00101.001.0", "Rana latastei", "Lombardia", "MI", "Parco del Ticino", "Bosco", 100, "B003", 1999, "NF00"},
        {"037.00101.001.0", "Rana latastei", "Lombardia", "MI", "Abbiategrasso", "Fontanile", 120, "B003", 2010, nullptr},
        {"044.00201.001.0", "Lucanus cervus", "Toscana", "FI", "Vallombrosa", "Querceto", 800, "B001", 1970, "WA00"},
        {"044.00201.001.0", "Lucanus cervus", "Lazio", "RM", "Monti della Tolfa", "Castagneto", 400, "B001", 1980, "TL99"},
        {"037.00201.001.0", "Myocastor coypus", "Veneto", "VE", "Laguna", "Canale", 0, "B003", 2015, "UG12"},
    };
    for (const Site &s : sites)
        insert("Stazioni", {{"CODICE_SP", s.code}, {"NOME_SP", s.name}, {"REGIONE", s.region},
                            {"PROVINCIA", s.province}, {"LOC", s.locality}, {"STAZIONE", s.site},
                            {"QUOTA", s.elevation}, {"FONTE", s.source}, {"ANNO", s.year}, {"UTM", s.square},
                            {"PRECISIONE_UTM", "1"}});

    insert("QuadUTM", {{"UTM", "MG34"}, {"E_UTM32", 1335000.0}, {"N_UTM32", 4545000.0}});
    insert("QuadUTM", {{"UTM", "NF00"}, {"E_UTM32", 405000.0}, {"N_UTM32", 5005000.0}});
    insert("QuadUTM", {{"UTM", "UG12"}, {"E_UTM32", 315000.0}, {"N_UTM32", 5125000.5}});
    insert("QuadUTM", {{"UTM", "WA00"}, {"E_UTM32", 1205000.0}, {"N_UTM32", 4405000.0}});

    insert("Bibliografia", {{"CODICE_AU", "B001"}, {"AUTORE", "Casale A."}, {"ANNO", "1988"},
                            {"TITOLO", "Revisione degli Sphodrina"}, {"PERIODICO", "Monografie"},
                            {"VOL_PAGINE", "5: 1-1024"}, {"REFERENTE", "AC"}, {"TIPO_FONTE", 2}});
    insert("Bibliografia", {{"CODICE_AU", "B002"}, {"AUTORE", "Collezione Sella"}, {"ANNO", "2001"},
                            {"TITOLO", "Collezione privata"}, {"PERIODICO", "Biella"}, {"VOL_PAGINE", ""},
                            {"REFERENTE", "AC"}, {"TIPO_FONTE", 1}});
    insert("Bibliografia", {{"CODICE_AU", "B003"}, {"AUTORE", "Sindaco R."}, {"ANNO", "2006"},
                            {"TITOLO", "Atlante degli Anfibi"}, {"PERIODICO", "Polistampa"},
                            {"VOL_PAGINE", "792 pp."}, {"REFERENTE", "RS"}, {"TIPO_FONTE", 1}});

    insert("Referenti", {{"Referente", "AC"}, {"Specialista", "A. Casale"}});
    insert("Referenti", {{"Referente", "RS"}, {"Specialista", "R. Sindaco"}});

    insert("Corotipi", {{"Corologia", "END"}, {"Corotipi", "Endemica"}, {"Corotipi inglese", "Endemic"}});
    insert("Corotipi", {{"Corologia", "EUR"}, {"Corotipi", "Europea"}, {"Corotipi inglese", "European"}});
    insert("Corotipi", {{"Corologia", "PAL"}, {"Corotipi", "Paleartica"}, {"Corotipi inglese", "Palearctic"}});

    insert("Habitat", {{"Codice", "B1"}, {"Habitat", "Boschi di latifoglie"}, {"Habitat inglese", "Broadleaved woods"}});
    insert("Habitat", {{"Codice", "F3"}, {"Habitat", "Prati umidi"}, {"Habitat inglese", "Wet meadows"}});
    insert("Habitat", {{"Codice", "L2"}, {"Habitat", "Acque ferme"}, {"Habitat inglese", "Standing waters"}});

    struct Category {
        const char *code, *italian, *english;
        int order;
    };
    const Category categories[] = {
        {"C", "Comune", "Common", 6},          {"EN", "In pericolo", "Endangered", 2},
        {"EX", "Estinta", "Extinct", 1},       {"LC", "Minor preoccupazione", "Least concern", 5},
        {"NT", "Quasi minacciata", "Near threatened", 4}, {"VU", "Vulnerabile", "Vulnerable", 3},
    };
    for (const Category &c : categories)
        insert("Conservazione", {{"Codice", c.code}, {"Stato di conservazione", c.italian},
                                 {"Conservation Status", c.english}, {"Ordinamento", c.order}});
    exec(QStringLiteral("COMMIT"));
}

}  // namespace ortolan::test
