// ortolan-cli sites / sources / search / card: what the record windows show,
// tab-separated, through the same tables and queries.
#include "app/Settings.h"
#include "app/cli/CliCommand.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "records/RecordTableLayout.h"
#include "records/RecordTableModel.h"
#include "records/SpeciesCardFields.h"

namespace ortolan::cli {

namespace {

const QString ExitStatus =
    QStringLiteral("Exit status: 0 printed, 1 the database could not be read, 2 bad usage or missing database.");

// Prints a grid as its window's "copy table" gives it: the header row and
// each record, cells separated by tabs.
void printTable(const data::Recordset &rs, const records::RecordTableLayout &layout)
{
    records::RecordTableModel model;
    model.load(rs);
    model.applyHeaders(layout, settings().isEnglish());
    const QStringList lines = model.tableClipText(layout).split(QLatin1Char('\r'));
    for (const QString &line : lines)
        out(line);
}

// Runs body with a database connection, turning data errors into exit 1.
template <typename Body>
int withDatabase(Body body)
{
    if (!requireDatabase())
        return 2;
    try {
        const auto db = data::Connection::openDefault();
        return body(*db);
    } catch (const data::DataError &e) {
        err(settings().messages.MsgDataError + e.description());
        return 1;
    }
}

// The one positional argument of a command; false with a message otherwise.
bool takeSingle(const QStringList &args, const QString &what, QString &value)
{
    if (args.size() != 1 || args.first().isEmpty()) {
        err(QStringLiteral("expected one ") + what);
        return false;
    }
    value = args.first();
    return true;
}

int runSites(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missing = false;
    const QString square = takeOption(args, QStringLiteral("--square"), QString(), &missing);
    QString code;
    if (missing) {
        err(QStringLiteral("--square takes a UTM square code such as UG12"));
        return 2;
    }
    if (!takeSingle(args, QStringLiteral("taxon code"), code))
        return 2;
    return withDatabase([&](data::Connection &db) {
        const QString sql = square.isEmpty() ? data::queries::sitesOfTaxon(code)
                                             : data::queries::sitesInSquare(code, square);
        printTable(db.openRecordset(sql), records::RecordTableLayout::sites());
        return 0;
    });
}

int runSources(const QStringList &arguments)
{
    QString code;
    if (!takeSingle(arguments, QStringLiteral("taxon code"), code))
        return 2;
    return withDatabase([&](data::Connection &db) {
        const data::Recordset owner = db.openRecordset(data::queries::dataOwner(code));
        const QString ownerCode = owner.rows().empty() || owner.rows().front().size() < 2
                                      ? QString()
                                      : owner.rows().front()[1].toString();
        // The species window opens no sources table without a data owner of
        // at least two characters.
        if (ownerCode.size() < 2) {
            err(settings().messages.MsgNoDataSource);
            return 1;
        }
        printTable(db.openRecordset(data::queries::dataSources(ownerCode, code)), records::RecordTableLayout::sources());
        return 0;
    });
}

int runSearch(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missing = false;
    const QString filter = takeOption(args, QStringLiteral("--filter"), Filter::All, &missing);
    // The query catalogue knows the filters: no first level for an unknown one.
    if (missing || data::queries::firstLevel(filter).isEmpty()) {
        err(QStringLiteral("--filter takes Tutto, Invertebrati, Vertebrati, DirHabitat, RedList or Aliene"));
        return 2;
    }
    QString text;
    if (!takeSingle(args, QStringLiteral("search text"), text))
        return 2;
    return withDatabase([&](data::Connection &db) {
        const data::Recordset rs = db.openRecordset(data::queries::searchByName(text, filter));
        for (const auto &row : rs.rows())
            out(row.size() > 1 ? row[0].toString() + QLatin1Char('\t') + row[1].toString() : QString());
        return 0;
    });
}

int runCard(const QStringList &arguments)
{
    QString code;
    if (!takeSingle(arguments, QStringLiteral("taxon code"), code))
        return 2;
    return withDatabase([&](data::Connection &db) {
        const data::Recordset card = db.openRecordset(data::queries::speciesCard(code));
        const bool english = settings().isEnglish();
        for (const records::SpeciesCardField &f : records::SpeciesCardField::all()) {
            QString line = english ? f.english : f.italian;
            const QStringList values = f.values(card);
            for (const QString &v : values)
                line += QLatin1Char('\t') + (f.isCheck ? (v == QStringLiteral("-1") ? QStringLiteral("[x]")
                                                                                   : QStringLiteral("[ ]"))
                                                       : v);
            out(line);
        }
        return 0;
    });
}

const CliRegistrar sitesCommand({QStringLiteral("sites"), QStringLiteral("sites CODE [--square XXNN]"),
                                 QStringLiteral("Prints the sites table of a taxon (and its subordinate taxa), or with\n"
                                                "--square of one UTM 10-km square: the header row (column names of\n"
                                                "--lang), then one record per line, tab-separated.\n") + ExitStatus,
                                 runSites});
const CliRegistrar sourcesCommand({QStringLiteral("sources"), QStringLiteral("sources CODE"),
                                   QStringLiteral("Prints the data sources table of a taxon for its data owner: the\n"
                                                  "header row, then one source per line, tab-separated. A taxon without\n"
                                                  "a data owner has no sources table (the message goes to stderr, exit 1).\n")
                                       + ExitStatus,
                                   runSources});
const CliRegistrar searchCommand({QStringLiteral("search"), QStringLiteral("search TEXT [--filter KEY]"),
                                  QStringLiteral("Lists the code and name (tab-separated, in name order) of every\n"
                                                 "genus, species and subspecies whose name contains TEXT (wildcards *\n"
                                                 "any run, ? one character) under a tree filter (Tutto, Invertebrati,\n"
                                                 "Vertebrati, DirHabitat, RedList, Aliene; default Tutto).\n")
                                      + ExitStatus,
                                  runSearch});
const CliRegistrar cardCommand({QStringLiteral("card"), QStringLiteral("card CODE"),
                                QStringLiteral("Prints the species card of a taxon: one line per field of the card,\n"
                                               "its label (in the language of --lang) and its values, tab-separated;\n"
                                               "check boxes as [x] or [ ].\n") + ExitStatus,
                                runCard});

}  // namespace

}  // namespace ortolan::cli
