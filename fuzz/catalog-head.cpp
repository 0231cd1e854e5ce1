// DetectCatalogFileFormat on the input as a zero-terminated text against the
// model of a catalog's leading marks.
#include "FuzzSupport.h"
#include "VELGeneral.h"
#include "catalog-head-model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto bytes = fuzz::Copy(data, size, true);
    const char* text = bytes.get();
    int format = 0;
    const HRESULT result = DetectCatalogFileFormat(text, format);
    int modelFormat = 0;
    const std::size_t skip = ModelCatalogHead(bytes.get(), modelFormat);
    FUZZ_CHECK(result == S_OK && text == bytes.get() + skip && format == modelFormat,
               "library %d skip %td format %d, model skip %zu format %d", result, text - bytes.get(), format, skip,
               modelFormat);

    const char* none = nullptr;
    format = -1;
    FUZZ_CHECK(DetectCatalogFileFormat(none, format) < 0 && none == nullptr && format == -1, "null text accepted");
    return 0;
}
