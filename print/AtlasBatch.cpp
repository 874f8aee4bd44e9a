#include "print/AtlasBatch.h"

#include "app/Settings.h"
#include "data/AtomicFile.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "metafile/MetafilePicture.h"
#include "print/PageFileWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace ortolan::print {

namespace {

// Names stay well below the 255 bytes most file systems allow, with room for
// a "_2" and the extension, even when every character takes three bytes.
constexpr qsizetype MaxNameLength = 80;

bool isGenusCode(const QString &code) { return code.endsWith(u'.'); }

bool forbiddenInFileName(QChar c)
{
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    return c.unicode() < 0x20 || c.unicode() == 0x7f || c.isSpace() || forbidden.contains(c);
}

AtlasBatch::Taxon taxonOfRow(const data::Recordset &rows)
{
    AtlasBatch::Taxon taxon;
    taxon.code = rows.text(0);
    taxon.name = rows.text(1).trimmed();
    taxon.author = rows.text(2).trimmed();
    return taxon;
}

// A second page for the same file (names made equal by the cleaning, or
// differing in case only) gets "_2", "_3", ... before its extension.
QString uniqueName(const QString &name, QSet<QString> &taken)
{
    const QFileInfo info(name);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
    QString candidate = name;
    for (int n = 2; taken.contains(candidate.toLower()); ++n)
        candidate = base + QStringLiteral("_") + QString::number(n) + suffix;
    taken.insert(candidate.toLower());
    return candidate;
}

QVariant latestYear(data::Connection &db, const QString &code)
{
    data::Recordset rows = db.openRecordset(data::queries::latestYear(code));
    if (rows.recordCount() == 0)
        return QVariant();
    rows.moveFirst();
    return rows.field(0);
}

AtlasBatch::Result failed(AtlasBatch::Result result, AtlasBatch::Result::Status status, const QString &why)
{
    result.status = status;
    result.failure = why;
    return result;
}

}  // namespace

QString AtlasBatch::Taxon::caption() const
{
    return author.isEmpty() ? name : name + QStringLiteral(" ") + author;
}

std::optional<std::vector<AtlasBatch::Taxon>> AtlasBatch::taxaOf(data::Connection &db, const QString &code,
                                                                  bool subspecies)
{
    if (code.isEmpty())
        return std::nullopt;
    const bool group = db.openRecordset(data::queries::groupName(code)).recordCount() > 0;
    data::Recordset rows = db.openRecordset(group ? data::queries::taxaOfGroup(code) : data::queries::taxaFrom(code));
    // A prefix sorts before every longer code that begins with it, so a taxon
    // code that exists comes first.
    if (!group && (rows.recordCount() == 0 || rows.text(0).compare(code, Qt::CaseInsensitive) != 0))
        return std::nullopt;

    std::vector<Taxon> taxa;
    QString species;  // code of the last species listed
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        Taxon taxon = taxonOfRow(rows);
        if (isGenusCode(taxon.code))
            continue;
        taxon.subspecies = !species.isEmpty() && taxon.code.startsWith(species, Qt::CaseInsensitive);
        if (!taxon.subspecies)
            species = taxon.code;
        if (taxon.subspecies && !subspecies)
            continue;
        taxa.push_back(std::move(taxon));
    }
    return taxa;
}

QString AtlasBatch::safeFileName(const QString &text)
{
    QString name;
    name.reserve(text.size());
    for (const QChar c : text) {
        const QChar safe = forbiddenInFileName(c) ? QChar(u'_') : c;
        if (safe == u'_' && name.endsWith(u'_'))
            continue;
        name += safe;
    }
    auto trimmable = [](QChar c) { return c == u'_' || c == u'.' || c == u' '; };
    while (!name.isEmpty() && trimmable(name.back()))
        name.chop(1);
    qsizetype start = 0;
    while (start < name.size() && trimmable(name[start]))
        ++start;
    name = name.mid(start);
    // Windows keeps device names for itself, whatever the extension.
    static const QRegularExpression device(QStringLiteral("^(con|prn|aux|nul|com[1-9]|lpt[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (device.match(name).hasMatch())
        name.prepend(u'_');
    if (name.size() > MaxNameLength) {
        name.truncate(MaxNameLength);
        // Never leave half of a surrogate pair, nor a trailing dot or blank.
        if (name.back().isHighSurrogate())
            name.chop(1);
        while (!name.isEmpty() && trimmable(name.back()))
            name.chop(1);
    }
    return name;
}

QString AtlasBatch::pageFileName(const Taxon &taxon, PageFormat format)
{
    QString name = safeFileName(taxon.code + QStringLiteral("_") + taxon.name);
    if (name.isEmpty())
        name = QStringLiteral("page");
    return name + QStringLiteral(".") + RenderedPage::extension(format);
}

QString AtlasBatch::csvField(const QString &text)
{
    const bool quote = text.contains(u',') || text.contains(u'"') || text.contains(u'\n') || text.contains(u'\r');
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QStringLiteral("\"") + doubled + QStringLiteral("\"");
}

QByteArray AtlasBatch::indexCsv(const std::vector<Entry> &entries, bool english)
{
    const QString header = english ? QStringLiteral("code,name,author,squares,latest_year,file")
                                   : QStringLiteral("codice,nome,autore,quadrati,ultimo_anno,file");
    QString text = header + QStringLiteral("\r\n");
    for (const Entry &e : entries) {
        const QStringList fields{e.taxon.code, e.taxon.name, e.taxon.author, QString::number(e.squares),
                                 e.latestYear.isNull() ? QString() : e.latestYear.toString(), e.fileName};
        QStringList line;
        for (const QString &f : fields)
            line << csvField(f);
        text += line.join(u',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

AtlasBatch::Result AtlasBatch::run(const Request &request, const Progress &progress)
{
    std::unique_ptr<data::Connection> db;
    try {
        db = data::Connection::openPrivate();
    } catch (const data::DataError &error) {
        return failed({}, Result::Status::NoDatabase, settings().messages.MsgDataError + error.description());
    }
    return run(*db, request, progress);
}

AtlasBatch::Result AtlasBatch::run(data::Connection &db, const Request &request, const Progress &progress)
{
    Result result;
    auto stop = [&result](Result::Status status, const QString &why) { return failed(result, status, why); };
    std::optional<std::vector<Taxon>> taxa;
    try {
        taxa = taxaOf(db, request.code, request.subspecies);
    } catch (const data::DataError &error) {
        return stop(Result::Status::NoDatabase, settings().messages.MsgDataError + error.description());
    }
    if (!taxa)
        return stop(Result::Status::UnknownCode,
                    QStringLiteral("no group or taxon has the code '") + request.code + QStringLiteral("'"));

    const QDir folder(request.folder);
    if (request.folder.isEmpty() || !QDir().mkpath(folder.absolutePath())
        || !QFileInfo(folder.absolutePath()).isWritable())
        return stop(Result::Status::BadFolder, QStringLiteral("cannot write into the folder ") + request.folder);

    HeadlessPageStyle style = request.style;
    style.forPrint = true;
    HeadlessPage page(style);
    if (!page.isReady())
        return stop(Result::Status::Failed, page.problems().join(QStringLiteral("; ")));

    // Pages are drawn here and written (PNG encoded) on the writer's thread.
    PageFileWriter writer;
    QSet<QString> taken{indexName().toLower()};
    const int total = int(taxa->size());
    for (const Taxon &taxon : *taxa) {
        Entry entry;
        entry.taxon = taxon;
        entry.fileName = uniqueName(pageFileName(taxon, request.format), taken);
        const QString path = folder.absoluteFilePath(entry.fileName);
        const HeadlessPageResult written = page.write(db, taxon.code, taxon.caption(), QString());
        if (!written.ok)
            return stop(Result::Status::Failed,
                        taxon.code + QStringLiteral(": ") + written.messages.join(QStringLiteral("; ")));
        for (const QString &m : written.messages)
            result.warnings << taxon.code + QStringLiteral(": ") + m;
        bool queued = false;
        if (request.format == PageFormat::Emf) {
            queued = writer.add(path, page.lastPage());
        } else {
            QString why;
            const metafile::MetafilePicture picture = metafile::MetafilePicture::fromData(page.lastPage(), &why);
            if (request.format == PageFormat::Png) {
                const QImage image = RenderedPage::toImage(picture, request.pngDpi);
                if (image.isNull())
                    return stop(Result::Status::Failed, taxon.code + QStringLiteral(": cannot draw the page ") + why);
                queued = writer.add(path, image);
            } else {
                const QByteArray pdf = RenderedPage::toPdf(picture);
                if (pdf.isEmpty())
                    return stop(Result::Status::Failed, taxon.code + QStringLiteral(": cannot draw the page ") + why);
                queued = writer.add(path, pdf);
            }
        }
        if (!queued)
            break;
        entry.squares = written.distinctSquares;
        try {
            entry.latestYear = latestYear(db, taxon.code);
        } catch (const data::DataError &error) {
            return stop(Result::Status::NoDatabase, settings().messages.MsgDataError + error.description());
        }
        result.entries.push_back(std::move(entry));
        if (progress)
            progress(int(result.entries.size()), total, taxon);
    }
    if (!writer.finish())
        return stop(Result::Status::Failed, writer.failure());

    const QString index = folder.absoluteFilePath(indexName());
    try {
        data::AtomicFile::write(index, indexCsv(result.entries, request.english));
    } catch (const data::DataError &error) {
        return stop(Result::Status::Failed, error.description());
    }
    result.indexPath = index;
    result.status = Result::Status::Done;
    return result;
}

}  // namespace ortolan::print
