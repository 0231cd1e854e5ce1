#include "QORSysTextFileUtilities.h"
#include "Scratch.h"

using namespace QORSysTextFileUtilities;

namespace {

using WriteCatalogFileTagTest = Scratch;

TEST_F(WriteCatalogFileTagTest, WritesTheLineAtTheHead)
{
    const std::string body(60, '.');
    const std::string longest(256 - 18 - 2, 'n');  // tag and CR LF fill the line exactly
    const struct {
        const char* charset;
        const char* eol;
        unsigned int start;
        char restore;
        std::string line;
        unsigned int end;
    } cases[] = {
        {"ISO-8859-1", "\n", 0, 0, "<meta charset=\"ISO-8859-1\"/>\n", 29},
        {"UTF-8", "\r\n", 40, 1, "<meta charset=\"UTF-8\"/>\r\n", 40},
        {"UTF-8", "\r", 40, 0, "<meta charset=\"UTF-8\"/>\r", 24},
        {"", "\n", 0, 0, "<meta charset=\"\"/>\n", 19},
        {longest.c_str(), "\r\n", 0, 0, "<meta charset=\"" + longest + "\"/>\r\n", 256},
    };
    for (const auto& c : cases) {
        const std::string path = Write("t", body);
        QORSysFileDescriptor file = Open(path, "r+b", c.start);
        EXPECT_EQ(WriteCatalogFileTag(file, c.charset, c.eol, c.restore), S_OK);
        EXPECT_EQ(Tell(file), c.end);
        QORSysFClose(file);
        const std::string bytes = Read(path);
        EXPECT_EQ(bytes.substr(0, c.line.size()), c.line);
        EXPECT_EQ(bytes.size(), std::max(body.size(), c.line.size()));
    }
}

TEST_F(WriteCatalogFileTagTest, RefusesWithoutTouchingTheFile)
{
    const std::string tooLong(256 - 18 - 1, 'n');  // one byte over with CR LF
    const std::string path = Write("t", "untouched");
    QORSysFileDescriptor file = Open(path, "r+b", 4);
    EXPECT_EQ(WriteCatalogFileTag(file, nullptr, "\n", 1), E_FAIL);
    EXPECT_EQ(WriteCatalogFileTag(file, "UTF-8", nullptr, 1), E_FAIL);
    EXPECT_EQ(WriteCatalogFileTag(file, tooLong.c_str(), "\r\n", 0), E_FAIL);
    EXPECT_EQ(Tell(file), 4u);
    QORSysFClose(file);
    EXPECT_EQ(Read(path), "untouched");
}

}  // namespace
