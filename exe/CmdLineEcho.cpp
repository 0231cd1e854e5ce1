#include "QORSysExeUtilities.h"

#include <cstdio>

namespace QORSysExeUtilities {

namespace {

// Writes each text that textAt(0), textAt(1), ... gives until it gives null,
// each followed by a space, then a line feed when there was any; flushes.
template <typename TextAt>
void EchoLine(TextAt textAt)
{
    int count = 0;
    for (const char* text = textAt(0); text != nullptr; text = textAt(++count)) std::printf("%s ", text);
    if (count > 0) std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

void PrintCmdLine(int argc, const VELUnicodeString argv[])
{
    if (argv == nullptr) return;
    EchoLine([&](int i) { return i < argc ? argv[i].ConvertToChar() : nullptr; });
}

void PrintCmdLine(const char* const argv[])
{
    if (argv == nullptr) return;
    EchoLine([&](int i) { return argv[i]; });
}

}  // namespace QORSysExeUtilities
