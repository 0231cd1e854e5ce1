// check and fix: each file against the rules of its .editorconfig files and
// of the command line; fix rewrites what breaks them through the safe replace.
#include "Commands.h"
#include "EditorConfig.h"
#include "FileText.h"
#include "FixPlan.h"
#include "FixedFile.h"
#include "Json.h"
#include "Report.h"
#include "SafeReplace.h"
#include "Walk.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kestrune_tool {

namespace {

// The rules given as options; false (reported) for a value they do not take.
bool RulesFromOptions(const char* command, const Invocation& run, Policy& rules)
{
    const std::string eol = run.eol;
    if (eol != "auto" && !ApplyProperty(rules, "end_of_line", eol)) {
        UsageError(command, "--eol takes lf, crlf or cr, not '%s'", run.eol);
        return false;
    }
    for (const auto& [option, value, want] : {std::tuple{"--bom", run.bom, &rules.bom},
                                              std::tuple{"--final-newline", run.finalNewline, &rules.finalNewline}}) {
        if (value == nullptr) continue;
        const std::string word = value;
        if (word != "yes" && word != "no") {
            UsageError(command, "%s takes yes or no, not '%s'", option, value);
            return false;
        }
        *want = word == "yes" ? Want::Yes : Want::No;
    }
    if (run.charset != nullptr) ApplyProperty(rules, "charset", run.charset);
    if (run.tag != nullptr) rules.tag = run.tag;
    return true;
}

// The file's rules: its .editorconfig files', then the options'.
bool FileRules(const char* name, const Policy& options, Policy& policy)
{
    std::string error;
    const EditorConfigRead read = ReadEditorConfig(name, policy, error);
    if (read == EditorConfigRead::Unreadable) {
        Refused(name, error.c_str());
        return false;
    }
    if (read == EditorConfigRead::NotInThisBuild && !options.Any()) {
        NoteOnce(
            "kestrune: this build cannot read .editorconfig; give the rules as options "
            "(--eol, --bom, --final-newline, --charset, --tag)\n");
    }
    policy = Overlay(policy, options);
    if (!policy.unsupported.empty())
        Note("kestrune: %s: charset %s is not checked\n", name, policy.unsupported.c_str());
    return true;
}

// Reads the whole file; false when reported as trouble or, with a NUL byte
// (UTF-16, binary), noted and to be skipped.
bool ReadText(const char* name, const QORSysPath& path, std::string& text, int& status)
{
    status = ReadWhole(name, path, text);
    if (status == kYes && text.find('\0') != std::string::npos) {
        Note("kestrune: %s: has a NUL byte (UTF-16 or binary): skipped\n", name);
        return false;
    }
    return status == kYes;
}

using Words = std::vector<std::pair<const char*, std::string>>;

// The words of the rules in words that are (or, with utf8 false, are not) the UTF-8 rule, joined.
std::string Joined(const Words& words, bool utf8)
{
    std::string line;
    for (const auto& [key, what] : words) {
        if ((std::string(key) == "utf8") == utf8) line += (line.empty() ? "" : "; ") + what;
    }
    return line;
}

// A file's result: the JSON object with key: value and the rules broken, or
// in the text form line, unless empty.
void Tell(const Invocation& run, const char* name, const char* key, bool value, const std::string& line,
          const Words& words)
{
    if (run.json) {
        JsonLine json;
        json.Text("file", name).Bool(key, value);
        for (const auto& [rule, what] : words) json.Text(rule, what);
        Say(run, "%s\n", json.End());
    } else if (!line.empty()) {
        Say(run, "%s: %s\n", name, line.c_str());
    }
}

int Fix(const Invocation& run, const char* name, const std::string& text, const Policy& policy, const Findings& found,
        const Snapshot& snapshot)
{
    const Words words = Describe(found, policy);
    const std::string invalid = found.utf8 ? (found.Fixable() ? "; not fixable: " : "") + Joined(words, true) : "";
    if (!found.Fixable() || run.dryRun) {
        const bool would = run.dryRun && found.Fixable();
        Tell(run, name, run.dryRun ? "would_change" : "changed", would,
             (would ? "would fix: " + Joined(words, false) : "") + invalid, words);
        return found.Any() ? kNo : kYes;
    }
    const Outcome outcome =
        Replace(snapshot, [&](QORSysFileDescriptor& file) { return WriteFixed(file, text, policy, found); });
    if (!outcome.Ok()) return TroubleOrRefused(name, outcome.what, outcome.code);
    Tell(run, name, "changed", true, "fixed: " + Joined(words, false) + invalid, words);
    return found.utf8 ? kNo : kYes;
}

int CheckOrFix(const Invocation& run, bool fixing)
{
    Policy options;
    if (!RulesFromOptions(fixing ? "fix" : "check", run, options)) return kTrouble;
    return EachFile(run, [&](const char* name, const QORSysPath& path) {
        Policy policy;
        if (!FileRules(name, options, policy)) return kTrouble;
        if (!policy.Any()) return kYes;  // no rule applies: nothing to break
        Snapshot snapshot;
        const Outcome looked = fixing ? InspectInTurn(name, snapshot) : Outcome{};
        if (!looked.Ok()) return TroubleOrRefused(name, looked.what, looked.code);
        std::string text;
        int status = kYes;
        if (!ReadText(name, path, text, status)) return status;
        const Findings found = CheckText(text, policy);
        if (fixing) return Fix(run, name, text, policy, found, snapshot);
        const Words words = Describe(found, policy);
        Tell(run, name, "ok", !found.Any(),
             Joined(words, false) + (found.utf8 && found.Fixable() ? "; " : "") + Joined(words, true), words);
        return found.Any() ? kNo : kYes;
    });
}

}  // namespace

int RunCheck(const Invocation& run) { return CheckOrFix(run, false); }

int RunFix(const Invocation& run) { return CheckOrFix(run, true); }

}  // namespace kestrune_tool
