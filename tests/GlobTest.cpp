// EditorConfig's glob syntax: each row a glob, a path, and whether it matches
// (as the reference implementation answers, quirks of its braces included).
#include "Glob.h"

#include <gtest/gtest.h>

TEST(Glob, MatchesAsEditorConfigDoes)
{
    const struct {
        const char* glob;
        const char* path;
        bool matches;
    } rows[] = {
        // clang-format off
        {"*.velnls", "a.velnls", true}, {"*.velnls", "d/e/a.velnls", true}, {"*.velnls", "a.velnls.txt", false},
        {"*", ".hidden", true}, {"d/*.txt", "d/a.txt", true}, {"d/*.txt", "e/d/a.txt", false},
        {"d/*.txt", "d/e/a.txt", false}, {"/d/*", "d/a", true}, {"d/**.txt", "d/e/f/a.txt", true},
        {"d/**/a", "d/a", true}, {"d/**/a", "d/e/f/a", true}, {"**/a", "a", true}, {"a?c", "abc", true},
        {"a?c", "a/c", false}, {"a?z", "a\xC3\xA9z", true}, {"[ab]x", "bx", true}, {"[ab]x", "cx", false},
        {"[!ab]x", "cx", true}, {"[!ab]x", "ax", false}, {"[a-c]", "b", true}, {"[a-c]", "d", false},
        {"[]]", "]", true}, {"[a", "[a", false}, {"a[!b]c", "a/c", true}, {"ab[e/]cd", "ab[e/]cd", true}, {"a[/]b", "a[/]b", true}, {"{a,b}.txt", "b.txt", true},
        {"{a,b}.txt", "c.txt", false}, {"x{a,{b,c}d}", "xcd", true}, {"{a,}x", "x", true},
        {"{single}", "{single}", true}, {"{a", "{a", true}, {"n{1..12}", "n7", true}, {"n{1..12}", "n12", true},
        {"n{1..12}", "n13", false}, {"n{-3..3}", "n-2", true}, {"n{3..1}", "n2", false}, {"n{0..5}", "n0", false}, {"n{1..5}", "n05", false},
        {"{1..3}2", "12", true}, {"{1..3}*", "12", false}, {"{n{1..5},q}.txt", "q.txt", false}, {"{}.c", "{}.c", true},
        {"{},b}.h", "{},b}.h", true}, {"{{a},b}", "{b", true}, {"{{a},b}", "b", false}, {"}a{", "}a{", true}, {"n{1..3}x", "n12x", false},
        {"n{1..x}", "n{1..x}", true}, {"\\*", "*", true}, {"\\*", "a", false}, {"a\\[b]", "a[b]", true},
        {"[\\]]", "]", true}, {"", "a", false}, {"*/a", "d/a", true}, {"*/a", "d/e/a", false},
        {"a.velnls", "a.velnls", true},
        // clang-format on
    };
    for (const auto& row : rows)
        EXPECT_EQ(kestrune_tool::GlobMatches(row.glob, row.path), row.matches) << row.glob << " vs " << row.path;
}
