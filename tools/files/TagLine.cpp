#include "TagLine.h"

namespace kestrune_tool {

HRESULT WriteTagLine(QORSysFileDescriptor& file, const char* charset, const char* eol, std::string& line)
{
    HRESULT code = QORSysTextFileUtilities::WriteCatalogFileTag(file, charset, eol, 0);
    unsigned int size = 0;
    if (code >= 0) code = QORSysFSize(file, &size);
    if (code >= 0) code = QORSysFSeek(file, 0, 0);
    line.assign(size, '\0');
    unsigned int got = 0;
    if (code >= 0 && size > 0) code = QORSysFRead(file, &line[0], size, &got);
    if (code >= 0 && got != size) code = E_FAIL;
    return code;
}

}  // namespace kestrune_tool
