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

}  // namespace

int ShowManPage()
{
    std::string page = ".TH KESTRUNE 1 \"\" \"kestrune " KESTRUNE_VERSION "\" \"User Commands\"\n";
    page += ".SH NAME\nkestrune \\- check text files and national-language catalogs with Kestrune\n";
    const std::string overview = OverviewText();
    const std::size_t usageEnd = overview.find('\n') + 1;
    page += ".SH SYNOPSIS\n" + Verbatim(overview.substr(0, usageEnd));
    page += ".SH DESCRIPTION\n" + Verbatim(overview.substr(usageEnd + 1));
    page += ".SH COMMANDS\n";
    for (const Command* command = CommandsBegin(); command != CommandsEnd(); ++command) {
        page += ".SS " + std::string(command->name) + "\n" + Verbatim(CommandText(*command));
    }
    return Show(page);
}

}  // namespace kestrune_tool
