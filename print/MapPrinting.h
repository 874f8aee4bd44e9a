#pragma once

#include <memory>

namespace ortolan::browser {
class SpeciesWindow;
}

namespace ortolan::print {

class OTprint;

// Printing state the species window keeps for its whole life (the drawing
// engine object of the printed page, whose drawing properties carry over from
// one print to the next). Released when the window closes.
class MapPrintState {
public:
    MapPrintState();
    virtual ~MapPrintState();
    OTprint &engine();

private:
    std::unique_ptr<OTprint> m_engine;
};

// StampaMetafile: draws the species window's current distribution map as a
// vector page (background, grid when GridShown is "Sì", frame, one dot per
// occupied square, the window's caption as title) into an enhanced metafile:
// the temporary print page shown by the print preview when MetafileTarget is
// "No" or "Sì", otherwise the file MetafileTarget names. PrintColourMode "BW"
// draws in black and white.
//
// Returns false when no page was made; the caller reports MsgMapPrintFailed.
bool StampaMetafile(browser::SpeciesWindow &window);

// OpenPrintPreview: with no printer on the system shows MsgNoPrinter; otherwise
// opens the print preview of the temporary page over the main window's inner
// area, registered with the species window so that it closes with it.
void OpenPrintPreview(browser::SpeciesWindow &window);

}  // namespace ortolan::print
