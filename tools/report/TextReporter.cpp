// The text form: one line per file that has something to say, as the tool
// has always printed it, so that scripts reading it go on working.
#include "Reporter.h"

namespace kestrune_tool {

namespace {

// The messages of the findings that are (or are not) fixable, joined.
std::string Joined(const std::vector<Finding>& findings, bool fixable)
{
    std::string words;
    for (const Finding& finding : findings) {
        if (finding.fixable == fixable) words += (words.empty() ? "" : "; ") + finding.message;
    }
    return words;
}

class TextReporter : public Reporter {
public:
    void Write(const Result& result, std::string& out) override
    {
        std::string words = result.answer;
        if (words.empty() && result.action != Result::kNone) {
            // What was mended, then what is left.
            const std::string left = Joined(result.findings, false);
            words = (result.action == Result::kFixed ? "fixed: " : "would fix: ") + Joined(result.findings, true) +
                    (left.empty() ? "" : "; not fixable: " + left);
        } else if (words.empty()) {
            for (const Finding& finding : result.findings) words += (words.empty() ? "" : "; ") + finding.message;
        }
        if (!words.empty()) out += result.subject + ": " + words + "\n";
    }
};

}  // namespace

std::unique_ptr<Reporter> MakeTextReporter() { return std::make_unique<TextReporter>(); }

}  // namespace kestrune_tool
