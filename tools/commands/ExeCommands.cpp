// abspath and echo: the command-line helpers.
#include "Commands.h"
#include "QORSysExeUtilities.h"
#include "Report.h"

#include <vector>

using namespace QORSysExeUtilities;

namespace kestrune_tool {

int RunAbspath(const Invocation& run)
{
    int status = kYes;
    for (const char* text : run.operands) {
        QORSysPath absolute;
        const HRESULT code = GetAbsolutePath(VELUnicodeString(text), absolute);
        if (code < 0)
            status = Trouble(text, "cannot resolve", code);
        else
            Say(run.quiet, "%s\n", absolute.ConvertToChar());
    }
    return status;
}

int RunEcho(const Invocation& run)
{
    if (run.quiet) return kYes;
    std::vector<const char*> texts(run.operands);
    texts.push_back(nullptr);
    PrintCmdLine(texts.data());
    // It does not report a failed write; the stream keeps the failure.
    NoteOutput();
    return kYes;
}

}  // namespace kestrune_tool
