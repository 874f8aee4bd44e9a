#pragma once

#include <QPageLayout>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>

namespace ortolan::print {

// What the drawing engine needs to know about the current printer: its
// resolution (the engine draws in its pixels), its paper and printable area, its
// orientation (which opening a metafile may change) and its current font.
//
// This base class describes the state of a system without printers: 600 dots per
// inch on both axes, an A4 sheet printable to its edges, "Arial" at 10 points. The
// windowed program installs a subclass backed by the system's printer at start-up
// (OTprintSystemPrinter); the core library never links the print-support module.
class OTprintPrinter {
public:
    OTprintPrinter() = default;
    virtual ~OTprintPrinter();
    OTprintPrinter(const OTprintPrinter &) = delete;
    OTprintPrinter &operator=(const OTprintPrinter &) = delete;

    // True for a real printer of the system.
    virtual bool isInstalled() const { return false; }
    // Horizontal and vertical resolution in pixels per inch.
    virtual QSize resolution() const { return QSize(600, 600); }
    // Paper size in millimetres, in the current orientation.
    virtual QSizeF paperSizeMm() const;
    // Printable area in twips (1/1440 inch), in the current orientation.
    virtual QSizeF printableAreaTwips() const;
    // Current font of the printer: face name and size in points.
    virtual QString fontName() const { return QStringLiteral("Arial"); }
    virtual int fontSize() const { return 10; }

    QPageLayout::Orientation orientation() const { return m_orientation; }
    virtual void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }

    // The printer the engine objects of this process use: the installed one, or a
    // shared description of "no printer".
    static std::shared_ptr<OTprintPrinter> current();
    // Installs the process's printer; null goes back to "no printer".
    static void install(std::shared_ptr<OTprintPrinter> printer);

private:
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
};

}  // namespace ortolan::print
