#include "Kestrune.h"

extern "C" int VANTORIC_TAVREN2_INTERNAL_Kestrune(void) { return 1; }
