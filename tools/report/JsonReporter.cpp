// JSON Lines: one object per file, with the fields its command has always
// given, then "findings": a list of records. Numbers are numbers; what a
// record does not tell is null.
#include "Json.h"
#include "Reporter.h"

namespace kestrune_tool {

namespace {

void Put(JsonLine& json, const char* key, std::size_t number)
{
    if (number != 0)
        json.Number(key, number);
    else
        json.Null(key);
}

void Put(JsonLine& json, const char* key, const std::string& text)
{
    if (!text.empty())
        json.Text(key, text);
    else
        json.Null(key);
}

std::string Record(const Finding& finding)
{
    JsonLine json;
    json.Text("rule", finding.rule).Text("severity", SeverityName(finding.severity));
    Put(json, "line", finding.line);
    Put(json, "column", finding.column);
    if (finding.byte)
        json.Number("byte", *finding.byte);
    else
        json.Null("byte");
    Put(json, "expected", finding.expected);
    Put(json, "found", finding.found);
    json.Bool("fixable", finding.fixable);
    Put(json, "repair", finding.repair);
    return json.Text("message", finding.message).End();
}

class JsonReporter : public Reporter {
public:
    void Write(const Result& result, std::string& out) override
    {
        if (result.outcome == Result::kSkipped || result.outcome == Result::kTrouble) return;
        JsonLine json;
        for (const Field& field : result.fields) {
            const char* key = field.key.c_str();
            switch (field.kind) {
                case Field::kText: json.Text(key, field.text); break;
                case Field::kBool: json.Bool(key, field.number != 0); break;
                case Field::kNumber: json.Number(key, field.number); break;
                case Field::kNull: json.Null(key); break;
                case Field::kTextList: json.TextList(key, field.texts); break;
            }
        }
        std::vector<std::string> records;
        for (const Finding& finding : result.findings) records.push_back(Record(finding));
        out += json.Raw("findings", JsonList(records)).End();
        out += '\n';
    }
};

}  // namespace

std::unique_ptr<Reporter> MakeJsonReporter() { return std::make_unique<JsonReporter>(); }

}  // namespace kestrune_tool
