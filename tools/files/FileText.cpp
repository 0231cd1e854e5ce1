#include "FileText.h"

#include "Progress.h"
#include "Report.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

namespace kestrune_tool {

namespace {

// Reads up to limit bytes from the open file, handing each window to take.
// A read of a large window goes straight to the system, past the file
// services' read-ahead: one read for a small file and one that finds its end.
HRESULT ReadOpen(QORSysFileDescriptor& file, std::size_t limit, const std::function<void(std::string_view)>& take,
                 std::size_t& got)
{
    const std::size_t window = ReadWindow();
    thread_local std::unique_ptr<char[]> piece(new char[window]);
    for (got = 0; got < limit;) {
        unsigned int read = 0;
        const auto want = static_cast<unsigned int>(std::min(limit - got, window));
        const HRESULT code = QORSysFRead(file, piece.get(), want, &read);
        if (code < 0) return code;
        take(std::string_view(piece.get(), read));
        got += read;
        CountRead(read);
        if (read < want) break;  // the end of the file
    }
    return S_OK;
}

// Opens the file, and reads at most limit bytes and never more than one
// past its reported size into take.
int ReadSome(const char* name, const QORSysPath& path, std::size_t limit,
             const std::function<void(std::string_view)>& take, std::size_t& got, unsigned int& size)
{
    QORSysFileDescriptor file;
    const HRESULT opened = QORSysFOpen(path, "rb", file, 0);
    if (opened < 0) return Trouble(name, "cannot open", opened);
    size = 0;
    got = 0;
    int status = kYes;
    const HRESULT sized = QORSysFSize(file, &size);
    if (sized < 0) {
        status = Trouble(name, "cannot size", sized);
    } else {
        try {
            const HRESULT read = ReadOpen(file, std::min<std::size_t>(limit, std::size_t{size} + 1), take, got);
            if (read < 0) status = Trouble(name, "cannot read", read);
        } catch (const std::bad_alloc&) {
            status = Trouble(name, "out of memory", QORSysResultFromErrno(ENOMEM));
        }
    }
    QORSysFClose(file);
    return status;
}

// Refuses a file that held more or fewer bytes than its reported size (a
// special file under /proc or /sys): the library goes by that size and
// would judge other bytes.
int RefuseOtherSize(const char* name, std::size_t got, unsigned int size)
{
    if (got > size) return Refused(name, "longer than its reported size (a special file): not checked");
    if (got < size) {
        const std::string why = "shorter than its reported size (" + std::to_string(got) + " of " +
                                std::to_string(size) + " bytes, a special file): not checked";
        return Refused(name, why.c_str());
    }
    return kYes;
}

}  // namespace

int ReadFile(const char* name, const QORSysPath& path, std::string* text, std::size_t limit, unsigned int& size)
{
    std::size_t got = 0;
    return ReadSome(
        name, path, limit,
        [&](std::string_view window) {
            if (text == nullptr) return;
            if (text->empty()) text->reserve(std::min<std::size_t>(limit, size));
            text->append(window);
        },
        got, size);
}

int ReadWhole(const char* name, const QORSysPath& path, std::string& text)
{
    unsigned int size = 0;
    if (ReadFile(name, path, &text, SIZE_MAX, size) != kYes) return kTrouble;
    return RefuseOtherSize(name, text.size(), size);
}

int ReadWindows(const char* name, const QORSysPath& path, const std::function<void(std::string_view)>& take)
{
    std::size_t got = 0;
    unsigned int size = 0;
    if (ReadSome(name, path, SIZE_MAX, take, got, size) != kYes) return kTrouble;
    return RefuseOtherSize(name, got, size);
}

std::size_t ReadWindow()
{
    static const std::size_t window = [] {
        const char* asked = std::getenv("KESTRUNE_READ_WINDOW");
        const unsigned long long bytes = asked != nullptr ? std::strtoull(asked, nullptr, 10) : 0;
        return bytes != 0 ? static_cast<std::size_t>(bytes) : std::size_t{1} << 20;
    }();
    return window;
}

}  // namespace kestrune_tool
