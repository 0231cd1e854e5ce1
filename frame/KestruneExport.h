// Marks the declarations that make up each library's ABI. ELF builds use
// hidden visibility by default and make these visible; Windows DLLs export
// them from the library that builds them (KESTRUNE_BUILDING_<LIBRARY>) and
// import them everywhere else, so one header serves both sides.
#ifndef KESTRUNE_KESTRUNEEXPORT_H
#define KESTRUNE_KESTRUNEEXPORT_H

#ifdef _WIN32
#define KESTRUNE_EXPORT_ __declspec(dllexport)
#define KESTRUNE_IMPORT_ __declspec(dllimport)
#else
#define KESTRUNE_EXPORT_ __attribute__((visibility("default")))
#define KESTRUNE_IMPORT_ __attribute__((visibility("default")))
#endif

#ifdef KESTRUNE_BUILDING_KESTRUNE
#define KESTRUNE_API KESTRUNE_EXPORT_
#else
#define KESTRUNE_API KESTRUNE_IMPORT_
#endif
#ifdef KESTRUNE_BUILDING_TEXT_SERVICES
#define QORSYS_TEXT_API KESTRUNE_EXPORT_
#else
#define QORSYS_TEXT_API KESTRUNE_IMPORT_
#endif
#ifdef KESTRUNE_BUILDING_FILE_SERVICES
#define QORSYS_FILE_API KESTRUNE_EXPORT_
#else
#define QORSYS_FILE_API KESTRUNE_IMPORT_
#endif
#ifdef KESTRUNE_BUILDING_GENERAL_SERVICES
#define VEL_GENERAL_API KESTRUNE_EXPORT_
#else
#define VEL_GENERAL_API KESTRUNE_IMPORT_
#endif

#endif
