#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

using CompareCatalogFilesTest = Scratch;

TEST_F(CompareCatalogFilesTest, ComparesUntilTheSecondTextEnds)
{
    const std::string head = "\xEF\xBB\xBF<meta charset=\"UTF-8\"/>\r\n";
    // clang-format off
    const struct { std::string first; std::string second; HRESULT result; } cases[] = {
        {"a=1\nb=2\n", "a=1\nb=2\n", S_OK}, {"a=1\r\nb=2\r\n", "a=1\nb=2\n", S_OK}, {"a=1\n\n\nb=2", "a=1\r\nb=2", S_OK},
        {"ab\ncd", "ab", S_OK},             {"ab\ncd", "ab\n", S_FALSE},          {"ab", "ab\n", S_OK},
        {"ab\n\n", "ab", S_OK},             {"ab", "abc", S_FALSE},               {"anything", "", S_OK},
        {"", "x", S_FALSE},                 {"Ab", "ab", S_FALSE},                {head + "k=\xD0\x94\r\n", "k=\xD0\x94\n", S_OK},
        {"k=v\n", "<meta charset=\"ISO-8859-1\"/>\nk=v\n", S_OK},               {"<meta charset=\"x\"/> k=v", "k=v", S_FALSE},
        // A zero byte in the second text where the first has ended.
        {"ab", std::string("ab\0c", 4), S_FALSE},                               {std::string("ab\0c", 4), std::string("ab\0c", 4), S_OK},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string first = Write("first.velnls", c.first);
        EXPECT_EQ(CompareCatalogFiles(Path(first), Path(Write("second", c.second))), c.result)
            << c.first << "|" << c.second;
    }
}

TEST_F(CompareCatalogFilesTest, ExtensionOfTheFirstPathAndUnreadableFiles)
{
    const std::string catalog = Write("a.velnls", "x");
    // clang-format off
    const struct { std::string first; std::string second; HRESULT result; } cases[] = {
        {Write("a.VELNLS", "x"), catalog, S_OK}, {Write("a.txt", "x"), catalog, E_FAIL},
        {Write("noextension", "x"), catalog, S_OK}, {catalog, Write("b.txt", "x"), S_OK},
        {catalog, dir_ + "/missing", E_FAIL},    {dir_ + "/missing.velnls", catalog, E_FAIL}, {catalog, dir_, E_FAIL},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(CompareCatalogFiles(Path(c.first), Path(c.second)), c.result) << c.first << " " << c.second;
}

}  // namespace
