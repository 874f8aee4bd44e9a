#include "export/ExportJob.h"

#include "app/Settings.h"
#include "data/AtomicFile.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "export/WindowsBitmap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <memory>
#include <system_error>

namespace ortolan::exporting {

using data::DataError;

namespace {

namespace q = data::queries;

const QStringList kFormats = {QStringLiteral("bmp"), QStringLiteral("emf"), QStringLiteral("shp"),
                              QStringLiteral("dbf"), QStringLiteral("xls"), QStringLiteral("txt")};

bool barePerFormat(const QString &format)
{
    return format == QStringLiteral("shp") || format == QStringLiteral("dbf");
}

// A number in its plain text form, with "." as the decimal separator whatever
// the regional settings: the file reads back the same on every machine and in
// every program that splits it at tabs.
QString cellText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Long:
        return QString::number(value.toLongLong());
    default:
        return value.toString();
    }
}

QByteArray textTable(const data::Recordset &rows, bool english)
{
    const QStringList header = {QStringLiteral("UTM"), english ? QStringLiteral("SITES") : QStringLiteral("STAZIONI"),
                                english ? QStringLiteral("YEAR") : QStringLiteral("ANNO"),
                                QStringLiteral("E_UTM32"), QStringLiteral("N_UTM32")};
    QString text = header.join(u'\t') + QStringLiteral("\r\n");
    for (const auto &row : rows.rows()) {
        QStringList cells;
        for (const QVariant &value : row)
            cells << cellText(value);
        text += cells.join(u'\t') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

// Replaces target by source in one step (the rename replaces an existing file).
void moveOver(const QString &source, const QString &target)
{
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(source).toStdString(), QFile::encodeName(target).toStdString(), error);
    if (error)
        throw DataError(QStringLiteral("Cannot write ") + target + QStringLiteral(": ")
                        + QString::fromStdString(error.message()));
}

void removeIfPresent(const QString &path)
{
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw DataError(QStringLiteral("Cannot remove ") + path);
}

// A folder for the parts of an export beside their targets (same file system,
// so each part is renamed into place), removed with whatever it still holds.
class Staging {
public:
    explicit Staging(const QString &folder) : dir_(folder + QStringLiteral(".ortolan-export-XXXXXX"))
    {
        if (!dir_.isValid())
            throw DataError(QStringLiteral("Cannot write in ") + folder + QStringLiteral(": ") + dir_.errorString());
    }
    QString path() const { return dir_.path() + u'/'; }

private:
    QTemporaryDir dir_;
};

void copyFile(const QString &source, const QString &target)
{
    if (!QFile::copy(source, target))
        throw DataError(QStringLiteral("Cannot copy ") + source + QStringLiteral(" to ") + target);
}

// Drops the saved query "Esporta" however the export ends, so that the next
// shapefile export can create it again.
class TemporaryQuery {
public:
    TemporaryQuery(data::Connection &connection, const QString &name, const QString &sql)
        : connection_(connection), name_(name)
    {
        connection_.createQuery(name_, sql);
    }
    ~TemporaryQuery()
    {
        try {
            connection_.dropQuery(name_);
        } catch (const DataError &) {
            // The view is temporary: it ends with the connection at the latest.
        }
    }

private:
    data::Connection &connection_;
    QString name_;
};

class ScopedMetafileTarget {
public:
    explicit ScopedMetafileTarget(const QString &path) { settings().MetafileTarget = path; }
    ~ScopedMetafileTarget() { settings().MetafileTarget = QStringLiteral("No"); }
};

struct Job {
    const ExportRequest &request;
    ExportNames names;
    QStringList written;
    std::unique_ptr<data::Connection> owned;

    data::Connection &connection()
    {
        if (request.connection)
            return *request.connection;
        if (!owned)
            owned = data::Connection::open(request.databasePath, request.connectString);
        return *owned;
    }

    void writeText()
    {
        const data::Recordset rows = connection().openRecordset(q::occupiedSquares(request.taxonCode, request.english));
        data::AtomicFile::write(names.mainFile, textTable(rows, request.english));
        written << names.mainFile;
    }

    void writeExcel()
    {
        connection().execute(q::occupiedSquaresToExcel(names.outputName, request.taxonCode, request.english));
        written << names.mainFile;
    }

    void writeDbase()
    {
        connection().execute(
            q::occupiedSquaresToDbase(names.folder, names.outputName, request.taxonCode, request.english));
        written << names.mainFile;
        const QString cpg = names.folder + names.outputName + QStringLiteral(".cpg");
        if (QFileInfo::exists(cpg))
            written << cpg;
    }

    // Every part is made complete in a staging folder first; only then are
    // stale index files removed and the parts renamed into place.
    void writeShapefile()
    {
        const Staging staging(names.folder);
        const QString stagedBase = staging.path() + names.outputName;
        {
            data::Connection &db = connection();
            const TemporaryQuery esporta(db, q::esportaName(), q::esportaQuery(request.taxonCode, request.english));
            db.execute(q::allSquaresToDbase(staging.path(), names.outputName, request.english));
        }
        const QString templateBase = request.dataFolder + QStringLiteral("qutm32");
        QStringList parts = {QStringLiteral(".shp"), QStringLiteral(".shx"), QStringLiteral(".dbf")};
        copyFile(templateBase + QStringLiteral(".shp"), stagedBase + QStringLiteral(".shp"));
        copyFile(templateBase + QStringLiteral(".shx"), stagedBase + QStringLiteral(".shx"));
        // The projection (WGS 84 / UTM zone 32N) travels with the squares, so
        // that GIS programs place them without asking.
        if (QFileInfo::exists(templateBase + QStringLiteral(".prj"))) {
            copyFile(templateBase + QStringLiteral(".prj"), stagedBase + QStringLiteral(".prj"));
            parts << QStringLiteral(".prj");
        }
        if (QFileInfo::exists(stagedBase + QStringLiteral(".cpg")))
            parts << QStringLiteral(".cpg");

        const QString target = names.folder + names.outputName;
        // Spatial indexes of an earlier shapefile of this name would describe
        // the wrong attributes: they go before the new parts arrive.
        removeIfPresent(target + QStringLiteral(".sbn"));
        removeIfPresent(target + QStringLiteral(".sbx"));
        for (const QString &part : parts) {
            moveOver(stagedBase + part, target + part);
            written << target + part;
        }
    }

    void writeBitmap()
    {
        if (!request.outputs.currentMapImage)
            throw DataError(QStringLiteral("No map picture is available."));
        const QImage image = request.outputs.currentMapImage();
        if (image.isNull())
            throw DataError(QStringLiteral("The map picture is empty."));
        data::AtomicFile::write(names.mainFile, WindowsBitmap::encode(image));
        written << names.mainFile;
    }

    // The metafile printer writes into a staging folder; the finished file is
    // renamed over the target, so a failed drawing leaves any earlier file.
    void writeMetafile()
    {
        if (!request.outputs.writeMapMetafile)
            throw DataError(QStringLiteral("No map printer is available."));
        const Staging staging(names.folder);
        const QString staged = staging.path() + QFileInfo(names.mainFile).fileName();
        settings().PrintColourMode = QStringLiteral("Colori");
        bool drawn = false;
        {
            const ScopedMetafileTarget target(staged);
            drawn = request.outputs.writeMapMetafile(staged);
        }
        if (!drawn || !QFileInfo::exists(staged))
            throw DataError(QStringLiteral("The map metafile was not written."));
        moveOver(staged, names.mainFile);
        written << names.mainFile;
    }
};

}  // namespace

MapOutputs &mapOutputs()
{
    static MapOutputs outputs;
    return outputs;
}

ExportNames exportNames(const QString &chosenPath, const QString &format)
{
    ExportNames names;
    const QFileInfo chosen(QDir::fromNativeSeparators(chosenPath));
    QString fileName = chosen.fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot > 0)
        fileName.truncate(dot);
    names.folder = chosen.path();
    if (!names.folder.endsWith(u'/'))
        names.folder += u'/';
    if (barePerFormat(format)) {
        // The select-into target cannot keep blanks around a table name, so
        // those left by the cut ("Carabus olympiae" -> "Carabus ") go too.
        names.outputName = fileName.left(8).trimmed();
        names.shownName = names.outputName;
        names.mainFile = names.folder + names.outputName + u'.' + format;
    } else {
        names.outputName = names.folder + fileName;
        names.shownName = names.outputName;
        names.mainFile = names.outputName + u'.' + format;
    }
    return names;
}

bool ExportJob::isFormat(const QString &format)
{
    return kFormats.contains(format);
}

ExportRequest ExportJob::fromSettings(const QString &format, const QString &chosenPath)
{
    const Settings &s = settings();
    ExportRequest request;
    request.format = format;
    request.taxonCode = s.SelectedTaxonCode;
    request.english = s.isEnglish();
    request.chosenPath = chosenPath;
    request.dataFolder = s.DataFolder;
    request.databasePath = s.DatabasePath;
    request.connectString = QStringLiteral(";pwd=") + s.DatabasePassword;
    request.outputs = mapOutputs();
    return request;
}

ExportResult ExportJob::run(const ExportRequest &request)
{
    const MessageCatalogue &messages = settings().messages;
    ExportResult result;
    if (!isFormat(request.format)) {
        result.messageText = messages.MsgExportFailed;
        result.detail = QStringLiteral("Unknown export format ") + request.format;
        return result;
    }
    if (request.format == QStringLiteral("shp")) {
        for (const char *part : {".shp", ".shx"}) {
            const QString path = request.dataFolder + QStringLiteral("qutm32") + QString::fromLatin1(part);
            if (!QFileInfo::exists(path)) {
                result.messageText = messages.MsgMissingFile + QDir::toNativeSeparators(path);
                result.detail = result.messageText;
                return result;
            }
        }
    }
    Job job{request, exportNames(request.chosenPath, request.format), {}, {}};
    try {
        if (job.names.outputName.isEmpty() || QFileInfo(job.names.mainFile).fileName().startsWith(u'.'))
            throw DataError(QStringLiteral("The file name is empty."));
        const QString &f = request.format;
        if (f == QStringLiteral("txt"))
            job.writeText();
        else if (f == QStringLiteral("xls"))
            job.writeExcel();
        else if (f == QStringLiteral("dbf"))
            job.writeDbase();
        else if (f == QStringLiteral("shp"))
            job.writeShapefile();
        else if (f == QStringLiteral("bmp"))
            job.writeBitmap();
        else
            job.writeMetafile();
    } catch (const DataError &e) {
        result.messageText = messages.MsgExportFailed;
        result.detail = e.description();
        return result;
    } catch (const std::exception &e) {
        result.messageText = messages.MsgExportFailed;
        result.detail = QString::fromUtf8(e.what());
        return result;
    }
    result.ok = true;
    result.writtenFiles = job.written;
    result.messageText = messages.MsgExported + job.names.shownName + u'.' + request.format;
    return result;
}

}  // namespace ortolan::exporting
