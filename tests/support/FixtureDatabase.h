#pragma once

#include <QString>
#include <QVariant>

#include <initializer_list>

struct sqlite3;

namespace ortolan::test {

// A value for FixtureDatabase::insert that can be written without QString
// ceremony: "text" (UTF-8), integers, reals, true/false (stored as the
// database's -1/0) or nullptr (NULL).
class FixtureValue {
public:
    FixtureValue(const char *utf8) : value_(QString::fromUtf8(utf8)) {}
    FixtureValue(const QString &text) : value_(text) {}
    FixtureValue(int v) : value_(qlonglong(v)) {}
    FixtureValue(qlonglong v) : value_(v) {}
    FixtureValue(double v) : value_(v) {}
    FixtureValue(bool v) : value_(qlonglong(v ? -1 : 0)) {}
    FixtureValue(std::nullptr_t) {}
    FixtureValue(const QVariant &v) : value_(v) {}
    const QVariant &value() const { return value_; }

private:
    QVariant value_;
};

// One column of a row to insert: {"codice_gr", "001"}.
struct FixtureField {
    FixtureField(const char *column, FixtureValue v) : name(QString::fromUtf8(column)), value(v.value()) {}
    FixtureField(const QString &column, FixtureValue v) : name(column), value(v.value()) {}
    QString name;
    QVariant value;
};

// A small species database for tests, built in a folder of the test's
// choosing with the program's own schema (data/Schema) and indexes, and the
// password "HXWLB58". Open it with
//   data::Connection::open(fixture.path(), fixture.connectString())
// or, for code that opens settings().DatabasePath, call makeCurrent().
//
//   test::FixtureDatabase fixture(dir.path());
//   fixture.addStandardChecklist();
//   fixture.insert("Taxa", {{"codice_gr", "099"}, {"nome_gr", "Mollusca"}, {"red_list", true}});
//
// The file stays open for writing until close() or destruction; every insert
// is committed at once, so readers see it. Call close() before comparing the
// file's bytes or dates.
//
// Code scheme of the standard checklist (and a good model for more rows):
// groups "DDD", "DDD.DDD", "DDD.DDD.DDD", "DDD.DDD.DDD.DDD"; genera
// "DDD.DDDDD." (10 characters, ending in "."); species genus + "DDD.0"
// (15 characters); subspecies species + "D" (16 characters).
//
// The standard checklist (addStandardChecklist):
//
// Taxa (codice_gr  nome_gr                dir_habitat red_list introdotta)
//   001              Porifera               .   .   -1
//   001.001          Demospongiae           .   .   -1
//   001.001.001      Spongillida            .   .   -1
//   001.001.001.001  Spongillidae           .   .   -1
//   037              Vertebrata             -1  -1  -1   (the vertebrate group)
//   037.001          Amphibia               -1  -1  .
//   037.001.001      Anura                  -1  -1  .
//   037.001.001.001  Ranidae                -1  -1  .
//   037.002          Mammalia               .   .   -1
//   037.002.001      Rodentia               .   .   -1
//   037.002.001.001  Myocastoridae          .   .   -1
//   044              Coleoptera             -1  -1  .
//   044.001          Adephaga               -1  -1  .
//   044.001.001      Caraboidea             -1  -1  .
//   044.001.001.001  Carabidae              -1  -1  .
//   044.002          Polyphaga              -1  .   .
//   044.002.005.001  Lucanidae              -1  .   .    (family attached directly
//                                                         to the 7-character group:
//                                                         no 044.002.005 exists)
// Specie (codice_sp          nome_sp                     flags; conservazione; REFERENTE; COROLOGIA)
//   001.00101.            Spongilla                          genus of Spongillidae
//   001.00101.001.0       Spongilla lacustris                LC; REFERENTE "ZZ" (missing
//                                                            from Referenti: empty card)
//   001.00102.            Ephydatia                          genus
//   001.00102.001.0       Ephydatia fluviatilis              alien; REFERENTE "-" (shorter
//                                                            than 2 characters)
//   037.00101.            Rana                               genus of Ranidae
//   037.00101.001.0       Rana latastei                      Habitat Directive; EN; "RS"; EUR
//   037.00101.002.0       Rana italica                       C (Red List only in the tree); "RS"
//   037.00201.            Myocastor                          genus of Myocastoridae
//   037.00201.001.0       Myocastor coypus                   alien; REFERENTE null
//   044.00101.            Carabus                            genus of Carabidae
//   044.00101.001.0       Carabus olympiae                   Habitat Directive, endemic,
//                                                            priority, annexes II and IV;
//                                                            VU; "AC"; END
//   044.00101.001.01      Carabus olympiae olympiae          subspecies; VU; "AC"; END
//   044.00101.002.0       Carabus dell'Ortolan               EX; "AC"; no chorotype (card row
//                                                            with empty Corotipi fields);
//                                                            author "D'Orbigny, 1839"
//   044.00201.            Lucanus                            genus of Lucanidae
//   044.00201.001.0       Lucanus cervus                     Habitat Directive, annex II;
//                                                            NT; "AC"; PAL
//   Genus rows carry the Habitat Directive and alien flags of their species
//   (Carabus, Lucanus, Rana: Habitat Directive; Ephydatia, Myocastor: alien);
//   their conservazione, autore and REFERENTE are null.
// Stazioni (CODICE_SP, UTM, STAZIONE, ANNO, FONTE; LOC)
//   Carabus olympiae            UG12 "Alpe Sella" 1990 B001; UG12 "Bocchetta" 2001 B002;
//                               NF00 null 1985 B001 (no site name: not counted)
//   Carabus olympiae olympiae   UG12 "Alpe Sella" 2005 B002; WA00 "Piano" 1995 B001
//   Carabus dell'Ortolan        NF00 "Colle dell'Agnello" 1950 B001
//   Rana latastei               NF00 "Bosco" 1999 B003; null UTM "Fontanile" 2010 B003
//   Lucanus cervus              WA00 "Querceto" 1970 B001; TL99 "Castagneto" 1980 B001
//                               (TL99 is not in QuadUTM)
//   Myocastor coypus            UG12 "Canale" 2015 B003
// QuadUTM (inserted in code order): MG34, NF00, UG12, WA00 (MG34 holds no record)
// Bibliografia: B001 (AC, TIPO_FONTE 2), B002 (AC, TIPO_FONTE 1), B003 (RS, TIPO_FONTE 1)
// Referenti: AC "A. Casale", RS "R. Sindaco"
// Corotipi: END, EUR, PAL;  Habitat: B1, F3, L2
// Conservazione (Codice, Ordinamento): EX 1, EN 2, VU 3, NT 4, LC 5, C 6
//   (code order C, EN, EX, LC, NT, VU differs from Ordinamento)
class FixtureDatabase {
public:
    // Creates (replacing) folder/fileName with the schema, its indexes and the password.
    explicit FixtureDatabase(const QString &folder, const QString &fileName = QStringLiteral("OrtolanDati.mde"));
    ~FixtureDatabase();
    FixtureDatabase(const FixtureDatabase &) = delete;
    FixtureDatabase &operator=(const FixtureDatabase &) = delete;

    static QString password() { return QStringLiteral("HXWLB58"); }
    QString path() const { return path_; }
    QString connectString() const { return QStringLiteral(";pwd=") + password(); }

    // Inserts one row; unnamed columns take their defaults (0 for flags, NULL
    // otherwise). Fails the test (gtest ADD_FAILURE) on an error.
    void insert(const QString &table, std::initializer_list<FixtureField> fields);
    void insert(const QString &table, const QList<FixtureField> &fields);
    void insert(const char *table, std::initializer_list<FixtureField> fields)
    {
        insert(QString::fromUtf8(table), fields);
    }
    // Runs any statement (e.g. "BEGIN" / "COMMIT" around bulk inserts).
    void exec(const QString &sql);

    void addStandardChecklist();

    // Points settings().DatabasePath, DataFolder and DatabasePassword at this
    // file, so that Connection::openPrivate() / openDefault() open it.
    void makeCurrent() const;

    // Closes the file; later calls reopen it.
    void close();

private:
    sqlite3 *db();
    QString path_;
    sqlite3 *db_ = nullptr;
};

}  // namespace ortolan::test
