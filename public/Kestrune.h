/// @file
/// Kestrune module marker.
#ifndef KESTRUNE_KESTRUNE_H
#define KESTRUNE_KESTRUNE_H

#include "KestruneExport.h"

#ifdef __cplusplus
extern "C" {
#endif

/// Marks the module for the suite's loader: does nothing.
/// @return 1.
KESTRUNE_API int VANTORIC_TAVREN2_INTERNAL_Kestrune(void);

#ifdef __cplusplus
}
#endif

#endif
