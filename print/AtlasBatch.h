#pragma once

#include "print/HeadlessPage.h"
#include "print/RenderedPage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

namespace ortolan::data {
class Connection;
}

namespace ortolan::print {

// The batch atlas: one printed map page per species (and, on request, per
// subspecies) below a group of the tree, a genus or a species, written into
// one folder with an index of the pages. Every page is the page the species
// window prints (HeadlessPage), played back into PNG or PDF when asked.
class AtlasBatch {
public:
    struct Taxon {
        QString code;
        QString name;
        QString author;
        bool subspecies = false;
        // The title under the map, as the species window names a selected
        // species: its name, a blank and its author.
        QString caption() const;
    };

    struct Request {
        QString code;            // group, genus or species code
        QString folder;          // created when missing
        PageFormat format = PageFormat::Png;
        HeadlessPageStyle style; // forPrint is forced: atlas pages are printed pages
        bool subspecies = false;
        int pngDpi = RenderedPage::PngDpi;
        bool english = true;     // language of the index's column names
    };

    struct Entry {
        Taxon taxon;
        int squares = 0;         // different squares on the map
        QVariant latestYear;     // null when no record is dated
        QString fileName;        // within the folder
    };

    struct Result {
        enum class Status {
            Done,         // every page and the index written
            UnknownCode,  // the code names no group and no taxon
            NoDatabase,   // the species database cannot be opened or read
            BadFolder,    // the folder cannot be made or written
            Failed,       // a page or the index could not be written
        };
        Status status = Status::Failed;
        std::vector<Entry> entries;  // the pages written, in code order
        QString indexPath;           // written only when status is Done
        QStringList warnings;        // squares the map cannot place and the like
        QString failure;             // one line, when status is not Done
    };

    // Called after each page: pages done so far, pages in all, the taxon done.
    using Progress = std::function<void(int done, int total, const Taxon &taxon)>;

    // The name of the index file in the folder.
    static QString indexName() { return QStringLiteral("index.csv"); }

    // The taxa of the batch in code order: every species (and subspecies when
    // asked) whose group code begins with code when code is a group of the
    // tree, otherwise every one whose own code begins with code when code is a
    // genus or taxon code. A subspecies is a taxon whose code begins with the
    // code of a species listed before it; the taxon named by code itself is
    // always listed. Nothing when code names no group and no taxon. Throws
    // data::DataError when the database fails.
    static std::optional<std::vector<Taxon>> taxaOf(data::Connection &db, const QString &code, bool subspecies);

    // A file name that every common file system accepts: characters that are
    // not allowed in names on Windows or Linux (path separators, < > : " | ? *,
    // control characters) and blanks become "_", runs of "_" shrink to one,
    // leading and trailing dots, blanks and "_" go, a device name of Windows
    // (CON, NUL, COM1, ...) gets a leading "_", and the result stays short
    // enough for a name with an extension.
    static QString safeFileName(const QString &text);
    // "CODE_Genus_species.ext", made safe.
    static QString pageFileName(const Taxon &taxon, PageFormat format);

    // One field of a comma-separated line, quoted when it holds a comma, a
    // quote or a line break (quotes doubled), as RFC 4180 writes them.
    static QString csvField(const QString &text);
    // The index: a header line, then code, name, author, squares, latest year
    // and file name of each page; UTF-8, lines ended by CR LF.
    static QByteArray indexCsv(const std::vector<Entry> &entries, bool english);

    // Writes the pages and then the index. A page that cannot be written stops
    // the batch; the index is then not written, so an index always lists
    // pages that exist. Pages are written atomically, one by one.
    static Result run(const Request &request, const Progress &progress = {});
    // The same on an open connection.
    static Result run(data::Connection &db, const Request &request, const Progress &progress = {});
};

}  // namespace ortolan::print
