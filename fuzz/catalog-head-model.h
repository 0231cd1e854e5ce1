// The leading marks of a catalog text: an optional byte-order mark, then an
// optional line <meta charset="NAME"/> ended by CR LF, LF, CR or the end of
// the text. NAME runs to the first "/> and holds no line break; with other
// text after the tag on its line there is no tag line.
#ifndef KESTRUNE_FUZZ_CATALOG_HEAD_MODEL_H
#define KESTRUNE_FUZZ_CATALOG_HEAD_MODEL_H

#include <cstddef>
#include <string>

// How many bytes of the zero-terminated text the marks take; format is 2
// when there was a byte-order mark or NAME is utf-8 in any case, else 1.
inline std::size_t ModelCatalogHead(const char* text, int& format)
{
    const std::string head(text);  // up to the first zero
    const std::string open = "<meta charset=\"", close = "\"/>";
    const bool mark = head.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::size_t at = mark ? 3 : 0;
    bool utf8 = false;
    if (head.compare(at, open.size(), open) == 0) {
        const std::size_t name = at + open.size();
        const std::size_t end = head.find(close, name);
        if (end != std::string::npos && head.find_first_of("\r\n", name) > end) {
            std::size_t next = end + close.size();
            const char after = next < head.size() ? head[next] : '\0';
            if (after == '\r') next += next + 1 < head.size() && head[next + 1] == '\n' ? 2 : 1;
            if (after == '\n') next += 1;
            if (after == '\r' || after == '\n' || after == '\0') {
                std::string lower = head.substr(name, end - name);
                for (char& c : lower) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
                utf8 = lower == "utf-8";
                at = next;
            }
        }
    }
    format = mark || utf8 ? 2 : 1;
    return at;
}

#endif
