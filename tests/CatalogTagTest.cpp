#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

using WriteCatalogFileTagTest = Scratch;

TEST_F(WriteCatalogFileTagTest, WritesTheLineAtTheHeadOrNothing)
{
    const std::string body(60, '.');
    const std::string fits(256 - 18 - 2, 'n');  // with CR LF the line is exactly 256 bytes
    const std::string tooLong = fits + "n";
    // line: what the file starts with afterwards.
    // clang-format off
    const struct { const char* charset; const char* eol; unsigned int start; char restore; HRESULT result; std::string line; unsigned int end; } cases[] = {
        {"ISO-8859-1", "\n", 0, 0, S_OK, "<meta charset=\"ISO-8859-1\"/>\n", 29},
        {"UTF-8", "\r\n", 40, 1, S_OK, "<meta charset=\"UTF-8\"/>\r\n", 40},
        {"UTF-8", "\r", 40, 0, S_OK, "<meta charset=\"UTF-8\"/>\r", 24},
        {"", "\n", 0, 0, S_OK, "<meta charset=\"\"/>\n", 19},
        {fits.c_str(), "\r\n", 0, 0, S_OK, "<meta charset=\"" + fits + "\"/>\r\n", 256},
        {tooLong.c_str(), "\r\n", 7, 0, E_FAIL, body, 7},
        {nullptr, "\n", 7, 1, E_FAIL, body, 7},
        {"UTF-8", nullptr, 7, 0, E_FAIL, body, 7},
    };
    // clang-format on
    for (const auto& c : cases) {
        QORSysFileDescriptor file = Open(body, "r+b", c.start);
        EXPECT_EQ(WriteCatalogFileTag(file, c.charset, c.eol, c.restore), c.result);
        EXPECT_EQ(Tell(file), c.end);
        QORSysFClose(file);
        const std::string bytes = Read(dir_ + "/open");
        EXPECT_EQ(bytes.substr(0, c.line.size()), c.line);
        EXPECT_EQ(bytes.size(), std::max(body.size(), c.line.size()));
    }
}

}  // namespace
