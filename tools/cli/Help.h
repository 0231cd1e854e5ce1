// The commands and their help texts, from which both --help and the manual
// page are made.
#ifndef KESTRUNE_TOOL_HELP_H
#define KESTRUNE_TOOL_HELP_H

#include "Commands.h"

#include <cstddef>
#include <string>

namespace kestrune_tool {

// Which options a command takes, beside -q and --help (the table in Options.cpp), and how its operands are read.
enum CommandOptions : unsigned {
    kTagOptions = 1,             // --eol
    kOptionsFirst = 2,           // options only before the first operand, so that any text can be echoed
    kWalkOptions = 4,            // -r and --all-files
    kFormatOptions = 8,          // --format, --json
    kRuleOptions = 16,           // --eol, --bom, --final-newline, --charset, --tag, --trim, --indent, --max-line-length
    kDryRunOption = 32,          // --dry-run
    kConvertOptions = 64,        // --to-utf8, --from
    kCharsetOperand = 128,       // the last operand is a tag line's charset, checked as --tag's value
    kEditorConfigOptions = 256,  // -f, -b
};

struct Command {
    const char* name;
    const char* operands;  // as the overview shows them
    const char* options;   // the command's own options, for its usage line
    const char* summary;   // one line for the overview
    const char* details;   // the command's help after its usage line
    int (*run)(const Invocation&);
    std::size_t minOperands;
    std::size_t maxOperands;
    unsigned takes;  // CommandOptions
};

const Command* FindCommand(const char* name);
const Command* CommandsBegin();
const Command* CommandsEnd();

// What --help prints.
std::string OverviewText();
// What help COMMAND prints.
std::string CommandText(const Command& command);

}  // namespace kestrune_tool

#endif
