#pragma once

#include <QString>

#include <functional>

class QMdiSubWindow;

namespace ortolan {

// The application shell's windows inside the main frame: the start screen,
// the about window and the way back Home. Placement follows the frame's rule:
// centred horizontally, top at 1/divisor of the free height.

// Opens (or brings forward) the start screen; divisor 6 at start-up and on
// frame resize, 3 from the Home commands.
QMdiSubWindow *openStartScreen(int divisor);
// The open start screen's sub-window, or null.
QMdiSubWindow *startScreenSubWindow();
// Opens the about window, centred, top at one third.
QMdiSubWindow *openAbout();
// Closes the about window when it is open (the species window takes it along).
void closeAbout();
// Closes the species window (and with it its record windows) and opens the
// start screen at one third.
void goHome();

// How the shell opens the species window with a filter and closes it again;
// set once by the checklist browser at start-up.
struct SpeciesWindowHooks {
    std::function<void(const QString &filter)> open;
    std::function<void()> close;
};
void setSpeciesWindowHooks(SpeciesWindowHooks hooks);

}  // namespace ortolan
