#include "LineEndings.h"

namespace kestrune_tool {

LineEndings CountLineEndings(const char* text, std::size_t size)
{
    LineEndings count;
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] == '\n') {
            ++count.lf;
        } else if (text[i] == '\r') {
            if (i + 1 < size && text[i + 1] == '\n') {
                ++count.crlf;
                ++i;
            } else {
                ++count.cr;
            }
        }
    }
    return count;
}

const char* FirstLineEnding(std::string_view text)
{
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return nullptr;
    if (text[at] == '\n') return "\n";
    return text.compare(at, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

}  // namespace kestrune_tool
