// The charsets a catalog may be written in, by the names IANA registers
// for them, and what each one needs to be converted to and from UTF-8.
#ifndef KESTRUNE_TOOL_CHARSETS_H
#define KESTRUNE_TOOL_CHARSETS_H

#include <string>

namespace kestrune_tool {

enum class Form : unsigned char {
    Ascii,       // 7 bits: a byte over 0x7F is not one of its characters
    Utf8,        // no conversion; checked by the validator
    SingleByte,  // ASCII below 0x80, one character per byte
    MultiByte,   // ASCII below 0x80, one to four bytes per character
    Utf16Le,
    Utf16Be,
};

struct Charset {
    const char* name;     // IANA's preferred name; the system converter's name too
    const char* aliases;  // IANA's other names and the common cpNNNN spellings, space-separated
    Form form;
    unsigned codePage;  // Windows' code page; 0 where Windows has none
};

// The charset called name, matched in any letter case against each name
// and alias; null for a name not in the table.
const Charset* FindCharset(const std::string& name);

// Every charset of the table, ending with a null name.
const Charset* AllCharsets();

// True for the forms whose text keeps ASCII as it is, so that a tag line
// and line endings read the same before and after conversion.
inline bool AsciiCompatible(Form form) { return form != Form::Utf16Le && form != Form::Utf16Be; }

}  // namespace kestrune_tool

#endif
