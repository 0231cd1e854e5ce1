// QORSysPath::Set, IsRelative and GetExtension against the documented rules.
// The input's zero bytes split it into texts set one after another on the
// same path, so an empty text (refused, path unchanged) follows others.
#include "FuzzSupport.h"
#include "QORSysText.h"

namespace {

// Text after the last dot of the last component; false when that component
// has no dot, starts with its only dot, or ends with its last one.
bool ModelExtension(const std::string& path, std::string& extension)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return false;
    extension = name.substr(dot + 1);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto bytes = fuzz::Copy(data, size, true);
    QORSysPath path;
    std::string model;  // the path's text as the rules say it should be
    for (const char* text = bytes.get(); text <= bytes.get() + size; text += std::strlen(text) + 1) {
        const HRESULT set = path.Set(text);
        FUZZ_CHECK((set < 0) == (*text == '\0'), "Set(%s): library %d", fuzz::Hex(text).c_str(), set);
        if (*text != '\0') model = text;
        FUZZ_CHECK(model == path.ConvertToChar(), "text: library %s, model %s", fuzz::Hex(path.ConvertToChar()).c_str(),
                   fuzz::Hex(model).c_str());

        const unsigned char relative = model.empty() || model[0] != '/' ? 1 : 0;
        FUZZ_CHECK(path.IsRelative() == relative, "IsRelative(%s): library %d, model %d", fuzz::Hex(model).c_str(),
                   path.IsRelative(), relative);

        VELUnicodeString extension;
        std::string expected;
        const bool has = ModelExtension(model, expected);
        const HRESULT got = path.GetExtension(extension);
        FUZZ_CHECK((got >= 0) == has && (!has || expected == extension.ConvertToChar()),
                   "GetExtension(%s): library %d %s, model %s", fuzz::Hex(model).c_str(), got,
                   fuzz::Hex(extension.ConvertToChar()).c_str(), has ? fuzz::Hex(expected).c_str() : "none");
    }
    return 0;
}
