// A file opened while descriptor 0, 1 or 2 is closed takes that number, and
// then a message meant for standard error lands in it.
#ifndef KESTRUNE_TOOL_STANDARDDESCRIPTORS_H
#define KESTRUNE_TOOL_STANDARDDESCRIPTORS_H

namespace kestrune_tool {
/// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. False
/// when one cannot be had: then no file may be opened safely.
bool KeepStandardDescriptors();
}  // namespace kestrune_tool

#endif
