// One table of results, each written by every reporter: the text lines
// scripts read, compiler diagnostics and GitHub's workflow commands by hand,
// and the places, escapes and rule index that JSON and SARIF must carry.
#include "Reporter.h"

#include <gtest/gtest.h>

using namespace kestrune_tool;

namespace {

Finding Made(const char* file, const char* rule, Severity severity, std::size_t line, std::size_t column, bool fixable,
             const char* repair, const char* message)
{
    Finding finding;
    finding.file = file;
    finding.rule = rule;
    finding.severity = severity;
    finding.line = line;
    finding.column = column;
    if (column != 0) finding.byte = column - 1;
    finding.fixable = fixable;
    finding.repair = repair;
    finding.message = message;
    return finding;
}

Result Of(const char* subject, Result::Action action, std::vector<Finding> findings, const char* answer = "")
{
    Result result;
    result.subject = subject;
    result.action = action;
    result.findings = std::move(findings);
    result.answer = answer;
    result.Text("file", subject);
    return result;
}

const Severity E = Severity::kError;
const Severity N = Severity::kNote;

std::string Written(Format format, const Result& result)
{
    std::string out;
    const std::unique_ptr<Reporter> reporter = MakeReporter(format);
    reporter->Write(result, out);
    reporter->Close(out);
    return out;
}

TEST(Reporters, EveryFormatOfOneTable)
{
    const struct {
        Result result;
        const char *text, *gcc, *github;
    } rows[] = {
        {Of("a.velnls", Result::kNone,
            {Made("a.velnls", "end_of_line", E, 3, 0, true, "kestrune fix", "line 3 ends in CRLF, not LF"),
             Made("a.velnls", "utf8", E, 2, 4, false, "kestrune fix --to-utf8 --from CHARSET", "invalid UTF-8 at E9")}),
         "a.velnls: line 3 ends in CRLF, not LF; invalid UTF-8 at E9\n",
         "a.velnls:3: error: line 3 ends in CRLF, not LF (repair: kestrune fix) [end_of_line]\n"
         "a.velnls:2:4: error: invalid UTF-8 at E9 (repair: kestrune fix --to-utf8 --from CHARSET) [utf8]\n",
         "::error file=a.velnls,line=3,title=end_of_line::line 3 ends in CRLF, not LF (repair: kestrune fix)\n"
         "::error file=a.velnls,line=2,col=4,title=utf8::invalid UTF-8 at E9 (repair: kestrune fix --to-utf8 --from "
         "CHARSET)\n"},
        {Of("b", Result::kFixed,
            {Made("b", "final_newline", N, 5, 2, true, "kestrune fix", "no final newline"),
             Made("b", "charset", E, 1, 1, false, "",
                  "tag says X, invalid at 80; kestrune fix --to-utf8 converts it")}),
         "b: fixed: no final newline; not fixable: tag says X, invalid at 80; kestrune fix --to-utf8 converts it\n",
         "b:5:2: note: fixed: no final newline [final_newline]\n"
         "b:1:1: error: tag says X, invalid at 80; kestrune fix --to-utf8 converts it [charset]\n",
         "::notice file=b,line=5,col=2,title=final_newline::fixed: no final newline\n"
         "::error file=b,line=1,col=1,title=charset::tag says X, invalid at 80; kestrune fix --to-utf8 converts it\n"},
        {Of("c", Result::kWouldFix, {Made("c", "bom", E, 1, 1, true, "kestrune fix", "no byte-order mark")}),
         "c: would fix: no byte-order mark\n", "c:1:1: error: no byte-order mark (repair: kestrune fix) [bom]\n",
         "::error file=c,line=1,col=1,title=bom::no byte-order mark (repair: kestrune fix)\n"},
        // No place: the file alone, as gcc does. GitHub's escapes, in properties and in the message.
        {Of("d,1:%.velnls", Result::kNone, {Made("d,1:%.velnls", "r:1,2", E, 0, 0, false, "", "50%\r\nof it")}),
         "d,1:%.velnls: 50%\r\nof it\n", "d,1:%.velnls: error: 50%\r\nof it [r:1,2]\n",
         "::error file=d%2C1%3A%25.velnls,title=r%3A1%2C2::50%25%0D%0Aof it\n"},
        {Of("e", Result::kNone, {Made("e", "bom", N, 1, 1, false, "", "starts with a mark")}, "yes"), "e: yes\n",
         "e:1:1: note: starts with a mark [bom]\n", "::notice file=e,line=1,col=1,title=bom::starts with a mark\n"},
        {Of("f", Result::kNone, {}), "", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.result.subject);
        EXPECT_EQ(Written(Format::kText, row.result), row.text);
        EXPECT_EQ(Written(Format::kGcc, row.result), row.gcc);
        EXPECT_EQ(Written(Format::kGithub, row.result), row.github);
    }
    // JSON: the fields, then each record; what it does not tell is null.
    EXPECT_EQ(Written(Format::kJson, rows[1].result),
              R"({"file":"b","findings":[{"rule":"final_newline","severity":"note","line":5,"column":2,"byte":1,)"
              R"("expected":null,"found":null,"fixable":true,"repair":"kestrune fix","message":"no final newline"},)"
              R"({"rule":"charset","severity":"error","line":1,"column":1,"byte":0,"expected":null,"found":null,)"
              R"("fixable":false,"repair":null,"message":"tag says X, invalid at 80; kestrune fix --to-utf8 )"
              R"(converts it"}]})"
              "\n");
    EXPECT_NE(Written(Format::kJson, rows[3].result).find(R"("line":null,"column":null,"byte":null)"),
              std::string::npos);
    // SARIF: rules by first use, percent-encoded relative URIs against %SRCROOT%, absolute names as file: URIs.
    Result mixed = rows[0].result;
    mixed.findings.push_back(rows[3].result.findings[0]);
#ifdef _WIN32
    const char *absolute = "C:\\tmp\\x y", *uri = R"("uri":"file:///C:/tmp/x%20y"})";
#else
    const char *absolute = "/tmp/x y", *uri = R"("uri":"file:///tmp/x%20y"})";
#endif
    mixed.findings.push_back(Made(absolute, "utf8", E, 0, 0, false, "", "m"));
    const std::string log = Written(Format::kSarif, mixed);
    for (const char* part :
         {R"("rules":[{"id":"end_of_line",)", R"({"id":"utf8",)", R"({"id":"r:1,2",)",
          R"("ruleId":"utf8","ruleIndex":1,)", R"("uri":"d%2C1%3A%25.velnls","uriBaseId":"%SRCROOT%")", uri,
          R"("region":{"startLine":2,"startColumn":4,"byteOffset":3})", R"("text":"m."})"}) {
        EXPECT_NE(log.find(part), std::string::npos) << part;
    }
}

}  // namespace
