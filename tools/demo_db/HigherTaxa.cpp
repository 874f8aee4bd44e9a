#include "tools/demo_db/HigherTaxa.h"

#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace ortolan::demo {

namespace {

// One line per group: "P <code> <name>" top group (code given, vertebrates are
// "037"), "C <name>" class or subclass, "O <name>" order, "F <name> <volume>
// <species> <profile> [options]" family. A family follows the last top group,
// class and order; "C" clears the order and "P" clears both, so a family written
// right after a "C" or "P" line hangs directly below it (its code then carries
// "000" for the missing levels). Options: "@NNNNN" first genus number (bands of
// the vertebrate classes inside volume 110), "al=" share of aliens, "dh=" share
// of Habitat Directive species, "rl=" share of Red List species.
const char *const kTable = R"(
P 001 Porifera
F Spongillidae 001 4 aqua
P 002 Cnidaria
C Hydrozoa
O Anthoathecata
F Hydridae 002 4 aqua
O Limnomedusae
F Olindiidae 002 1 aqua al=1
P 003 Platyhelminthes
C Rhabditophora
O Tricladida
F Dugesiidae 003 8 aqua
F Planariidae 003 10 aqua
F Dendrocoelidae 003 7 cave
F Geoplanidae 003 4 soil al=0.35
O Rhabdocoela
F Typhloplanidae 004 10 aqua
F Dalyelliidae 004 7 aqua
P 004 Nemertea
C Hoplonemertea
O Monostilifera
F Tetrastemmatidae 006 2 aqua
P 005 Nematoda
C Chromadorea
O Rhabditida
F Rhabditidae 007 14 soil
F Cephalobidae 007 13 soil
F Tylenchidae 007 11 soil
C Enoplea
O Dorylaimida
F Dorylaimidae 008 14 soil
O Mononchida
F Mononchidae 008 8 soil
O Mermithida
F Mermithidae 008 7 soil
P 006 Nematomorpha
F Gordiidae 009 4 aqua
P 007 Annelida
C Clitellata
O Crassiclitellata
F Lumbricidae 020 49 soil al=0.05
F Hormogastridae 020 6 soil
O Enchytraeida
F Enchytraeidae 011 31 soil
O Tubificida
F Naididae 011 28 aqua
C Hirudinea
O Arhynchobdellida
F Hirudinidae 012 3 aqua dh=0.3 rl=0.3
F Erpobdellidae 012 6 aqua
F Haemopidae 012 2 aqua
O Rhynchobdellida
F Glossiphoniidae 012 7 aqua
F Piscicolidae 012 2 aqua
P 008 Mollusca
C Gastropoda
O Cycloneritida
F Neritidae 013 3 aqua
O Architaenioglossa
F Viviparidae 013 3 aqua
F Cochlostomatidae 013 14 snail
O Littorinimorpha
F Hydrobiidae 014 63 spring
F Bithyniidae 014 4 aqua
F Moitessieriidae 014 13 cave
F Pomatiidae 014 7 snail
O Hygrophila
F Lymnaeidae 015 8 aqua
F Planorbidae 015 18 aqua
F Physidae 015 3 aqua al=0.5
O Stylommatophora
F Clausiliidae 016 49 snail
F Chondrinidae 016 18 snail
F Vertiginidae 016 10 snail dh=0.25
F Pupillidae 016 6 snail
F Enidae 016 8 snail
F Cochlicopidae 016 3 snail
F Oxychilidae 017 31 snail
F Limacidae 017 18 snail al=0.1
F Arionidae 017 10 snail al=0.1
F Hygromiidae 017 49 snail
F Helicidae 017 31 snail dh=0.03
C Bivalvia
O Unionida
F Unionidae 018 5 aqua dh=0.3 rl=0.5
F Margaritiferidae 018 1 aqua dh=1 rl=1
O Venerida
F Sphaeriidae 018 14 aqua
F Corbiculidae 018 2 aqua al=1
O Myida
F Dreissenidae 018 1 aqua al=1
P 009 Arachnida
C Dromopoda
O Scorpiones
F Euscorpiidae 023 7 pred
F Buthidae 023 2 pred
O Pseudoscorpiones
F Chthoniidae 023 31 soil
F Neobisiidae 023 28 soil
O Opiliones
F Phalangiidae 023 18 pred
F Nemastomatidae 023 8 soil
F Trogulidae 023 7 soil
F Ischyropsalididae 023 6 cave
C Tetrapulmonata
O Araneae
F Dysderidae 022 49 pred
F Nesticidae 022 6 cave
F Linyphiidae 022 161 pred
F Theridiidae 022 42 pred al=0.03
F Araneidae 022 35 pred
F Lycosidae 022 49 pred
F Agelenidae 022 31 pred
F Gnaphosidae 022 56 pred
F Thomisidae 022 28 pred
F Salticidae 022 59 pred al=0.03
C Acari
O Ixodida
F Ixodidae 024 18 parasite
O Trombidiformes
F Trombidiidae 024 14 soil
F Hydrachnidae 024 13 aqua
O Sarcoptiformes
F Damaeidae 024 21 soil
F Oppiidae 024 28 soil
P 010 Crustacea
C Branchiopoda
O Anostraca
F Branchipodidae 026 2 pond
F Chirocephalidae 026 7 pond
O Notostraca
F Triopsidae 026 2 pond
O Diplostraca
F Daphniidae 026 15 aqua
F Chydoridae 026 18 aqua
C Copepoda
O Calanoida
F Diaptomidae 027 14 aqua
O Cyclopoida
F Cyclopidae 027 35 aqua
O Harpacticoida
F Canthocamptidae 027 24 cave
C Ostracoda
O Podocopida
F Candonidae 028 21 cave
F Cyprididae 028 35 aqua
C Malacostraca
O Bathynellacea
F Parabathynellidae 029 6 cave
O Amphipoda
F Gammaridae 029 15 aqua
F Niphargidae 029 31 cave
F Talitridae 029 3 soil
O Isopoda
F Asellidae 030 8 aqua
F Trichoniscidae 030 38 cave
F Armadillidiidae 030 31 soil
F Porcellionidae 030 18 soil al=0.05
F Oniscidae 030 4 soil
O Decapoda
F Astacidae 031 2 aqua dh=1 rl=0.7
F Cambaridae 031 2 aqua al=1
F Potamidae 031 1 aqua rl=1
F Atyidae 031 3 aqua
F Palaemonidae 031 2 aqua
F Varunidae 031 1 aqua al=1
P 011 Myriapoda
C Chilopoda
O Scutigeromorpha
F Scutigeridae 032 1 pred
O Lithobiomorpha
F Lithobiidae 032 31 soil
O Scolopendromorpha
F Cryptopidae 032 4 soil
F Scolopendridae 032 3 pred
O Geophilomorpha
F Geophilidae 032 21 soil
F Himantariidae 032 7 soil
C Diplopoda
O Polyxenida
F Polyxenidae 032 2 soil
O Glomerida
F Glomeridae 032 14 soil
O Polydesmida
F Polydesmidae 032 21 soil
F Paradoxosomatidae 032 3 soil al=0.5
O Chordeumatida
F Craspedosomatidae 032 18 cave
O Julida
F Blaniulidae 032 6 soil
F Julidae 032 49 soil
C Symphyla
F Scutigerellidae 032 6 soil
F Scolopendrellidae 032 4 soil
C Pauropoda
O Tetramerocerata
F Pauropodidae 032 10 soil
P 012 Entognatha
C Collembola
O Poduromorpha
F Hypogastruridae 033 28 soil
F Neanuridae 033 31 soil
F Onychiuridae 033 24 soil
O Entomobryomorpha
F Isotomidae 033 31 soil
F Entomobryidae 033 28 soil
F Tomoceridae 033 7 soil
O Symphypleona
F Sminthuridae 033 10 soil
F Dicyrtomidae 033 6 soil
C Protura
O Acerentomata
F Acerentomidae 033 13 soil
O Eosentomata
F Eosentomidae 033 6 soil
C Diplura
O Rhabdura
F Campodeidae 033 21 cave
O Dicellurata
F Japygidae 033 7 soil
P 013 Insecta
C Apterygota
O Archaeognatha
F Machilidae 033 18 soil
O Zygentoma
F Lepismatidae 033 6 soil al=0.15
C Palaeoptera
O Ephemeroptera
F Baetidae 034 14 mayfly
F Caenidae 034 6 mayfly
F Ephemerellidae 034 5 mayfly
F Ephemeridae 034 3 mayfly
F Heptageniidae 034 18 mayfly
F Leptophlebiidae 034 8 mayfly
O Odonata
F Calopterygidae 035 3 odo
F Lestidae 035 6 odo
F Platycnemididae 035 2 odo
F Coenagrionidae 035 13 odo dh=0.1
F Aeshnidae 035 8 odo
F Gomphidae 035 6 odo dh=0.3
F Cordulegastridae 035 3 odo dh=0.25
F Corduliidae 035 4 odo dh=0.3
F Libellulidae 035 18 odo dh=0.08
C Polyneoptera
O Plecoptera
F Taeniopterygidae 037 6 mayfly
F Nemouridae 037 24 mayfly
F Capniidae 037 6 mayfly
F Leuctridae 037 28 mayfly
F Perlodidae 037 10 mayfly
F Perlidae 037 7 mayfly
F Chloroperlidae 037 7 mayfly
O Orthoptera
F Tettigoniidae 036 49 grass dh=0.02
F Rhaphidophoridae 036 10 cave
F Gryllidae 036 14 grass
F Mogoplistidae 036 4 grass
F Gryllotalpidae 036 2 soil
F Tetrigidae 036 7 grass
F Pamphagidae 036 4 grass
F Pyrgomorphidae 036 1 grass
F Acrididae 036 56 grass
O Dermaptera
F Anisolabididae 036 3 soil @15900
F Labiduridae 036 2 soil
F Forficulidae 036 11 soil
O Mantodea
F Mantidae 038 6 pred
F Empusidae 038 2 pred
O Blattodea
F Ectobiidae 038 18 soil
F Blattidae 038 3 soil al=0.75
F Kalotermitidae 038 1 xylo
F Rhinotermitidae 038 2 xylo
O Phasmatodea
F Bacillidae 038 4 grass
O Embioptera
F Oligotomidae 038 2 soil
C Paraneoptera
O Psocodea
F Psocidae 039 10 grass
F Liposcelididae 039 6 soil
O Thysanoptera
F Thripidae 040 42 phyt al=0.08
F Phlaeothripidae 040 28 phyt
O Hemiptera
F Nepidae 041 2 aqua
F Corixidae 041 10 aqua
F Notonectidae 041 4 aqua
F Gerridae 041 6 aqua
F Saldidae 041 7 pred
F Reduviidae 041 14 pred
F Anthocoridae 041 14 pred
F Miridae 041 105 phyt
F Tingidae 041 18 phyt al=0.05
F Aradidae 041 7 xylo
F Lygaeidae 041 35 phyt
F Coreidae 041 14 phyt al=0.05
F Rhopalidae 041 8 phyt
F Cydnidae 041 10 phyt
F Scutelleridae 041 7 phyt
F Pentatomidae 041 31 phyt al=0.04
F Cicadidae 042 6 phyt
F Cercopidae 042 4 phyt
F Aphrophoridae 042 6 phyt
F Membracidae 042 2 phyt al=0.5
F Cicadellidae 042 98 phyt al=0.04
F Delphacidae 042 28 phyt
F Issidae 042 8 phyt
F Psyllidae 042 21 phyt al=0.1
F Aleyrodidae 042 8 phyt al=0.4
F Aphididae 042 84 phyt al=0.1
F Coccidae 042 10 phyt al=0.3
F Diaspididae 042 21 phyt al=0.3
C Holometabola
O Megaloptera
F Sialidae 043 3 mayfly
O Raphidioptera
F Raphidiidae 043 7 pred
O Neuroptera
F Osmylidae 043 1 pred
F Hemerobiidae 043 14 pred
F Chrysopidae 043 18 pred
F Myrmeleontidae 043 10 pred
F Ascalaphidae 043 4 pred
O Coleoptera
F Carabidae 044 126 carab dh=0.02
F Haliplidae 045 4 aqua
F Noteridae 045 2 aqua
F Dytiscidae 045 31 aqua dh=0.03
F Gyrinidae 045 4 aqua
F Hydraenidae 046 28 aqua
F Hydrophilidae 046 21 aqua
F Histeridae 047 18 sapro
F Leiodidae 047 49 cave
F Silphidae 047 6 sapro
F Staphylinidae 048 182 pred
F Lucanidae 049 4 xylo dh=0.4
F Trogidae 049 3 sapro
F Geotrupidae 049 7 sapro
F Scarabaeidae 050 49 sapro dh=0.02 al=0.03
F Buprestidae 051 24 xylo dh=0.03
F Elmidae 051 10 aqua
F Dryopidae 051 4 aqua
F Elateridae 052 31 xylo dh=0.02
F Lycidae 052 2 xylo
F Lampyridae 052 4 pred
F Cantharidae 052 28 pred
F Dermestidae 053 10 sapro al=0.3
F Bostrichidae 053 6 xylo
F Ptinidae 053 18 xylo
F Cleridae 053 7 pred
F Melyridae 053 21 pred
F Nitidulidae 054 18 phyt al=0.1
F Cryptophagidae 054 10 soil
F Latridiidae 054 8 soil
F Coccinellidae 054 18 pred al=0.05
F Mordellidae 055 13 xylo
F Tenebrionidae 055 42 dry
F Oedemeridae 055 8 phyt
F Meloidae 055 8 phyt
F Anthicidae 055 10 soil
F Cerambycidae 056 46 xylo dh=0.06 al=0.03
F Chrysomelidae 057 98 phyt al=0.02
F Anthribidae 058 6 xylo
F Brentidae 058 24 phyt
F Curculionidae 059 196 phyt al=0.02
F Attelabidae 060 7 phyt
F Dryophthoridae 060 4 phyt al=0.4
O Strepsiptera
F Stylopidae 062 2 para
O Mecoptera
F Boreidae 062 2 soil
F Bittacidae 062 2 pred
F Panorpidae 062 4 pred
O Siphonaptera
F Pulicidae 062 4 parasite
F Ceratophyllidae 062 8 parasite
O Diptera
F Tipulidae 063 35 midge
F Limoniidae 063 42 midge
F Psychodidae 064 18 midge
F Culicidae 064 10 midge al=0.15
F Chironomidae 064 84 midge
F Ceratopogonidae 064 28 midge
F Simuliidae 064 14 midge
F Bibionidae 066 7 fly
F Mycetophilidae 065 49 fly
F Sciaridae 065 28 fly
F Cecidomyiidae 065 42 phyt
F Stratiomyidae 067 14 fly
F Tabanidae 067 18 fly
F Rhagionidae 067 6 fly
F Therevidae 068 7 fly
F Asilidae 068 24 pred
F Bombyliidae 068 21 para
F Empididae 069 35 pred
F Dolichopodidae 069 35 pred
F Syrphidae 070 49 fly
F Conopidae 070 7 para
F Tephritidae 071 24 phyt al=0.05
F Drosophilidae 071 10 fly al=0.12
F Agromyzidae 071 31 phyt
F Chloropidae 071 21 phyt
F Sciomyzidae 072 13 fly
F Ephydridae 072 18 midge
F Sphaeroceridae 072 21 sapro
F Scathophagidae 073 8 fly
F Anthomyiidae 073 24 fly
F Muscidae 073 42 fly
F Calliphoridae 074 13 sapro
F Sarcophagidae 074 18 sapro
F Tachinidae 074 59 para
F Oestridae 074 3 parasite
F Hippoboscidae 074 4 parasite
O Trichoptera
F Rhyacophilidae 079 14 mayfly
F Hydroptilidae 079 10 mayfly
F Philopotamidae 079 6 mayfly
F Hydropsychidae 079 13 mayfly
F Polycentropodidae 079 7 mayfly
F Limnephilidae 079 38 mayfly
F Sericostomatidae 079 4 mayfly
F Leptoceridae 079 10 mayfly
O Lepidoptera
F Micropterigidae 080 4 lepi
F Hepialidae 080 4 lepi
F Nepticulidae 080 21 lepi
F Adelidae 080 7 lepi
F Incurvariidae 080 4 lepi
F Tineidae 081 21 lepi al=0.1
F Psychidae 081 21 lepi
F Gracillariidae 082 24 lepi al=0.06
F Yponomeutidae 082 10 lepi
F Plutellidae 082 4 lepi
F Oecophoridae 083 14 lepi
F Depressariidae 083 21 lepi
F Coleophoridae 083 42 lepi
F Gelechiidae 083 56 lepi al=0.03
F Cossidae 084 3 lepi
F Sesiidae 084 10 lepi
F Zygaenidae 084 10 lepi
F Limacodidae 084 2 lepi
F Tortricidae 085 91 lepi al=0.02
F Pterophoridae 086 14 lepi
F Pyralidae 086 35 lepi al=0.03
F Crambidae 086 49 lepi al=0.03
F Hesperiidae 087 8 butterfly
F Papilionidae 087 4 butterfly dh=0.5
F Pieridae 087 11 butterfly
F Riodinidae 088 1 butterfly
F Lycaenidae 088 28 butterfly dh=0.1 al=0.03
F Nymphalidae 088 31 butterfly dh=0.06
F Lasiocampidae 089 8 lepi dh=0.08
F Saturniidae 089 3 lepi
F Sphingidae 089 10 lepi dh=0.1
F Drepanidae 089 6 lepi
F Geometridae 090 119 lepi
F Notodontidae 091 10 lepi
F Erebidae 091 38 lepi dh=0.03
F Nolidae 091 6 lepi
F Noctuidae 091 133 lepi
O Hymenoptera
F Tenthredinidae 099 49 phyt
F Argidae 099 6 phyt
F Cimbicidae 099 4 phyt
F Siricidae 099 4 xylo
F Cephidae 099 4 phyt
F Ichneumonidae 100 154 para
F Braconidae 101 98 para
F Cynipidae 102 21 phyt al=0.05
F Torymidae 102 10 para
F Pteromalidae 102 35 para
F Eulophidae 102 35 para al=0.05
F Encyrtidae 102 21 para al=0.05
F Chrysididae 103 28 para
F Bethylidae 103 6 para
F Dryinidae 103 6 para
F Formicidae 104 31 ant al=0.05
F Mutillidae 105 7 para
F Scoliidae 105 4 para
F Vespidae 105 21 wasp al=0.05
F Pompilidae 105 18 wasp
F Sphecidae 105 10 wasp al=0.12
F Crabronidae 105 42 wasp
F Colletidae 106 18 bee
F Andrenidae 106 42 bee
F Halictidae 106 35 bee
F Melittidae 106 6 bee
F Megachilidae 106 31 bee al=0.04
F Apidae 106 42 bee al=0.02
P 037 Vertebrata
C Cephalaspidomorphi
O Petromyzontiformes
F Petromyzontidae 110 4 fish @00100 dh=0.8 rl=0.6
C Actinopterygii
O Acipenseriformes
F Acipenseridae 110 3 fish dh=1 rl=1
O Anguilliformes
F Anguillidae 110 1 fish rl=1 al=0
O Clupeiformes
F Clupeidae 110 2 fish dh=1 rl=0.5
O Cypriniformes
F Cyprinidae 110 26 fish al=0.35 dh=0.3
F Cobitidae 110 4 fish dh=0.7
F Nemacheilidae 110 1 fish
O Siluriformes
F Ictaluridae 110 3 fish al=1
F Siluridae 110 1 fish al=1
O Esociformes
F Esocidae 110 2 fish al=0.3
O Salmoniformes
F Salmonidae 110 9 fish al=0.4 dh=0.2 rl=0.3
O Gadiformes
F Lotidae 110 1 fish
O Atheriniformes
F Atherinidae 110 1 fish
O Cyprinodontiformes
F Cyprinodontidae 110 1 fish dh=1 rl=1
F Valenciidae 110 1 fish dh=1 rl=1
F Poeciliidae 110 2 fish al=1
O Gasterosteiformes
F Gasterosteidae 110 2 fish
O Scorpaeniformes
F Cottidae 110 1 fish dh=1
O Perciformes
F Moronidae 110 1 fish
F Centrarchidae 110 2 fish al=1
F Percidae 110 3 fish al=0.6
F Blenniidae 110 1 fish
F Gobiidae 110 6 fish dh=0.3
C Amphibia
O Caudata
F Salamandridae 110 12 amph @35500 dh=0.4
F Plethodontidae 110 8 amph dh=1 rl=0.4
F Proteidae 110 1 amph dh=1 rl=1
O Anura
F Bombinatoridae 110 2 amph dh=1 rl=0.5
F Alytidae 110 4 amph dh=0.6
F Pelobatidae 110 1 amph dh=1 rl=1
F Bufonidae 110 3 amph dh=0.3
F Hylidae 110 3 amph dh=0.6
F Ranidae 110 12 amph dh=0.5 al=0.1
C Reptilia
O Testudines
F Emydidae 110 3 rept @36800 dh=0.5 al=0.4 rl=0.3
F Testudinidae 110 3 rept dh=1 rl=0.6
O Squamata
F Gekkonidae 110 3 rept @37700
F Phyllodactylidae 110 2 rept
F Lacertidae 110 22 rept dh=0.5
F Scincidae 110 3 rept
F Anguidae 110 2 rept
F Colubridae 110 14 rept dh=0.5
F Viperidae 110 5 rept dh=0.3 rl=0.3
C Mammalia
O Eulipotyphla
F Erinaceidae 110 2 mamm @61700
F Soricidae 110 12 mamm
F Talpidae 110 5 mamm
O Chiroptera
F Rhinolophidae 110 5 bat @62300 dh=1 rl=0.4
F Vespertilionidae 110 28 bat dh=1 rl=0.25
F Miniopteridae 110 1 bat dh=1 rl=1
F Molossidae 110 1 bat dh=1
O Lagomorpha
F Leporidae 110 5 mamm @63400 al=0.3
O Rodentia
F Sciuridae 110 4 mamm al=0.5
F Gliridae 110 4 mamm dh=0.3
F Cricetidae 110 15 mamm
F Muridae 110 10 mamm al=0.3
F Hystricidae 110 1 mamm dh=1
F Myocastoridae 110 1 mamm al=1
O Carnivora
F Canidae 110 3 mamm dh=0.4
F Felidae 110 2 mamm dh=1 rl=0.5
F Mustelidae 110 10 mamm dh=0.4 al=0.1
F Ursidae 110 1 mamm dh=1 rl=1
O Artiodactyla
F Suidae 110 1 mamm
F Cervidae 110 5 mamm al=0.3 dh=0.2
F Bovidae 110 4 mamm dh=0.5
)";

std::string threeDigits(int n)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%03d", n);
    return buffer;
}

}  // namespace

HigherTaxa::HigherTaxa()
{
    std::istringstream in(kTable);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty())
            parseLine(line, lineNumber);
    }
}

std::string HigherTaxa::childCode(const std::string &parent)
{
    for (auto &[code, count] : m_childCounters)
        if (code == parent)
            return parent + "." + threeDigits(++count);
    m_childCounters.emplace_back(parent, 1);
    return parent + ".001";
}

void HigherTaxa::parseLine(const std::string &line, int lineNumber)
{
    std::istringstream in(line);
    std::string kind, first;
    in >> kind >> first;
    const auto fail = [&](const char *why) {
        throw std::runtime_error("higher taxa table, line " + std::to_string(lineNumber) + ": " + why);
    };
    if (kind == "P") {
        std::string name;
        in >> name;
        if (first.size() != 3 || name.empty())
            fail("a top group needs a 3-digit code and a name");
        m_top = first;
        m_class.clear();
        m_order.clear();
        m_groups.push_back({m_top, name});
    } else if (kind == "C") {
        if (m_top.empty())
            fail("class outside a top group");
        m_class = childCode(m_top);
        m_order.clear();
        m_groups.push_back({m_class, first});
    } else if (kind == "O") {
        if (m_class.empty())
            fail("order outside a class");
        m_order = childCode(m_class);
        m_groups.push_back({m_order, first});
    } else if (kind == "F") {
        if (m_top.empty())
            fail("family outside a top group");
        FamilyPlan family;
        family.name = first;
        in >> family.volume >> family.speciesCount >> family.profile;
        if (!in || family.volume <= 0 || family.volume > 999 || family.speciesCount <= 0)
            fail("a family needs a volume, a species count and a profile");
        // A family without an order (or without a class) fills the missing levels with "000".
        const std::string parent = !m_order.empty() ? m_order
                                 : !m_class.empty() ? m_class + ".000"
                                                    : m_top + ".000.000";
        family.code = childCode(parent);
        family.orderCode = !m_order.empty() ? m_order : !m_class.empty() ? m_class : m_top;
        family.topCode = m_top;
        std::string option;
        while (in >> option) {
            if (option[0] == '@')
                family.genusStart = std::stoi(option.substr(1));
            else if (option.rfind("al=", 0) == 0)
                family.alienRate = std::stod(option.substr(3));
            else if (option.rfind("dh=", 0) == 0)
                family.directiveRate = std::stod(option.substr(3));
            else if (option.rfind("rl=", 0) == 0)
                family.redListRate = std::stod(option.substr(3));
            else
                fail("unknown family option");
        }
        m_families.push_back(family);
        m_groups.push_back({family.code, family.name});
    } else {
        fail("unknown line kind");
    }
}

}  // namespace ortolan::demo
