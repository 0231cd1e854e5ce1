#include "CatalogHead.h"

#include "VELGeneral.h"

namespace kestrune_tool {

CatalogHead ReadHead(const std::string& text)
{
    const std::size_t mark = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const char* end = text.c_str();
    int format = 0;
    DetectCatalogFileFormat(end, format);
    const auto past = static_cast<std::size_t>(end - text.c_str());
    // The library moves past [mark] <meta charset="NAME"/> [end of line], or past the mark alone.
    const std::size_t name = mark + sizeof "<meta charset=\"" - 1;
    if (past < name + 3) {
        std::size_t marks = mark;
        while (mark != 0 && text.compare(marks, 3, "\xEF\xBB\xBF") == 0) marks += 3;
        return {marks, marks, false, {}};
    }
    return {mark, past, true, text.substr(name, text.rfind("\"/>", past - 3) - name)};
}

std::string TagLine(const std::string& charset, const char* eol) { return "<meta charset=\"" + charset + "\"/>" + eol; }

}  // namespace kestrune_tool
