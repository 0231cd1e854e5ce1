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
    if (run.from != nullptr && (!run.toUtf8 || FindCharset(run.from) == nullptr)) {
        UsageError(command, run.toUtf8 ? "--from: unknown charset '%s'" : "--from is for --to-utf8%s",
                   run.toUtf8 ? run.from : "");
        return false;
    }
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

// Reads the whole file, converted to UTF-8 with --to-utf8; false when
// reported as trouble or, with a NUL byte (UTF-16, binary), to be skipped
// (noted where a rule applies).
bool ReadText(const Invocation& run, const char* name, const QORSysPath& path, Policy& policy, std::string& text,
              std::string& from, int& status)
{
    status = ReadWhole(name, path, text);
    if (status != kYes || (run.toUtf8 && !ConvertText(run, name, text, policy, from, status))) return false;
    if (text.find('\0') != std::string::npos) {
        if (policy.Any()) Note("kestrune: %s: has a NUL byte (UTF-16 or binary): skipped\n", name);
        return false;
    }
    return true;
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

// A file's result: the JSON object with key: value, the charset converted
// from, the tag's verdict and the rules broken, or in the text form line,
// unless empty.
void Tell(const Invocation& run, const char* name, const char* key, bool value, const std::string& line,
          const Words& words, const std::string& from = {}, const TagVerdict& tag = {})
{
    if (run.json) {
        JsonLine json;
        json.Text("file", name).Bool(key, value);
        if (!from.empty()) json.Text("converted_from", from);
        if (tag.kind != TagVerdict::Untagged) json.Text("declared", tag.charset).Text("verdict", tag.Word());
        for (const auto& [rule, what] : words) json.Text(rule, what);
        Say(run, "%s\n", json.End());
    } else if (!line.empty()) {
        Say(run, "%s: %s\n", name, line.c_str());
    }
}

// from: the charset text was converted from, empty when it was not.
int Fix(const Invocation& run, const char* name, const std::string& text, const Policy& policy, Findings found,
        const Snapshot& snapshot, const std::string& from)
{
    // The validator has the last word on a converted text.
    if (!from.empty() && found.utf8) return Refused(name, "the converted text is not valid UTF-8: not converted");
    // A tag line is not made to name a charset the text is not in.
    std::string lie;
    if (found.tag && from.empty()) {
        CatalogHead wanted = found.head;
        wanted.tagged = true;
        wanted.charset = policy.tag;
        const TagVerdict verdict = JudgeTag(text, wanted);
        found.tag = !verdict.Lies();
        if (verdict.Lies()) lie = "a tag saying " + policy.tag + " would lie (" + verdict.Words() + ")";
    }
    Words words = Describe(found, policy);
    const bool changes = found.Fixable() || !from.empty();
    std::string unfixable = found.utf8 ? Joined(words, true) : "";
    unfixable += (unfixable.empty() || lie.empty() ? "" : "; ") + lie;
    const std::string invalid = unfixable.empty() ? "" : (changes ? "; not fixable: " : "") + unfixable;
    const std::string what = (from.empty() ? "" : "converted from " + from + " to UTF-8") +
                             (!from.empty() && found.Fixable() ? "; " : "") + Joined(words, false);
    if (!lie.empty()) words.emplace_back("tag", lie);
    if (!changes || run.dryRun) {
        const bool would = run.dryRun && changes;
        Tell(run, name, run.dryRun ? "would_change" : "changed", would, (would ? "would fix: " + what : "") + invalid,
             words, from);
        return found.Any() || would || !lie.empty() ? kNo : kYes;
    }
    const Outcome outcome =
        Replace(snapshot, [&](QORSysFileDescriptor& file) { return WriteFixed(file, text, policy, found); });
    if (!outcome.Ok()) return TroubleOrRefused(name, outcome.what, outcome.code);
    Tell(run, name, "changed", true, "fixed: " + what + invalid, words, from);
    return found.utf8 || !lie.empty() ? kNo : kYes;
}

// check's verdict on one file: the rules broken and a tag that lies.
int Check(const Invocation& run, const char* name, const std::string& text, const Policy& policy, const Findings& found)
{
    const TagVerdict tag = JudgeTag(text, found.head);
    if (!policy.Any() && tag.kind == TagVerdict::Untagged) return kYes;  // nothing says what it must be
    Words words = Describe(found, policy);
    // Invalid UTF-8 under a UTF-8 rule is told once.
    const bool lies =
        tag.Lies() && !(found.utf8 && tag.kind == TagVerdict::Invalid && FindCharset(tag.charset)->form == Form::Utf8);
    if (lies) words.emplace_back("charset", tag.Words());
    if (tag.kind == TagVerdict::Unknown || tag.kind == TagVerdict::Unavailable) {
        Note("kestrune: %s: tag says %s, a charset %s: not checked\n", name, tag.charset.c_str(),
             tag.kind == TagVerdict::Unknown ? "kestrune does not know" : "this system cannot convert");
    }
    const bool broken = found.Any() || lies;
    std::string line = Joined(words, false);
    const std::string invalid = Joined(words, true);
    line += (!line.empty() && !invalid.empty() ? "; " : "") + invalid;
    Tell(run, name, "ok", !broken, line, words, {}, tag);
    return broken ? kNo : kYes;
}

int CheckOrFix(const Invocation& run, bool fixing)
{
    Policy options;
    if (!RulesFromOptions(fixing ? "fix" : "check", run, options)) return kTrouble;
    return EachFile(run, [&](const char* name, const QORSysPath& path) {
        Policy policy;
        if (!FileRules(name, options, policy)) return kTrouble;
        // No rule and nothing to convert: nothing to fix. check still holds a tag line to its word.
        if (fixing && !run.toUtf8 && !policy.Any()) return kYes;
        Snapshot snapshot;
        const Outcome looked = fixing ? InspectInTurn(name, snapshot) : Outcome{};
        if (!looked.Ok()) return TroubleOrRefused(name, looked.what, looked.code);
        std::string text;
        std::string from;
        int status = kYes;
        if (!ReadText(run, name, path, policy, text, from, status)) return status;
        const Findings found = CheckText(text, policy);
        return fixing ? Fix(run, name, text, policy, found, snapshot, from) : Check(run, name, text, policy, found);
    });
}

}  // namespace

int RunCheck(const Invocation& run) { return CheckOrFix(run, false); }

int RunFix(const Invocation& run) { return CheckOrFix(run, true); }

}  // namespace kestrune_tool
