// Symbol visibility for exported functions. Libraries here build with hidden
// visibility by default; this marks the declarations that make up an ABI.
#ifndef KESTRUNE_KESTRUNEEXPORT_H
#define KESTRUNE_KESTRUNEEXPORT_H

#define KESTRUNE_API __attribute__((visibility("default")))

#endif
