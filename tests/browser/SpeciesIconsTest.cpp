// Icon choice of species nodes: every rule band with its boundaries, the grey
// Red List categories, and codes too short or odd to read as numbers.
#include "browser/SpeciesIcons.h"

#include <gtest/gtest.h>

using ortolan::browser::leadingNumber;
using ortolan::browser::Set_Icons;

namespace {

struct IconCase {
    const char *name;
    const char *code;
    const char *conservazione;
    const char *filter;
    const char *icon;
};

void PrintTo(const IconCase &c, std::ostream *os) { *os << c.name; }

class SetIconsTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(SetIconsTest, ChoosesTheIconOfTheLastMatchingRule)
{
    const IconCase &c = GetParam();
    EXPECT_EQ(Set_Icons(QString::fromUtf8(c.code), QString::fromUtf8(c.conservazione), QString::fromUtf8(c.filter)),
              QString::fromUtf8(c.icon));
}

const IconCase kCases[] = {
    {"no_band_keeps_insect", "075.00101.001.0", "", "Tutto", "Ins"},
    {"group_19_between_bands", "019.00101.001.0", "", "Tutto", "Ins"},
    {"worms_below_13", "012.00101.001.0", "", "Tutto", "Oligo"},
    {"worms_at_zero", "000.00101.001.0", "", "Tutto", "Oligo"},
    {"snails_lower_bound_13", "013.00101.001.0", "", "Tutto", "Gast"},
    {"snails_upper_bound_18", "018.00101.001.0", "", "Tutto", "Gast"},
    {"worms_again_at_020", "020.00101.001.0", "", "Tutto", "Oligo"},
    {"group_021_between_worms_and_spiders", "021.00101.001.0", "", "Tutto", "Ins"},
    {"spiders_022", "022.00101.001.0", "", "Tutto", "Arac"},
    {"spiders_024", "024.00101.001.0", "", "Tutto", "Arac"},
    {"group_025_after_spiders", "025.00101.001.0", "", "Tutto", "Ins"},
    {"crustaceans_lower_bound_26", "026.00101.001.0", "", "Tutto", "Crust"},
    {"crustaceans_upper_bound_31", "031.00101.001.0", "", "Tutto", "Crust"},
    {"centipedes_032", "032.00101.001.0", "", "Tutto", "Chilo"},
    {"mayflies_034", "034.00101.001.0", "", "Tutto", "Eph"},
    {"mayflies_037", "037.00101.001.0", "", "Tutto", "Eph"},
    {"dragonflies_035", "035.00101.001.0", "", "Tutto", "Odo"},
    {"grasshoppers_036", "036.10001.001.0", "", "Tutto", "Grass"},
    {"grasshoppers_036_just_below_earwigs", "036.158.001.0", "", "Tutto", "Grass"},
    {"earwigs_036_lower_bound_159", "036.159.001.0", "", "Tutto", "Ear"},
    {"earwigs_036_upper_bound_169", "036.169.001.0", "", "Tutto", "Ear"},
    {"grasshoppers_036_just_above_earwigs", "036.170.001.0", "", "Tutto", "Grass"},
    {"bugs_041", "041.00101.001.0", "", "Tutto", "Hem"},
    {"bugs_042", "042.00101.001.0", "", "Tutto", "Hem"},
    {"beetles_lower_bound_44", "044.00101.001.0", "", "Tutto", "Col"},
    {"beetles_upper_bound_61", "061.00101.001.0", "", "Tutto", "Col"},
    {"group_62_between_beetles_and_flies", "062.00101.001.0", "", "Tutto", "Ins"},
    {"flies_lower_bound_63", "063.00101.001.0", "", "Tutto", "Dipt"},
    {"flies_upper_bound_74", "074.00101.001.0", "", "Tutto", "Dipt"},
    {"caddisflies_079", "079.00101.001.0", "", "Tutto", "Tric"},
    {"butterflies_lower_bound_80", "080.00101.001.0", "", "Tutto", "Lep"},
    {"butterflies_upper_bound_91", "091.00101.001.0", "", "Tutto", "Lep"},
    {"bees_lower_bound_99", "099.00101.001.0", "", "Tutto", "Hym"},
    {"bees_upper_bound_106", "106.00101.001.0", "", "Tutto", "Hym"},
    {"group_107_after_bees", "107.00101.001.0", "", "Tutto", "Ins"},
    {"fish_below_355", "110.354.01.001", "", "Tutto", "Fish"},
    {"frogs_lower_bound_355", "110.355.01.001", "", "Tutto", "Frog"},
    {"frogs_upper_bound_367", "110.367.01.001", "", "Tutto", "Frog"},
    {"turtles_lower_bound_368", "110.368.01.001", "", "Tutto", "Turtle"},
    {"turtles_upper_bound_376", "110.376.01.001", "", "Tutto", "Turtle"},
    {"snakes_lower_bound_377", "110.377.01.001", "", "Tutto", "Snake"},
    {"snakes_upper_bound_399", "110.399.01.001", "", "Tutto", "Snake"},
    {"vertebrates_400_to_616_have_no_rule", "110.400.01.001", "", "Tutto", "Ins"},
    {"vertebrates_just_below_mammals_616", "110.616.01.001", "", "Tutto", "Ins"},
    {"mammals_lower_bound_617", "110.617.01.001", "", "Tutto", "Mamm"},
    {"mammals_upper_bound_622", "110.622.01.001", "", "Tutto", "Mamm"},
    {"bats_lower_bound_623", "110.623.01.001", "", "Tutto", "Bat"},
    {"bats_upper_bound_633", "110.633.01.001", "", "Tutto", "Bat"},
    {"mammals_from_634", "110.634.01.001", "", "Tutto", "Mamm"},
    {"vertebrate_code_without_class_digits", "110", "", "Tutto", "Fish"},
    {"vertebrate_class_digits_cut_short", "110.35", "", "Tutto", "Fish"},
    {"red_list_vulnerable_is_grey_v", "044.00101.001.0", "VU", "RedList", "Vgrey"},
    {"red_list_endangered_is_grey_e", "110.355.01.001", "EN", "RedList", "Egrey"},
    {"red_list_extinct_is_grey_x", "080.00101.001.0", "EX", "RedList", "Xgrey"},
    {"red_list_category_c_keeps_group_icon", "044.00101.001.0", "C", "RedList", "Col"},
    {"red_list_near_threatened_keeps_group_icon", "044.00101.001.0", "NT", "RedList", "Col"},
    {"category_compared_exactly", "044.00101.001.0", "vu", "RedList", "Col"},
    {"vulnerable_outside_red_list_keeps_group_icon", "044.00101.001.0", "VU", "Tutto", "Col"},
    {"vulnerable_under_habitat_directive_keeps_group_icon", "044.00101.001.0", "VU", "DirHabitat", "Col"},
    {"empty_code", "", "", "Tutto", "Oligo"},
    {"one_character_code", "4", "", "Tutto", "Oligo"},
    {"letters_read_as_zero", "abc.def", "", "Tutto", "Oligo"},
    {"leading_blank_skipped", " 44.00101", "", "Tutto", "Col"},
    {"digits_stop_at_a_letter", "04x.00101", "", "Tutto", "Oligo"},
};

INSTANTIATE_TEST_SUITE_P(Rules, SetIconsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<IconCase> &info) { return std::string(info.param.name); });

TEST(LeadingNumberTest, ReadsDigitsUpToTheFirstOtherCharacter)
{
    EXPECT_EQ(leadingNumber(u"110"), 110.0);
    EXPECT_EQ(leadingNumber(u"  12ab"), 12.0);
    EXPECT_EQ(leadingNumber(u"1.5"), 1.5);
    EXPECT_EQ(leadingNumber(u"-3"), -3.0);
    EXPECT_EQ(leadingNumber(u""), 0.0);
    EXPECT_EQ(leadingNumber(u"."), 0.0);
    EXPECT_EQ(leadingNumber(u"x12"), 0.0);
}

}  // namespace
