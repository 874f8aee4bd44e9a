#pragma once

#include "records/RecordTableWindow.h"

namespace ortolan::records {

// Form_Biblio: the data sources of a taxon for its data owner. Unlike the
// sites table it copies and exports from the first field, its sort menu
// sorts by the last selected column alone, its help opens the data sources
// topic, the text export starts in the dialog's own folder and there is no
// Excel export.
class DataSourcesWindow : public RecordTableWindow {
    Q_OBJECT
public:
    explicit DataSourcesWindow(const data::Recordset &records, QWidget *parent = nullptr);

    static Behaviour behaviour();
};

}  // namespace ortolan::records
