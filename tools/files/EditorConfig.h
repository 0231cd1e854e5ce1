// The .editorconfig files that apply to a file, each read and its globs
// compiled once in a run (shared by every job), and the rules they give.
#ifndef KESTRUNE_TOOL_EDITORCONFIG_H
#define KESTRUNE_TOOL_EDITORCONFIG_H

#include "EditorConfigText.h"
#include "Policy.h"

#include <string>

namespace kestrune_tool {

// The name of the files that hold the rules.
inline constexpr char kEditorConfigName[] = ".editorconfig";

struct EditorConfigAsk {
    std::string fileName = kEditorConfigName;  // the files looked for
    bool before09 = false;                     // EditorConfig's rules before version 0.9
};

// The properties for the file called name, from the files called
// ask.fileName in its directory and each one above, up to the first that
// says root = true. False, with error saying why, when one of those is not a
// regular file (never opened), cannot be read or has a line that is not
// EditorConfig's. Their paths are shown as the user reaches them: relative
// to the current directory when name is relative.
bool FindEditorConfigRules(const char* name, const EditorConfigAsk& ask, EditorConfigRules& rules, std::string& error);

// Adds to policy the rules of the .editorconfig files that apply to the file
// called name, and where they come from; a value that a property does not
// take is noted once in the run. False (error says why) as above.
bool ReadEditorConfig(const char* name, Policy& policy, std::string& error);

}  // namespace kestrune_tool

#endif
