#pragma once

#include <string>
#include <vector>

namespace ortolan::demo {

// A systematic group above the genus, as stored in table Taxa.
struct Group {
    std::string code;  // 3, 7, 11 or 15 characters, hierarchical by prefix
    std::string name;
};

// A family with what the generator needs to fill it with genera and species.
struct FamilyPlan {
    std::string code;        // 15-character group code
    std::string name;
    std::string orderCode;   // code of the order above it, or of the nearest group when it hangs higher
    std::string topCode;     // 3-character code of its top group
    int volume = 0;          // checklist volume: the first three digits of its taxon codes
    int genusStart = -1;     // first genus number when fixed (a band of vertebrate classes); -1 continues the volume
    int speciesCount = 0;    // species to generate
    std::string profile;     // ecological profile tag (see EcologyProfile)
    double alienRate = -1;   // share of alien species; -1 takes the profile's value
    double directiveRate = -1;
    double redListRate = -1;
};

// The real higher classification of the Italian terrestrial and inland-water
// fauna used by the demo data set: top groups, classes, orders and families.
class HigherTaxa
{
public:
    // Parses the built-in table; throws std::runtime_error on a malformed line.
    HigherTaxa();

    const std::vector<Group> &groups() const { return m_groups; }
    const std::vector<FamilyPlan> &families() const { return m_families; }

private:
    void parseLine(const std::string &line, int lineNumber);
    std::string childCode(const std::string &parent);

    std::vector<Group> m_groups;
    std::vector<FamilyPlan> m_families;
    std::string m_top, m_class, m_order;
    std::vector<std::pair<std::string, int>> m_childCounters;
};

}  // namespace ortolan::demo
