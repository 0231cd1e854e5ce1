#include "Charsets.h"

#include <cstring>

namespace kestrune_tool {

namespace {

const Charset kCharsets[] = {
    {"US-ASCII", "iso-ir-6 ANSI_X3.4-1968 ANSI_X3.4-1986 ISO_646.irv:1991 ISO646-US us IBM367 cp367 csASCII ASCII",
     Form::Ascii, 20127},
    {"UTF-8", "csUTF8 utf8", Form::Utf8, 65001},
    {"ISO-8859-1", "ISO_8859-1:1987 iso-ir-100 ISO_8859-1 latin1 l1 IBM819 CP819 csISOLatin1", Form::SingleByte, 28591},
    {"ISO-8859-2", "ISO_8859-2:1987 iso-ir-101 ISO_8859-2 latin2 l2 csISOLatin2", Form::SingleByte, 28592},
    {"ISO-8859-3", "ISO_8859-3:1988 iso-ir-109 ISO_8859-3 latin3 l3 csISOLatin3", Form::SingleByte, 28593},
    {"ISO-8859-4", "ISO_8859-4:1988 iso-ir-110 ISO_8859-4 latin4 l4 csISOLatin4", Form::SingleByte, 28594},
    {"ISO-8859-5", "ISO_8859-5:1988 iso-ir-144 ISO_8859-5 cyrillic csISOLatinCyrillic", Form::SingleByte, 28595},
    {"ISO-8859-6", "ISO_8859-6:1987 iso-ir-127 ISO_8859-6 ECMA-114 ASMO-708 arabic csISOLatinArabic", Form::SingleByte,
     28596},
    {"ISO-8859-7", "ISO_8859-7:1987 iso-ir-126 ISO_8859-7 ELOT_928 ECMA-118 greek greek8 csISOLatinGreek",
     Form::SingleByte, 28597},
    {"ISO-8859-8", "ISO_8859-8:1988 iso-ir-138 ISO_8859-8 hebrew csISOLatinHebrew", Form::SingleByte, 28598},
    {"ISO-8859-9", "ISO_8859-9:1989 iso-ir-148 ISO_8859-9 latin5 l5 csISOLatin5", Form::SingleByte, 28599},
    {"ISO-8859-10", "iso-ir-157 l6 ISO_8859-10:1992 csISOLatin6 latin6", Form::SingleByte, 0},
    {"ISO-8859-11", "TIS-620 csTIS620", Form::SingleByte, 0},  // Windows has only its superset, 874
    {"ISO-8859-13", "csISO885913", Form::SingleByte, 28603},
    {"ISO-8859-14", "iso-ir-199 ISO_8859-14:1998 ISO_8859-14 latin8 iso-celtic l8 csISO885914", Form::SingleByte, 0},
    {"ISO-8859-15", "ISO_8859-15 Latin-9 csISO885915", Form::SingleByte, 28605},
    {"windows-1250", "cswindows1250 cp1250", Form::SingleByte, 1250},
    {"windows-1251", "cswindows1251 cp1251", Form::SingleByte, 1251},
    {"windows-1252", "cswindows1252 cp1252", Form::SingleByte, 1252},
    {"windows-1253", "cswindows1253 cp1253", Form::SingleByte, 1253},
    {"windows-1254", "cswindows1254 cp1254", Form::SingleByte, 1254},
    {"windows-1255", "cswindows1255 cp1255", Form::SingleByte, 1255},
    {"windows-1256", "cswindows1256 cp1256", Form::SingleByte, 1256},
    {"windows-1257", "cswindows1257 cp1257", Form::SingleByte, 1257},
    {"windows-1258", "cswindows1258 cp1258", Form::SingleByte, 1258},
    {"KOI8-R", "csKOI8R", Form::SingleByte, 20866},
    {"Shift_JIS", "MS_Kanji csShiftJIS sjis", Form::MultiByte, 932},
    {"EUC-JP", "Extended_UNIX_Code_Packed_Format_for_Japanese csEUCPkdFmtJapanese", Form::MultiByte, 20932},
    {"GBK", "CP936 MS936 windows-936 csGBK", Form::MultiByte, 936},
    {"GB18030", "csGB18030", Form::MultiByte, 54936},
    {"Big5", "csBig5", Form::MultiByte, 950},
    {"EUC-KR", "csEUCKR", Form::MultiByte, 949},  // Windows reads it as its superset, 949
    {"UTF-16LE", "csUTF16LE", Form::Utf16Le, 1200},
    {"UTF-16BE", "csUTF16BE", Form::Utf16Be, 1201},
    {nullptr, nullptr, Form::Ascii, 0},
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const char* word, std::size_t length, const std::string& name)
{
    if (length != name.size()) return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (Lower(word[i]) != Lower(name[i])) return false;
    }
    return true;
}

}  // namespace

const Charset* FindCharset(const std::string& name)
{
    for (const Charset* charset = kCharsets; charset->name != nullptr; ++charset) {
        if (SameName(charset->name, std::strlen(charset->name), name)) return charset;
        for (const char* alias = charset->aliases; *alias != '\0';) {
            const std::size_t length = std::strcspn(alias, " ");
            if (SameName(alias, length, name)) return charset;
            alias += length + (alias[length] == ' ');
        }
    }
    return nullptr;
}

const Charset* AllCharsets() { return kCharsets; }

}  // namespace kestrune_tool
