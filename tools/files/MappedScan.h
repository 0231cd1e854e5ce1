// Looking at a file's bytes in place, through a mapping of it, without
// copying them: for a check that needs every byte but keeps none.
#ifndef KESTRUNE_TOOL_MAPPEDSCAN_H
#define KESTRUNE_TOOL_MAPPEDSCAN_H

#include "QORSysResult.h"

#include <cstdint>

namespace kestrune_tool {

// Where the first zero byte of the file called name (UTF-8) lies: S_OK, with
// at its offset or UINT64_MAX for none. S_FALSE when the file is larger
// than largest bytes or cannot be mapped (empty, or a special file whose
// size is not its length, or one cut short while looked at): read it instead. A failure to open it gives the
// system's code.
HRESULT FindZeroMapped(const char* name, std::uint64_t largest, std::uint64_t& at);

}  // namespace kestrune_tool

#endif
