// SARIF 2.1.0: one log for the whole run, written when it closes, with a
// rule for each rule id that a result names. Files are relative URIs
// against %SRCROOT% (the directory kestrune ran in), or file: URIs for
// absolute names; columns count characters (Unicode code points).
#include "Json.h"
#include "Reporter.h"
#include "Rules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace kestrune_tool {

namespace {

// RFC 3986: every byte but the unreserved ones, '/' and, in an absolute
// path, ':' (a drive's) as %XX.
std::string PercentEncoded(const std::string& path, bool absolute)
{
    std::string out;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || c == '-' || c == '.' || c == '_' || c == '~' || c == '/' ||
            (absolute && c == ':')) {
            out += c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            out += escape;
        }
    }
    return out;
}

// The artifact's location: a URI relative to %SRCROOT%, or for an absolute
// name a file: URI, with '/' between names on every system.
std::string ArtifactLocation(const std::string& file)
{
    const std::filesystem::path path = std::filesystem::u8path(file);
    const std::string names = path.generic_u8string();
    JsonLine location;
    if (!path.is_absolute())
        return location.Text("uri", PercentEncoded(names, false)).Text("uriBaseId", "%SRCROOT%").End();
    // /tmp/x and //server/share/x as they are, C:/x after a slash.
    const char* authority = names.compare(0, 2, "//") == 0 ? "" : names[0] == '/' ? "//" : "///";
    return location.Text("uri", "file:" + std::string(authority) + PercentEncoded(names, true)).End();
}

// SARIF's messages are sentences.
std::string Sentence(const std::string& text) { return !text.empty() && text.back() == '.' ? text : text + "."; }

std::string Message(const std::string& text) { return JsonLine().Text("text", Sentence(text)).End(); }

class SarifReporter : public Reporter {
public:
    void Write(const Result& result, std::string& /*out*/) override
    {
        for (const Finding& finding : result.findings) results_.push_back(ResultJson(finding));
    }

    void Close(std::string& out) override
    {
        std::vector<std::string> rules;
        for (const std::string& id : rules_) {
            const RuleText rule = DescribeRule(id);
            rules.push_back(JsonLine()
                                .Text("id", id)
                                .Raw("shortDescription", Message(rule.summary))
                                .Raw("fullDescription", Message(rule.description))
                                .Raw("help", Message(rule.help))
                                .End());
        }
        const std::string driver = JsonLine()
                                       .Text("name", "kestrune")
                                       .Text("version", KESTRUNE_VERSION)
                                       .Text("informationUri", "man:kestrune(1)")
                                       .Raw("rules", JsonList(rules))
                                       .End();
        const std::string run = JsonLine()
                                    .Raw("tool", JsonLine().Raw("driver", driver).End())
                                    .Text("columnKind", "unicodeCodePoints")
                                    .Raw("results", JsonList(results_))
                                    .End();
        out += JsonLine()
                   .Text("$schema", "https://json.schemastore.org/sarif-2.1.0.json")
                   .Text("version", "2.1.0")
                   .Raw("runs", JsonList({run}))
                   .End();
        out += '\n';
    }

private:
    std::string ResultJson(const Finding& finding)
    {
        const auto known = std::find(rules_.begin(), rules_.end(), finding.rule);
        const auto index = static_cast<unsigned long long>(known - rules_.begin());
        if (known == rules_.end()) rules_.push_back(finding.rule);
        JsonLine physical;
        physical.Raw("artifactLocation", ArtifactLocation(finding.file));
        if (finding.line != 0 || finding.byte) {
            JsonLine region;
            if (finding.line != 0) region.Number("startLine", finding.line);
            if (finding.line != 0 && finding.column != 0) region.Number("startColumn", finding.column);
            if (finding.byte) region.Number("byteOffset", *finding.byte);
            physical.Raw("region", region.End());
        }
        JsonLine properties;
        properties.Bool("fixable", finding.fixable);
        if (!finding.repair.empty()) properties.Text("repair", finding.repair);
        return JsonLine()
            .Text("ruleId", finding.rule)
            .Number("ruleIndex", index)
            .Text("level", SeverityName(finding.severity))
            .Raw("message", Message(MessageWithRepair(finding)))
            .Raw("locations", JsonList({JsonLine().Raw("physicalLocation", physical.End()).End()}))
            .Raw("properties", properties.End())
            .End();
    }

    std::vector<std::string> rules_;  // in the order results first name them
    std::vector<std::string> results_;
};

}  // namespace

std::unique_ptr<Reporter> MakeSarifReporter() { return std::make_unique<SarifReporter>(); }

}  // namespace kestrune_tool
