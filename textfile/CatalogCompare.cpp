#include "CatalogTextCompare.h"
#include "QORSysTextFileUtilities.h"
#include "TextFileConstants.h"

namespace QORSysTextFileUtilities {

HRESULT CompareCatalogFiles(const QORSysPath& first, const QORSysPath& second)
{
    VELUnicodeString extension;
    if (first.GetExtension(extension) >= 0) {
        extension.ToLower();
        if (extension != CATALOG_EXTENSION) return E_FAIL;
    }
    // Two small windows that stay in the CPU's cache, refilled in place:
    // fresh memory for whole texts costs a page fault per page. 64 KiB ran
    // fastest on two 64 MiB files (the reads then pass the file services'
    // read-ahead; windows of 128 KiB and more, read straight, copy slower).
    constexpr std::size_t kWindow = std::size_t{64} * 1024;
    return CompareCatalogFileTexts(first, second, kWindow);
}

}  // namespace QORSysTextFileUtilities
