// Compiler-style diagnostics, which editors and CI logs link to the place:
// FILE:LINE:COL: error: MESSAGE [RULE]. Like gcc and clang, a finding
// gives only the parts of its place it knows: FILE:LINE: for a line
// without a column, FILE: for one about the whole file.
#include "Reporter.h"

namespace kestrune_tool {

namespace {

class GccReporter : public Reporter {
public:
    void Write(const Result& result, std::string& out) override
    {
        for (const Finding& finding : result.findings) {
            out += finding.file;
            if (finding.line != 0) out += ":" + std::to_string(finding.line);
            if (finding.line != 0 && finding.column != 0) out += ":" + std::to_string(finding.column);
            out += std::string(": ") + SeverityName(finding.severity) + ": " + MessageWithRepair(finding) + " [" +
                   finding.rule + "]\n";
        }
    }
};

}  // namespace

std::unique_ptr<Reporter> MakeGccReporter() { return std::make_unique<GccReporter>(); }

}  // namespace kestrune_tool
