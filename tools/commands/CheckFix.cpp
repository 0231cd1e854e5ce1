// check and fix: each file against the rules of its .editorconfig files and
// of the command line; fix rewrites what breaks them through the safe replace.
#include "Charsets.h"
#include "Commands.h"
#include "EditorConfig.h"
#include "FileText.h"
#include "FixPlan.h"
#include "FixedFile.h"
#include "Report.h"
#include "Reported.h"
#include "Rules.h"
#include "SafeReplace.h"
#include "TagVerdict.h"
#include "ToUtf8.h"
#include "Walk.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kestrune_tool {

namespace {

// The rules given as options, whose values were checked as they were read;
// false (reported) for --from without --to-utf8 or with an unknown charset.
bool RulesFromOptions(const char* command, const Invocation& run, Policy& rules)
{
    if (std::string(run.eol) != "auto") ApplyProperty(rules, "end_of_line", run.eol);
    for (const auto& [value, want] :
         {std::pair{run.bom, &rules.bom}, std::pair{run.finalNewline, &rules.finalNewline}}) {
        if (value != nullptr)
            *want = std::string(value) == "yes" || std::string(value) == "true" ? Want::Yes : Want::No;
    }
    if (run.charset != nullptr) ApplyProperty(rules, "charset", run.charset);
    if (run.tag != nullptr) rules.tag = run.tag;
    if (run.trim != nullptr) rules.trim = *run.trim == 'y' || *run.trim == 't' ? Want::Yes : Want::No;
    // --indent N: spaces, N to a level.
    if (run.indent != nullptr && !ApplyProperty(rules, "indent_style", run.indent)) {
        ApplyProperty(rules, "indent_style", "space");
        ApplyProperty(rules, "indent_size", run.indent);
    }
    if (run.maxLineLength != nullptr) ApplyProperty(rules, "max_line_length", run.maxLineLength);
    if (run.from != nullptr && (!run.toUtf8 || FindCharset(run.from) == nullptr)) {
        UsageError(command, run.toUtf8 ? "--from: unknown charset '%s'" : "--from is for --to-utf8%s",
                   run.toUtf8 ? run.from : "");
        return false;
    }
    return true;
}

// The file's rules: its .editorconfig files', then the options'; latin1:
// the .editorconfig files say charset latin1.
bool FileRules(const char* name, const Policy& options, Policy& policy, bool& latin1)
{
    std::string error;
    if (!ReadEditorConfig(name, policy, error)) {
        Refused(name, error.c_str());
        return false;
    }
    latin1 = policy.utf8 == Want::No;
    policy = Overlay(policy, options);
    if (!policy.unsupported.empty())
        Note("kestrune: %s: charset %s is not checked\n", name, policy.unsupported.c_str());
    return true;
}

// Reads the whole file, converted to UTF-8 with --to-utf8; false when
// reported as trouble.
bool ReadText(const Invocation& run, const char* name, const QORSysPath& path, Policy& policy, std::string& text,
              std::string& from, int& status)
{
    status = ReadWhole(name, path, text);
    return status == kYes && (!run.toUtf8 || ConvertText(run, name, text, policy, from, status));
}

// A file's result: its findings, and the JSON fields of old: key: value,
// the charset converted from, the tag's verdict and each rule broken in words.
Result Judged(const char* name, const char* key, bool value, std::vector<Finding> findings,
              const std::string& from = {}, const TagVerdict& tag = {}, const std::vector<std::string>& rulesFrom = {})
{
    Result result;
    result.subject = name;
    result.Text("file", name).Bool(key, value);
    if (!rulesFrom.empty()) result.TextList("rules_from", rulesFrom);
    if (!from.empty()) result.Text("converted_from", from);
    if (tag.kind != TagVerdict::Untagged) result.Text("declared", tag.charset).Text("verdict", tag.Word());
    std::set<std::string> rules;
    for (const Finding& finding : findings) {
        if (rules.insert(finding.rule).second) result.Text(finding.rule.c_str(), finding.message);
    }
    result.findings = std::move(findings);
    return result;
}

// from: the charset text was converted from, empty when it was not.
int Fix(const Invocation& run, const char* name, const std::string& text, const Policy& policy, const Verdict& before,
        const Snapshot& snapshot, const std::string& from)
{
    // The validator has the last word on a converted text.
    if (!from.empty() && before.found.utf8)
        return Refused(name, "the converted text is not valid UTF-8: not converted");
    const Plan plan = PlanFix(text, policy, before);
    // A binary file is never written, converted or not.
    const bool changes = plan.mend.Fixable() || (!from.empty() && !before.binary);
    // What is mended, as check found it; then what check finds in the text mended.
    std::vector<Finding> findings;
    for (Finding& finding : RuleFindings(name, text, before, Describe(plan.mend, policy), policy, plan.mend)) {
        if (finding.fixable) findings.push_back(std::move(finding));
    }
    const Words unfixable = plan.Told(plan.after.words);
    const std::string& mended = plan.mend.Fixable() ? plan.text : text;
    for (Finding& finding : RuleFindings(name, mended, plan.after, unfixable, policy, Findings{}))
        findings.push_back(std::move(finding));
    const bool would = run.dryRun && changes;
    const bool writes = changes && !run.dryRun;
    if (writes) {
        const Outcome outcome =
            Replace(snapshot, [&](QORSysFileDescriptor& file) { return WriteFixed(file, text, policy, plan.mend); });
        if (!outcome.Ok()) return TroubleOrRefused(name, outcome.what, outcome.code);
    }
    Result result = Judged(name, run.dryRun ? "would_change" : "changed", would || writes, std::move(findings), from);
    if (changes && !from.empty()) result.findings.insert(result.findings.begin(), Conversion(name, from));
    result.action = writes ? Result::kFixed : would ? Result::kWouldFix : Result::kNone;
    // Once written, what was mended is told as done.
    for (Finding& finding : result.findings) {
        if (writes && finding.fixable) finding.severity = Severity::kNote;
    }
    Tell(std::move(result));
    return !unfixable.empty() || would ? kNo : kYes;
}

// check's verdict on one file, with what fix would mend.
int Check(const char* name, const std::string& text, const Policy& policy, const Verdict& verdict)
{
    const TagVerdict& tag = verdict.tag;
    if (tag.kind == TagVerdict::Unknown || tag.kind == TagVerdict::Unavailable) {
        Note("kestrune: %s: tag says %s, a charset %s: not checked\n", name, tag.charset.c_str(),
             tag.kind == TagVerdict::Unknown ? "kestrune does not know" : "this system cannot convert");
    }
    const Plan plan = verdict.Broken() ? PlanFix(text, policy, verdict) : Plan{};
    Tell(Judged(name, "ok", !verdict.Broken(), RuleFindings(name, text, verdict, verdict.words, policy, plan.mend), {},
                tag, policy.from));
    return verdict.Broken() ? kNo : kYes;
}

int CheckOrFixFile(const Invocation& run, bool fixing, const Policy& options, const char* name, const QORSysPath& path)
{
    // Its rules hold for the files after it: changed, it could no longer be read.
    if (fixing && std::filesystem::u8path(name).filename() == kEditorConfigName)
        return Refused(name, "holds EditorConfig rules: not fixed");
    Policy policy;
    bool latin1 = false;
    if (!FileRules(name, options, policy, latin1)) return kTrouble;
    // Only a rule or a conversion changes a file.
    Snapshot snapshot;
    const Outcome looked = fixing && (run.toUtf8 || policy.Any()) ? InspectInTurn(name, snapshot) : Outcome{};
    if (!looked.Ok()) return TroubleOrRefused(name, looked.what, looked.code);
    std::string text;
    std::string from;
    int status = kYes;
    if (!ReadText(run, name, path, policy, text, from, status)) return status;
    if (latin1 && !from.empty()) {
        NoteOnce(
            "kestrune: .editorconfig still says charset = latin1 for catalogs now converted to UTF-8: "
            "make it charset = utf-8\n");
    }
    const Verdict verdict = Judge(text, policy);
    Result result;
    result.subject = name;
    if (verdict.binary && !IsCatalogName(name)) {
        Note("kestrune: %s: %s: skipped\n", name, verdict.words.front().second.c_str());
        result.outcome = Result::kSkipped;
        Tell(std::move(result));
        return kYes;
    }
    if (!verdict.ruled && !verdict.binary) {
        const char* key = !fixing ? "ok" : run.dryRun ? "would_change" : "changed";
        result.outcome = Result::kNoRule;
        result.Text("file", name).Bool(key, !fixing).TextList("rules", {});
        Tell(std::move(result));
        return kYes;
    }
    return fixing ? Fix(run, name, text, policy, verdict, snapshot, from) : Check(name, text, policy, verdict);
}

constexpr SummaryWords kCheckWords{"breaks a rule", "break a rule", "all keep their rules", "checked"};
constexpr SummaryWords kFixWords{"breaks a rule fix cannot mend", "break a rule fix cannot mend",
                                 "all keep their rules", "fixed"};

int CheckOrFix(const Invocation& run, bool fixing)
{
    Policy options;
    if (!RulesFromOptions(fixing ? "fix" : "check", run, options)) return kTrouble;
    return EachFileReported(run, fixing ? kFixWords : kCheckWords, [&](const char* name, const QORSysPath& path) {
        return CheckOrFixFile(run, fixing, options, name, path);
    });
}

}  // namespace

int RunCheck(const Invocation& run) { return CheckOrFix(run, false); }

int RunFix(const Invocation& run) { return CheckOrFix(run, true); }

}  // namespace kestrune_tool
