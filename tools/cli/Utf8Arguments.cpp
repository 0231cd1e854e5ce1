#include "Utf8Arguments.h"

#include "WideText.h"
#include "Win32Api.h"

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#include <cstdio>
#include <string>
#include <vector>

namespace kestrune_tool {

void UseUtf8Arguments(int& argc, char**& argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return;
    // Kept for the rest of the run, like the arguments they replace.
    static std::vector<std::string> texts;
    static std::vector<char*> pointers;
    texts.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        if (QORSysWide::ToUtf8(wide[i], texts[static_cast<std::size_t>(i)]) < 0) {
            ::LocalFree(wide);
            return;
        }
    }
    ::LocalFree(wide);
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    argc = count;
    argv = pointers.data();
}

}  // namespace kestrune_tool
