// What the argument handling hands to a subcommand, and the subcommands.
#ifndef KESTRUNE_TOOL_COMMANDS_H
#define KESTRUNE_TOOL_COMMANDS_H

#include "Reporter.h"
#include "Status.h"
#include "Walk.h"

#include <vector>

namespace kestrune_tool {

struct Invocation {
    std::vector<const char*> operands;
    bool quiet = false;
    Format format = Format::kText;  // eol, bom, utf8, info, check, fix, compare
    WalkOptions walk;               // eol, bom, utf8, info, check, fix
    const char* eol = "auto";       // tag; check and fix, which take lf, crlf or cr only, when not "auto"
    // check and fix: the rules given as options, null when not given. The
    // values are checked as read, and words are in the option table's spelling.
    const char* bom = nullptr;
    const char* finalNewline = nullptr;
    const char* charset = nullptr;
    const char* tag = nullptr;
    const char* trim = nullptr;
    const char* indent = nullptr;         // tab, space or a number of spaces
    const char* maxLineLength = nullptr;  // a number or off
    bool dryRun = false;                  // fix
    bool toUtf8 = false;                  // fix --to-utf8
    const char* from = nullptr;           // fix --from: the charset to convert from
    const char* configName = nullptr;     // editorconfig -f: the files to read, when not .editorconfig
    const char* configVersion = nullptr;  // editorconfig -b: the EditorConfig version whose rules to follow
    bool showVersion = false;             // editorconfig -v: say which EditorConfig version it follows, and no more
};

// Each runs one command; the operand count has been checked. Returns the exit status.
int RunEol(const Invocation& run);
int RunBom(const Invocation& run);
int RunUtf8(const Invocation& run);
int RunInfo(const Invocation& run);
int RunTag(const Invocation& run);
int RunCompare(const Invocation& run);
int RunCheck(const Invocation& run);
int RunFix(const Invocation& run);
int RunEditorConfig(const Invocation& run);
int RunAbspath(const Invocation& run);
int RunEcho(const Invocation& run);

}  // namespace kestrune_tool

#endif
