// Windows hands a program its arguments in the console's code page; the
// wide command line has them as they were typed.
#ifndef KESTRUNE_TOOLS_UTF8ARGUMENTS_H
#define KESTRUNE_TOOLS_UTF8ARGUMENTS_H

namespace kestrune_tool {
/// Replaces argc and argv with the wide command line's arguments in UTF-8,
/// and makes standard output and error binary, so that the tool writes the
/// same bytes as on Linux. Keeps them when the command line cannot be had.
void UseUtf8Arguments(int& argc, char**& argv);
}  // namespace kestrune_tool

#endif
