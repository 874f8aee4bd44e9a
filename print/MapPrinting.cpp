#include "print/MapPrinting.h"

#include "app/MainWindow.h"
#include "app/MessageBoxes.h"
#include "app/Settings.h"
#include "browser/RecordWindowKind.h"
#include "browser/SpeciesWindow.h"
#include "map/BackgroundMaps.h"
#include "map/MapWidget.h"
#include "print/MapPage.h"
#include "print/OTprint.h"
#include "print/OTprintPrinter.h"
#include "print/PrintPreviewWindow.h"

#include <QDebug>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace ortolan::print {

MapPrintState::MapPrintState() = default;
MapPrintState::~MapPrintState() = default;

OTprint &MapPrintState::engine()
{
    if (!m_engine)
        m_engine = std::make_unique<OTprint>();
    return *m_engine;
}

namespace {

bool isPrintTarget(const QString &target)
{
    return target == QStringLiteral("No") || target == QStringLiteral("Sì");
}

}  // namespace

bool StampaMetafile(browser::SpeciesWindow &window)
{
    map::MapWidget *mapWidget = window.mapWidget();
    if (!mapWidget)
        return false;
    const Settings &s = settings();
    const map::MapViewModel &model = mapWidget->model();
    const map::ZoneGeometry &geometry = model.geometry();
    if (!geometry.isValid())
        return false;

    MapPageInput input;
    input.setMap(model.worldSize(), geometry, mapWidget->records());
    input.blackWhite = s.PrintColourMode == QStringLiteral("BW");
    input.backgroundPath = map::backgrounds::printPath(mapWidget->backgroundName(), s.PrintColourMode);
    input.grid = s.GridShown == QStringLiteral("Sì");
    input.caption = window.windowTitle();
    input.forPrint = isPrintTarget(s.MetafileTarget);
    input.target = input.forPrint ? MapPage::printPagePath() : s.MetafileTarget;

    std::unique_ptr<MapPrintState> &state = window.printState();
    if (!state)
        state = std::make_unique<MapPrintState>();
    OTprint &engine = state->engine();
    // Creation and deletion failures of the metafile are the engine's own boxes.
    engine.setMessageHandler([&window](const OTprint::Message &m) {
        if (m.kind == OTprint::Message::Kind::Critical)
            showError(m.text, &window);
        else
            showInfo(m.text, &window);
    });
    if (const OTprintResult result = MapPage::writeMapPage(input, engine); !result) {
        qWarning("map page not made: %s", qPrintable(result.text()));
        return false;
    }
    if (input.forPrint)
        OpenPrintPreview(window);
    return true;
}

void OpenPrintPreview(browser::SpeciesWindow &window)
{
    const Settings &s = settings();
    // The process's printer is the system's, installed at start-up; the page
    // was laid out for it.
    if (!OTprintPrinter::current()->isInstalled()) {
        showError(s.messages.MsgNoPrinter, &window);
        return;
    }
    if (!isPrintTarget(s.MetafileTarget))
        return;
    // The preview is a child of the main window when the species window is.
    MainWindow *frame = mainWindow();
    const bool inFrame = frame && frame->isAncestorOf(&window);
    auto *preview = new PrintPreviewWindow(MapPage::printPagePath());
    preview->setAttribute(Qt::WA_DeleteOnClose);
    window.registerRecordWindow(preview, browser::RecordWindowKind::Preview);
    if (inFrame) {
        QMdiSubWindow *sub = frame->addChild(preview);
        if (!sub->isMaximized())
            sub->setGeometry(QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()));
    } else {
        preview->resize(window.size());
        preview->show();
    }
}

}  // namespace ortolan::print
