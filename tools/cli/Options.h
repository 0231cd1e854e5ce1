// The options: one table, from which the arguments are read and checked and
// the bash completion offers names and values.
#ifndef KESTRUNE_TOOL_OPTIONS_H
#define KESTRUNE_TOOL_OPTIONS_H

#include "Commands.h"
#include "Help.h"

#include <string>

namespace kestrune_tool {

// What an option's value may be, and so what completion offers for it.
enum class Values : unsigned char {
    None,         // a flag, without a value
    Text,         // any text; file names offered
    Glob,         // an EditorConfig glob; nothing offered
    Number,       // 1 to 1024
    Eol,          // lf, crlf or cr, in any letter case
    TagEol,       // the same or auto
    YesNo,        // yes, no, true or false, in any letter case
    Format,       // text, json, gcc, github or sarif, in any letter case
    Charset,      // a charset name, kept as spelled; the known names offered
    TagCharset,   // the same, which must fit a tag line
    RuleCharset,  // an EditorConfig charset value, kept as spelled; others are noted
    Indent,       // tab, space, or a number of spaces from 1 to 1024
    LineLength,   // a number from 1 to 1000000, or off
    Version,      // MAJOR[.MINOR[.PATCH]]
};

// One option of the commands that take it. To add one, add a row to the
// table in Options.cpp (and its words to the help texts).
struct Option {
    const char* name;   // "--jobs"
    const char* alias;  // "-j", or null
    unsigned takes;     // the CommandOptions bits of the commands that take it; 0 for every command
    Values values;
    void (*set)(Invocation& run, const char* value);  // value: null for a flag, checked by ValueFault
};

const Option* OptionsBegin();
const Option* OptionsEnd();

bool Takes(const Command& command, const Option& option);

// The row that arg names (NAME, --NAME=VALUE, or -XVALUE for a short name
// with a value) among those command takes, or with a null command among all
// rows; attached is set to the value given in arg, null when none is.
const Option* FindOption(const char* arg, const Command* command, const char*& attached);

// Empty when values takes value, else what it takes ("lf, crlf or cr"). A
// word taken in any letter case is made the table's own spelling of it.
std::string ValueFault(Values values, const char*& value);

// The words completion offers for a value, space-separated; empty for none.
std::string OfferedWords(Values values);

}  // namespace kestrune_tool

#endif
