#include "Glob.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kestrune_tool {

struct Glob::Node {
    enum Kind : unsigned char {
        Byte,   // byte
        One,    // '?': one character but '/'
        Set,    // [members] or [!members]
        Name,   // '*': any text without '/'
        Any,    // '**': any text
        Deep,   // "/**/": '/', or '/' any text '/'
        List,   // {a,b}: one of alternatives
        Range,  // {low..high}
    } kind = Byte;
    char byte = 0;
    bool negated = false;
    std::string members;  // as written between the brackets, escapes kept
    std::vector<Sequence> alternatives;
    long long low = 0;
    long long high = 0;
};

namespace {

using Node = Glob::Node;
using Sequence = Glob::Sequence;

constexpr std::size_t kMostDigits = 18;  // so that a number fits a long long

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The integer that text starts with (a sign, then digits): its length, 0 when there is none.
std::size_t Integer(std::string_view text, long long& value)
{
    value = 0;
    if (text.empty()) return 0;
    const std::size_t sign = text[0] == '-' || text[0] == '+';
    std::size_t end = sign;
    for (; end < text.size() && IsDigit(text[end]); ++end) {
        if (end - sign < kMostDigits) value = value * 10 + (text[end] - '0');
    }
    if (text[0] == '-') value = -value;
    return end > sign ? end : 0;
}

// Whether text, a whole "{...}", is {n..m}.
bool IsRange(std::string_view text, long long& low, long long& high)
{
    text = text.substr(1, text.size() - 2);
    const std::size_t first = Integer(text, low);
    if (first == 0 || text.compare(first, 2, "..") != 0) return false;
    const std::string_view rest = text.substr(first + 2);
    return !rest.empty() && Integer(rest, high) == rest.size();
}

// Whether every '{' has its '}' (escaped ones aside); else braces are plain characters.
bool BracesPair(std::string_view glob)
{
    long depth = 0;
    for (std::size_t at = 0; at < glob.size() && depth >= 0; ++at) {
        if (glob[at] == '\\' && at + 1 < glob.size()) {
            ++at;
        } else {
            depth += glob[at] == '{' ? 1 : glob[at] == '}' ? -1 : 0;
        }
    }
    return depth == 0;
}

// Whether c is a member of the set written members (escapes kept, a-z ranges).
bool InSet(std::string_view members, char c)
{
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
        if (byte(c) >= byte(low) && byte(c) <= byte(high)) return true;
    }
    return false;
}

// What is left of a sequence when an inner one ends.
struct Rest {
    const Sequence* sequence;
    std::size_t next;
    const Rest* outer;
};

// Whether text from at matches nodes from next on, then rest. Tried in the
// order a backtracking regular expression tries them (stars longest first,
// alternatives left to right): the first way that matches decides a {n..m}
// whose integer is out of range (Refused), as the reference implementation
// judges the numbers of the first match only.
enum class Result { No, Yes, Refused };

Result Match(const Sequence& nodes, std::size_t next, const Rest* rest, std::string_view text, std::size_t at)
{
    if (next == nodes.size()) {
        if (rest != nullptr) return Match(*rest->sequence, rest->next, rest->outer, text, at);
        return at == text.size() ? Result::Yes : Result::No;
    }
    const Node& node = nodes[next];
    const auto then = [&](std::size_t to) { return Match(nodes, next + 1, rest, text, to); };
    const bool more = at < text.size();
    switch (node.kind) {
        case Node::Byte: return more && text[at] == node.byte ? then(at + 1) : Result::No;
        case Node::One: {
            if (!more || text[at] == '/') return Result::No;
            // One character: a UTF-8 sequence's continuation bytes go with it.
            std::size_t to = at + 1;
            while (to < text.size() && (static_cast<unsigned char>(text[to]) & 0xC0) == 0x80) ++to;
            return then(to);
        }
        case Node::Set: return more && InSet(node.members, text[at]) != node.negated ? then(at + 1) : Result::No;
        case Node::Name:
        case Node::Any: {
            const std::size_t slash = node.kind == Node::Name ? text.find('/', at) : std::string_view::npos;
            for (std::size_t to = std::min(slash, text.size()) + 1; to-- > at;) {
                const Result result = then(to);
                if (result != Result::No) return result;
            }
            return Result::No;
        }
        case Node::Deep: {
            if (!more || text[at] != '/') return Result::No;
            const Result result = then(at + 1);
            if (result != Result::No) return result;
            for (std::size_t to = text.size(); to-- > at + 1;) {
                const Result deeper = text[to] == '/' ? then(to + 1) : Result::No;
                if (deeper != Result::No) return deeper;
            }
            return Result::No;
        }
        case Node::List: {
            const Rest after{&nodes, next + 1, rest};
            for (const Sequence& alternative : node.alternatives) {
                const Result result = Match(alternative, 0, &after, text, at);
                if (result != Result::No) return result;
            }
            return Result::No;
        }
        case Node::Range: {
            long long value = 0;
            const std::size_t length = more ? Integer(text.substr(at), value) : 0;
            const std::size_t digits = more && (text[at] == '-' || text[at] == '+') ? at + 1 : at;
            for (std::size_t to = at + length; length != 0 && to > digits; --to) {
                const Result result = then(to);
                if (result == Result::Refused) return result;
                if (result == Result::No) continue;
                Integer(text.substr(at, to - at), value);
                const bool fits = text[at] != '0' && value >= node.low && value <= node.high;
                return fits ? Result::Yes : Result::Refused;
            }
            return Result::No;
        }
    }
    return Result::No;
}

}  // namespace

Glob::Glob(std::string_view glob)
{
    Sequence nodes;
    // Matched against "/" + path: anchored at the directory, or at any name.
    std::string pattern = glob.find('/') == std::string_view::npos ? "**/" : glob.substr(0, 1) == "/" ? "" : "/";
    pattern += glob;
    const bool paired = BracesPair(pattern);
    std::vector<Node> lists;          // the lists open, innermost last
    std::vector<std::size_t> plains;  // each '}' that closes a {single}: a plain character
    const auto current = [&]() -> Sequence& { return lists.empty() ? nodes : lists.back().alternatives.back(); };
    const auto add = [&](Node::Kind kind, char byte = 0) {
        current().emplace_back();
        current().back().kind = kind;
        current().back().byte = byte;
        return &current().back();
    };
    const std::size_t size = pattern.size();
    for (std::size_t at = 0; at < size; ++at) {
        const char c = pattern[at];
        if (c == '\\') {
            add(Node::Byte, at + 1 < size ? pattern[++at] : '\\');
        } else if (c == '?') {
            add(Node::One);
        } else if (c == '*') {
            const bool any = at + 1 < size && pattern[at + 1] == '*';
            add(any ? Node::Any : Node::Name);
            at += any;
        } else if (c == '[') {
            std::size_t end = at;
            while (end < size && pattern[end] != ']' && pattern[end] != '/') end += pattern[end] == '\\' ? 2 : 1;
            if (end < size && pattern[end] == '/') {
                // A '/' inside: the brackets and what is between them are plain characters.
                const std::size_t close = std::min(pattern.find(']', at), size - 1);
                for (; at <= close; ++at) add(Node::Byte, pattern[at]);
                --at;
                continue;
            }
            const std::size_t from = at + 1 + (at + 1 < size && pattern[at + 1] == '!');
            std::size_t close = from < size && pattern[from] == ']' ? from + 1 : from;  // a ']' first is a member
            while (close < size && pattern[close] != ']') close += pattern[close] == '\\' ? 2 : 1;
            if (close >= size) return;
            Node* set = add(Node::Set);
            set->negated = from > at + 1;
            set->members = pattern.substr(from, close - from);
            at = close;
        } else if (c == '{' && paired) {
            const auto plain = [&plains](std::size_t place) {
                return std::find(plains.begin(), plains.end(), place) != plains.end();
            };
            std::size_t close = at + 1;
            while (close < size && ((pattern[close] != '}' || plain(close)) && pattern[close] != ','))
                close += pattern[close] == '\\' ? 2 : 1;
            if (close < size && pattern[close] == '}') {
                long long low = 0;
                long long high = 0;
                if (IsRange(std::string_view(pattern).substr(at, close - at + 1), low, high)) {
                    Node* range = add(Node::Range);
                    range->low = low;
                    range->high = high;
                    at = close;
                } else {
                    add(Node::Byte, '{');
                    plains.push_back(close);
                }
                continue;
            }
            lists.emplace_back();
            lists.back().kind = Node::List;
            lists.back().alternatives.emplace_back();
        } else if (c == '}' && paired && std::find(plains.begin(), plains.end(), at) == plains.end()) {
            if (lists.empty()) return;
            Node list = std::move(lists.back());
            lists.pop_back();
            current().push_back(std::move(list));
        } else if (c == ',' && !lists.empty()) {
            lists.back().alternatives.emplace_back();
        } else if (pattern.compare(at, 4, "/**/") == 0) {
            add(Node::Deep);
            at += 3;
        } else {
            add(Node::Byte, c);
        }
    }
    if (lists.empty()) nodes_ = std::make_shared<const Sequence>(std::move(nodes));
}

bool Glob::Matches(std::string_view path) const
{
    const std::string text = "/" + std::string(path);
    return nodes_ != nullptr && Match(*nodes_, 0, nullptr, text, 0) == Result::Yes;
}

bool GlobMatches(std::string_view glob, std::string_view path) { return Glob(glob).Matches(path); }

}  // namespace kestrune_tool
