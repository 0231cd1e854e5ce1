// Constants shared by the text-file utilities.
#ifndef KESTRUNE_TEXTFILECONSTANTS_H
#define KESTRUNE_TEXTFILECONSTANTS_H

namespace QORSysTextFileUtilities {

// End-of-line strings, in the order a line ending is matched against them.
// DetectEOL and DetectFileEOL return these very pointers.
extern const char* const EOL_CRLF;
extern const char* const EOL_LF;
extern const char* const EOL_CR;

// The UTF-8 byte-order mark.
inline constexpr unsigned int UTF8_BOM_SIZE = 3;
extern const unsigned char UTF8_BOM[UTF8_BOM_SIZE];

// Extension of catalog files, in lower case, without its dot.
extern const char* const CATALOG_EXTENSION;

// Mode in which files named by path are opened.
extern const char* const READ_MODE;

}  // namespace QORSysTextFileUtilities

#endif
