// Another program run for what it prints: no shell, nothing to read, its
// errors discarded.
#ifndef KESTRUNE_TOOL_PROGRAM_H
#define KESTRUNE_TOOL_PROGRAM_H

#include <string>
#include <vector>

namespace kestrune_tool {

// Runs the program args[0], found on PATH (on Windows never in the current
// directory), with args[1...] as its arguments,
// standard input empty (it cannot wait on it) and standard error discarded.
// True, with its standard output, when it ran and exited with status 0.
bool RunForOutput(const std::vector<std::string>& args, std::string& output);

}  // namespace kestrune_tool

#endif
