#include "Recode.h"

#include <iconv.h>
#include <cerrno>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace kestrune_tool {

namespace {

const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

// Converters kept for the next text: opening one loads the charset's module
// into the process and closing the last unloads it, work the C library does
// under a lock of its own that thread checkers cannot see. Taken and given
// back under this lock, so that no two threads open or close at once.
class Converters {
public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters()
    {
        for (auto& [key, idle] : idle_) {
            for (const iconv_t converter : idle) iconv_close(converter);
        }
    }
    iconv_t Take(const Charset& charset, bool toUtf8)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        std::vector<iconv_t>& idle = idle_[{&charset, toUtf8}];
        if (idle.empty()) return toUtf8 ? iconv_open("UTF-8", charset.name) : iconv_open(charset.name, "UTF-8");
        const iconv_t converter = idle.back();
        idle.pop_back();
        return converter;
    }
    void Give(const Charset& charset, bool toUtf8, iconv_t converter)
    {
        iconv(converter, nullptr, nullptr, nullptr, nullptr);  // back to its initial state
        const std::lock_guard<std::mutex> lock(mutex_);
        idle_[{&charset, toUtf8}].push_back(converter);
    }

private:
    std::mutex mutex_;
    std::map<std::pair<const Charset*, bool>, std::vector<iconv_t>> idle_;
};

Converters converters;

}  // namespace

Recoded Recode(const Charset& charset, bool toUtf8, const char* in, std::size_t size, std::string& out,
               std::size_t& bad)
{
    const iconv_t converter = converters.Take(charset, toUtf8);
    if (converter == kNone) return Recoded::Unavailable;
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
    converters.Give(charset, toUtf8, converter);
    return result;
}

}  // namespace kestrune_tool
