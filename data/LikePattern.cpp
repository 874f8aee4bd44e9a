#include "data/LikePattern.h"

#include <QChar>

#include <cstdint>

namespace ortolan::data {

char32_t nextUtf8(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char lead = *p;
    if (lead < 0x80) {
        ++p;
        return lead;
    }
    int extra = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
        ++p;
        return 0xFFFD;
    }
    if (end - p <= extra) {
        ++p;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            ++p;
            return 0xFFFD;
        }
        c = (c << 6) | (p[k] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++p;
        return 0xFFFD;
    }
    p += extra + 1;
    return c;
}

char32_t LikePattern::fold(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    const char32_t folded = QChar::toCaseFolded(c);
    return folded < 0x80 ? c : folded;
}

LikePattern::LikePattern(std::string_view utf8Pattern, char32_t escape) : escape_(escape)
{
    auto p = reinterpret_cast<const unsigned char *>(utf8Pattern.data());
    const auto end = p + utf8Pattern.size();
    items_.reserve(utf8Pattern.size());
    while (p < end) {
        char32_t c = nextUtf8(p, end);
        if (escape_ != 0 && c == escape_ && p < end) {
            items_.push_back({Op::Literal, fold(nextUtf8(p, end))});
        } else if (c == U'*') {
            if (items_.empty() || items_.back().op != Op::AnyRun)
                items_.push_back({Op::AnyRun, 0});
        } else if (c == U'?') {
            items_.push_back({Op::AnyOne, 0});
        } else {
            items_.push_back({Op::Literal, fold(c)});
        }
    }
}

bool LikePattern::matches(std::string_view utf8Text) const
{
    // Greedy matching with one backtrack point: the most recent `*` absorbs one
    // more character whenever the items after it fail. Linear for the usual
    // "prefix*" and "*part*" patterns.
    auto text = reinterpret_cast<const unsigned char *>(utf8Text.data());
    const auto end = text + utf8Text.size();
    const size_t count = items_.size();
    size_t item = 0;
    size_t runItem = SIZE_MAX;  // item after the last `*`
    const unsigned char *runText = nullptr;
    while (text < end) {
        if (item < count && items_[item].op == Op::AnyRun) {
            runItem = ++item;
            runText = text;
            continue;
        }
        if (item < count) {
            const unsigned char *after = text;
            const char32_t c = nextUtf8(after, end);
            if (items_[item].op == Op::AnyOne || items_[item].ch == fold(c)) {
                text = after;
                ++item;
                continue;
            }
        }
        if (runItem == SIZE_MAX)
            return false;
        nextUtf8(runText, end);
        text = runText;
        item = runItem;
    }
    while (item < count && items_[item].op == Op::AnyRun)
        ++item;
    return item == count;
}

}  // namespace ortolan::data
