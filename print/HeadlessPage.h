#pragma once

#include "map/RecordsLayer.h"
#include "print/MapPage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace ortolan::data {
class Connection;
}

namespace ortolan::print {

class OTprint;

// How every page of a run looks: background, colour mode, grid, and whether it
// is the printed page (200 × 280 mm) or the exported map (110 × 146 mm).
struct HeadlessPageStyle {
    QString backgroundName;   // "ItaliaNEW.wmf" or "ItaliaREGIONI.wmf"
    bool blackWhite = false;
    bool grid = true;
    bool forPrint = true;
};

// The map page of a taxon written without a window, through the same page
// drawing as the species window: the printed page (forPrint) or the exported
// map into the metafile `target`.
struct HeadlessPageRequest {
    QString taxonCode;
    QString backgroundName;   // "ItaliaNEW.wmf" or "ItaliaREGIONI.wmf"
    bool blackWhite = false;
    bool grid = true;
    QString caption;          // title under the map
    bool forPrint = true;
    QString target;           // path of the metafile
};

struct HeadlessPageResult {
    bool ok = false;
    int squaresOnPage = 0;    // dots drawn: rows of the square table placed on the map
    int distinctSquares = 0;  // different squares among them
    QStringList messages;     // problems met on the way (bad square codes, engine messages, the failure)
};

// Map pages of one style for any number of taxa. The background is measured,
// the map's world fitted to it and the grid laid out once; each page then only
// reads the taxon's squares and draws. One drawing engine serves every page,
// as the species window keeps one for all its prints.
class HeadlessPage {
public:
    explicit HeadlessPage(const HeadlessPageStyle &style);
    ~HeadlessPage();
    HeadlessPage(const HeadlessPage &) = delete;
    HeadlessPage &operator=(const HeadlessPage &) = delete;

    // False when the background is missing or unusable; problems() says why.
    bool isReady() const { return m_ready; }
    const QStringList &problems() const { return m_problems; }

    // Reads the squares of taxonCode on db and writes its page titled caption
    // into the metafile target; an empty target keeps the page in memory
    // (lastPage()). Database failures come back as a failed result with the
    // catalogue's data-error message, never as an exception.
    HeadlessPageResult write(data::Connection &db, const QString &taxonCode, const QString &caption,
                             const QString &target);
    // The bytes of the page written last.
    QByteArray lastPage() const;

private:
    bool m_ready = false;
    QStringList m_problems;
    MapPageInput m_input;
    std::unique_ptr<map::ZoneGeometry> m_geometry;
    map::RecordsLayer m_records;
    std::unique_ptr<OTprint> m_engine;
    QStringList *m_messages = nullptr;  // the result being filled, for the engine's messages
};

// One page on a connection of its own.
HeadlessPageResult writeTaxonPage(const HeadlessPageRequest &request);

}  // namespace ortolan::print
