// The dialect's like: wildcards, case folding, literal characters.
#include "data/LikePattern.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

using ortolan::data::LikePattern;

namespace {

struct LikeCase {
    const char *name;
    const char *pattern;
    const char *text;
    bool matches;
};

void PrintTo(const LikeCase &c, std::ostream *os)
{
    *os << c.name;
}

class LikePatternTest : public ::testing::TestWithParam<LikeCase> {};

TEST_P(LikePatternTest, Matches)
{
    const LikeCase &c = GetParam();
    EXPECT_EQ(LikePattern(c.pattern).matches(c.text), c.matches) << c.pattern << " vs " << c.text;
}

const LikeCase cases[] = {
    {"StarMatchesAnyRun", "car*us", "Carabus", true},
    {"StarMatchesEmptyRun", "car*bus", "carbus", true},
    {"StarNeedsTheRest", "car*us", "Carabidae", false},
    {"StarsAtBothEnds", "*rab*", "Carabus olympiae", true},
    {"StarAloneMatchesEmpty", "*", "", true},
    {"BacktrackingStar", "*ab*abc", "abababc", true},
    {"BacktrackingFails", "*ab*abd", "abababc", false},
    {"QuestionMarkIsOneCharacter", "R?na", "Rana", true},
    {"QuestionMarkNeedsACharacter", "Rana?", "Rana", false},
    {"QuestionMarkIsOneNonAsciiCharacter", "Cic?", "Cicè", true},
    {"PercentIsLiteral", "50%", "50%", true},
    {"PercentIsNotAWildcard", "5%", "50", false},
    {"UnderscoreIsLiteral", "a_b", "a_b", true},
    {"UnderscoreIsNotAWildcard", "a_b", "axb", false},
    {"BracketIsLiteral", "[a]*", "[a]bc", true},
    {"BracketIsNotAClass", "[ab]", "a", false},
    {"HashIsLiteral", "#1", "#1", true},
    {"ApostropheIsLiteral", "*dell'O*", "Carabus dell'Ortolan", true},
    {"CaseIgnoredAscii", "RANA*", "rana latastei", true},
    {"CaseIgnoredAccents", "ÈLITE", "èlite", true},
    {"CaseIgnoredGreek", "σ*", "Σigma", true},
    {"AccentsStillDiffer", "e", "è", false},
    {"KelvinSignIsNotK", "k", "\u212A", false},
    {"EmptyPatternMatchesEmpty", "", "", true},
    {"EmptyPatternRejectsText", "", "a", false},
    {"PrefixMatchesSubspecies", "044.00101.001.0*", "044.00101.001.01", true},
    {"PrefixMatchesItself", "044.00101.001.0*", "044.00101.001.0", true},
    {"PrefixRejectsSibling", "044.00101.001.0*", "044.00101.002.0", false},
    {"InvalidUtf8IsOneCharacter", "a?b", "a\xff" "b", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, LikePatternTest, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(LikePatternEscape, EscapedWildcardsAreLiteral)
{
    EXPECT_TRUE(LikePattern("a!*b", U'!').matches("a*b"));
    EXPECT_FALSE(LikePattern("a!*b", U'!').matches("axb"));
    EXPECT_TRUE(LikePattern("a!?", U'!').matches("a?"));
    EXPECT_FALSE(LikePattern("a!?", U'!').matches("ab"));
}

TEST(LikePatternLongText, LinearOnLongText)
{
    const std::string text(200000, 'a');
    EXPECT_TRUE(LikePattern("*a*a*a*").matches(text));
    EXPECT_FALSE(LikePattern("*a*a*b").matches(text));
}

}  // namespace
