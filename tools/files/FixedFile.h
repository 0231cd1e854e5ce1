// Writing a fixed text into the temporary file of a safe replace, with the
// catalog's tag line as the library's export writes it.
#ifndef KESTRUNE_TOOL_FIXEDFILE_H
#define KESTRUNE_TOOL_FIXEDFILE_H

#include "FixPlan.h"
#include "QORSysTextFileUtilities.h"

#include <string>

namespace kestrune_tool {

// Writes into file (new, empty) the text as FixText mends it, any tag line
// put there by the library; checks that it ends where the text does.
HRESULT WriteFixed(QORSysFileDescriptor& file, const std::string& text, const Policy& policy, const Findings& found);

}  // namespace kestrune_tool

#endif
