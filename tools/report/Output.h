// A run's output: each file's result written by the reporter of the run's
// format, in the order of the files, and counted for the closing summary
// that a run over several files writes on standard error.
#ifndef KESTRUNE_TOOL_OUTPUT_H
#define KESTRUNE_TOOL_OUTPUT_H

#include "Finding.h"
#include "Reporter.h"

#include <memory>
#include <string>

namespace kestrune_tool {

// How the summary tells a command's files.
struct SummaryWords {
    const char* one;     // what one file that fails does: "breaks a rule"
    const char* many;    // what several do: "break a rule"
    const char* none;    // when none fails: "all keep their rules"
    const char* failed;  // what trouble kept a file from being: "checked"
};

class Output {
public:
    // Results go to the reporter of format, and nothing to standard output
    // when quiet. words: null for a run that ends with no summary. While it
    // lives, Tell hands it the results.
    Output(Format format, bool quiet, const SummaryWords* words);
    ~Output();
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // On the writing thread, for each result in the order of the files.
    void Write(const Result& result);
    // Ends the reporter's output, then writes the summary; returns status.
    int Finish(int status);

    // "N files checked: ...", the summary of what was written.
    std::string Summary() const;

private:
    std::unique_ptr<Reporter> reporter_;
    bool quiet_;
    const SummaryWords* words_;
    unsigned long long files_ = 0, fixed_ = 0, broken_ = 0, fixable_ = 0, noRule_ = 0, skipped_ = 0, trouble_ = 0;
    bool dryRun_ = false;
};

// Hands a result to the running Output, on the writing thread.
void WriteResult(const Result& result);

}  // namespace kestrune_tool

#endif
