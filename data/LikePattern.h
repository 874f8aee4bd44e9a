#pragma once

#include <string_view>
#include <vector>

namespace ortolan::data {

// A compiled pattern of the dialect's `like`:
//   *  any run of characters (also none)
//   ?  exactly one character
// every other character stands for itself, compared ignoring case. `%`, `_`,
// `#` and `[` are ordinary characters: bracketed character classes are not
// supported, so "[a]" matches the three characters "[a]" literally.
//
// Case is folded per character with Unicode simple case folding ("È" matches
// "è"), with one restriction: a character outside ASCII never folds onto an
// ASCII letter (the Kelvin sign does not match "k", the long s does not match
// "s"). This keeps `like 'ABC*'` exactly equal to the ASCII case-insensitive
// range that SqlDialect lets the text indexes answer.
//
// Text is UTF-8 as SQLite hands it over; matching allocates nothing, so one
// compiled pattern can test hundreds of thousands of rows cheaply.
class LikePattern {
public:
    // escape: a character that makes the next pattern character literal
    // (the ESCAPE clause); 0 for none.
    explicit LikePattern(std::string_view utf8Pattern, char32_t escape = 0);

    bool matches(std::string_view utf8Text) const;
    char32_t escape() const { return escape_; }

    // The folded form of one character, as used for comparison.
    static char32_t fold(char32_t c);

private:
    enum class Op : unsigned char { Literal, AnyOne, AnyRun };
    struct Item {
        Op op;
        char32_t ch;  // folded, for Literal
    };
    std::vector<Item> items_;
    char32_t escape_;
};

// Decodes the UTF-8 character at p (p < end) and advances p past it. An
// invalid or truncated sequence yields U+FFFD and advances by one byte.
char32_t nextUtf8(const unsigned char *&p, const unsigned char *end);

}  // namespace ortolan::data
