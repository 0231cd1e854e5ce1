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

}  // namespace kestrune_tool
