// EditorConfig's glob syntax, matched against a '/'-separated path: for the
// walk's --exclude and --include, and for the sections of .editorconfig files.
#ifndef KESTRUNE_TOOL_GLOB_H
#define KESTRUNE_TOOL_GLOB_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune_tool {

// A glob read once, matched against many paths (relative to the directory
// the glob belongs to, '/' between names): '*' any text within one name,
// '**' any text, '?' one character but '/', [abc], [a-z], [!abc] one byte of
// (or not of) the set, {a,b} either text, {n..m} an integer from n to m
// (written without a leading 0), '\' takes the next character as it is. A
// glob without '/' matches a name in any directory; one with '/' matches
// from the start (a leading '/' means the same), and "/**/" also matches
// "/". Braces that do not pair up are plain characters; a '[' never closed,
// or a '}' closing no list, makes a glob that matches nothing.
class Glob {
public:
    explicit Glob(std::string_view glob);
    bool Matches(std::string_view path) const;

    struct Node;
    using Sequence = std::vector<Node>;

private:
    std::shared_ptr<const Sequence> nodes_;  // null when the glob matches nothing
};

// Glob(glob).Matches(path), for a glob used once.
bool GlobMatches(std::string_view glob, std::string_view path);

}  // namespace kestrune_tool

#endif
