// The text of an .editorconfig file read into sections, and the properties
// that a list of such files gives one file: pure code, no file I/O.
#ifndef KESTRUNE_TOOL_EDITORCONFIGTEXT_H
#define KESTRUNE_TOOL_EDITORCONFIGTEXT_H

#include "Glob.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune_tool {

struct EditorConfigPair {
    std::string name;   // lower-cased
    std::string value;  // lower-cased for the properties whose values are words
    std::size_t line = 0;
};

struct EditorConfigSection {
    Glob glob;
    std::size_t line;  // of the [header], from 1
    std::vector<EditorConfigPair> pairs;
};

struct EditorConfigFile {
    bool root = false;        // root = true before the first section
    std::size_t badLine = 0;  // the first line that is no header, pair or comment; 0 for none
    std::vector<EditorConfigSection> sections;
};

// Reads an .editorconfig as the EditorConfig INI dialect has it: '#' or ';'
// at a line's start, or after a space, starts a comment; "name = value" or
// "name: value"; a section name over 4096 bytes leaves its header out, a name
// over 1024 or a value over 4096 its pair.
EditorConfigFile ParseEditorConfig(std::string_view text);

// One .editorconfig that applies to a file: where the user reaches it, and
// the file's path relative to its directory ('/' between names).
struct EditorConfigUse {
    const EditorConfigFile* file;
    const std::string* shown;
    std::string path;
};

struct EditorConfigProperty {
    std::string name;
    std::string value;
    const std::string* shown;  // the .editorconfig that gave it, and its line (0: derived)
    std::size_t line;
};

struct EditorConfigRules {
    std::vector<EditorConfigProperty> properties;  // in the order first given
    std::vector<std::string> from;                 // "PATH:LINE" of each section header that gave one
};

// The properties that uses (the nearest .editorconfig last, none above a
// root) give: a later section's value replaces an earlier one's in its
// place (the value unset too, which the rules read as none); then indent_size and
// tab_width filled in from each other (from indent_style = tab too, unless
// the rules are those of EditorConfig before 0.9).
EditorConfigRules ResolveEditorConfig(const std::vector<EditorConfigUse>& uses, bool before09 = false);

}  // namespace kestrune_tool

#endif
