// One JSON object on one line (JSON Lines), written field by field.
#ifndef KESTRUNE_TOOL_JSON_H
#define KESTRUNE_TOOL_JSON_H

#include <string>
#include <vector>

namespace kestrune_tool {

// A JSON list of values written already, "[a,b]".
std::string JsonList(const std::vector<std::string>& values);

class JsonLine {
public:
    // "key": the text as a JSON string. Bytes that are not UTF-8 stand as
    // U+FFFD there, and then "key_hex" holds every byte of the text in hex,
    // so that a file name is never lost.
    JsonLine& Text(const char* key, const char* text);
    JsonLine& Text(const char* key, const std::string& text);
    JsonLine& Number(const char* key, unsigned long long number);
    JsonLine& Bool(const char* key, bool value);
    JsonLine& Null(const char* key);
    // "key": a list of the texts as JSON strings, [] for none.
    JsonLine& TextList(const char* key, const std::vector<std::string>& texts);
    // "key": json, a value written already (an object, a list).
    JsonLine& Raw(const char* key, const std::string& json);
    // The object, closed.
    const char* End();

private:
    void Key(const char* key);
    std::string line_ = "{";
};

}  // namespace kestrune_tool

#endif
