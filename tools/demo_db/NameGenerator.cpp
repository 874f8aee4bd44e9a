#include "tools/demo_db/NameGenerator.h"

#include <cctype>
#include <map>
#include <vector>

namespace ortolan::demo {

namespace {

using Words = std::vector<std::string>;

// Combining forms; each ends in a vowel, which is dropped before a suffix that
// begins with a vowel ("Acantho" + "ella" -> "Acanthella").
const Words kRoots = {
    "Acantho", "Agrio",  "Allo",   "Amaro",  "Ambly",   "Ampho",   "Anchi",   "Antho",   "Archi",  "Argo",
    "Aristo",  "Arthro", "Aspido", "Atho",   "Bary",    "Bembi",   "Brachy",  "Bryo",    "Callo",  "Campto",
    "Carpo",   "Cephalo", "Cerato", "Chaeto", "Chalco", "Chloro",  "Chryso",  "Cyclo",   "Cyrto",  "Dasy",
    "Dendro",  "Dicho",  "Dolicho", "Dromo", "Elaphro", "Ento",    "Eury",    "Geo",     "Glypto", "Gono",
    "Gymno",   "Halo",   "Helio",  "Hemi",   "Hetero",  "Holo",    "Hydro",   "Hylo",    "Hypo",   "Ischno",
    "Iso",     "Lampro", "Lasio",  "Lepto",  "Limno",   "Litho",   "Lopho",   "Macro",   "Malaco", "Mega",
    "Melano",  "Meso",   "Micro",  "Myco",   "Myrmeco", "Nebrio",  "Neo",     "Noto",    "Ocy",    "Oligo",
    "Omo",     "Oro",    "Ortho",  "Oxy",    "Pachy",   "Paleo",   "Para",    "Pedo",    "Peri",   "Petro",
    "Phaeo",   "Philo",  "Phyllo", "Phyto",  "Platy",   "Pogono",  "Poly",    "Psammo",  "Pseudo", "Ptero",
    "Pycno",   "Rhabdo", "Rhizo",  "Sapro",  "Sarco",   "Scaphi",  "Schizo",  "Scoto",   "Sphaero", "Spelaeo",
    "Steno",   "Stereo", "Tacho",  "Tachy",  "Thalasso", "Thero",  "Trachy",  "Trecho",  "Tricho", "Tropho",
    "Xantho",  "Xero",   "Xylo",   "Zeugo",  "Albi",    "Atri",    "Crassi",  "Flavi",   "Lati",   "Longi",
    "Nigri",   "Rufi",   "Silvi",  "Tenui",  "Cteno",   "Eremo",   "Mono",    "Nycto",   "Ophio",  "Rhopalo",
};

struct Suffix {
    const char *text;
    Gender gender;
};
using Suffixes = std::vector<Suffix>;
constexpr Gender M = Gender::Masculine, F = Gender::Feminine, N = Gender::Neuter;

const std::map<std::string, Suffixes> &suffixesByStyle()
{
    static const std::map<std::string, Suffixes> table = {
        {"beetle", {{"bius", M}, {"carus", M}, {"cerus", M}, {"chus", M}, {"derus", M}, {"dromus", M},
                    {"gnathus", M}, {"morphus", M}, {"nomus", M}, {"notus", M}, {"phagus", M}, {"philus", M},
                    {"pus", M}, {"rhynchus", M}, {"stomus", M}, {"tarsus", M}, {"trechus", M}, {"phorus", M},
                    {"cnemus", M}, {"merus", M}, {"cera", F}, {"phila", F}, {"ptera", F}, {"bium", N},
                    {"soma", N}, {"derma", N}, {"notum", N}}},
        {"bug", {{"coris", F}, {"cerus", M}, {"gaster", F}, {"lygus", M}, {"tettix", M}, {"psylla", F},
                 {"aphis", F}, {"cera", F}, {"ocoris", F}, {"ella", F}, {"thrips", M}, {"phyes", M}}},
        {"fly", {{"myia", F}, {"ops", M}, {"neura", F}, {"cera", F}, {"chaeta", F}, {"phora", F}, {"ella", F},
                 {"soma", N}, {"phila", F}, {"tipula", F}, {"mya", F}, {"stoma", N}}},
        {"moth", {{"ia", F}, {"ella", F}, {"ina", F}, {"ptera", F}, {"phila", F}, {"odes", F}, {"ops", M},
                  {"cera", F}, {"thyris", F}, {"nympha", F}, {"tis", F}, {"phasia", F}}},
        {"wasp", {{"pis", F}, {"ella", F}, {"bracon", M}, {"lestes", M}, {"ceros", M}, {"gaster", F},
                  {"myrmex", M}, {"philus", M}, {"soma", N}, {"ura", F}, {"dynerus", M}, {"melus", M}}},
        {"spider", {{"ella", F}, {"ops", M}, {"athes", M}, {"tetes", M}, {"phantes", M}, {"ula", F}, {"ona", F},
                    {"oides", M}, {"lycus", M}, {"dera", F}}},
        {"snail", {{"ella", F}, {"ina", F}, {"ulus", M}, {"ostoma", N}, {"gyrus", M}, {"helix", F}, {"limax", M},
                   {"onella", F}, {"opsis", F}, {"ulina", F}, {"pyrgula", F}}},
        {"worm", {{"drilus", M}, {"onchus", M}, {"ella", F}, {"ia", F}, {"ides", M}, {"laimus", M}, {"cercus", M},
                  {"planaria", F}, {"bdella", F}}},
        {"crustacean", {{"caris", F}, {"ella", F}, {"iscus", M}, {"ops", M}, {"gammarus", M}, {"cypris", F},
                        {"oniscus", M}, {"ellus", M}, {"cyclops", M}, {"diaptomus", M}}},
        {"myriapod", {{"bius", M}, {"philus", M}, {"desmus", M}, {"julus", M}, {"soma", N}, {"ella", F},
                      {"merus", M}, {"pus", M}}},
        {"springtail", {{"ura", F}, {"ella", F}, {"brya", F}, {"toma", F}, {"ides", M}, {"thrix", F}, {"entomon", N}}},
        {"water", {{"agrion", N}, {"gomphus", M}, {"lestes", M}, {"themis", F}, {"thetrum", N}, {"cnemis", F},
                   {"baetis", F}, {"genia", F}, {"nemura", F}, {"perla", F}, {"ella", F}, {"psyche", F},
                   {"neura", F}, {"tinodes", M}, {"phila", F}}},
        {"orthopteran", {{"tettix", M}, {"gryllus", M}, {"ptera", F}, {"cnemis", F}, {"pholis", F}, {"ippus", M},
                         {"podisma", N}, {"acris", F}, {"ella", F}, {"ura", F}, {"labis", F}}},
        {"fish", {{"ichthys", M}, {"inus", M}, {"ellus", M}, {"soma", N}, {"odon", M}, {"ops", M}, {"barbus", M},
                  {"ella", F}, {"perca", F}, {"cottus", M}}},
        {"amphibian", {{"triton", M}, {"batrachus", M}, {"mantes", M}, {"bates", M}, {"hyla", F}, {"rana", F},
                       {"ella", F}, {"salamandra", F}, {"glossus", M}}},
        {"reptile", {{"saurus", M}, {"ophis", M}, {"ops", M}, {"certa", F}, {"dactylus", M}, {"chelys", F},
                     {"emys", F}, {"podarcis", F}, {"vipera", F}}},
        {"mammal", {{"mys", M}, {"lestes", M}, {"sorex", M}, {"ictis", M}, {"gale", F}, {"cyon", M},
                    {"therium", N}, {"talpa", F}, {"lagus", M}, {"cervus", M}}},
        {"bat", {{"nycteris", F}, {"otis", M}, {"lophus", M}, {"pterus", M}, {"phyllus", M}, {"ctalus", M}}},
    };
    return table;
}

std::string styleOf(const std::string &profile)
{
    static const std::map<std::string, std::string> styles = {
        {"aqua", "worm"},       {"spring", "snail"},  {"pond", "crustacean"}, {"cave", "beetle"},
        {"soil", "myriapod"},   {"snail", "snail"},   {"pred", "spider"},     {"carab", "beetle"},
        {"parasite", "spider"}, {"mayfly", "water"},  {"odo", "water"},       {"grass", "orthopteran"},
        {"xylo", "beetle"},     {"phyt", "bug"},      {"sapro", "beetle"},    {"dry", "beetle"},
        {"para", "wasp"},       {"midge", "fly"},     {"fly", "fly"},         {"lepi", "moth"},
        {"butterfly", "moth"},  {"ant", "wasp"},      {"wasp", "wasp"},       {"bee", "wasp"},
        {"fish", "fish"},       {"amph", "amphibian"}, {"rept", "reptile"},   {"mamm", "mammal"},
        {"bat", "bat"},
    };
    const auto it = styles.find(profile);
    return it == styles.end() ? std::string("beetle") : it->second;
}

bool isVowel(char c)
{
    c = char(std::tolower(static_cast<unsigned char>(c)));
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}

std::string joinStem(const std::string &root, const std::string &suffix)
{
    if (!suffix.empty() && isVowel(suffix[0]) && isVowel(root.back()))
        return root.substr(0, root.size() - 1) + suffix;
    return root + suffix;
}

// Epithets: "stem-us" declines us/a/um, "stem-is" is/is/e, "m|f|n" gives the
// three forms, a plain word is invariable.
std::string decline(const std::string &entry, Gender g)
{
    const auto bar = entry.find('|');
    if (bar != std::string::npos) {
        const auto bar2 = entry.find('|', bar + 1);
        if (g == Gender::Masculine)
            return entry.substr(0, bar);
        if (g == Gender::Feminine)
            return entry.substr(bar + 1, bar2 - bar - 1);
        return entry.substr(bar2 + 1);
    }
    const auto dash = entry.find('-');
    if (dash == std::string::npos)
        return entry;
    const std::string stem = entry.substr(0, dash), ending = entry.substr(dash + 1);
    if (ending == "us")
        return stem + (g == Gender::Masculine ? "us" : g == Gender::Feminine ? "a" : "um");
    if (ending == "is")
        return stem + (g == Gender::Neuter ? "e" : "is");
    return stem + ending;
}

const Words kAdjectives = {
    "niger|nigra|nigrum", "ruber|rubra|rubrum", "alb-us", "flav-us", "virid-is", "brev-is", "gracil-is",
    "montan-us", "aene-us", "aurat-us", "cyane-us", "obscur-us", "nitid-us", "opac-us", "punctat-us",
    "striat-us", "rugos-us", "hirsut-us", "villos-us", "glaber|glabra|glabrum", "pulcher|pulchra|pulchrum",
    "elegans", "pubescens", "meridional-is", "septentrional-is", "oriental-is", "occidental-is",
    "minor|minor|minus", "major|major|majus", "parvul-us", "elongat-us", "lat-us", "angustat-us", "depress-us",
    "convex-us", "globos-us", "ovat-us", "cylindric-us", "fusc-us", "brunne-us", "ruf-us", "testace-us",
    "pallid-us", "cinere-us", "maculat-us", "bimaculat-us", "quadripunctat-us", "sexguttat-us", "fasciat-us",
    "aquatic-us", "fontinal-is", "rivular-is", "palustr-is", "silvestr-is", "campestr-is", "nemoral-is",
    "rupestr-is", "arenari-us", "littoral-is", "collin-us", "nival-is", "vernal-is", "autumnal-is",
    "nocturn-us", "minut-us", "pusill-us", "robust-us", "gigas", "spinos-us", "setos-us", "carinat-us",
    "costat-us", "dentat-us", "serrat-us", "crenat-us", "sulcat-us", "granulat-us", "variegat-us",
    "marginat-us", "limbat-us", "signat-us", "ornat-us", "lineat-us", "vittat-us", "lunat-us", "hirt-us",
    "laev-is", "tristis|tristis|triste", "insign-is", "simil-is", "affin-is", "dubi-us", "ambigu-us",
    "confus-us", "rar-us", "vulgar-is", "commun-is", "europae-us", "italic-us", "ligustic-us", "etrusc-us",
    "venet-us", "insubric-us", "raetic-us", "carnic-us", "pedemontan-us", "tyrrhenic-us", "adriatic-us",
    "ionic-us", "padan-us", "tridentin-us",
};

const std::map<std::string, Words> &regionalEpithets()
{
    static const std::map<std::string, Words> table = {
        {"SAR", {"sardo-us", "sardiniens-is", "ichnusae", "gennargentuens-is", "barbaricin-us", "gallurens-is"}},
        {"SARCOR", {"sardo-us", "cyrne-us", "insular-is", "tyrrhenic-us"}},
        {"SIC", {"sicul-us", "sican-us", "aetnens-is", "trinacriae", "panormitan-us", "nebrodens-is", "madoniens-is"}},
        {"ALP", {"alpin-us", "alpestr-is", "dolomitic-us", "raetic-us", "carnic-us", "baldens-is", "insubric-us", "pennin-us"}},
        {"BAL", {"alpin-us", "boreal-is", "glacial-is"}},
        {"APP", {"apennin-us", "aprutian-us", "sabin-us", "samnitic-us", "picen-us", "lucan-us", "brutti-us", "sibillin-us"}},
        {"ALPAPP", {"alpin-us", "apennin-us", "montan-us", "italic-us"}},
        {"END", {"italic-us", "ligustic-us", "etrusc-us", "garganic-us", "apul-us", "calabr-us", "latin-us", "campan-us"}},
        {"MED", {"mediterrane-us", "meridional-is", "litoral-is"}},
        {"WME", {"occidental-is", "hesperi-us", "ligustic-us"}},
        {"EME", {"oriental-is", "balcanic-us", "illyric-us", "dalmatin-us"}},
        {"NAF", {"african-us", "mauritanic-us", "numidic-us", "libyc-us"}},
    };
    return table;
}

const Words kCaveEpithets = {"caec-us", "cavernicola", "troglophil-us", "subterrane-us", "spelae-us",
                             "lucifug-us", "hypoge-us", "stygi-us", "tenebrios-us"};

struct PlaceParts {
    Words stems, endings, prefixes;
};

const PlaceParts &placeParts(PlaceStyle style)
{
    static const PlaceParts north = {
        {"Alb", "Bergh", "Brem", "Cald", "Cas", "Cerv", "Cort", "Fen", "Gall", "Lov", "Mar", "Mont", "Ors", "Pian",
         "Rov", "Sarn", "Ser", "Tav", "Trav", "Varz", "Verg", "Vill", "Zog", "Lur", "Bors", "Gorg", "Coll", "Ced",
         "Prad", "Sol", "Corn", "Breg", "Grum", "Oss", "Lemb"},
        {"ago", "ate", "asco", "engo", "ero", "one", "ino", "ano", "ada", "olo", "ezzo", "igo", "ello", "ana"},
        {"San ", "Castel", "Villa ", "Borgo ", "Ponte ", "Pieve ", "Santa ", "Monte"}};
    static const PlaceParts centre = {
        {"Ama", "Bag", "Cas", "Cer", "Civ", "Fabr", "Gub", "Mont", "Norc", "Orv", "Pog", "Rad", "Sass", "Sorr",
         "Tod", "Vall", "Vic", "Acqu", "Arc", "Bass", "Cam", "Castr", "Fer", "Magl", "Pen", "Rocc", "Sarz", "Serr",
         "Subi", "Tagl", "Lun", "Pit"},
        {"ano", "ello", "ina", "ino", "ola", "ara", "ica", "eto", "ia", "orio", "iano", "uzzo", "ena", "ona"},
        {"San ", "Castel", "Monte", "Rocca ", "Poggio ", "Colle ", "Santa ", "Torre "}};
    static const PlaceParts south = {
        {"Acri", "Alt", "Bov", "Cariat", "Cast", "Cerch", "Cit", "Fil", "Gerac", "Grott", "Lagon", "Mel", "Mont",
         "Ner", "Oppid", "Pal", "Pisc", "Ros", "Sant", "Scal", "Serr", "Spin", "Tar", "Trebis", "Vall", "Zung",
         "Rocc", "Mor", "Card", "Bag", "Lauri", "Tric"},
        {"ano", "ella", "ello", "ara", "ia", "ita", "one", "ace", "uso", "ola", "ina", "ico", "ianello", "aro"},
        {"San ", "Castel", "Monte", "Rocca ", "Torre ", "Santa ", "Sant'"}};
    static const PlaceParts sicily = {
        {"Calta", "Cefal", "Corl", "Gang", "Lent", "Mist", "Mod", "Nicos", "Palazz", "Petral", "Randaz", "Sciacc",
         "Trab", "Vizz", "Bisac", "Cammar", "Mazzar", "Pollin", "Racal", "Sambuc", "Gibil", "Marsal"},
        {"ini", "ello", "ara", "ia", "ica", "uto", "olo", "ino", "ina", "one", "ecca", "ulo"},
        {"San ", "Castel", "Monte", "Santa ", "Calta", "Gibil"}};
    static const PlaceParts sardinia = {
        {"Ber", "Dorg", "Ful", "Gav", "Ittir", "Lod", "Mac", "Nurr", "Orgos", "Oz", "Sind", "Ural", "Tonar", "Arit",
         "Seul", "Lacon", "Ollol", "Esterz", "Bar", "Ghil", "Sedil", "Tiesc", "Bortig", "Siurg"},
        {"ai", "eddu", "ulu", "ei", "olo", "ara", "ana", "ine", "ili", "usa", "argiu", "ao"},
        {"Sa ", "Su ", "Is ", "Santu ", "Sant'", "Monti "}};
    static const PlaceParts tyrol = {
        {"Al", "Bran", "Gais", "Kal", "Lat", "Mals", "Nat", "Prad", "Rit", "Sal", "Terl", "Vill", "Wal", "Nieder",
         "Ober", "Stein", "Mitter", "Unter", "Lang", "Weiss"},
        {"berg", "tal", "ach", "dorf", "hof", "eck", "brunn", "wald", "stein", "egg", "au"},
        {"St. ", "Ober", "Unter", "Inner"}};
    switch (style) {
    case PlaceStyle::North: return north;
    case PlaceStyle::Centre: return centre;
    case PlaceStyle::South: return south;
    case PlaceStyle::Sicily: return sicily;
    case PlaceStyle::Sardinia: return sardinia;
    case PlaceStyle::Tyrol: return tyrol;
    }
    return centre;
}

}  // namespace

std::string patronym(const std::string &surname, bool female)
{
    std::string s;
    for (char c : surname)
        if (std::isalpha(static_cast<unsigned char>(c)))
            s += char(std::tolower(static_cast<unsigned char>(c)));
    if (female)
        return s + "ae";
    if (!s.empty() && (s.back() == 'i' || s.back() == 'o' || s.back() == 'e' || s.back() == 'a'))
        s.pop_back();
    return s + "ii";
}

NameGenerator::GenusName NameGenerator::genus(DemoRandom &rng, const std::string &profileTag)
{
    const Suffixes &suffixes = suffixesByStyle().at(styleOf(profileTag));
    for (int attempt = 0;; ++attempt) {
        const Suffix &suffix = suffixes[rng.index(suffixes.size())];
        std::string name = joinStem(rng.pick(kRoots), suffix.text);
        // Now and then a second root makes a longer name ("Pseudotrechus").
        if (attempt > 20 || rng.chance(0.15))
            name = joinStem(rng.pick(kRoots), std::string(1, char(std::tolower(name[0]))) + name.substr(1));
        if (m_genera.insert(name).second)
            return {name, suffix.gender};
    }
}

std::string NameGenerator::epithet(DemoRandom &rng, Gender gender, const std::string &chorotype, bool subterranean)
{
    const double r = rng.real();
    if (subterranean && r < 0.25)
        return decline(rng.pick(kCaveEpithets), gender);
    const auto regional = regionalEpithets().find(chorotype);
    if (regional != regionalEpithets().end() && r < 0.45)
        return decline(rng.pick(regional->second), gender);
    if (r > 0.82)
        return patronym(rng.chance(0.5) ? italianSurname(rng) : authorSurname(rng), rng.chance(0.12));
    return decline(rng.pick(kAdjectives), gender);
}

std::string NameGenerator::italianSurname(DemoRandom &rng)
{
    static const Words first = {"Bar", "Bald", "Bell", "Bert", "Bon", "Brun", "Cap", "Cast", "Cav", "Cor",
                                "Dal", "Fal", "Ferr", "Fior", "Gal", "Ghil", "Gr", "Lan", "Lup", "Mag",
                                "Man", "Mar", "Mor", "Ner", "Pag", "Pell", "Pol", "Ricc", "Ros", "Sal",
                                "Sant", "Ser", "Spin", "Tagl", "Tor", "Val", "Vigl", "Zan", "Zol", "Bened"};
    static const Words last = {"ini", "elli", "etti", "oni", "ari", "ati", "esi", "ucci", "otti", "azzi",
                               "eri", "oli", "ardi", "ugi", "izzi", "eschi", "ani", "ello", "one", "ato"};
    return rng.pick(first) + rng.pick(last);
}

std::string NameGenerator::givenName(DemoRandom &rng)
{
    static const Words names = {"Marco", "Giulia", "Paolo", "Anna", "Luca", "Francesca", "Giovanni", "Chiara",
                                "Andrea", "Elena", "Stefano", "Sara", "Roberto", "Laura", "Alessandro", "Silvia",
                                "Fabio", "Valeria", "Massimo", "Paola", "Pietro", "Maria", "Augusto", "Fabrizio",
                                "Sandro", "Roberta", "Giuseppe", "Alberto", "Carlo", "Daniela", "Emilio", "Federica",
                                "Gianluca", "Ilaria", "Lorenzo", "Marta", "Nicola", "Ornella", "Riccardo", "Tiziana"};
    return rng.pick(names);
}

std::string NameGenerator::authorSurname(DemoRandom &rng)
{
    static const Words germanFirst = {"Ab", "Bau", "Ber", "Dor", "Eck", "Fal", "Gan", "Hal", "Hel", "Hof", "Kra",
                                      "Klu", "Lin", "Mei", "Mol", "Reit", "Rei", "Schmi", "Ste", "Wei", "Wol", "Zim"};
    static const Words germanLast = {"ler", "mann", "berg", "hardt", "ner", "ke", "tel", "inger", "horst", "feld",
                                     "hof", "bach"};
    static const Words frenchFirst = {"Bed", "Bon", "Chev", "Dej", "Faur", "Four", "Gu", "Lap", "Mars", "Per", "Reg",
                                      "Vill", "Ger", "Mul", "Lec"};
    static const Words frenchLast = {"eau", "ier", "ard", "in", "on", "elle", "et", "aux", "ault"};
    static const Words englishFirst = {"Ash", "Brad", "Craw", "Fair", "Hay", "Lind", "Mart", "Shar", "Walk", "Wes",
                                       "Wood"};
    static const Words englishLast = {"ley", "ton", "well", "by", "worth", "ford", "more"};
    const double r = rng.real();
    if (r < 0.42)
        return italianSurname(rng);
    if (r < 0.72)
        return rng.pick(germanFirst) + rng.pick(germanLast);
    if (r < 0.9)
        return rng.pick(frenchFirst) + rng.pick(frenchLast);
    return rng.pick(englishFirst) + rng.pick(englishLast);
}

std::string NameGenerator::townName(DemoRandom &rng, PlaceStyle style)
{
    const PlaceParts &parts = placeParts(style);
    std::string name = rng.pick(parts.stems) + rng.pick(parts.endings);
    if (rng.chance(0.22)) {
        const std::string &prefix = rng.pick(parts.prefixes);
        // Prefixes without a trailing blank or apostrophe fuse with the name.
        if (prefix.back() == ' ' || prefix.back() == '\'')
            name = prefix + name;
        else
            name = prefix + std::string(1, char(std::tolower(static_cast<unsigned char>(name[0])))) + name.substr(1);
    }
    return name;
}

std::string NameGenerator::featureName(DemoRandom &rng, PlaceStyle style)
{
    const PlaceParts &parts = placeParts(style);
    return rng.pick(parts.stems) + rng.pick(parts.endings);
}

}  // namespace ortolan::demo
