#include "export/ExportData.h"

#include "app/Settings.h"
#include "app/MessageBoxes.h"
#include "browser/SpeciesWindow.h"

namespace ortolan::exporting {

void Export_Data(browser::SpeciesWindow &window)
{
    // The file writers (bitmap, metafile, shapefile, dBase, Excel, text)
    // belong to the export subsystem. Until they are in place nothing is
    // written, and the user is told so rather than left guessing.
    showError(settings().messages.MsgExportFailed, &window);
}

}  // namespace ortolan::exporting
