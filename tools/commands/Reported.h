// A command over its files, with the run's output: each file's result
// written in the format asked for, and with several files a summary.
#ifndef KESTRUNE_TOOL_REPORTED_H
#define KESTRUNE_TOOL_REPORTED_H

#include "Commands.h"
#include "Output.h"

#include <functional>

namespace kestrune_tool {

// Runs check on each file as EachFile does; check tells each file's result
// (Tell) and returns its status. A file that check returns trouble for is
// counted as such. Returns the worst status.
int EachFileReported(const Invocation& run, const SummaryWords& words,
                     const std::function<int(const char* name, const QORSysPath& path)>& check);

}  // namespace kestrune_tool

#endif
