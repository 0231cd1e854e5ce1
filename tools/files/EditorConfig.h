// The rules the .editorconfig files give a file, read with the EditorConfig
// project's own C parser where this build has it.
#ifndef KESTRUNE_TOOL_EDITORCONFIG_H
#define KESTRUNE_TOOL_EDITORCONFIG_H

#include "Policy.h"

#include <string>

namespace kestrune_tool {

// The name of the files that hold the rules.
inline constexpr char kEditorConfigName[] = ".editorconfig";

enum class EditorConfigRead { Done, Unreadable, NotInThisBuild };

// Adds to policy what the .editorconfig files that apply to the file called
// name say. Unreadable (error says why) for a file the parser rejects;
// NotInThisBuild where there is no parser and an .editorconfig is there.
EditorConfigRead ReadEditorConfig(const char* name, Policy& policy, std::string& error);

}  // namespace kestrune_tool

#endif
