#include "QORSysExeUtilities.h"
#include "VELGeneral.h"

namespace QORSysExeUtilities {

HRESULT GetAbsolutePath(const VELUnicodeString& path, QORSysPath& absolutePath)
{
    const VELUnicodeString text(path);
    QORSysPath resolved;
    if (resolved.Set(text) < 0) return E_FAIL;
    if (resolved.IsRelative() == 1) {
        VELUnicodeString absolute;
        if (VELGetAbsolutePath(&text, absolute) < 0) return E_FAIL;
        if (resolved.Set(absolute.ConvertToChar()) < 0) return E_FAIL;
    }
    absolutePath = resolved;
    return S_OK;
}

}  // namespace QORSysExeUtilities
