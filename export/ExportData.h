#pragma once

namespace ortolan::browser {
class SpeciesWindow;
}

namespace ortolan::exporting {

// Export_Data: writes the distribution of the selected taxon to a file the
// user chooses, in the format of ExportType ("bmp", "emf", "shp", "xls",
// "dbf", "txt"), and reports the outcome itself (MsgExported, MsgExportFailed,
// MsgMissingFile). Called by the export items of the species window's File menu.
void Export_Data(browser::SpeciesWindow &window);

}  // namespace ortolan::exporting
