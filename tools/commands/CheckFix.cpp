// check and fix: each file against the rules of its .editorconfig files and
// of the command line; fix rewrites what breaks them through the safe replace.
#include "Charsets.h"
#include "Commands.h"
#include "EditorConfig.h"
#include "FileText.h"
#include "FixPlan.h"
#include "FixedFile.h"
#include "Json.h"
#include "Report.h"
#include "SafeReplace.h"
#include "TagVerdict.h"
#include "ToUtf8.h"
#include "Walk.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
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

// How the files of a run came out, for the closing summary.
struct Tally {
    std::atomic<unsigned long long> files{0}, broken{0}, fixed{0}, noRule{0}, skipped{0}, trouble{0};
};

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

// The words of the rules in words that are (or, with utf8 false, are not) the UTF-8 rule, joined.
std::string Joined(const Words& words, bool utf8)
{
    std::string line;
    for (const auto& [key, what] : words) {
        if ((std::string(key) == "utf8") == utf8) line += (line.empty() ? "" : "; ") + what;
    }
    return line;
}

// The words of every rule, the UTF-8 rule's last.
std::string Line(const Words& words)
{
    const std::string others = Joined(words, false);
    const std::string invalid = Joined(words, true);
    return others + (!others.empty() && !invalid.empty() ? "; " : "") + invalid;
}

// A file's result: the JSON object with key: value, the charset converted
// from, the tag's verdict and the rules broken, or in the text form line,
// unless empty.
void Tell(const Invocation& run, const char* name, const char* key, bool value, const std::string& line,
          const Words& words, const std::string& from = {}, const TagVerdict& tag = {},
          const std::vector<std::string>& rulesFrom = {})
{
    if (run.json) {
        JsonLine json;
        json.Text("file", name).Bool(key, value);
        if (!rulesFrom.empty()) json.TextList("rules_from", rulesFrom);
        if (!from.empty()) json.Text("converted_from", from);
        if (tag.kind != TagVerdict::Untagged) json.Text("declared", tag.charset).Text("verdict", tag.Word());
        for (const auto& [rule, what] : words) json.Text(rule, what);
        Say(run.quiet, "%s\n", json.End());
    } else if (!line.empty()) {
        Say(run.quiet, "%s: %s\n", name, line.c_str());
    }
}

// from: the charset text was converted from, empty when it was not.
int Fix(const Invocation& run, const char* name, const std::string& text, const Policy& policy, const Verdict& before,
        const Snapshot& snapshot, const std::string& from, Tally& tally)
{
    // The validator has the last word on a converted text.
    if (!from.empty() && before.found.utf8)
        return Refused(name, "the converted text is not valid UTF-8: not converted");
    const Plan plan = PlanFix(text, policy, before);
    // A binary file is never written, converted or not.
    const bool changes = plan.mend.Fixable() || (!from.empty() && !before.binary);
    const Words unfixable = plan.Told(plan.after.words);
    // Each rule broken before, then any that fixing broke.
    Words words = plan.Told(before.words);
    for (const auto& remaining : unfixable) {
        const auto same = [&remaining](const auto& word) { return std::string(word.first) == remaining.first; };
        if (std::none_of(words.begin(), words.end(), same)) words.push_back(remaining);
    }
    const std::string mended = Joined(Describe(plan.mend, policy), false);
    const std::string what = (from.empty() ? "" : "converted from " + from + " to UTF-8") +
                             (!from.empty() && !mended.empty() ? "; " : "") + mended;
    const std::string left = unfixable.empty() ? "" : (changes ? "; not fixable: " : "") + Line(unfixable);
    tally.broken += !unfixable.empty();
    if (!changes || run.dryRun) {
        const bool would = run.dryRun && changes;
        tally.fixed += would;
        Tell(run, name, run.dryRun ? "would_change" : "changed", would, (would ? "would fix: " + what : "") + left,
             words, from);
        return !unfixable.empty() || would ? kNo : kYes;
    }
    const Outcome outcome =
        Replace(snapshot, [&](QORSysFileDescriptor& file) { return WriteFixed(file, text, policy, plan.mend); });
    if (!outcome.Ok()) return TroubleOrRefused(name, outcome.what, outcome.code);
    ++tally.fixed;
    Tell(run, name, "changed", true, "fixed: " + what + left, words, from);
    return unfixable.empty() ? kYes : kNo;
}

// check's verdict on one file.
int Check(const Invocation& run, const char* name, const Policy& policy, const Verdict& verdict, Tally& tally)
{
    const TagVerdict& tag = verdict.tag;
    if (tag.kind == TagVerdict::Unknown || tag.kind == TagVerdict::Unavailable) {
        Note("kestrune: %s: tag says %s, a charset %s: not checked\n", name, tag.charset.c_str(),
             tag.kind == TagVerdict::Unknown ? "kestrune does not know" : "this system cannot convert");
    }
    Tell(run, name, "ok", !verdict.Broken(), Line(verdict.words), verdict.words, {}, tag, policy.from);
    tally.broken += verdict.Broken();
    return verdict.Broken() ? kNo : kYes;
}

int CheckOrFixFile(const Invocation& run, bool fixing, const Policy& options, const char* name, const QORSysPath& path,
                   Tally& tally)
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
    if (verdict.binary && !IsCatalogName(name)) {
        ++tally.skipped;
        Note("kestrune: %s: %s: skipped\n", name, verdict.words.front().second.c_str());
        return kYes;
    }
    if (!verdict.ruled && !verdict.binary) {
        ++tally.noRule;
        const char* key = !fixing ? "ok" : run.dryRun ? "would_change" : "changed";
        if (run.json) Say(run.quiet, "%s\n", JsonLine().Text("file", name).Bool(key, !fixing).EmptyList("rules").End());
        return kYes;
    }
    return fixing ? Fix(run, name, text, policy, verdict, snapshot, from, tally)
                  : Check(run, name, policy, verdict, tally);
}

// The closing line of a run over several files: how many break a rule, and
// how many no rule applies to.
void Summarize(const Invocation& run, bool fixing, const Tally& tally)
{
    if (run.quiet || (!run.walk.recursive && run.operands.size() < 2)) return;
    const auto count = [](unsigned long long n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string parts;
    const auto add = [&parts](unsigned long long n, const std::string& words) {
        if (n != 0) parts += (parts.empty() ? "" : ", ") + words;
    };
    add(tally.fixed, std::to_string(tally.fixed) + (run.dryRun ? " to fix" : " fixed"));
    add(tally.broken, count(tally.broken, fixing ? "breaks a rule fix cannot mend" : "breaks a rule",
                            fixing ? "break a rule fix cannot mend" : "break a rule"));
    add(tally.noRule, count(tally.noRule, "has no rule that applies", "have no rule that applies"));
    add(tally.skipped, std::to_string(tally.skipped) + " skipped");
    add(tally.trouble, std::to_string(tally.trouble) + (fixing ? " could not be fixed" : " could not be checked"));
    Note("kestrune: %s: %s\n", count(tally.files, "file checked", "files checked").c_str(),
         parts.empty() ? "all keep their rules" : parts.c_str());
}

int CheckOrFix(const Invocation& run, bool fixing)
{
    Policy options;
    if (!RulesFromOptions(fixing ? "fix" : "check", run, options)) return kTrouble;
    Tally tally;
    const int status = EachFile(run.operands, run.walk, run.quiet, [&](const char* name, const QORSysPath& path) {
        const int result = CheckOrFixFile(run, fixing, options, name, path, tally);
        ++tally.files;
        tally.trouble += result == kTrouble;
        return result;
    });
    Summarize(run, fixing, tally);
    return status;
}

}  // namespace

int RunCheck(const Invocation& run) { return CheckOrFix(run, false); }

int RunFix(const Invocation& run) { return CheckOrFix(run, true); }

}  // namespace kestrune_tool
