#include "print/OTprintPrinter.h"

namespace ortolan::print {

namespace {

std::shared_ptr<OTprintPrinter> &installed()
{
    static std::shared_ptr<OTprintPrinter> printer;
    return printer;
}

}  // namespace

OTprintPrinter::~OTprintPrinter() = default;

QSizeF OTprintPrinter::paperSizeMm() const
{
    const QSizeF a4(210, 297);
    return m_orientation == QPageLayout::Landscape ? a4.transposed() : a4;
}

QSizeF OTprintPrinter::printableAreaTwips() const
{
    return paperSizeMm() * (1440 / 25.4);
}

std::shared_ptr<OTprintPrinter> OTprintPrinter::current()
{
    if (!installed())
        installed() = std::make_shared<OTprintPrinter>();
    return installed();
}

void OTprintPrinter::install(std::shared_ptr<OTprintPrinter> printer)
{
    installed() = std::move(printer);
}

}  // namespace ortolan::print
