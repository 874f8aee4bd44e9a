#pragma once

#include <QString>

namespace ortolan {

// The sixteen shared texts of the program: thirteen messages shown in message
// boxes (usually followed by a detail such as a path or a button key) and three
// window-caption prefixes. Filled once at start-up in the chosen language.
struct MessageCatalogue {
    QString MsgSelectSpecies;
    QString MsgNoDataSource;
    QString MsgExported;
    QString MsgPrintSettings;
    QString MsgMapPrintFailed;
    QString MsgMissingFile;
    QString MsgWebFailed;
    QString MsgButtonError;
    QString MsgDataError;
    QString MsgMetafileCreate;
    QString MsgMetafileDelete;
    QString MsgExportFailed;
    QString MsgNoPrinter;
    QString TitleSites;
    QString TitleSources;
    QString TitleCard;

    static MessageCatalogue italian();
    static MessageCatalogue english();
};

// Captions of the program's message boxes.
QString errorCaption();  // "Ortolan Error"
QString infoCaption();   // "Ortolan Info"

}  // namespace ortolan
