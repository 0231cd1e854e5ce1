/// @file
/// Text services: the string and path classes and the UTF-8 validator.
#ifndef KESTRUNE_QORSYSTEXT_H
#define KESTRUNE_QORSYSTEXT_H

#include "KestruneExport.h"
#include "QORSysResult.h"

#include <string>

/// A Unicode string with value semantics, held as UTF-8.
class QORSYS_TEXT_API VELUnicodeString {
public:
    VELUnicodeString();
    /// Takes a copy of the UTF-8 text; a null pointer gives an empty string.
    VELUnicodeString(const char* utf8);
    /// An independent copy.
    VELUnicodeString(const VELUnicodeString& other);
    /// Takes an independent copy of other's value.
    VELUnicodeString& operator=(const VELUnicodeString& other);
    ~VELUnicodeString();

    /// The value as zero-terminated UTF-8, valid while this string lives unchanged.
    const char* ConvertToChar() const;
    /// Lower-cases the ASCII letters A-Z in place; other characters stay as they are.
    void ToLower();
    /// Non-zero when the value differs from the narrow text (a null text differs from every value).
    int operator!=(const char* text) const;
    /// Non-zero when the value equals the narrow text.
    int operator==(const char* text) const;

private:
    std::string value_;
};

/// A file-system path with value semantics, held as the narrow text it was set from.
class QORSYS_TEXT_API QORSysPath {
public:
    QORSysPath();
    /// An equal path.
    QORSysPath(const QORSysPath& other);
    /// Makes this path equal to other.
    QORSysPath& operator=(const QORSysPath& other);
    virtual ~QORSysPath();

    /// Sets the path from its text. An empty text (or a null pointer) is
    /// refused with a negative code and leaves the path unchanged.
    HRESULT Set(const VELUnicodeString& text);
    /// The same from a narrow text.
    HRESULT Set(const char* text);

    /// 1 when the path does not start at a root, 0 when it does: "/" on POSIX;
    /// on Windows a drive with a separator ("C:\\", "C:/") or a UNC share
    /// ("\\\\server\\share"), while "\\x" and "C:x" are relative there.
    unsigned char IsRelative() const;
    /// Stores the last component's extension, without its dot. Negative when
    /// the last component has no dot, starts with its only dot (".profile")
    /// or ends with it, or when the path is empty.
    HRESULT GetExtension(VELUnicodeString& extension) const;
    /// The path's narrow text ("" for an empty path).
    const char* ConvertToChar() const;
    /// True when both paths hold the same text.
    bool operator==(const QORSysPath& other) const;

private:
    std::string text_;
};

namespace QORSysUCAlgorithm {
/// 0 when the length bytes at text are complete, valid UTF-8 (RFC 3629: no
/// overlong forms, no surrogates, nothing above U+10FFFF). Otherwise non-zero,
/// with text moved to the first byte of the first sequence that is invalid
/// or cut short by the end of the range.
QORSYS_TEXT_API int IsUTF8(const char*& text, unsigned long long length);
}  // namespace QORSysUCAlgorithm

#endif
