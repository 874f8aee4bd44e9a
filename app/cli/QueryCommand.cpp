// ortolan-cli query "SQL": runs one statement of the program's dialect on the
// species database and prints the rows, or executes a select-into export.
#include "app/cli/CliCommand.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/ExternalTableWriter.h"
#include "data/SelectInto.h"
#include "data/SqlLexer.h"

using namespace ortolan;

namespace {

QString cellText(const QVariant &value)
{
    QString text = value.toString();
    text.replace(u'\t', u' ');
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

void printRows(const data::Recordset &rows)
{
    cli::out(rows.fieldNames().join(u'\t'));
    for (const auto &row : rows.rows()) {
        QStringList cells;
        for (const QVariant &value : row)
            cells << cellText(value);
        cli::out(cells.join(u'\t'));
    }
}

int runQuery(const QStringList &args)
{
    if (args.size() != 1 || args.first().trimmed().isEmpty()) {
        cli::err(QStringLiteral("query takes one SQL statement in quotes"));
        return 2;
    }
    if (!cli::requireDatabase())
        return 2;
    const QString sql = args.first();
    std::unique_ptr<data::Connection> connection;
    std::optional<data::SelectInto> into;
    data::Recordset rows;
    try {
        connection = data::Connection::openDefault();
        into = data::SelectInto::parse(sql);
        if (into)
            rows = connection->openRecordset(into->select);
        else if (data::SqlLexer::significantTokens(sql).empty())
            throw data::DataError(QStringLiteral("The query is empty."));
        else
            rows = connection->openRecordset(sql);
    } catch (const data::DataError &e) {
        cli::err(QStringLiteral("query failed: ") + e.description());
        return 2;
    }
    if (!into) {
        printRows(rows);
        return 0;
    }
    try {
        data::ExternalTableWriter::write(into->target, rows);
    } catch (const data::DataError &e) {
        cli::err(QStringLiteral("export failed: ") + e.description());
        return 1;
    }
    cli::out(QString::number(rows.recordCount()) + QStringLiteral(" rows written to ") + into->target.filePath());
    return 0;
}

const cli::CliRegistrar registrar({
    QStringLiteral("query"),
    QStringLiteral("query \"SQL\""),
    QStringLiteral("Runs one statement in the program's SQL dialect ([names], like with * and ?, isnull(),\n"
                   "len(), -1 for true) on the species database, read-only. A SELECT prints its rows,\n"
                   "tab-separated, after a header line with the field names. A select-into statement\n"
                   "  SELECT ... INTO [dBase IV;DATABASE=folder].[name] FROM ...\n"
                   "  SELECT ... INTO [Excel 8.0;DATABASE=file.xls].[sheet] FROM ...\n"
                   "writes the rows to that dBase table or Excel sheet.\n"
                   "Exit status: 0 done, 1 the export could not be written, 2 missing database or bad query."),
    runQuery,
});

}  // namespace
