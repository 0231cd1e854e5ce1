// kestrune.1: the help texts set as a manual page, printed by --man at build time.
#include "Commands.h"
#include "Help.h"
#include "Report.h"

#include <string>

namespace kestrune_tool {

namespace {

// The text as it stands, line for line, with roff's special characters escaped.
std::string Verbatim(const std::string& text)
{
    std::string page = ".nf\n";
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\'')) page += "\\&";
        if (c == '\\')
            page += "\\e";
        else if (c == '-')
            page += "\\-";
        else
            page += c;
        lineStart = c == '\n';
    }
    return page + ".fi\n";
}

// The text's first line without its "Usage: ", and the rest after it.
std::string UsageLine(const std::string& text, std::string* rest = nullptr)
{
    const std::size_t end = text.find('\n') + 1;
    if (rest != nullptr) *rest = text.substr(end + (text.compare(end, 1, "\n") == 0 ? 1 : 0));
    return text.substr(sizeof "Usage: " - 1, end - (sizeof "Usage: " - 1));
}

// Cuts the paragraph that starts with "HEADING:\n" out of text and returns its body.
std::string CutParagraph(std::string& text, const std::string& heading)
{
    const std::size_t start = text.find("\n" + heading + ":\n");
    if (start == std::string::npos) return {};
    const std::size_t body = start + heading.size() + 3;
    const std::size_t end = std::min(text.find("\n\n", body), text.size() - 1) + 1;
    std::string paragraph = text.substr(body, end - body);
    text.erase(start + 1, end - start);
    return paragraph;
}

const char kFiles[] =
    ".TP\n.I .editorconfig\n"
    "check and fix hold each file to the rules of the .editorconfig files in its directory and those above\n"
    "it, up to one that says root = true (read with the EditorConfig library; not in a Windows build).\n"
    ".TP\n.I .NAME.kestrune\\-tmp\n"
    "fix and tag write the new text of the file NAME to this temporary file beside it, then rename it over\n"
    "NAME. One left by a run that was killed is removed by the next run on NAME.\n";

const char kSeeAlso[] = ".BR dos2unix (1),\n.BR iconv (1),\n.BR editorconfig\\-format (5)\n";

}  // namespace

int ShowManPage()
{
    std::string page = ".TH KESTRUNE 1 \"\" \"kestrune " KESTRUNE_VERSION "\" \"User Commands\"\n";
    page += ".nh\n";  // no word broken across lines: they are names and options
    page += ".SH NAME\nkestrune \\- check text files and national-language catalogs with Kestrune\n";
    std::string overview;
    std::string synopsis = UsageLine(OverviewText(), &overview);
    std::string commands;
    for (const Command* command = CommandsBegin(); command != CommandsEnd(); ++command) {
        std::string details;
        const std::string usage = UsageLine(CommandText(*command), &details);
        synopsis += usage;
        details.insert(0, usage + '\n');
        commands.append(".SS ").append(command->name).append("\n").append(Verbatim(details));
    }
    const std::string exitStatus = CutParagraph(overview, "Exit status");
    const std::string examples = CutParagraph(overview, "Examples");
    page += ".SH SYNOPSIS\n" + Verbatim(synopsis) + ".SH DESCRIPTION\n" + Verbatim(overview);
    page += ".SH COMMANDS\n" + commands + ".SH EXIT STATUS\n" + Verbatim(exitStatus);
    page += ".SH FILES\n" + std::string(kFiles) + ".SH EXAMPLES\n" + Verbatim(examples);
    return Show(page + ".SH SEE ALSO\n" + kSeeAlso);
}

}  // namespace kestrune_tool
