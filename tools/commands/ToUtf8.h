// fix --to-utf8: a catalog's text converted to UTF-8 from the charset it
// declares, never a guessed one.
#ifndef KESTRUNE_TOOL_TOUTF8_H
#define KESTRUNE_TOOL_TOUTF8_H

#include "Commands.h"
#include "Policy.h"

#include <string>

namespace kestrune_tool {

// Replaces text (the file called name, read whole) with its UTF-8 form and
// sets from to the charset it was converted from; from stays empty when the
// text is UTF-8 already or converts to the same bytes. The source charset:
// --from, else the tag line's, else a UTF-16 mark's, else latin1 where the
// rules say so. A text valid UTF-8 past ASCII, or that starts with a UTF-8
// mark, is never converted from another charset: it is refused. policy then asks for UTF-8, a tag line that says so
// (when there is one) and, unless it says otherwise, no byte-order mark. False when the file is not to be written:
// status says why (reported).
bool ConvertText(const Invocation& run, const char* name, std::string& text, Policy& policy, std::string& from,
                 int& status);

}  // namespace kestrune_tool

#endif
