#include "Reporter.h"

namespace kestrune_tool {

Format FormatNamed(const std::string& name)
{
    if (name == "json") return Format::kJson;
    if (name == "gcc") return Format::kGcc;
    if (name == "github") return Format::kGithub;
    return name == "sarif" ? Format::kSarif : Format::kText;
}

std::unique_ptr<Reporter> MakeReporter(Format format)
{
    switch (format) {
        case Format::kJson: return MakeJsonReporter();
        case Format::kGcc: return MakeGccReporter();
        case Format::kGithub: return MakeGithubReporter();
        case Format::kSarif: return MakeSarifReporter();
        case Format::kText: break;
    }
    return MakeTextReporter();
}

std::string MessageWithRepair(const Finding& finding)
{
    if (finding.fixable && finding.severity == Severity::kNote) return "fixed: " + finding.message;
    if (finding.repair.empty() || finding.message.find(finding.repair) != std::string::npos) return finding.message;
    return finding.message + " (repair: " + finding.repair + ")";
}

const char* SeverityName(Severity severity) { return severity == Severity::kError ? "error" : "note"; }

}  // namespace kestrune_tool
