#include "CatalogHead.h"

#include "VELGeneral.h"

#include <algorithm>

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

namespace {

constexpr std::string_view kMark = "\xEF\xBB\xBF";
constexpr std::string_view kOpen = "<meta charset=\"";

// True when no bytes after kept can change ReadHead's answer on it; from:
// where the first line may end, those before it having been looked at.
bool HeadKnown(std::string_view kept, std::size_t from)
{
    if (kept.size() < 3) return false;
    // The library's tag line ends at a line ending (CR LF too) or a zero byte.
    const std::size_t stop = kept.find_first_of(std::string_view("\r\n\0", 3), from);
    if (stop != std::string_view::npos && stop + 1 < kept.size()) return true;
    std::size_t marks = 0;
    while (kept.substr(marks, 3) == kMark) marks += 3;
    const std::string_view rest = kept.substr(marks);
    if (rest.size() < 3 && kMark.substr(0, rest.size()) == rest) return false;  // may be one more mark
    // A tag line comes after one mark at most.
    const std::size_t open = std::min(rest.size(), kOpen.size());
    return marks > 3 || rest.substr(0, open) != kOpen.substr(0, open);
}

}  // namespace

void HeadScan::Feed(std::string_view piece)
{
    if (known_) return;
    const std::size_t from = kept_.empty() ? 0 : kept_.size() - 1;
    kept_.append(piece);
    known_ = HeadKnown(kept_, from);
}

std::string TagLine(const std::string& charset, const char* eol) { return "<meta charset=\"" + charset + "\"/>" + eol; }

}  // namespace kestrune_tool
