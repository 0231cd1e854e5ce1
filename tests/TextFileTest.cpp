// The text-file exports on real files: one table per behaviour.
#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

using TextFile = Scratch;
const std::string kMark = "\xEF\xBB\xBF";

// The memory and file forms share one table; they differ only on 0xFF, which
// ends a text in memory but is an ordinary byte in a file.
TEST_F(TextFile, FirstLineEndingDecides)
{
    // clang-format off
    const struct { std::string text; HRESULT result; const char* eol; HRESULT fileResult; } cases[] = {
        {"", S_FALSE, "\r\n", S_FALSE}, {"abc", S_FALSE, "\r\n", S_FALSE}, {"a\r\nb", S_OK, "\r\n", S_OK},
        {"a\nb", S_OK, "\n", S_OK},     {"a\rb", S_OK, "\r", S_OK},        {"a\r", S_OK, "\r", S_OK},
        {"a\n\r", S_OK, "\n", S_OK},    {"a\nb\r\nc", S_OK, "\n", S_OK},   {"\xC3\xA9\r\n", S_OK, "\r\n", S_OK},
        {"a\xFF\n", S_FALSE, "\n", S_OK},
    };
    // clang-format on
    for (const auto& c : cases) {
        const char* eol = nullptr;
        EXPECT_EQ(DetectEOL(c.text.c_str(), eol), c.result) << c.text;
        EXPECT_STREQ(eol, c.result == c.fileResult ? c.eol : "\r\n") << c.text;
        QORSysFileDescriptor file = Open(c.text, "rb");
        EXPECT_EQ(DetectFileEOL(file, eol, 0), c.fileResult) << c.text;
        EXPECT_STREQ(eol, c.eol) << c.text;
        QORSysFClose(file);
    }
    const char* eol = nullptr;
    EXPECT_EQ(DetectEOL(nullptr, eol), E_FAIL);
    // Line breaks before the text do not count, at any alignment and distance.
    for (std::size_t start = 0; start < 16; ++start) {
        for (std::size_t at = 0; at < 40; ++at) {
            std::string bytes = std::string(start, '\n') + std::string(at, 'x') + "\r\n";
            EXPECT_EQ(DetectEOL(bytes.c_str() + start, eol), S_OK);
            EXPECT_STREQ(eol, "\r\n");
            bytes[start + at] = '\xFF';
            EXPECT_EQ(DetectEOL(bytes.c_str() + start, eol), S_FALSE);
        }
    }
}

// start, restore -> the position afterwards, and the result of the
// detection or writing call.
TEST_F(TextFile, PositionsOfTheDescriptorForms)
{
    const std::string marked = kMark + "0123456789abc";
    using Call = HRESULT (*)(QORSysFileDescriptor&, char);
    const Call eolOf = [](QORSysFileDescriptor& f, char r) {
        const char* e;
        return DetectFileEOL(f, e, r);
    };
    const Call bom = [](QORSysFileDescriptor& f, char r) { return DetectUnicodeBOM(f, r); };
    // clang-format off
    const struct { Call call; std::string bytes; const char* mode; unsigned start; char restore; HRESULT result; unsigned end; } cases[] = {
        {eolOf, "ab\ncd", "rb", 0, 0, S_OK, 4}, {eolOf, "ab\r\ncd", "rb", 3, 0, S_OK, 4}, {eolOf, "abc", "rb", 1, 0, S_FALSE, 3},
        {eolOf, "ab\n", "rb", 2, 0, S_OK, 3},   {eolOf, std::string(120, 'x') + "\n", "rb", 100, 1, S_OK, 100},
        {bom, marked, "rb", 0, 0, S_OK, 3},     {bom, marked, "rb", 10, 1, S_OK, 10},  {bom, marked, "rb", 10, 0, S_OK, 3},
        {bom, "abcdef", "rb", 5, 0, S_FALSE, 5}, {bom, "abcdef", "rb", 5, 1, S_FALSE, 5}, {bom, "ab", "rb", 1, 0, E_FAIL, 2},
        {bom, "ab", "rb", 1, 1, E_FAIL, 1},
        {bom, marked, "wb", 0, 1, kWrongAccess, 0},  // the read's own code
    };
    // clang-format on
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(c.bytes, c.mode, c.start);
        EXPECT_EQ(c.call(file, c.restore), c.result) << c.bytes << " from " << c.start;
        EXPECT_EQ(Tell(file), c.end) << c.bytes << " from " << c.start;
        QORSysFClose(file);
    }
}

TEST_F(TextFile, DetectUnicodeBOMInABuffer)
{
    // clang-format off
    const struct { std::string bytes; HRESULT result; unsigned int skipped; } cases[] = {
        {kMark + "A", S_OK, 3}, {kMark, S_OK, 3}, {"\xEF\xBB", S_FALSE, 0}, {"\xEF\xBB\xBE", S_FALSE, 0}};
    // clang-format on
    for (const auto& c : cases) {
        const char* text = c.bytes.data();
        auto size = static_cast<unsigned int>(c.bytes.size());
        EXPECT_EQ(DetectUnicodeBOM(text, size), c.result);
        EXPECT_EQ(text, c.bytes.data() + c.skipped);
        EXPECT_EQ(size, c.bytes.size() - c.skipped);
    }
    const char* none = nullptr;
    unsigned int size = 7;
    EXPECT_EQ(DetectUnicodeBOM(none, size), E_FAIL);
}

// The writers put their line over the head of the file, or write nothing.
TEST_F(TextFile, WritersOverwriteTheHead)
{
    const std::string body(60, '.');
    const std::string big(260, 'n');
    using Write = std::function<HRESULT(QORSysFileDescriptor&)>;
    const auto tag = [](const char* charset, const char* eol, char restore) -> Write {
        return [=](QORSysFileDescriptor& f) { return WriteCatalogFileTag(f, charset, eol, restore); };
    };
    // clang-format off
    struct Case { Write write; const char* mode; unsigned start; HRESULT result; std::string line; unsigned end; };
    std::vector<Case> cases = {
        {[](QORSysFileDescriptor& f) { return WriteUnicodeBOM(f, 1); }, "r+b", 10, S_OK, kMark, 10},
        {[](QORSysFileDescriptor& f) { return WriteUnicodeBOM(f, 0); }, "r+b", 10, S_OK, kMark, 3},
        {[](QORSysFileDescriptor& f) { return WriteUnicodeBOM(f, 0); }, "rb", 4, kWrongAccess, "", 0},
        {tag("ISO-8859-1", "\n", 0), "r+b", 0, S_OK, "<meta charset=\"ISO-8859-1\"/>\n", 29},
        {tag("UTF-8", "\r\n", 1), "r+b", 40, S_OK, "<meta charset=\"UTF-8\"/>\r\n", 40},
        {tag("UTF-8", "\r", 0), "r+b", 40, S_OK, "<meta charset=\"UTF-8\"/>\r", 24},
        {tag("", "\n", 0), "r+b", 0, S_OK, "<meta charset=\"\"/>\n", 19},
        {tag(nullptr, "\n", 1), "r+b", 7, E_FAIL, "", 7}, {tag("UTF-8", nullptr, 0), "r+b", 7, E_FAIL, "", 7},
    };
    // Lines of 250 to 260 bytes: those that fit in 256 are written whole, the others refused.
    for (const char* eol : {"\r\n", "\n", ""}) {
        for (std::size_t length = 250; length <= 260; ++length) {
            const std::size_t name = length - 18 - std::strlen(eol);
            const bool fits = length <= 256 && name + 18 < 256;
            const std::string line = "<meta charset=\"" + big.substr(0, name) + "\"/>" + eol;
            cases.push_back({tag(big.c_str() + big.size() - name, eol, 0), "r+b", 5, fits ? S_OK : E_FAIL,
                             fits ? line : "", fits ? static_cast<unsigned>(length) : 5});
        }
    }
    // clang-format on
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(body, c.mode, c.start);
        EXPECT_EQ(c.write(file), c.result) << c.line;
        EXPECT_EQ(Tell(file), c.end) << c.line;
        QORSysFClose(file);
        std::string expected = body;
        expected.replace(0, std::min(c.line.size(), body.size()), c.line);
        EXPECT_EQ(Read(dir_ + "/open"), expected) << c.line;
    }
}

// n ASCII bytes with text placed to end at offset end.
std::string Filler(std::size_t n, const std::string& text, std::size_t end)
{
    return std::string(n, 'a').replace(end - text.size(), text.size(), text);
}

TEST_F(TextFile, DeepDetectionWindowAndCarryRule)
{
    const std::string straddling = Filler(10000, "\xE2\x82\xAC", 4097).replace(8188, 4, "\xF0\x9F\x98\x80");
    const std::string huge = Write("huge", "");
    std::filesystem::resize_file(huge, 0x100000000LL);  // sparse 4 GiB: its size does not fit
    // clang-format off
    const struct { std::string bytes; int format; HRESULT result = S_OK; std::string path = ""; } cases[] = {
        {"", 2}, {std::string(20000, 'q'), 2}, {Filler(4092, "\xFF", 100), 1}, {Filler(4092, "\xFF", 4092), 1},
        {straddling, 2}, {Filler(9000, "\xC0\xAF", 6000), 1}, {Filler(5000, "\xC3\xA9", 5000), 2},
        // A lead byte ending the file: judged only when 4 or more bytes from the window's end.
        {Filler(4093, "\xC3", 4093), 1}, {Filler(4094, "\xC3", 4094), 2}, {Filler(4095, "\xC3", 4095), 2},
        {Filler(4096, "\xC3", 4096), 2}, {Filler(4097, "\xC3", 4097), 1},
        {"", 1, QORSysResultFromErrno(ENOENT), dir_ + "/missing"}, {"", 1, kDirectoryRefused, dir_},
        {"", 1, QORSYS_E_OVERFLOW, huge}, {"", 2, S_OK, kNullDevice}, {"k\n", kNotUtf8Name < 0 ? 1 : 2, kNotUtf8Name, Write("caf\xE9", "k\n")},
    };
    // clang-format on
    for (const auto& c : cases) {
        int format = 0;
        const std::string path = c.path.empty() ? Write("t", c.bytes) : c.path;
        EXPECT_EQ(DetectFileFormatDeep(Path(path), format), c.result) << c.bytes.size() << path;
        EXPECT_EQ(format, c.format) << c.bytes.size() << path;
    }
}

TEST_F(TextFile, CompareCatalogFilesUntilTheSecondTextEnds)
{
    const std::string head = kMark + "<meta charset=\"UTF-8\"/>\r\n";
    const std::string huge = Write("huge.velnls", "");
    std::filesystem::resize_file(huge, 0x100000000LL);  // cannot be sized, so counts as empty
    const std::string catalog = Write("a.velnls", "x"), none = dir_ + "/missing";
    // Without a path, first is first.velnls and second is second holding those bytes.
    // clang-format off
    const struct { std::string first; std::string second; HRESULT result; std::string firstPath = "", secondPath = ""; } cases[] = {
        {"a=1\nb=2\n", "a=1\nb=2\n", S_OK}, {"a=1\r\nb=2\r\n", "a=1\nb=2\n", S_OK}, {"a=1\n\n\nb=2", "a=1\r\nb=2", S_OK},
        {"ab\ncd", "ab", S_OK},             {"ab\ncd", "ab\n", S_FALSE},          {"ab", "ab\n", S_OK},
        {"ab\n\n", "ab", S_OK},             {"ab", "abc", S_FALSE},               {"anything", "", S_OK},
        {"", "x", S_FALSE},                 {"Ab", "ab", S_FALSE},                {head + "k=\xD0\x94\r\n", "k=\xD0\x94\n", S_OK},
        {"k=v\n", "<meta charset=\"ISO-8859-1\"/>\nk=v\n", S_OK},               {"<meta charset=\"x\"/> k=v", "k=v", S_FALSE},
        // A zero byte in the second text where the first has ended, and the other way round.
        {"ab", std::string("ab\0c", 4), S_FALSE}, {std::string("ab\0c", 4), std::string("ab\0c", 4), S_OK},
        {std::string("ab\0cd", 5), "ab\n", S_OK},
        {"", "", S_OK, Write("a.VELNLS", "x"), catalog}, {"", "", E_FAIL, Write("a.txt", "x"), catalog},
        {"", "", S_OK, Write("noextension", "x"), catalog}, {"", "", S_OK, catalog, Write("b.txt", "x")},
        {"", "", E_FAIL, catalog, none}, {"", "", E_FAIL, none + ".velnls", catalog}, {"", "", E_FAIL, catalog, dir_},
        {"", "", E_FAIL, dir_, catalog}, {"", "", S_FALSE, huge, catalog}, {"", "", S_OK, catalog, huge},
        {"", "", S_FALSE, kNullDevice, catalog}, {"", "", S_OK, catalog, kNullDevice},
        {"", "", kNotUtf8Name < 0 ? E_FAIL : S_OK, Write("caf\xE9.velnls", "k=v\n"), Write("\xFF\xFE", "k=v")},
    };
    // clang-format on
    for (const auto& c : cases) {
        const std::string first = c.firstPath.empty() ? Write("first.velnls", c.first) : c.firstPath;
        const std::string second = c.secondPath.empty() ? Write("second", c.second) : c.secondPath;
        EXPECT_EQ(CompareCatalogFiles(Path(first), Path(second)), c.result) << first << "|" << second;
    }
}

}  // namespace
