// A text handed to TextScan in windows of 1 to 7 bytes gives what the
// whole-text functions give: generated texts, with sequences, CR LF, marks
// and tag lines cut at every place.
#include "TextScan.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <utility>

using namespace kestrune_tool;

namespace {

auto Fields(const TextPosition& at) { return std::tie(at.byte, at.line, at.column, at.bytes); }
std::string Name(const char* eol) { return eol != nullptr ? eol : "none"; }
auto Fields(const CatalogHead& head) { return std::tie(head.mark, head.end, head.tagged, head.charset); }

}  // namespace

TEST(TextScan, WindowsAgreeWithTheWholeText)
{
    std::mt19937 random(27);
    const char* const pieces[] = {"a",
                                  "\xC3\xA9",
                                  "\xE2\x82\xAC",
                                  "\xF0\x9F\x98\x80",
                                  "\xE9",
                                  "\xE2\x82",
                                  "\xF0\x9F",
                                  "\xED\xA0\x80",
                                  "\xC0\xAF",
                                  "\x80",
                                  "\r",
                                  "\n",
                                  "\r\n",
                                  " ",
                                  "\x01",
                                  "\xEF\xBB\xBF",
                                  "x\"/>",
                                  "<meta charset=\""};
    const char* const heads[] = {"",
                                 "\xEF\xBB\xBF",
                                 "<meta charset=\"UTF-8\"/>",
                                 "\xEF\xBB\xBF<meta charset=\"X\"/>\r",
                                 "\xEF\xBB\xBF\xEF\xBB\xBF",
                                 "<meta charset=\""};
    for (int round = 0; round < 6000; ++round) {
        std::string text = heads[random() % 6];
        for (unsigned n = random() % 10; n > 0; --n) text += pieces[random() % 18];
        if (round % 5 == 0) text.insert(random() % (text.size() + 1), 1, '\0');
        TextPosition whole, streamed;
        for (std::size_t window = 1; window <= 7; ++window) {
            SCOPED_TRACE(testing::PrintToString(text) + " in windows of " + std::to_string(window));
            TextScan scan(true);
            for (std::size_t at = 0; at < text.size(); at += window)
                scan.Feed(std::string_view(text).substr(at, window));
            scan.Finish();
            const LineEndings counts = scan.Endings().Counts(), wanted = CountLineEndings(text.data(), text.size());
            EXPECT_EQ(std::tie(counts.crlf, counts.lf, counts.cr), std::tie(wanted.crlf, wanted.lf, wanted.cr));
            EXPECT_EQ(Name(scan.Endings().First()), Name(FirstLineEnding(text)));
            PlaceAfter(text, false, whole);
            EXPECT_EQ(std::make_pair(scan.Endings().Line(), scan.Endings().Column()),
                      std::make_pair(whole.line, whole.column));
            const std::string& kept = scan.Head().Kept();
            EXPECT_EQ(text.compare(0, kept.size(), kept), 0);
            EXPECT_GE(kept.size(), std::min<std::size_t>(3, text.size()));
            EXPECT_EQ(Fields(scan.Head().Head()), Fields(ReadHead(text)));
            const bool invalid = FindInvalidUtf8(text, whole);
            EXPECT_EQ(scan.InvalidUtf8(streamed), invalid);
            EXPECT_TRUE(!invalid || Fields(streamed) == Fields(whole)) << streamed.Words() << " vs " << whole.Words();
            const bool binary = FindBinaryByte(text, whole);
            EXPECT_EQ(scan.BinaryByte(streamed), binary);
            EXPECT_TRUE(!binary || Fields(streamed) == Fields(whole));
        }
    }
}
