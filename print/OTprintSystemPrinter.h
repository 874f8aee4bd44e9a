#pragma once

#include "print/OTprintPrinter.h"

#include <QString>

#include <memory>

class QPrinter;

namespace ortolan::print {

// The drawing engine's view of a printer of the system (QPrinterInfo/QPrinter):
// its resolution, paper, printable area and orientation. The print preview
// prints through printer() with the orientation the last metafile chose.
class OTprintSystemPrinter : public OTprintPrinter {
public:
    // The named printer, or the system's default printer (its first printer when
    // none is the default) when name is empty; null when the system lists no
    // printer (or none of that name).
    static std::shared_ptr<OTprintSystemPrinter> create(const QString &name = QString());
    ~OTprintSystemPrinter() override;

    bool isInstalled() const override { return true; }
    QSize resolution() const override;
    QSizeF paperSizeMm() const override;
    QSizeF printableAreaTwips() const override;
    void setOrientation(QPageLayout::Orientation orientation) override;

    QPrinter &printer() { return *m_printer; }

private:
    explicit OTprintSystemPrinter(std::unique_ptr<QPrinter> printer);
    std::unique_ptr<QPrinter> m_printer;
};

}  // namespace ortolan::print
