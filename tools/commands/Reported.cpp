#include "Reported.h"

#include "Report.h"
#include "Walk.h"

namespace kestrune_tool {

int EachFileReported(const Invocation& run, const SummaryWords& words,
                     const std::function<int(const char* name, const QORSysPath& path)>& check)
{
    const bool several = run.walk.recursive || run.operands.size() > 1;
    Output output(run.format, run.quiet, several ? &words : nullptr);
    const int status = EachFile(run.operands, run.walk, run.quiet, [&](const char* name, const QORSysPath& path) {
        const int result = check(name, path);
        if (result == kTrouble) {
            Result trouble;
            trouble.subject = name;
            trouble.outcome = Result::kTrouble;
            Tell(std::move(trouble));
        }
        return result;
    });
    return output.Finish(status);
}

}  // namespace kestrune_tool
