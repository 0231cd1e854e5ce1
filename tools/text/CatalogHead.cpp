#include "CatalogHead.h"

#include "VELGeneral.h"

namespace kestrune_tool {

CatalogHead ReadHead(const std::string& text)
{
    CatalogHead head;
    head.mark = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const char* end = text.c_str();
    int format = 0;
    DetectCatalogFileFormat(end, format);
    head.end = static_cast<std::size_t>(end - text.c_str());
    // The library moves past [mark] <meta charset="NAME"/> [end of line], or past the mark alone.
    const std::size_t name = head.mark + sizeof "<meta charset=\"" - 1;
    head.tagged = head.end >= name + 3;
    if (head.tagged) head.charset.assign(text, name, text.rfind("\"/>", head.end - 3) - name);
    if (!head.tagged) head.end = head.mark;
    return head;
}

}  // namespace kestrune_tool
