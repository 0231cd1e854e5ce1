#include "Json.h"

#include "QORSysText.h"

#include <cstdio>

namespace kestrune_tool {

namespace {

// Escapes what RFC 8259 requires inside a string: the quote, the backslash
// and the control characters.
void AppendEscaped(std::string& out, const char* text, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '"' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte == '\n') {
            out += "\\n";
        } else if (byte == '\r') {
            out += "\\r";
        } else if (byte == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else {
            out += static_cast<char>(byte);
        }
    }
}

}  // namespace

void JsonLine::Key(const char* key)
{
    if (line_.size() > 1) line_ += ',';
    line_ += '"';
    line_ += key;
    line_ += "\":";
}

JsonLine& JsonLine::Text(const char* key, const std::string& text)
{
    Key(key);
    line_ += '"';
    const char* rest = text.data();
    const char* const end = rest + text.size();
    bool replaced = false;
    for (;;) {
        const char* stop = rest;
        const bool valid = QORSysUCAlgorithm::IsUTF8(stop, static_cast<unsigned long long>(end - rest)) == 0;
        AppendEscaped(line_, rest, static_cast<std::size_t>((valid ? end : stop) - rest));
        if (valid) break;
        line_ += "\xEF\xBF\xBD";
        replaced = true;
        rest = stop + 1;
    }
    line_ += '"';
    if (!replaced) return *this;
    line_ += ",\"";
    line_ += key;
    line_ += "_hex\":\"";
    for (const char byte : text) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(byte));
        line_ += hex;
    }
    line_ += '"';
    return *this;
}

JsonLine& JsonLine::Text(const char* key, const char* text) { return Text(key, std::string(text)); }

JsonLine& JsonLine::Number(const char* key, unsigned long long number)
{
    Key(key);
    line_ += std::to_string(number);
    return *this;
}

JsonLine& JsonLine::Bool(const char* key, bool value)
{
    Key(key);
    line_ += value ? "true" : "false";
    return *this;
}

JsonLine& JsonLine::Null(const char* key)
{
    Key(key);
    line_ += "null";
    return *this;
}

JsonLine& JsonLine::TextList(const char* key, const std::vector<std::string>& texts)
{
    Key(key);
    line_ += '[';
    for (const std::string& text : texts) {
        line_ += line_.back() == '[' ? "\"" : ",\"";
        AppendEscaped(line_, text.data(), text.size());
        line_ += '"';
    }
    line_ += ']';
    return *this;
}

JsonLine& JsonLine::Raw(const char* key, const std::string& json)
{
    Key(key);
    line_ += json;
    return *this;
}

std::string JsonList(const std::vector<std::string>& values)
{
    std::string list = "[";
    for (const std::string& value : values) list += (list.size() > 1 ? "," : "") + value;
    return list + "]";
}

const char* JsonLine::End()
{
    line_ += '}';
    return line_.c_str();
}

}  // namespace kestrune_tool
