#include "print/OTprintSystemPrinter.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace ortolan::print {

std::shared_ptr<OTprintSystemPrinter> OTprintSystemPrinter::create(const QString &name)
{
    QPrinterInfo info = name.isEmpty() ? QPrinterInfo::defaultPrinter() : QPrinterInfo::printerInfo(name);
    // A system with printers but no default one still prints: take its first.
    if (info.isNull() && name.isEmpty() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().constFirst();
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    return std::shared_ptr<OTprintSystemPrinter>(new OTprintSystemPrinter(std::move(printer)));
}

OTprintSystemPrinter::OTprintSystemPrinter(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer))
{
    OTprintPrinter::setOrientation(m_printer->pageLayout().orientation());
}

OTprintSystemPrinter::~OTprintSystemPrinter() = default;

QSize OTprintSystemPrinter::resolution() const
{
    // QPrinter reports one resolution for both axes.
    const int dpi = m_printer->resolution();
    return dpi > 0 ? QSize(dpi, dpi) : OTprintPrinter::resolution();
}

QSizeF OTprintSystemPrinter::paperSizeMm() const
{
    return m_printer->pageLayout().fullRect(QPageLayout::Millimeter).size();
}

QSizeF OTprintSystemPrinter::printableAreaTwips() const
{
    return m_printer->pageLayout().paintRect(QPageLayout::Millimeter).size() * (1440 / 25.4);
}

void OTprintSystemPrinter::setOrientation(QPageLayout::Orientation orientation)
{
    m_printer->setPageOrientation(orientation);
    OTprintPrinter::setOrientation(orientation);
}

}  // namespace ortolan::print
