#include "tools/demo_db/EcologyProfile.h"

#include <map>
#include <stdexcept>

namespace ortolan::demo {

namespace {

using Mix = std::vector<std::pair<std::string, double>>;

// Chorotype mixes: widespread insects, groups rich in local endemics (caves,
// springs), soil fauna in between, freshwater fauna, and vertebrates.
const Mix kWide = {{"OLA", 3}, {"PAL", 9}, {"WPA", 5}, {"ASE", 4}, {"SIE", 2.5}, {"CAE", 2.5}, {"CEM", 2},
                   {"TEM", 2}, {"TUE", 2}, {"EUR", 9}, {"CEU", 5}, {"SEU", 7}, {"MED", 6}, {"WME", 3},
                   {"EME", 3}, {"NAF", 1}, {"BAL", 0.8}, {"ALP", 3}, {"APP", 2.5}, {"ALPAPP", 1.5},
                   {"END", 2.5}, {"SAR", 1.5}, {"SIC", 1.2}, {"SARCOR", 1.2}, {"COS", 0.6}, {"SCO", 0.8}};
const Mix kLocal = {{"PAL", 1}, {"WPA", 1}, {"EUR", 3}, {"CEU", 2}, {"SEU", 3}, {"MED", 2}, {"WME", 1},
                    {"EME", 1}, {"ALP", 10}, {"APP", 10}, {"ALPAPP", 3}, {"END", 14}, {"SAR", 7},
                    {"SIC", 5}, {"SARCOR", 4}};
const Mix kSoil = {{"PAL", 4}, {"WPA", 3}, {"EUR", 7}, {"CEU", 4}, {"SEU", 5}, {"MED", 4}, {"WME", 2},
                   {"EME", 2}, {"ALP", 5}, {"APP", 5}, {"ALPAPP", 2}, {"END", 6}, {"SAR", 3}, {"SIC", 2.5},
                   {"SARCOR", 2}, {"COS", 0.8}, {"SCO", 1}};
const Mix kWater = {{"OLA", 3}, {"PAL", 8}, {"WPA", 5}, {"ASE", 3}, {"SIE", 2}, {"EUR", 9}, {"CEU", 5},
                    {"SEU", 5}, {"MED", 4}, {"WME", 2}, {"EME", 2}, {"ALP", 3}, {"APP", 3}, {"ALPAPP", 1.5},
                    {"END", 2}, {"SAR", 1.5}, {"SIC", 1}, {"SARCOR", 1.5}, {"COS", 0.8}};
const Mix kVertebrate = {{"OLA", 2}, {"PAL", 5}, {"WPA", 5}, {"ASE", 2}, {"SIE", 1.5}, {"CAE", 1}, {"TEM", 1},
                         {"EUR", 8}, {"CEU", 2}, {"SEU", 5}, {"MED", 4}, {"WME", 2}, {"EME", 2}, {"NAF", 1},
                         {"ALP", 1}, {"APP", 2}, {"ALPAPP", 1}, {"END", 2.5}, {"SAR", 1}, {"SIC", 1},
                         {"SARCOR", 2}};

const std::vector<std::string> kPlantFeeding = {
    "Fitofago polifago", "Fitofago su Quercus", "Fitofago su Salix e Populus", "Fitofago su Fabaceae",
    "Fitofago su Asteraceae", "Fitofago su Poaceae", "Fitofago su Lamiaceae", "Fitofago su Apiaceae",
    "Fitofago su Brassicaceae", "Fitofago su Rosaceae", "Fitofago su Pinus", "Fitofago su Fagus",
    "Fitofago su Urtica", "Fitofago su Rumex", "Fitofago su Euphorbia", "Fitofago su Thymus",
    "Oligofago su Ericaceae", "Minatore fogliare", "Galligeno", "Rizofago", "Spermofago"};

std::map<std::string, EcologyProfile> buildProfiles()
{
    std::map<std::string, EcologyProfile> m;
    auto add = [&m](EcologyProfile p) { m[p.tag] = std::move(p); };

    EcologyProfile p;
    p = {};
    p.tag = "aqua";
    p.sizeMin = 0.3; p.sizeMax = 45; p.larvaFactor = 0.4;
    p.larvaFeeding = {"Detritivoro", "Filtratore", "Predatore", "Pascolatore di alghe", "Raccoglitore"};
    p.adultFeeding = p.larvaFeeding;
    p.larvaHabitats = {"AC", "AS", "LA", "AF", "PA"};
    p.adultHabitats = {"AC", "AS", "LA", "PA", "AF"};
    p.chorotypes = kWater; p.aquatic = true; p.bioindicatorShare = 0.15; p.speciesPerGenus = 3;
    add(p);

    p = {};
    p.tag = "spring";
    p.sizeMin = 1; p.sizeMax = 6;
    p.adultFeeding = {"Pascolatore di alghe", "Detritivoro"};
    p.adultHabitats = {"AF", "AI", "AC"};
    p.chorotypes = kLocal; p.aquatic = true; p.bioindicatorShare = 0.3; p.speciesPerGenus = 4;
    p.rangeFactor = 0.5; p.redListShare = 0.06; p.assessedShare = 0.2;
    add(p);

    p = {};
    p.tag = "pond";
    p.sizeMin = 5; p.sizeMax = 40; p.larvaFactor = 0.3;
    p.larvaFeeding = {"Filtratore"}; p.adultFeeding = {"Filtratore", "Detritivoro"};
    p.larvaHabitats = {"AS", "PA"}; p.adultHabitats = {"AS", "PA"};
    p.chorotypes = kWater; p.aquatic = true; p.rangeFactor = 0.6; p.redListShare = 0.1; p.assessedShare = 0.3;
    add(p);

    p = {};
    p.tag = "cave";
    p.sizeMin = 1; p.sizeMax = 14;
    p.larvaFeeding = {"Detritivoro", "Saprofago"};
    p.adultFeeding = {"Detritivoro", "Predatore", "Saprofago", "Micetofago"};
    p.adultHabitats = {"GR", "AI", "SU"};
    p.chorotypes = kLocal; p.subterranean = true; p.speciesPerGenus = 3; p.subspeciesShare = 0.1;
    p.rangeFactor = 0.35; p.redListShare = 0.04; p.assessedShare = 0.1;
    add(p);

    p = {};
    p.tag = "soil";
    p.sizeMin = 0.2; p.sizeMax = 40;
    p.adultFeeding = {"Detritivoro", "Micetofago", "Saprofago", "Predatore", "Fitosaprofago"};
    p.adultHabitats = {"SU", "BL", "BC", "PR", "GR", "RU"};
    p.chorotypes = kSoil; p.speciesPerGenus = 4; p.rangeFactor = 0.6;
    add(p);

    p = {};
    p.tag = "snail";
    p.sizeMin = 1.5; p.sizeMax = 45;
    p.adultFeeding = {"Fitofago", "Detritivoro", "Fitosaprofago", "Micetofago"};
    p.adultHabitats = {"SU", "BL", "RU", "PR", "MA", "GA", "BC"};
    p.chorotypes = kSoil; p.speciesPerGenus = 4; p.subspeciesShare = 0.1; p.rangeFactor = 0.8;
    p.redListShare = 0.04; p.assessedShare = 0.15; p.alienShare = 0.02;
    add(p);

    p = {};
    p.tag = "pred";
    p.sizeMin = 1; p.sizeMax = 35; p.larvaFactor = 0.5;
    p.larvaFeeding = {"Predatore"}; p.adultFeeding = {"Predatore", "Predatore di insetti"};
    p.larvaHabitats = {"SU", "BL", "PR"};
    p.adultHabitats = {"BL", "PR", "MA", "RU", "SU", "DU", "PX", "BC"};
    p.chorotypes = kWide;
    add(p);

    p = {};
    p.tag = "carab";
    p.sizeMin = 2; p.sizeMax = 38; p.larvaFactor = 1.1;
    p.larvaFeeding = {"Predatore"}; p.adultFeeding = {"Predatore", "Predatore di molluschi", "Polifago", "Spermofago"};
    p.larvaHabitats = {"SU"}; p.adultHabitats = {"SU", "BL", "PR", "BC", "PL", "RU", "BR", "DU"};
    p.chorotypes = kSoil; p.speciesPerGenus = 5; p.subspeciesShare = 0.16; p.bioindicatorShare = 0.15;
    p.rangeFactor = 1.3; p.assessedShare = 0.12;
    add(p);

    p = {};
    p.tag = "parasite";
    p.sizeMin = 1; p.sizeMax = 6; p.larvaFactor = 0.4;
    p.larvaFeeding = {"Ematofago"}; p.adultFeeding = {"Ematofago"};
    p.larvaHabitats = {"OS", "SU"}; p.adultHabitats = {"OS"};
    p.chorotypes = kWide; p.rangeFactor = 0.5;
    add(p);

    p = {};
    p.tag = "mayfly";
    p.sizeMin = 3; p.sizeMax = 30; p.larvaFactor = 1.0;
    p.larvaFeeding = {"Raccoglitore", "Pascolatore di alghe", "Trituratore", "Predatore", "Filtratore"};
    p.adultFeeding = {"Non si nutre", "Glicifago"};
    p.larvaHabitats = {"AC", "AF", "AS", "LA"}; p.adultHabitats = {"BR", "PR", "AC"};
    p.chorotypes = kWater; p.bioindicatorShare = 0.45; p.subspeciesShare = 0.02; p.rangeFactor = 1.1;
    p.assessedShare = 0.12;
    add(p);

    p = {};
    p.tag = "odo";
    p.sizeMin = 25; p.sizeMax = 85; p.larvaFactor = 0.5;
    p.larvaFeeding = {"Predatore"}; p.adultFeeding = {"Predatore di insetti"};
    p.larvaHabitats = {"AS", "AC", "PA", "LA"}; p.adultHabitats = {"PR", "BR", "PA", "AS"};
    p.chorotypes = kWater; p.bioindicatorShare = 0.3; p.speciesPerGenus = 2.5; p.rangeFactor = 3.0;
    p.redListShare = 0.1; p.assessedShare = 1.0;
    add(p);

    p = {};
    p.tag = "grass";
    p.sizeMin = 8; p.sizeMax = 60; p.larvaFactor = 0.5;
    p.larvaFeeding = {"Fitofago", "Onnivoro"}; p.adultFeeding = {"Fitofago", "Onnivoro", "Predatore"};
    p.larvaHabitats = {"PR", "PX", "PL", "GA"}; p.adultHabitats = {"PR", "PX", "PL", "GA", "MA", "BL", "RU"};
    p.chorotypes = kSoil; p.speciesPerGenus = 3; p.subspeciesShare = 0.1; p.rangeFactor = 1.6;
    p.assessedShare = 0.3; p.redListShare = 0.05;
    add(p);

    p = {};
    p.tag = "xylo";
    p.sizeMin = 3; p.sizeMax = 60; p.larvaFactor = 1.3;
    p.larvaFeeding = {"Xilofago", "Saproxilico", "Xilofago su Quercus", "Xilofago su conifere", "Xilomicetofago"};
    p.adultFeeding = {"Pollinivoro", "Fitofago", "Non si nutre", "Glicifago"};
    p.larvaHabitats = {"LM", "BL", "BC"}; p.adultHabitats = {"BL", "BC", "BR", "LM", "PR"};
    p.chorotypes = kWide; p.rangeFactor = 1.1; p.redListShare = 0.05; p.assessedShare = 0.25;
    add(p);

    p = {};
    p.tag = "phyt";
    p.sizeMin = 1; p.sizeMax = 15; p.larvaFactor = 0.8;
    p.larvaFeeding = kPlantFeeding; p.adultFeeding = kPlantFeeding;
    p.larvaHabitats = {"PR", "BL", "PX", "CO", "MA", "BR", "PL"}; p.adultHabitats = p.larvaHabitats;
    p.chorotypes = kWide; p.speciesPerGenus = 4; p.subspeciesShare = 0.02;
    add(p);

    p = {};
    p.tag = "sapro";
    p.sizeMin = 2; p.sizeMax = 35; p.larvaFactor = 1.2;
    p.larvaFeeding = {"Coprofago", "Necrofago", "Saprofago"};
    p.adultFeeding = {"Coprofago", "Necrofago", "Saprofago", "Predatore di larve"};
    p.larvaHabitats = {"SU", "PR"}; p.adultHabitats = {"PR", "PX", "BL", "PL", "DU"};
    p.chorotypes = kWide; p.rangeFactor = 1.2;
    add(p);

    p = {};
    p.tag = "dry";
    p.sizeMin = 3; p.sizeMax = 35; p.larvaFactor = 1.0;
    p.larvaFeeding = {"Saprofago", "Detritivoro", "Rizofago"}; p.adultFeeding = {"Detritivoro", "Saprofago", "Onnivoro"};
    p.larvaHabitats = {"SU", "DU"}; p.adultHabitats = {"DU", "PX", "GA", "MA", "RU"};
    p.chorotypes = {{"MED", 10}, {"WME", 5}, {"EME", 4}, {"NAF", 3}, {"SEU", 6}, {"END", 5}, {"SAR", 4},
                    {"SIC", 4}, {"SARCOR", 3}, {"APP", 2}, {"EUR", 2}, {"TEM", 2}, {"CEM", 2}};
    p.subspeciesShare = 0.12;
    add(p);

    p = {};
    p.tag = "para";
    p.sizeMin = 1; p.sizeMax = 30; p.larvaFactor = 0.6;
    p.larvaFeeding = {"Parassitoide di Lepidotteri", "Parassitoide di Coleotteri", "Parassitoide di Ditteri",
                      "Parassitoide di Imenotteri", "Parassitoide di afidi", "Iperparassitoide"};
    p.adultFeeding = {"Nettarivoro", "Glicifago"};
    p.larvaHabitats = {"OS"}; p.adultHabitats = {"PR", "BL", "MA", "PX", "CO", "BR"};
    p.chorotypes = kWide; p.rangeFactor = 0.6; p.speciesPerGenus = 4.5;
    add(p);

    p = {};
    p.tag = "midge";
    p.sizeMin = 1; p.sizeMax = 35; p.larvaFactor = 1.0;
    p.larvaFeeding = {"Detritivoro", "Filtratore", "Raccoglitore", "Predatore", "Saprofago"};
    p.adultFeeding = {"Ematofago (femmine)", "Non si nutre", "Nettarivoro"};
    p.larvaHabitats = {"AS", "AC", "PA", "SU", "AF"}; p.adultHabitats = {"BR", "PA", "PR", "BL", "UR"};
    p.chorotypes = kWide; p.bioindicatorShare = 0.1; p.speciesPerGenus = 4.5; p.rangeFactor = 0.7;
    add(p);

    p = {};
    p.tag = "fly";
    p.sizeMin = 2; p.sizeMax = 25; p.larvaFactor = 0.9;
    p.larvaFeeding = {"Saprofago", "Predatore", "Afidifago", "Micetofago", "Fitofago", "Coprofago"};
    p.adultFeeding = {"Nettarivoro", "Pollinivoro", "Glicifago", "Predatore"};
    p.larvaHabitats = {"SU", "LM", "AS", "PR", "BL"}; p.adultHabitats = {"PR", "BL", "BR", "PX", "UR", "CO"};
    p.chorotypes = kWide; p.speciesPerGenus = 4; p.rangeFactor = 0.8;
    add(p);

    p = {};
    p.tag = "lepi";
    p.sizeMin = 3; p.sizeMax = 90; p.larvaFactor = 0.9;
    p.larvaFeeding = kPlantFeeding; p.adultFeeding = {"Nettarivoro", "Non si nutre", "Glicifago"};
    p.larvaHabitats = {"BL", "PR", "PX", "MA", "BC", "PL", "BR"}; p.adultHabitats = p.larvaHabitats;
    p.chorotypes = kWide; p.speciesPerGenus = 4; p.rangeFactor = 1.0;
    add(p);

    p = {};
    p.tag = "butterfly";
    p.sizeMin = 18; p.sizeMax = 90; p.larvaFactor = 0.7;
    p.larvaFeeding = kPlantFeeding; p.adultFeeding = {"Nettarivoro"};
    p.larvaHabitats = {"PR", "PX", "PL", "BL", "BR", "GA"}; p.adultHabitats = p.larvaHabitats;
    p.chorotypes = kWide; p.speciesPerGenus = 3; p.subspeciesShare = 0.15; p.bioindicatorShare = 0.2;
    p.rangeFactor = 3.0; p.redListShare = 0.08; p.assessedShare = 1.0;
    add(p);

    p = {};
    p.tag = "ant";
    p.sizeMin = 1.5; p.sizeMax = 15; p.larvaFactor = 0.6;
    p.larvaFeeding = {"Onnivoro", "Predatore", "Granivoro"}; p.adultFeeding = {"Onnivoro", "Glicifago", "Predatore", "Granivoro"};
    p.larvaHabitats = {"SU"}; p.adultHabitats = {"SU", "PX", "BL", "MA", "GA", "UR"};
    p.chorotypes = kSoil; p.speciesPerGenus = 5; p.rangeFactor = 1.2;
    add(p);

    p = {};
    p.tag = "wasp";
    p.sizeMin = 4; p.sizeMax = 35; p.larvaFactor = 0.7;
    p.larvaFeeding = {"Predatore (prede fornite dalla femmina)"}; p.adultFeeding = {"Nettarivoro", "Glicifago"};
    p.larvaHabitats = {"SU", "LM", "UR"}; p.adultHabitats = {"PR", "PX", "DU", "UR", "MA", "GA"};
    p.chorotypes = kWide; p.speciesPerGenus = 4;
    add(p);

    p = {};
    p.tag = "bee";
    p.sizeMin = 3; p.sizeMax = 28; p.larvaFactor = 0.7;
    p.larvaFeeding = {"Pollinivoro", "Cleptoparassita"}; p.adultFeeding = {"Nettarivoro e pollinivoro"};
    p.larvaHabitats = {"SU", "LM"}; p.adultHabitats = {"PR", "PX", "MA", "GA", "CO", "PL"};
    p.chorotypes = kWide; p.speciesPerGenus = 5; p.bioindicatorShare = 0.1; p.rangeFactor = 1.1;
    add(p);

    p = {};
    p.tag = "fish";
    p.sizeMin = 40; p.sizeMax = 1500; p.larvaFactor = 0.15;
    p.larvaFeeding = {"Zooplanctofago", "Invertebrati acquatici"};
    p.adultFeeding = {"Invertebrati acquatici", "Onnivoro", "Piscivoro", "Detritivoro", "Fitofago"};
    p.larvaHabitats = {"AC", "LA", "AS"}; p.adultHabitats = {"AC", "LA", "AS"};
    p.chorotypes = kVertebrate; p.vertebrate = true; p.aquatic = true; p.speciesPerGenus = 1.6;
    p.subspeciesShare = 0.05; p.bioindicatorShare = 0.2; p.rangeFactor = 3.5; p.alienShare = 0.05;
    p.directiveShare = 0.1; p.redListShare = 0.25; p.assessedShare = 1.0;
    add(p);

    p = {};
    p.tag = "amph";
    p.sizeMin = 30; p.sizeMax = 200; p.larvaFactor = 0.4;
    p.larvaFeeding = {"Fitofago (alghe)", "Predatore"}; p.adultFeeding = {"Insettivoro", "Predatore di invertebrati"};
    p.larvaHabitats = {"AS", "AC", "AF"}; p.adultHabitats = {"BL", "PR", "PA", "AS", "GR", "RU"};
    p.chorotypes = kVertebrate; p.vertebrate = true; p.speciesPerGenus = 1.6; p.subspeciesShare = 0.1;
    p.bioindicatorShare = 0.3; p.rangeFactor = 5.0; p.directiveShare = 0.3; p.redListShare = 0.25;
    p.assessedShare = 1.0;
    add(p);

    p = {};
    p.tag = "rept";
    p.sizeMin = 60; p.sizeMax = 1800; p.larvaFactor = 0.25;
    p.larvaFeeding = {"Insettivoro"}; p.adultFeeding = {"Insettivoro", "Carnivoro", "Erbivoro", "Predatore di vertebrati"};
    p.larvaHabitats = {"MA", "GA", "PX", "RU"}; p.adultHabitats = {"MA", "GA", "PX", "RU", "BL", "PR", "AS"};
    p.chorotypes = kVertebrate; p.vertebrate = true; p.speciesPerGenus = 1.7; p.subspeciesShare = 0.15;
    p.rangeFactor = 5.0; p.directiveShare = 0.3; p.redListShare = 0.2; p.assessedShare = 1.0;
    add(p);

    p = {};
    p.tag = "mamm";
    p.sizeMin = 50; p.sizeMax = 1800; p.larvaFactor = 0.3;
    p.larvaFeeding = {"Lattante"}; p.adultFeeding = {"Onnivoro", "Erbivoro", "Carnivoro", "Insettivoro", "Granivoro"};
    p.larvaHabitats = {"BL", "PR", "RU"}; p.adultHabitats = {"BL", "BC", "PR", "RU", "CO", "PL", "MA"};
    p.chorotypes = kVertebrate; p.vertebrate = true; p.speciesPerGenus = 1.6; p.subspeciesShare = 0.1;
    p.rangeFactor = 5.0; p.directiveShare = 0.15; p.redListShare = 0.2; p.assessedShare = 1.0;
    add(p);

    p = {};
    p.tag = "bat";
    p.sizeMin = 35; p.sizeMax = 90; p.larvaFactor = 0;
    p.adultFeeding = {"Insettivoro"};
    p.adultHabitats = {"BL", "GR", "UR", "RU", "BR"};
    p.chorotypes = kVertebrate; p.vertebrate = true; p.speciesPerGenus = 2.5; p.rangeFactor = 4.0;
    p.directiveShare = 1.0; p.redListShare = 0.3; p.assessedShare = 1.0;
    add(p);

    return m;
}

}  // namespace

const EcologyProfile &EcologyProfile::byTag(const std::string &tag)
{
    static const std::map<std::string, EcologyProfile> profiles = buildProfiles();
    const auto it = profiles.find(tag);
    if (it == profiles.end())
        throw std::runtime_error("unknown ecological profile: " + tag);
    return it->second;
}

}  // namespace ortolan::demo
