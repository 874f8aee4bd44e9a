#include "tools/demo_db/LookupTables.h"

namespace ortolan::demo {

const std::vector<CodedText> &LookupTables::chorotypes()
{
    static const std::vector<CodedText> table = {
        {"COS", "Cosmopolita", "Cosmopolitan"},
        {"SCO", "Subcosmopolita", "Subcosmopolitan"},
        {"OLA", "Olartico", "Holarctic"},
        {"PAL", "Paleartico", "Palearctic"},
        {"WPA", "W-Paleartico", "West-Palearctic"},
        {"ASE", "Asiatico-Europeo", "Asiatic-European"},
        {"SIE", "Sibirico-Europeo", "Siberian-European"},
        {"CAE", "Centroasiatico-Europeo", "Central Asiatic-European"},
        {"CEM", "Centroasiatico-Europeo-Mediterraneo", "Central Asiatic-European-Mediterranean"},
        {"TEM", "Turanico-Europeo-Mediterraneo", "Turanian-European-Mediterranean"},
        {"TUE", "Turanico-Europeo", "Turanian-European"},
        {"EUR", "Europeo", "European"},
        {"CEU", "Centroeuropeo", "Central European"},
        {"SEU", "S-Europeo", "South-European"},
        {"MED", "Mediterraneo", "Mediterranean"},
        {"WME", "W-Mediterraneo", "West-Mediterranean"},
        {"EME", "E-Mediterraneo", "East-Mediterranean"},
        {"NAF", "Nordafricano", "North African"},
        {"BAL", "Boreoalpino", "Boreo-Alpine"},
        {"ALP", "Alpino", "Alpine"},
        {"APP", "Appenninico", "Apennine"},
        {"ALPAPP", "Alpino-Appenninico", "Alpine-Apennine"},
        {"END", "Endemico italiano", "Italian endemic"},
        {"SAR", "Sardo", "Sardinian"},
        {"SIC", "Siculo", "Sicilian"},
        {"SARCOR", "Sardo-Corso", "Sardo-Corsican"},
        {"ADV", "Avventizio", "Adventive"},
    };
    return table;
}

const std::vector<CodedText> &LookupTables::habitats()
{
    static const std::vector<CodedText> table = {
        {"AC", "Acque correnti", "Running waters"},
        {"AF", "Sorgenti", "Springs"},
        {"AS", "Acque stagnanti", "Standing waters"},
        {"LA", "Laghi", "Lakes"},
        {"PA", "Paludi e torbiere", "Marshes and bogs"},
        {"AI", "Acque sotterranee", "Groundwater"},
        {"GR", "Grotte", "Caves"},
        {"BL", "Boschi di latifoglie", "Broadleaved woodland"},
        {"BC", "Boschi di conifere", "Coniferous woodland"},
        {"BR", "Boschi ripariali", "Riparian woodland"},
        {"LM", "Legno morto", "Dead wood"},
        {"MA", "Macchia mediterranea", "Mediterranean maquis"},
        {"GA", "Gariga", "Garrigue"},
        {"PR", "Prati e pascoli", "Meadows and pastures"},
        {"PX", "Praterie aride", "Dry grasslands"},
        {"PL", "Praterie alpine", "Alpine grasslands"},
        {"RU", "Rupi e ghiaioni", "Rocks and screes"},
        {"SU", "Suolo e lettiera", "Soil and leaf litter"},
        {"DU", "Dune e spiagge", "Dunes and beaches"},
        {"CO", "Coltivi", "Farmland"},
        {"UR", "Ambienti urbani", "Urban areas"},
        {"OS", "Su animali ospiti", "On host animals"},
        {"DI", "Ambienti diversi", "Various habitats"},
    };
    return table;
}

const std::vector<ConservationCategory> &LookupTables::conservation()
{
    // Listed in code order; the explanations list sorts by `order`.
    static const std::vector<ConservationCategory> table = {
        {"C", "Dipendente dalla conservazione", "Conservation dependent", 8},
        {"CR", "In pericolo critico", "Critically endangered", 4},
        {"DD", "Dati insufficienti", "Data deficient", 11},
        {"EN", "In pericolo", "Endangered", 5},
        {"EW", "Estinta in natura", "Extinct in the wild", 2},
        {"EX", "Estinta", "Extinct", 1},
        {"LC", "Minor preoccupazione", "Least concern", 10},
        {"NE", "Non valutata", "Not evaluated", 12},
        {"NT", "Quasi minacciata", "Near threatened", 7},
        {"R", "Rara", "Rare", 9},
        {"VU", "Vulnerabile", "Vulnerable", 6},
        {"XI", "Scomparsa dall'Italia", "Extinct in Italy", 3},
    };
    return table;
}

bool LookupTables::isRedListCode(const std::string &code)
{
    if (code.empty())
        return false;
    const char first = code[0];
    return code == "C" || first == 'V' || first == 'E' || first == 'X';
}

bool LookupTables::isItalianEndemic(const std::string &chorotype)
{
    return chorotype == "END" || chorotype == "APP" || chorotype == "SAR" || chorotype == "SIC";
}

}  // namespace ortolan::demo
