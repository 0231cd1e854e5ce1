// One writer per output format: each turns the results of a run, in the
// order of the files, into the bytes of that format.
#ifndef KESTRUNE_TOOL_REPORTER_H
#define KESTRUNE_TOOL_REPORTER_H

#include "Finding.h"

#include <memory>
#include <string>

namespace kestrune_tool {

enum class Format { kText, kJson, kGcc, kGithub, kSarif };

// The format an option value names ("text", "json", "gcc", "github", "sarif").
Format FormatNamed(const std::string& name);

class Reporter {
public:
    Reporter() = default;
    Reporter(const Reporter&) = delete;
    Reporter& operator=(const Reporter&) = delete;
    virtual ~Reporter() = default;

    // Appends what the result says in this format.
    virtual void Write(const Result& result, std::string& out) = 0;
    // Appends what ends the run's output, after its last result.
    virtual void Close(std::string& /*out*/) {}
};

std::unique_ptr<Reporter> MakeReporter(Format format);

// "FILE: [fixed: |would fix: ]WORDS; ...": today's result lines.
std::unique_ptr<Reporter> MakeTextReporter();
// One JSON object per file and line: its fields, then "findings".
std::unique_ptr<Reporter> MakeJsonReporter();
// "FILE:LINE:COL: error: MESSAGE [RULE]", as compilers write diagnostics.
std::unique_ptr<Reporter> MakeGccReporter();
// GitHub Actions workflow commands: "::error file=F,line=L,col=C,title=RULE::MESSAGE".
std::unique_ptr<Reporter> MakeGithubReporter();
// One SARIF 2.1.0 log for the whole run, written when it closes.
std::unique_ptr<Reporter> MakeSarifReporter();

// The message, with the command that mends the finding when it names none,
// or "fixed: " before it for one mended: what a format shows that has no
// other place for these.
std::string MessageWithRepair(const Finding& finding);

// "error" or "note".
const char* SeverityName(Severity severity);

}  // namespace kestrune_tool

#endif
