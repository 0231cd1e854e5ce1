// The rules a file is held to: from the .editorconfig files that apply to
// it, then from the command line, each rule left unset when nobody gave it.
#ifndef KESTRUNE_TOOL_POLICY_H
#define KESTRUNE_TOOL_POLICY_H

#include <string>

namespace kestrune_tool {

enum class Want { Unset, Yes, No };

struct Policy {
    const char* eol = nullptr;  // "\r\n", "\n" or "\r" for every line ending
    Want bom = Want::Unset;
    Want finalNewline = Want::Unset;
    Want utf8 = Want::Unset;       // Yes: the text must be valid UTF-8
    std::string tag;               // the charset the first line's tag must name; empty: no rule
    std::string unsupported;       // a charset named that we do not check, for a note
    const char* tagEol = nullptr;  // the tag line's ending where it is not the rule's (tag --eol)

    bool Any() const
    {
        return eol != nullptr || bom != Want::Unset || finalNewline != Want::Unset || utf8 != Want::Unset ||
               !tag.empty();
    }
};

// Sets the rule an EditorConfig property gives (end_of_line, charset,
// insert_final_newline); other properties are not ours and are ignored.
// False for a value the property does not take.
bool ApplyProperty(Policy& policy, const std::string& name, const std::string& value);

// The rules of over, where set, in place of those of base.
Policy Overlay(Policy base, const Policy& over);

}  // namespace kestrune_tool

#endif
