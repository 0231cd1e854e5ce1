// The comparison at the heart of CompareCatalogFiles, on texts in memory.
#ifndef KESTRUNE_CATALOGTEXTCOMPARE_H
#define KESTRUNE_CATALOGTEXTCOMPARE_H

#include "QORSysResult.h"

namespace QORSysTextFileUtilities {

// Compares the second file's text [second, secondEnd) with the first's
// [first, firstEnd), each followed by a zero byte in its buffer, leaving out
// every CR and LF, until the second text is used up: S_OK when it matched,
// S_FALSE at the first difference. Neither cursor passes its text's zero.
HRESULT CompareCatalogTexts(const char* second, const char* secondEnd, const char* first, const char* firstEnd);

}  // namespace QORSysTextFileUtilities

#endif
