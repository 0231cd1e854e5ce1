#include "TextFileConstants.h"

namespace QORSysTextFileUtilities {

const char* const EOL_CRLF = "\r\n";
const char* const EOL_LF = "\n";
const char* const EOL_CR = "\r";

const unsigned char UTF8_BOM[UTF8_BOM_SIZE] = {0xEF, 0xBB, 0xBF};

const char* const CATALOG_EXTENSION = "velnls";

const char* const READ_MODE = "rb";

}  // namespace QORSysTextFileUtilities
