// The rules a file is held to: from the .editorconfig files that apply to
// it, then from the command line, each rule left unset when nobody gave it.
#ifndef KESTRUNE_TOOL_POLICY_H
#define KESTRUNE_TOOL_POLICY_H

#include <cstddef>
#include <string>
#include <vector>

namespace kestrune_tool {

enum class Want { Unset, Yes, No };

enum class Indent { Unset, Tab, Space };

struct Policy {
    const char* eol = nullptr;  // "\r\n", "\n" or "\r" for every line ending
    Want bom = Want::Unset;
    Want finalNewline = Want::Unset;
    Want utf8 = Want::Unset;       // Yes: the text must be valid UTF-8
    std::string tag;               // the charset the first line's tag must name; empty: no rule
    std::string unsupported;       // a charset named that we do not check, for a note
    const char* tagEol = nullptr;  // the tag line's ending where it is not the rule's (tag --eol)
    Want trim = Want::Unset;       // Yes: no space or tab ends a line
    Indent indent = Indent::Unset;
    std::size_t indentSize = 0;    // with spaces: each indentation a multiple of it; 0 for any
    Want lineLimit = Want::Unset;  // Yes: no line longer than maxLine characters
    std::size_t maxLine = 0;
    std::vector<std::string> from;  // "PATH:LINE": the .editorconfig sections that gave rules

    bool Any() const
    {
        return eol != nullptr || bom != Want::Unset || finalNewline != Want::Unset || utf8 != Want::Unset ||
               !tag.empty() || trim != Want::Unset || indent != Indent::Unset || lineLimit != Want::Unset;
    }
};

// Sets the rule an EditorConfig property gives (end_of_line, charset,
// insert_final_newline, trim_trailing_whitespace, indent_style, indent_size,
// max_line_length), none for the value unset; other properties are not ours
// and are ignored. False for a value the property does not take.
bool ApplyProperty(Policy& policy, const std::string& name, const std::string& value);

// The rules of over, where set, in place of those of base.
Policy Overlay(Policy base, const Policy& over);

}  // namespace kestrune_tool

#endif
