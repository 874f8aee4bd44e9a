#pragma once

#include <QString>
#include <QStringList>

namespace ortolan::print {

// The map page of a taxon written without a window, through the same page
// drawing as the species window: the printed page (forPrint, 200 × 280 mm) or
// the exported map (110 × 146 mm) into the metafile `target`.
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
    int squaresOnPage = 0;
    QStringList messages;     // problems met on the way (bad square codes, engine messages, the failure)
};

HeadlessPageResult writeTaxonPage(const HeadlessPageRequest &request);

}  // namespace ortolan::print
