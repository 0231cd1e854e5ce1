// The fix plan on generated texts and rules, against a model: the fixed
// text differs from the original only in line endings, marks, tag line and
// final line ending; what check still finds in it is what fix reports, and
// only what fix may leave; a second fix changes nothing.
#include "FixPlan.h"
#include "LineEndings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <set>

using namespace kestrune_tool;

namespace {

// The text with the marks, a leading tag line and any line ending at the
// end taken off, every other line ending made LF and the blanks that end lines taken off.
std::string Kept(std::string text)
{
    while (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    std::string out;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n') {
            out += text[i];
            continue;
        }
        while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
        if (i == text.size()) break;
        out += '\n';
        i += text.compare(i, 2, "\r\n") == 0;
    }
    const std::size_t after = out.find("\"/>") + 3;
    if (out.compare(0, 15, "<meta charset=\"") == 0 && after != 2 && (after == out.size() || out[after] == '\n'))
        out.erase(0, after + (after < out.size()));
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

std::set<std::string> Keys(const Words& words)
{
    std::set<std::string> keys;
    for (const auto& word : words) keys.insert(word.first);
    return keys;
}

bool Invalid(const std::string& text)
{
    TextPosition at;
    return FindInvalidUtf8(text, at);
}

}  // namespace

TEST(FixPlan, FixLeavesOnlyWhatItReportsAndMayNotMend)
{
    std::mt19937 random(17);
    const char* const pieces[] = {"a",    "\xC3\xA9", "\xE9",          "\r", "\n", "\r\n", " ", "\t",
                                  "\"/>", "\x01",     "\x1B\t\v\f\x1F"};
    const char* const heads[] = {"",
                                 "\xEF\xBB\xBF",
                                 "<meta charset=\"UTF-8\"/>",
                                 "\xEF\xBB\xBF<meta charset=\"X\"/>\r",
                                 "<meta charset=\"windows-1252\"/>\n",
                                 "\xEF\xBB\xBF\xEF\xBB\xBF",
                                 "<meta charset=\"UTF-8\"/>\r\n"};
    const char* const eols[] = {nullptr, "\n", "\r\n", "\r"};
    const char* const tags[] = {"", "UTF-8", "windows-1252"};
    const Want wants[] = {Want::Unset, Want::Yes, Want::No};
    for (int round = 0; round < 30000; ++round) {
        std::string text = heads[random() % 7];
        for (unsigned n = random() % 8; n > 0; --n) text += pieces[random() % (round % 4 == 0 ? 11 : 9)];
        // Blanks after a tag line make it content, which taking them off would make a tag line again.
        const std::size_t close = text.find("\"/>") + 3;
        if (close > 2 && close < text.size() && (text[close] == ' ' || text[close] == '\t')) continue;
        Policy policy;
        policy.eol = eols[random() % 4];
        policy.bom = wants[random() % 3];
        policy.finalNewline = wants[random() % 3];
        policy.utf8 = wants[random() % 3];
        policy.tag = tags[random() % 3];
        policy.trim = wants[random() % 3];
        policy.indent = static_cast<Indent>(random() % 3);
        policy.indentSize = random() % 3;
        policy.lineLimit = wants[random() % 3];
        policy.maxLine = 1 + random() % 4;
        const Verdict before = Judge(text, policy);
        const Plan plan = PlanFix(text, policy, before);
        const std::string fixed = plan.mend.Fixable() ? plan.text : text;
        const Verdict after = Judge(fixed, policy);
        SCOPED_TRACE(testing::PrintToString(text) + " -> " + testing::PrintToString(fixed) + " " +
                     std::to_string(static_cast<int>(policy.finalNewline)) +
                     std::to_string(static_cast<int>(policy.trim)));
        EXPECT_EQ(Kept(fixed), Kept(text));
        EXPECT_TRUE(plan.mend.Fixable() == (fixed != text));
        EXPECT_EQ(Keys(plan.Told(plan.after.words)), Keys(after.words));
        // fix takes off only the final line ending: a text ending in a blank line, or a tag line alone, keeps one.
        const std::size_t last = fixed.find_last_not_of("\r\n") + 1;  // 0 for none
        const bool blankLast = CountLineEndings(fixed.data() + last, fixed.size() - last).Total() >= 2 ||
                               after.found.head.end == fixed.size();
        for (const std::string& key : Keys(after.words)) {
            const bool may = key == "utf8" || key == "charset" || key == "binary" || key == "indent" ||
                             key == "max_line_length" || (key == "bom" && Invalid(fixed)) ||
                             (key == "tag" && !TagLie(fixed, after.found.head, policy.tag).empty()) ||
                             (key == "final_newline" && policy.finalNewline == Want::No && blankLast);
            EXPECT_TRUE(may) << key;
        }
        // No mark goes on a text that is not UTF-8, and no tag line that lies.
        const auto marked = [](const std::string& bytes) { return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0; };
        EXPECT_FALSE(Invalid(fixed) && marked(fixed) && !marked(text));
        EXPECT_GE(Keys(before.words).count("charset"), Keys(after.words).count("charset"));
        EXPECT_EQ(after.binary, before.binary);
        EXPECT_EQ(before.binary, std::any_of(text.begin(), text.end(), [](char c) {
                      return c >= 0 && c < 0x20 && std::strchr("\t\n\v\f\r\x1B", c) == nullptr;
                  }));
        // A second fix changes nothing, but for a new tag line alone that keeps its ending the first time.
        EXPECT_TRUE(!PlanFix(fixed, policy, after).mend.Fixable() || after.found.head.end == fixed.size());
    }
}
