// The rules a finding can name: the records of what a text's verdict
// found, and what each rule is about, for the formats that describe them.
// A new rule is added here: its place, values and repair in RuleFindings,
// its words in the table of descriptions.
#ifndef KESTRUNE_TOOL_RULES_H
#define KESTRUNE_TOOL_RULES_H

#include "Finding.h"
#include "FixPlan.h"
#include "Policy.h"

#include <string>
#include <vector>

namespace kestrune_tool {

// One record for each of words (a rule broken and what is wrong, as Judge
// or PlanFix tells it), placed and valued from verdict (what Judge found in
// text) and policy; fixable where mend holds the rule. Invalid UTF-8, which
// only a conversion mends, comes last.
std::vector<Finding> RuleFindings(const std::string& file, const std::string& text, const Verdict& verdict,
                                  const Words& words, const Policy& policy, const Findings& mend);

// fix --to-utf8's conversion of a text from the charset from, told as a finding mended.
Finding Conversion(const std::string& file, const std::string& from);

struct RuleText {
    const char* id;
    const char* summary;      // one sentence
    const char* description;  // what is checked
    const char* help;         // what mends it
};

// The description of the rule id; a plain one for a rule not in the table.
RuleText DescribeRule(const std::string& id);

}  // namespace kestrune_tool

#endif
