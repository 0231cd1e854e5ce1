#include "CatalogTextCompare.h"

#include "OwnedFile.h"
#include "VELGeneral.h"

#include <algorithm>
#include <vector>

namespace QORSysTextFileUtilities {

namespace {

// A text held whole: one window.
struct WholeText {
    const char* at;
    const char* end;
    static bool Fill() { return false; }
};

// A file's text, read a window at a time into one buffer, reused; reading
// stops at the size the file had when opened.
class FileText {
public:
    const char* at = nullptr;
    const char* end = nullptr;

    explicit FileText(std::size_t window) : window_(window < 1 ? 1 : window) {}

    bool Open(const QORSysPath& path)
    {
        if (file_.Open(path) < 0) return false;
        if (QORSysFSize(file_.Descriptor(), &size_) < 0) size_ = 0;  // counts as empty
        return true;
    }

    // Reads the first window, grown until it holds the head's line whole (up
    // to its first CR, LF or zero byte and the byte after it), and steps past
    // the head. Throws std::bad_alloc.
    void ReadHead()
    {
        Grow(window_);
        std::size_t filled = Read(0, window_), searched = 0;
        for (;;) {
            const char* from = buffer_.data() + searched;
            const char* stop = std::find_if(from, static_cast<const char*>(buffer_.data() + filled),
                                            [](char byte) { return byte == '\r' || byte == '\n' || byte == '\0'; });
            searched = static_cast<std::size_t>(stop - buffer_.data());
            if (ended_ || searched + 2 <= filled) break;
            Grow(capacity_ * 2);
            filled += Read(filled, capacity_ - filled);
        }
        at = buffer_.data();
        end = at + filled;
        int format = 0;
        DetectCatalogFileFormat(at, format);
    }

    bool Fill()
    {
        if (ended_) return false;  // at == end still, at its zero byte
        const std::size_t got = Read(0, window_);
        at = buffer_.data();
        end = at + got;
        return got > 0;
    }

    // Reads what is left, so that a failure anywhere shows; E_FAIL for one.
    HRESULT Finish()
    {
        while (Fill()) at = end;
        file_.Close();
        return failed_ ? E_FAIL : S_OK;
    }

private:
    // A buffer of capacity bytes and its zero, holding what the old one did.
    void Grow(std::size_t capacity)
    {
        buffer_.resize(capacity + 1);
        capacity_ = capacity;
    }

    // Reads up to count bytes to offset from of the buffer, never past the
    // size; a short read or a failure ends the text.
    std::size_t Read(std::size_t from, std::size_t count)
    {
        const auto want = static_cast<unsigned int>(std::min<std::size_t>(count, size_ - read_));
        unsigned int got = 0;
        if (want > 0 && QORSysFRead(file_.Descriptor(), buffer_.data() + from, want, &got) < 0) failed_ = true;
        got = std::min(got, want);
        read_ += got;
        ended_ = failed_ || got < want || read_ == size_;
        buffer_[from + got] = '\0';
        return got;
    }

    OwnedFile file_;
    std::size_t window_;
    std::vector<char> buffer_;
    std::size_t capacity_ = 0;
    unsigned int size_ = 0, read_ = 0;
    bool ended_ = false, failed_ = false;
};

}  // namespace

HRESULT CompareCatalogTexts(const char* second, const char* secondEnd, const char* first, const char* firstEnd)
{
    WholeText a{second, secondEnd}, b{first, firstEnd};
    return CompareCatalogTexts(a, b);
}

HRESULT CompareCatalogFileTexts(const QORSysPath& first, const QORSysPath& second, std::size_t window)
{
    FileText a(window), b(window);
    if (!a.Open(second) || !b.Open(first)) return E_FAIL;
    a.ReadHead();
    b.ReadHead();
    const HRESULT verdict = CompareCatalogTexts(a, b);
    const HRESULT secondRead = a.Finish(), firstRead = b.Finish();
    return secondRead < 0 || firstRead < 0 ? E_FAIL : verdict;
}

}  // namespace QORSysTextFileUtilities
