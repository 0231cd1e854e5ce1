// GitHub Actions workflow commands, which the runner turns into annotations
// on the file: ::error file=F,line=L,col=C,title=RULE::MESSAGE.
#include "Reporter.h"

namespace kestrune_tool {

namespace {

// GitHub's escaping: in the message %, CR and LF; in a property value also ':' and ','.
std::string Escaped(const std::string& text, bool property)
{
    std::string out;
    for (const char c : text) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else if (property && c == ':')
            out += "%3A";
        else if (property && c == ',')
            out += "%2C";
        else
            out += c;
    }
    return out;
}

class GithubReporter : public Reporter {
public:
    void Write(const Result& result, std::string& out) override
    {
        for (const Finding& finding : result.findings) {
            out += finding.severity == Severity::kError ? "::error" : "::notice";
            out += " file=" + Escaped(finding.file, true);
            if (finding.line != 0) out += ",line=" + std::to_string(finding.line);
            if (finding.line != 0 && finding.column != 0) out += ",col=" + std::to_string(finding.column);
            out += ",title=" + Escaped(finding.rule, true) + "::" + Escaped(MessageWithRepair(finding), false) + "\n";
        }
    }
};

}  // namespace

std::unique_ptr<Reporter> MakeGithubReporter() { return std::make_unique<GithubReporter>(); }

}  // namespace kestrune_tool
