#include "Output.h"

#include "Report.h"

#include <algorithm>
#include <cstdio>

namespace kestrune_tool {

namespace {

Output* running = nullptr;

void Put(const std::string& text)
{
    if (text.empty()) return;
    std::fputs(text.c_str(), stdout);
    NoteOutput();
}

}  // namespace

Output::Output(Format format, bool quiet, const SummaryWords* words)
    : reporter_(MakeReporter(format)), quiet_(quiet), words_(words)
{
    running = this;
}

Output::~Output() { running = nullptr; }

void Output::Write(const Result& result)
{
    ++files_;
    const auto& findings = result.findings;
    // What the file still breaks: a finding mended, or that a dry run would mend, no longer counts.
    const bool broken = std::any_of(findings.begin(), findings.end(), [&](const Finding& finding) {
        return finding.severity == Severity::kError && !(result.action != Result::kNone && finding.fixable);
    });
    broken_ += broken;
    fixable_ += broken && result.action == Result::kNone &&
                std::any_of(findings.begin(), findings.end(), [](const Finding& finding) { return finding.fixable; });
    fixed_ += result.action != Result::kNone;
    dryRun_ = dryRun_ || result.action == Result::kWouldFix;
    noRule_ += result.outcome == Result::kNoRule;
    skipped_ += result.outcome == Result::kSkipped;
    trouble_ += result.outcome == Result::kTrouble;
    if (quiet_) return;
    std::string out;
    reporter_->Write(result, out);
    Put(out);
}

std::string Output::Summary() const
{
    const auto count = [](unsigned long long n, const std::string& one, const std::string& many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    std::string parts;
    const auto add = [&parts](unsigned long long n, const std::string& words) {
        if (n != 0) parts += (parts.empty() ? "" : ", ") + words;
    };
    add(fixed_, std::to_string(fixed_) + (dryRun_ ? " to fix" : " fixed"));
    add(broken_, count(broken_, words_->one, words_->many) +
                     (fixable_ != 0 ? " (" + std::to_string(fixable_) + " fixable with `kestrune fix`)" : ""));
    add(noRule_, count(noRule_, "has no rule that applies", "have no rule that applies"));
    add(skipped_, std::to_string(skipped_) + " skipped");
    add(trouble_, std::to_string(trouble_) + " could not be " + words_->failed);
    return count(files_, "file checked", "files checked") + ": " + (parts.empty() ? words_->none : parts);
}

int Output::Finish(int status)
{
    if (!quiet_) {
        std::string out;
        reporter_->Close(out);
        Put(out);
    }
    // Files refused before they were looked at are told as trouble, one by one.
    if (!quiet_ && words_ != nullptr && files_ != 0) Note("kestrune: %s\n", Summary().c_str());
    return status;
}

void WriteResult(const Result& result)
{
    if (running != nullptr) running->Write(result);
}

}  // namespace kestrune_tool
