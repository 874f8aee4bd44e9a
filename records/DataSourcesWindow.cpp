#include "records/DataSourcesWindow.h"

#include "app/Help.h"

namespace ortolan::records {

DataSourcesWindow::DataSourcesWindow(const data::Recordset &records, QWidget *parent)
    : RecordTableWindow(records, behaviour(), parent)
{
    setObjectName(QStringLiteral("Form_Biblio"));
}

RecordTableWindow::Behaviour DataSourcesWindow::behaviour()
{
    Behaviour b;
    b.layout = RecordTableLayout::sources();
    b.menuSortsLastColumn = true;
    b.textExportStartsInUserFolder = false;
    b.helpContext = HelpContext::DataSources;
    b.excelExport = false;
    const auto caption = [&b](const char *name, const char *italian, const char *english) {
        b.captionOverrides.insert(QString::fromUtf8(name), {QString::fromUtf8(italian), QString::fromUtf8(english)});
    };
    caption("Chiudi_mnu", "&Chiudi", "Close form");
    caption("Copia_celle_mnu", "&Copia celle nel clipboard", "&Copy cells to clipboard");
    caption("Copia_tabella_mnu", "Copia &tabella nel clipboard", "Cop&y table to clipboard");
    caption("OrdinaDecresc_mnu", "Ordina &decrescente", "&Descending order");
    caption("ExpTxt_mnu", "&Esporta testo...", "&Export to text file");
    caption("Sovrapponi_mnu", "Sovrapponi", "&Cascade");
    return b;
}

}  // namespace ortolan::records
