// What a command finds in a file, one record each, and a file's result:
// the records with the command's own answer. Commands fill them; the
// reporters write them in each output format.
#ifndef KESTRUNE_TOOL_FINDING_H
#define KESTRUNE_TOOL_FINDING_H

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kestrune_tool {

// Error: the file fails the command (breaks a rule, or answers no); note: it
// passes, and the record only tells.
enum class Severity { kError, kNote };

struct Finding {
    std::string file;
    std::string rule;  // a stable id: "end_of_line", "utf8", "eol", ...
    Severity severity = Severity::kError;
    std::size_t line = 0;             // from 1; 0 when the finding has no line
    std::size_t column = 0;           // in characters, from 1; 0 when it has none
    std::optional<std::size_t> byte;  // offset from the start of the file
    std::string expected;             // what the rule wants; empty when not told
    std::string found;                // what the file holds instead; empty when not told
    bool fixable = false;             // kestrune fix mends it; in fix's result, mended it (a note once written)
    std::string repair;               // the command that mends it; empty when there is none
    std::string message;
};

// A JSON field of a result besides its findings, as the command has always given it.
struct Field {
    enum Kind { kText, kBool, kNumber, kNull, kTextList };
    std::string key;
    Kind kind = kText;
    std::string text;
    std::vector<std::string> texts;  // for kTextList
    unsigned long long number = 0;   // for kBool, 0 or 1
};

struct Result {
    enum Outcome { kJudged, kNoRule, kSkipped, kTrouble };
    enum Action { kNone, kFixed, kWouldFix };

    std::string subject;  // the file, or what the text form names ("FIRST vs SECOND")
    std::vector<Field> fields;
    std::vector<Finding> findings;
    Outcome outcome = kJudged;
    Action action = kNone;
    std::string answer;  // the text form's words, where they are not the findings' messages

    Result& Text(const char* key, std::string text) { return Add(key, Field::kText, std::move(text), 0); }
    Result& Bool(const char* key, bool value) { return Add(key, Field::kBool, {}, value ? 1 : 0); }
    Result& Number(const char* key, unsigned long long number) { return Add(key, Field::kNumber, {}, number); }
    Result& Null(const char* key) { return Add(key, Field::kNull, {}, 0); }
    Result& TextList(const char* key, std::vector<std::string> texts)
    {
        Add(key, Field::kTextList, {}, 0);
        fields.back().texts = std::move(texts);
        return *this;
    }
    // A text field, or null when text is.
    Result& TextOrNull(const char* key, const char* text) { return text != nullptr ? Text(key, text) : Null(key); }

private:
    Result& Add(const char* key, Field::Kind kind, std::string text, unsigned long long number)
    {
        fields.push_back({key, kind, std::move(text), {}, number});
        return *this;
    }
};

// A result about file with one finding: an answer, or what a command did.
// It stands at the start of the file, as an answer about the whole file.
inline Result Answered(const std::string& file, const char* rule, Severity severity, std::string message)
{
    Result result;
    result.subject = file;
    Finding finding;
    finding.file = file;
    finding.rule = rule;
    finding.severity = severity;
    finding.line = finding.column = 1;
    finding.byte = 0;
    finding.message = std::move(message);
    result.findings.push_back(std::move(finding));
    return result;
}

}  // namespace kestrune_tool

#endif
