// kestrune-example FILE...
//
// Prints, for each file, its end-of-line convention, whether it starts with
// a UTF-8 byte-order mark and whether it is valid UTF-8; then, for each pair,
// whether the two hold the same catalog text. Exits 1 when any call failed.
#include <Kestrune/QORSysTextFileUtilities.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

using namespace QORSysTextFileUtilities;

namespace {

unsigned int Hex(HRESULT code) { return static_cast<unsigned int>(code); }

std::string BaseName(const char* path)
{
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

const char* EolName(HRESULT found, const char* eol)
{
    if (found != S_OK) return "none found (default CRLF)";
    if (std::strcmp(eol, "\r\n") == 0) return "CRLF";
    if (std::strcmp(eol, "\n") == 0) return "LF";
    return "CR";
}

// Prints one file's line; false when something about it could not be found out.
bool Describe(const std::string& name, const QORSysPath& path)
{
    QORSysFileDescriptor file;
    HRESULT code = QORSysFOpen(path, "rb", file, 0);
    if (code < 0) {
        std::fprintf(stderr, "%s: cannot open (0x%08X)\n", name.c_str(), Hex(code));
        return false;
    }
    const char* eol = nullptr;
    const HRESULT eolFound = DetectFileEOL(file, eol, 1);
    const HRESULT bom = DetectUnicodeBOM(file, 1);
    unsigned int size = 0;
    const HRESULT sized = QORSysFSize(file, &size);
    QORSysFClose(file);
    // A file shorter than the mark itself simply has none.
    const bool tooShortForMark = bom == E_FAIL && sized >= 0 && size < 3;
    if (bom < 0 && !tooShortForMark) {
        std::fprintf(stderr, "%s: byte-order mark check failed (0x%08X)\n", name.c_str(), Hex(bom));
        return false;
    }

    int format = 0;
    code = DetectFileFormatDeep(path, format);
    if (code < 0) {
        std::fprintf(stderr, "%s: cannot read (0x%08X)\n", name.c_str(), Hex(code));
        return false;
    }

    std::printf("%s: end of line %s, byte-order mark %s, valid UTF-8 %s\n", name.c_str(), EolName(eolFound, eol),
                bom == S_OK ? "yes" : "no", format == 2 ? "yes" : "no");
    return true;
}

// Prints one pair's line; false when the comparison failed.
bool Compare(const std::string& firstName, const QORSysPath& first, const std::string& secondName,
             const QORSysPath& second)
{
    HRESULT code = E_FAIL;
    try {
        code = CompareCatalogFiles(first, second);
    } catch (const std::bad_alloc&) {
        // Both files are read whole into memory.
        std::fprintf(stderr, "%s vs %s: out of memory\n", firstName.c_str(), secondName.c_str());
    }
    std::printf("%s vs %s: ", firstName.c_str(), secondName.c_str());
    if (code < 0) {
        std::printf("error 0x%08X\n", Hex(code));
        return false;
    }
    std::printf("%s\n", code == S_OK ? "same" : "different");
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrune-example FILE...\n");
        return 1;
    }

    std::vector<std::string> names;
    std::vector<QORSysPath> paths;
    for (int i = 1; i < argc; ++i) {
        QORSysPath path;
        const HRESULT code = path.Set(argv[i]);
        if (code < 0) {
            std::fprintf(stderr, "'%s': not a usable path (0x%08X)\n", argv[i], Hex(code));
            return 1;
        }
        names.push_back(BaseName(argv[i]));
        paths.push_back(path);
    }

    bool ok = true;
    for (std::size_t i = 0; i < paths.size(); ++i) ok = Describe(names[i], paths[i]) && ok;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        for (std::size_t j = i + 1; j < paths.size(); ++j) ok = Compare(names[i], paths[i], names[j], paths[j]) && ok;
    }
    return ok ? 0 : 1;
}
