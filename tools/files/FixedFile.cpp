#include "FixedFile.h"

namespace kestrune_tool {

namespace {

// Has the library write the tag line at the head of file and reads it back
// into line, which must then be TagLine's for charset and eol; the file is
// left at its start.
HRESULT WriteTagLine(QORSysFileDescriptor& file, const std::string& charset, const char* eol, std::string& line)
{
    HRESULT code = QORSysTextFileUtilities::WriteCatalogFileTag(file, charset.c_str(), eol, 0);
    unsigned int size = 0;
    if (code >= 0) code = QORSysFSize(file, &size);
    if (code >= 0) code = QORSysFSeek(file, 0, 0);
    line.assign(size, '\0');
    unsigned int got = 0;
    if (code >= 0 && size > 0) code = QORSysFRead(file, &line[0], size, &got);
    // The line the fix was planned with, or the plan judged other bytes.
    if (code >= 0 && (got != size || line != TagLine(charset, eol))) code = E_FAIL;
    return code >= 0 ? QORSysFSeek(file, 0, 0) : code;
}

}  // namespace

HRESULT WriteFixed(QORSysFileDescriptor& file, const std::string& text, const Policy& policy, const Findings& found)
{
    std::string line;
    HRESULT code = found.tag ? WriteTagLine(file, policy.tag, TagEol(text, policy), line) : S_OK;
    const std::string fixed = FixText(text, policy, found, line);
    // A kept body is written from the text itself, not copied first. One call
    // for each piece: the file services go on after a short write.
    const std::size_t body = KeepsBody(policy, found) ? text.size() - found.head.end : 0;
    if (code >= 0) code = QORSysFWrite(file, fixed.data(), static_cast<unsigned int>(fixed.size()), nullptr);
    if (code >= 0 && body > 0)
        code = QORSysFWrite(file, text.data() + found.head.end, static_cast<unsigned int>(body), nullptr);
    unsigned int end = 0;
    if (code >= 0) code = QORSysFTell(file, &end);
    return code >= 0 && end != fixed.size() + body ? E_FAIL : code;
}

}  // namespace kestrune_tool
