#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

namespace ortolan::data {
class Connection;
}

namespace ortolan::exporting {

// The two map outputs come from the map view and the map printing; the export
// only calls them. Both are wired by the application (see mapOutputs()).
struct MapOutputs {
    // The map picture's current pixels (a null image when there is no map).
    std::function<QImage()> currentMapImage;
    // Draws the current map into the enhanced metafile at emfPath; the caller
    // has already set PrintColourMode and MetafileTarget. Returns success.
    std::function<bool(const QString &emfPath)> writeMapMetafile;
};

// The program-wide map outputs used by the species window and ortolan-cli.
// Empty until the application wires them; an export of "bmp" or "emf" then
// fails cleanly.
MapOutputs &mapOutputs();

struct ExportRequest {
    QString format;        // "bmp", "emf", "shp", "dbf", "xls", "txt"
    QString taxonCode;     // code prefix: the taxon and its subordinate taxa
    bool english = true;   // column and sheet names of the language
    QString chosenPath;    // the file the user chose (any extension, or none)
    QString dataFolder;    // folder of the shapefile template qutm32.shp/.shx/.prj
    // Database for the data formats: an open connection, or, when null, the
    // database file and connect string opened for the export.
    data::Connection *connection = nullptr;
    QString databasePath;
    QString connectString;
    MapOutputs outputs;
};

struct ExportResult {
    bool ok = false;
    QString messageText;      // the message to show (MsgExported..., MsgExportFailed, MsgMissingFile...)
    QString detail;           // why it failed, for logs and the command line
    QStringList writtenFiles; // full paths of the files written
};

// The names an export writes, derived from the file the user chose.
struct ExportNames {
    QString folder;      // folder of the chosen file, with a trailing "/"
    QString outputName;  // name without extension: full path, or for shp/dbf the bare name cut to 8 characters
    QString mainFile;    // full path of the written file with its extension
    QString shownName;   // what the success message shows before "." + format
};

// The chosen file's extension (the text after the last dot of the file name)
// is replaced by the format's; a name without one gets it appended. For "shp"
// and "dbf" the bare name is cut to its first 8 characters, blanks included,
// and blanks left at its ends are dropped.
ExportNames exportNames(const QString &chosenPath, const QString &format);

// Writes the export of a request. Never shows a message: the result carries
// the text. On failure no partial output is left and earlier files of the
// same names are untouched.
class ExportJob {
public:
    static ExportResult run(const ExportRequest &request);
    // A request filled from the settings (taxon, language, data folder,
    // database) and the program-wide map outputs.
    static ExportRequest fromSettings(const QString &format, const QString &chosenPath);
    static bool isFormat(const QString &format);
};

}  // namespace ortolan::exporting
