#pragma once

#include <string>
#include <vector>

namespace ortolan::demo {

// The look-up tables of the species database: chorotypes, habitats and
// conservation categories, with their Italian and English texts.
struct CodedText {
    std::string code, italian, english;
};

struct ConservationCategory {
    std::string code, italian, english;
    int order;  // position in the explanations list: most threatened first
};

class LookupTables
{
public:
    static const std::vector<CodedText> &chorotypes();
    static const std::vector<CodedText> &habitats();
    static const std::vector<ConservationCategory> &conservation();

    // A conservation code puts a taxon on the Red List of the checklist tree when it
    // begins with V, E or X, or is exactly "C".
    static bool isRedListCode(const std::string &code);
    // Italian endemics sensu stricto among the chorotypes.
    static bool isItalianEndemic(const std::string &chorotype);
};

}  // namespace ortolan::demo
