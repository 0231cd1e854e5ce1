#include "FileText.h"

#include "Progress.h"
#include "Report.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <new>

namespace kestrune_tool {

namespace {

// Reads up to limit bytes from the open file into text (when not null). A
// read of a large piece goes straight to the system, past the file services'
// read-ahead: one read for a small file and one that finds its end.
HRESULT ReadOpen(QORSysFileDescriptor& file, std::string* text, std::size_t limit)
{
    constexpr std::size_t kPiece = std::size_t{256} * 1024;
    thread_local std::unique_ptr<char[]> piece(new char[kPiece]);
    for (std::size_t got = 0; got < limit;) {
        unsigned int read = 0;
        const auto want = static_cast<unsigned int>(std::min(limit - got, kPiece));
        const HRESULT code = QORSysFRead(file, piece.get(), want, &read);
        if (code < 0) return code;
        if (text != nullptr) text->append(piece.get(), read);
        got += read;
        CountRead(read);
        if (read < want) break;  // the end of the file
    }
    return S_OK;
}

}  // namespace

int ReadFile(const char* name, const QORSysPath& path, std::string* text, std::size_t limit, unsigned int& size)
{
    QORSysFileDescriptor file;
    const HRESULT opened = QORSysFOpen(path, "rb", file, 0);
    if (opened < 0) return Trouble(name, "cannot open", opened);
    size = 0;
    int status = kYes;
    const HRESULT sized = QORSysFSize(file, &size);
    if (sized < 0) {
        status = Trouble(name, "cannot size", sized);
    } else {
        try {
            if (text != nullptr) text->reserve(std::min<std::size_t>(limit, size));
            const HRESULT read = ReadOpen(file, text, std::min<std::size_t>(limit, std::size_t{size} + 1));
            if (read < 0) status = Trouble(name, "cannot read", read);
        } catch (const std::bad_alloc&) {
            status = Trouble(name, "out of memory", QORSysResultFromErrno(ENOMEM));
        }
    }
    QORSysFClose(file);
    return status;
}

int ReadWhole(const char* name, const QORSysPath& path, std::string& text)
{
    unsigned int size = 0;
    if (ReadFile(name, path, &text, SIZE_MAX, size) != kYes) return kTrouble;
    if (text.size() > size) return Refused(name, "longer than its reported size (a special file): not checked");
    if (text.size() < size) {
        const std::string why = "shorter than its reported size (" + std::to_string(text.size()) + " of " +
                                std::to_string(size) + " bytes, a special file): not checked";
        return Refused(name, why.c_str());
    }
    return kYes;
}

}  // namespace kestrune_tool
