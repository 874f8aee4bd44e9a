#include "print/MapPrinting.h"

namespace ortolan::print {

bool StampaMetafile(browser::SpeciesWindow &)
{
    // The drawing engine and the print preview come with the printing
    // subsystem; until then no page can be made, and saying so lets the
    // command report the failure instead of pretending to print.
    return false;
}

}  // namespace ortolan::print
