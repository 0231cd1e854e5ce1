#include "QORSysText.h"

#include <cstring>

VELUnicodeString::VELUnicodeString() = default;

VELUnicodeString::VELUnicodeString(const char* utf8) : value_(utf8 ? utf8 : "") {}

VELUnicodeString::VELUnicodeString(const VELUnicodeString& other) = default;

VELUnicodeString& VELUnicodeString::operator=(const VELUnicodeString& other) = default;

VELUnicodeString::~VELUnicodeString() = default;

const char* VELUnicodeString::ConvertToChar() const { return value_.c_str(); }

void VELUnicodeString::ToLower()
{
    for (char& c : value_) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

int VELUnicodeString::operator==(const char* text) const
{
    // Compare whole values: an embedded zero byte makes the string differ.
    return text != nullptr && value_.size() == std::strlen(text) && value_.compare(text) == 0;
}

int VELUnicodeString::operator!=(const char* text) const { return !(*this == text); }
