#pragma once

#include "records/RecordTableWindow.h"

namespace ortolan::records {

// Form_Stazioni: the records of a taxon (all, or those of one square), with
// the Excel export of all the taxon's records.
class SitesTableWindow : public RecordTableWindow {
    Q_OBJECT
public:
    explicit SitesTableWindow(const data::Recordset &records, QWidget *parent = nullptr);

    static Behaviour behaviour();
};

}  // namespace ortolan::records
