#include "records/SitesTableWindow.h"

namespace ortolan::records {

SitesTableWindow::SitesTableWindow(const data::Recordset &records, QWidget *parent)
    : RecordTableWindow(records, behaviour(), parent)
{
    setObjectName(QStringLiteral("Form_Stazioni"));
}

RecordTableWindow::Behaviour SitesTableWindow::behaviour()
{
    Behaviour b;
    b.layout = RecordTableLayout::sites();
    b.excelExport = true;
    return b;
}

}  // namespace ortolan::records
