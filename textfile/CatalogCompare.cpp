#include "CatalogTextCompare.h"
#include "OwnedFile.h"
#include "QORSysTextFileUtilities.h"
#include "TextFileConstants.h"
#include "VELGeneral.h"

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif
#include <cstddef>
#include <memory>
#include <new>

namespace QORSysTextFileUtilities {

namespace {

// Releases a text with the alignment it was obtained with.
struct FreeText {
    std::align_val_t alignment;
    void operator()(char* text) const { ::operator delete(text, alignment); }
};

// Memory for a text of size bytes. Texts too large for the allocator to keep
// and reuse come fresh from the system each time; they get 2 MiB-aligned
// memory in whole 2 MiB pages with huge pages advised, since touching fresh
// 4 KiB pages one by one is what costs most in reading a big file. Failure
// throws std::bad_alloc.
std::unique_ptr<char[], FreeText> AllocateText(std::size_t size)
{
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    constexpr std::size_t kAlwaysFresh = std::size_t{32} << 20;  // the allocator's largest reuse size
    if (size < kAlwaysFresh) {
        const std::align_val_t alignment{alignof(std::max_align_t)};
        return {static_cast<char*>(::operator new(size, alignment)), FreeText{alignment}};
    }
    const std::size_t rounded = (size + kHugePage - 1) & ~(kHugePage - 1);
    void* text = ::operator new (rounded, std::align_val_t{kHugePage});
#ifdef MADV_HUGEPAGE
    ::madvise(text, rounded, MADV_HUGEPAGE);  // only advice
#endif
    return {static_cast<char*>(text), FreeText{std::align_val_t{kHugePage}}};
}

// A catalog file's text, read whole, with a zero byte after it.
struct CatalogText {
    std::unique_ptr<char[], FreeText> buffer{nullptr, FreeText{}};
    unsigned int length = 0;

    const char* Begin() const { return buffer.get(); }
    const char* End() const { return buffer.get() + length; }
};

// Reads path whole into text; E_FAIL when it cannot be opened or read. The
// file is closed before this returns, also when the buffer cannot be had.
HRESULT ReadWhole(const QORSysPath& path, CatalogText& text)
{
    OwnedFile file;
    if (file.Open(path) < 0) return E_FAIL;
    unsigned int size = 0;
    if (QORSysFSize(file.Descriptor(), &size) < 0) size = 0;  // counts as empty
    text.buffer = AllocateText(static_cast<std::size_t>(size) + 1);
    unsigned int got = 0;
    const HRESULT read = QORSysFRead(file.Descriptor(), text.buffer.get(), size, &got);
    file.Close();
    if (read < 0) return E_FAIL;
    if (got > size) got = size;
    text.buffer[size] = '\0';
    text.buffer[got] = '\0';  // a file that shrank ends where reading stopped
    text.length = got;
    return S_OK;
}

}  // namespace

HRESULT CompareCatalogFiles(const QORSysPath& first, const QORSysPath& second)
{
    VELUnicodeString extension;
    if (first.GetExtension(extension) >= 0) {
        extension.ToLower();
        if (extension != CATALOG_EXTENSION) return E_FAIL;
    }

    CatalogText secondText;
    if (ReadWhole(second, secondText) < 0) return E_FAIL;
    CatalogText firstText;
    if (ReadWhole(first, firstText) < 0) return E_FAIL;

    const char* a = secondText.Begin();
    const char* b = firstText.Begin();
    int format = 0;
    DetectCatalogFileFormat(a, format);
    DetectCatalogFileFormat(b, format);

    // Bounded by the second text alone: what the first holds beyond it is not looked at.
    return CompareCatalogTexts(a, secondText.End(), b, firstText.End());
}

}  // namespace QORSysTextFileUtilities
