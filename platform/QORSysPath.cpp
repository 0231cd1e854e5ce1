#include "PathSyntax.h"
#include "QORSysText.h"

QORSysPath::QORSysPath() = default;

QORSysPath::QORSysPath(const QORSysPath& other) = default;

QORSysPath& QORSysPath::operator=(const QORSysPath& other) = default;

QORSysPath::~QORSysPath() = default;

HRESULT QORSysPath::Set(const VELUnicodeString& text) { return Set(text.ConvertToChar()); }

HRESULT QORSysPath::Set(const char* text)
{
    if (text == nullptr || *text == '\0') return QORSYS_E_INVALIDARG;
    text_ = text;
    return S_OK;
}

unsigned char QORSysPath::IsRelative() const { return QORSysPathSyntax::RootLength(text_) == 0 ? 1 : 0; }

HRESULT QORSysPath::GetExtension(VELUnicodeString& extension) const
{
    const std::size_t nameStart = QORSysPathSyntax::NameStart(text_);
    const std::size_t dot = text_.rfind('.');
    if (dot == std::string::npos || dot <= nameStart || dot + 1 == text_.size()) return E_FAIL;
    extension = VELUnicodeString(text_.c_str() + dot + 1);
    return S_OK;
}

const char* QORSysPath::ConvertToChar() const { return text_.c_str(); }

bool QORSysPath::operator==(const QORSysPath& other) const { return text_ == other.text_; }
