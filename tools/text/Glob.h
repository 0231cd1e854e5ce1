// EditorConfig's glob syntax, matched against a '/'-separated path: for the
// walk's --exclude and --include, and for any reader of EditorConfig sections.
#ifndef KESTRUNE_TOOL_GLOB_H
#define KESTRUNE_TOOL_GLOB_H

#include <string_view>

namespace kestrune_tool {

// Whether path (relative to the directory the glob belongs to, '/' between
// names) matches glob: '*' any text within one name, '**' any text, '?' one
// character but '/', [abc], [a-z], [!abc] one character of (or not of) the
// set, {a,b} either text, {n..m} an integer from n to m, '\' takes the next
// character as it is. A glob without '/' matches a name in any directory;
// one with '/' matches from the start (a leading '/' means the same), and
// "/**/" also matches "/".
bool GlobMatches(std::string_view glob, std::string_view path);

}  // namespace kestrune_tool

#endif
