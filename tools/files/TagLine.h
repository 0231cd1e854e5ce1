// The catalog's tag line as the library's export writes it.
#ifndef KESTRUNE_TOOL_TAGLINE_H
#define KESTRUNE_TOOL_TAGLINE_H

#include "QORSysTextFileUtilities.h"

#include <string>

namespace kestrune_tool {

// Has the library write the tag line for charset, ended by eol, at the head
// of file (a new, empty temporary file), and reads it back into line.
// E_FAIL for a line too long for the library.
HRESULT WriteTagLine(QORSysFileDescriptor& file, const char* charset, const char* eol, std::string& line);

}  // namespace kestrune_tool

#endif
