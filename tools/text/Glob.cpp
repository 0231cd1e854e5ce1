#include "Glob.h"

#include <string>
#include <vector>

namespace kestrune_tool {

namespace {

constexpr std::size_t kMostDigits = 18;  // so that a number fits a long long

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One bound of {n..m}: the whole of text is an integer.
bool Bound(std::string_view text, long long& value)
{
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+');
    if (text.size() == sign || text.size() - sign > kMostDigits) return false;
    value = 0;
    for (const char c : text.substr(sign)) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    if (text[0] == '-') value = -value;
    return true;
}

// The length of the [...] set that glob starts with, ']' included; 0 when it
// is not one (no ']' within the name): the '[' is then a character like any.
std::size_t SetLength(std::string_view glob)
{
    std::size_t at = glob.size() > 1 && glob[1] == '!' ? 2 : 1;
    if (at < glob.size() && glob[at] == ']') ++at;  // a ']' first is a member
    for (; at < glob.size() && glob[at] != ']'; ++at) {
        if (glob[at] == '/') return 0;
        if (glob[at] == '\\') ++at;
    }
    return at < glob.size() ? at + 1 : 0;
}

// Whether c is a member of set, a whole "[...]".
bool InSet(std::string_view set, char c)
{
    const bool negated = set[1] == '!';
    const std::string_view members = set.substr(negated ? 2 : 1, set.size() - (negated ? 3 : 2));
    const auto byte = [](char member) { return static_cast<unsigned char>(member); };
    for (std::size_t at = 0; at < members.size(); ++at) {
        if (members[at] == '\\' && at + 1 < members.size()) ++at;
        const char low = members[at];
        char high = low;
        if (at + 2 < members.size() && members[at + 1] == '-') {
            at += 2;
            if (members[at] == '\\' && at + 1 < members.size()) ++at;
            high = members[at];
        }
        if (byte(c) >= byte(low) && byte(c) <= byte(high)) return !negated;
    }
    return negated;
}

// The length of the {...} that glob starts with, '}' included, and the places
// of its commas outside inner braces; 0 when it does not close.
std::size_t BraceLength(std::string_view glob, std::vector<std::size_t>& commas)
{
    int depth = 0;
    for (std::size_t at = 0; at < glob.size(); ++at) {
        if (glob[at] == '\\') {
            ++at;
        } else if (glob[at] == '{') {
            ++depth;
        } else if (glob[at] == '}' && --depth == 0) {
            return at + 1;
        } else if (glob[at] == ',' && depth == 1) {
            commas.push_back(at);
        }
    }
    return 0;
}

bool Match(std::string_view glob, std::string_view text);

// glob starts with a {...} of length: whether text matches it and rest after
// it. False with tried false when it is neither a list nor a range.
bool MatchBrace(std::string_view glob, std::size_t length, std::vector<std::size_t> commas, std::string_view text,
                bool& tried)
{
    const std::string_view rest = glob.substr(length);
    const std::string_view inside = glob.substr(1, length - 2);
    const std::size_t dots = inside.find("..");
    long long low = 0;
    long long high = 0;
    tried = !commas.empty() || (dots != std::string_view::npos && Bound(inside.substr(0, dots), low) &&
                                Bound(inside.substr(dots + 2), high));
    if (!commas.empty()) {
        commas.push_back(length - 1);
        std::size_t from = 1;
        for (const std::size_t comma : commas) {
            if (Match(std::string(glob.substr(from, comma - from)).append(rest), text)) return true;
            from = comma + 1;
        }
        return false;
    }
    if (!tried) return false;
    if (low > high) std::swap(low, high);
    // Every integer that text starts with, shortest first.
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+');
    long long value = 0;
    for (std::size_t at = sign; at < text.size() && at < sign + kMostDigits && IsDigit(text[at]); ++at) {
        value = value * 10 + (text[at] - '0');
        const long long number = text[0] == '-' ? -value : value;
        if (number >= low && number <= high && Match(rest, text.substr(at + 1))) return true;
    }
    return false;
}

// Whether text matches glob, both whole.
bool Match(std::string_view glob, std::string_view text)
{
    while (!glob.empty()) {
        if (glob[0] == '*') {
            const bool any = glob.size() > 1 && glob[1] == '*';
            glob.remove_prefix(any ? 2 : 1);
            for (std::size_t skip = 0;; ++skip) {
                if (Match(glob, text.substr(skip))) return true;
                if (skip == text.size() || (!any && text[skip] == '/')) return false;
            }
        }
        // "/**/" is also "/"; else it goes on as '/' then "**/".
        if (glob.substr(0, 4) == "/**/" && !text.empty() && text[0] == '/' && Match(glob.substr(4), text.substr(1)))
            return true;
        std::vector<std::size_t> commas;
        const std::size_t braces = glob[0] == '{' ? BraceLength(glob, commas) : 0;
        if (braces != 0) {
            bool tried = false;
            const bool matched = MatchBrace(glob, braces, commas, text, tried);
            if (tried) return matched;
        }
        const std::size_t set = glob[0] == '[' ? SetLength(glob) : 0;
        if (set != 0 || glob[0] == '?') {
            if (text.empty() || text[0] == '/' || (set != 0 && !InSet(glob.substr(0, set), text[0]))) return false;
            glob.remove_prefix(set != 0 ? set : 1);
            // '?' is one character: a UTF-8 sequence's continuation bytes go with it.
            std::size_t width = 1;
            while (set == 0 && width < text.size() && (static_cast<unsigned char>(text[width]) & 0xC0) == 0x80) ++width;
            text.remove_prefix(width);
            continue;
        }
        const std::size_t width = glob[0] == '\\' && glob.size() > 1 ? 2 : 1;
        if (text.empty() || text[0] != glob[width - 1]) return false;
        glob.remove_prefix(width);
        text.remove_prefix(1);
    }
    return text.empty();
}

}  // namespace

bool GlobMatches(std::string_view glob, std::string_view path)
{
    std::string anchored = glob.find('/') == std::string_view::npos ? "/**/" : glob.substr(0, 1) == "/" ? "" : "/";
    anchored += glob;
    return Match(anchored, "/" + std::string(path));
}

}  // namespace kestrune_tool
