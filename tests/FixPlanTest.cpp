// The fix plan on generated texts and rules, against a model: the fixed
// text keeps every rule, differs from the original only in line endings,
// mark and tag line, and is the original itself when no rule was broken.
#include "FixPlan.h"

#include <gtest/gtest.h>

#include <random>

using namespace kestrune_tool;

namespace {

// The text with the mark, a leading tag line and any line ending at the
// end taken off, and every other line ending made LF.
std::string Kept(std::string text)
{
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    const std::size_t close = text.find("\"/>");
    const std::size_t after = close + 3;
    if (text.compare(0, 15, "<meta charset=\"") == 0 && close != std::string::npos &&
        (after == text.size() || text[after] == '\r' || text[after] == '\n'))
        text.erase(0, after + (text.compare(after, 2, "\r\n") == 0 ? 2 : after < text.size()));
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i] == '\r' ? '\n' : text[i];
        i += text.compare(i, 2, "\r\n") == 0;
    }
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

}  // namespace

TEST(FixPlan, MendsOnlyWhatTheRulesSay)
{
    std::mt19937 random(17);
    const char* const pieces[] = {"a", "\xC3\xA9", "\xFF", "\r", "\n", "\r\n", " ", "\"/>"};
    const char* const heads[] = {"", "\xEF\xBB\xBF", "<meta charset=\"UTF-8\"/>",
                                 "\xEF\xBB\xBF<meta charset=\"X\"/>\r"};
    const char* const eols[] = {nullptr, "\n", "\r\n", "\r"};
    const Want wants[] = {Want::Unset, Want::Yes, Want::No};
    for (int round = 0; round < 20000; ++round) {
        std::string text = heads[random() % 4];
        for (unsigned n = random() % 8; n > 0; --n) text += pieces[random() % 8];
        Policy policy;
        policy.eol = eols[random() % 4];
        policy.bom = wants[random() % 3];
        policy.finalNewline = wants[random() % 3];
        policy.utf8 = wants[random() % 3];
        policy.tag = random() % 2 ? "UTF-8" : "";
        const Findings found = CheckText(text, policy);
        std::string fixed =
            FixText(text, policy, found, "<meta charset=\"" + policy.tag + "\"/>" + EolFor(text, policy));
        if (KeepsBody(policy, found)) fixed += text.substr(found.head.end);
        const Findings after = CheckText(fixed, policy);
        SCOPED_TRACE(testing::PrintToString(text) + " -> " + testing::PrintToString(fixed));
        EXPECT_EQ(Kept(fixed), Kept(text));
        EXPECT_FALSE(after.Fixable());
        EXPECT_EQ(after.utf8, found.utf8);
        EXPECT_TRUE(found.Fixable() || fixed == text);
    }
}
