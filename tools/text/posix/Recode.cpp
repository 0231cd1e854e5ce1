#include "Recode.h"

#include <iconv.h>
#include <cerrno>

namespace kestrune_tool {

Recoded Recode(const Charset& charset, bool toUtf8, const char* in, std::size_t size, std::string& out,
               std::size_t& bad)
{
    const iconv_t converter = toUtf8 ? iconv_open("UTF-8", charset.name) : iconv_open(charset.name, "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) return Recoded::Unavailable;
    // Room for most texts at once; E2BIG grows it.
    out.resize(size + size / 2 + 16);
    char* from = const_cast<char*>(in);  // iconv's prototype; it never writes there
    std::size_t left = size;
    std::size_t done = 0;
    Recoded result = Recoded::Done;
    for (;;) {
        char* to = &out[done];
        std::size_t room = out.size() - done;
        // The second call flushes what a converter holds back (windows-1255 and -1258 wait for a combining mark).
        const bool stopped = iconv(converter, &from, &left, &to, &room) == static_cast<std::size_t>(-1) ||
                             iconv(converter, nullptr, nullptr, &to, &room) == static_cast<std::size_t>(-1);
        done = static_cast<std::size_t>(to - out.data());
        if (stopped && errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // EILSEQ: no such character; EINVAL: a sequence cut short at the end.
        if (stopped) result = Recoded::Invalid;
        break;
    }
    bad = static_cast<std::size_t>(from - in);
    out.resize(done);
    iconv_close(converter);
    return result;
}

}  // namespace kestrune_tool
