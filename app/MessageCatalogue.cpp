#include "app/MessageCatalogue.h"

namespace ortolan {

MessageCatalogue MessageCatalogue::italian()
{
    MessageCatalogue m;
    m.MsgSelectSpecies = QStringLiteral("Selezionare una specie");
    m.MsgNoDataSource = QStringLiteral("La fonte dati non è disponibile");
    m.MsgExported = QStringLiteral("Esportazione effettuata nel file ");
    m.MsgPrintSettings = QStringLiteral("Impossibile modificare le impostazioni di stampa");
    m.MsgMapPrintFailed = QStringLiteral("Impossibile stampare la cartina");
    m.MsgMissingFile = QStringLiteral("Manca il file ");
    m.MsgWebFailed = QStringLiteral("Impossibile aprire la pagina web; verificate le impostazioni del browser");
    m.MsgButtonError = QStringLiteral("Errore nel tasto ");
    m.MsgDataError = QStringLiteral("Errore nei dati: ");
    m.MsgMetafileCreate = QStringLiteral("Errore nella creazione del metafile");
    m.MsgMetafileDelete = QStringLiteral("Errore nella cancellazione del metafile");
    m.MsgExportFailed = QStringLiteral("Esportazione non effettuata");
    m.MsgNoPrinter = QStringLiteral("Nessuna stampante risulta installata nel sistema");
    m.TitleSites = QStringLiteral("Località di ");
    m.TitleSources = QStringLiteral("Fonti dati per ");
    m.TitleCard = QStringLiteral("Scheda di ");
    return m;
}

MessageCatalogue MessageCatalogue::english()
{
    MessageCatalogue m;
    m.MsgSelectSpecies = QStringLiteral("Please select a species");
    m.MsgNoDataSource = QStringLiteral("Data source is missing");
    m.MsgExported = QStringLiteral("Exported in ");
    m.MsgPrintSettings = QStringLiteral("Print settings failed");
    m.MsgMapPrintFailed = QStringLiteral("Map print failed");
    m.MsgMissingFile = QStringLiteral("Missing file ");
    m.MsgWebFailed = QStringLiteral("Impossible to open the web site; please verify browser settings");
    m.MsgButtonError = QStringLiteral("Error in button ");
    m.MsgDataError = QStringLiteral("Data error: ");
    m.MsgMetafileCreate = QStringLiteral("Metafile creation failed");
    m.MsgMetafileDelete = QStringLiteral("Metafile deletion error");
    m.MsgExportFailed = QStringLiteral("Export failed");
    m.MsgNoPrinter = QStringLiteral("There are no printers connected to the system");
    m.TitleSites = QStringLiteral("Sites of ");
    m.TitleSources = QStringLiteral("Data sources for ");
    m.TitleCard = QStringLiteral("Form of ");
    return m;
}

QString errorCaption() { return QStringLiteral("Ortolan Error"); }
QString infoCaption() { return QStringLiteral("Ortolan Info"); }

}  // namespace ortolan
