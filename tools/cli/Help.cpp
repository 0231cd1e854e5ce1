#include "Help.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace kestrune_tool {

namespace {

constexpr std::size_t kAny = static_cast<std::size_t>(-1);

const Command kCommands[] = {
    {"eol", "FILE...",
     " [-r [--all-files] [--no-ignore] [--exclude GLOB] [--include GLOB]] [-j N] [--format FORMAT] [--json]",
     "which end-of-line convention each file uses",
     "Prints FILE: CRLF, FILE: LF or FILE: CR after the first line ending in the\n"
     "file, or FILE: none found (default CRLF) when it has none. Only the first\n"
     "line ending counts; kestrune info counts them all.\n"
     "--json: {\"file\": FILE, \"eol\": \"CRLF\", \"LF\", \"CR\" or null}\n"
     "Exit status 0 when every file has a line ending, 1 when one has none.\n",
     RunEol, 1, kAny, kWalkOptions | kFormatOptions},
    {"bom", "FILE...",
     " [-r [--all-files] [--no-ignore] [--exclude GLOB] [--include GLOB]] [-j N] [--format FORMAT] [--json]",
     "whether each file starts with a UTF-8 byte-order mark",
     "Prints FILE: yes when the file starts with the bytes EF BB BF, else FILE: no.\n"
     "--json: {\"file\": FILE, \"bom\": true or false}\n"
     "Exit status 0 when every file has the mark, 1 when one has not.\n",
     RunBom, 1, kAny, kWalkOptions | kFormatOptions},
    {"utf8", "FILE...",
     " [-r [--all-files] [--no-ignore] [--exclude GLOB] [--include GLOB]] [-j N] [--format FORMAT] [--json]",
     "whether each file is valid UTF-8 throughout",
     "Prints FILE: valid or FILE: invalid (RFC 3629: no overlong forms, no\n"
     "surrogates, nothing above U+10FFFF; an empty file is valid). For an invalid\n"
     "file it tells where its first invalid sequence starts:\n"
     "  FILE: invalid at byte B (line L, column C): XX YY\n"
     "B counts from 0, L and C from 1, C in characters; CR LF, LF and a lone CR\n"
     "each end a line. XX YY are the sequence's bytes in hex: as many as its first\n"
     "byte announces, ending early after one that cannot continue it.\n"
     "The verdict is strict: the whole text is judged. The library's own deep\n"
     "check reads windows of 4096 bytes and never judges what stands in the\n"
     "window's last 3 bytes when the file ends there (the window counts as 4096\n"
     "bytes even where the file ends earlier): it passes a file of 4094 bytes\n"
     "that ends in the first byte of a two-byte character, or of 4096 bytes that\n"
     "ends in FF. Where its answer differs, the line adds\n"
     "  ; the deep check's window rule passes it\n"
     "(--json: \"deep_check\": true).\n"
     "A file longer or shorter than its reported size (a special file such as\n"
     "those under /proc or /sys) cannot be checked: it is refused as trouble.\n"
     "--json: {\"file\": FILE, \"utf8\": true or false}, and for an invalid file\n"
     "also \"byte\": B, \"line\": L, \"column\": C, \"bytes\": \"XX YY\"\n"
     "Exit status 0 when every file is valid, 1 when one is not.\n",
     RunUtf8, 1, kAny, kWalkOptions | kFormatOptions},
    {"info", "FILE...",
     " [-r [--all-files] [--no-ignore] [--exclude GLOB] [--include GLOB]] [-j N] [--format FORMAT] [--json]",
     "everything the library tells about each file",
     "Prints one line per file:\n"
     "  FILE: eol E, bom yes|no, utf8 V, charset NAME|none\n"
     "E is CRLF, LF or CR when every line ending is of that kind, none without\n"
     "line endings, and mixed (CRLF n, LF n, CR n) with the count of each kind\n"
     "that occurs when there are several; CR LF is one ending, LF then CR are two.\n"
     "V is what utf8 prints. NAME is the charset of the <meta charset=\"NAME\"/>\n"
     "line that the file starts with (after a byte-order mark, if any).\n"
     "--json: {\"file\": FILE, \"eol\": \"CRLF\", \"LF\", \"CR\", \"mixed\" or null,\n"
     "\"crlf\": n, \"lf\": n, \"cr\": n, \"bom\": true or false, \"utf8\" and the\n"
     "position fields as utf8 gives them, \"charset\": NAME or null}\n"
     "Exit status 0 when every file is clean (one kind of line ending at most,\n"
     "valid UTF-8), 1 when one is not.\n",
     RunInfo, 1, kAny, kWalkOptions | kFormatOptions},
    {"check", "PATH...",
     " [-r [--all-files] [--no-ignore] [--exclude GLOB] [--include GLOB]] [-j N] [--format FORMAT] [--json] [RULE...]",
     "whether each file keeps its .editorconfig rules",
     "Holds each file to the rules that the .editorconfig files above it give it\n"
     "(end_of_line, charset, insert_final_newline, trim_trailing_whitespace,\n"
     "indent_style with indent_size, max_line_length; kestrune editorconfig FILE\n"
     "shows them), each replaced by the option of the same rule when given:\n"
     "  --eol lf|crlf|cr           every line ends so\n"
     "  --bom yes|no               the file starts with a UTF-8 byte-order mark, or not\n"
     "  --final-newline yes|no     the last line ends in a line ending, or not\n"
     "  --charset utf-8|utf-8-bom|latin1\n"
     "                             utf-8: valid UTF-8 without the mark; utf-8-bom:\n"
     "                             with it; latin1: any bytes. Others are noted, not checked\n"
     "  --tag CHARSET              the first line (after a mark) is the catalog's\n"
     "                             <meta charset=\"CHARSET\"/> tag line (CHARSET: 1 to\n"
     "                             236 bytes, no line break or '\"')\n"
     "  --trim yes|no              no line ends in spaces or tabs (before its line\n"
     "                             ending, or at the end of the file), or no such rule\n"
     "  --indent tab|space|N       lines are indented with tabs (no space first), or\n"
     "                             with spaces (no tab), N of them to a level\n"
     "  --max-line-length N|off    no line longer than N characters (bytes where\n"
     "                             the text is not UTF-8), or no such rule\n"
     "lf, crlf, cr, yes and no are taken in any letter case, and true and false\n"
     "(EditorConfig's words) as yes and no; charset names are kept as written.\n"
     "Prints one line for each file that breaks a rule, naming each rule broken:\n"
     "  FILE: line 3 ends in CRLF, not LF; no byte-order mark; invalid UTF-8 at\n"
     "  byte B (line L, column C): XX; no final newline; tag says X, not Y;\n"
     "  trailing whitespace at line L, column C; tab in the indentation at line\n"
     "  L, column C (or space in ..., or indentation of 3 spaces at ..., not a\n"
     "  multiple of 4); line L has 120 characters, over 100\n"
     "A catalog's tag line is held to its word too: the text must be in the\n"
     "charset it names (see fix --to-utf8 for the names known):\n"
     "  tag says UTF-8, invalid at byte B (line L, column C): XX\n"
     "  tag says windows-1252 but the text is UTF-8\n"
     "A tag naming a charset that kestrune does not know is noted, not checked.\n"
     "A file that no rule applies to and without a tag line is not checked\n"
     "(--json: \"rules\": []); a binary file (see fix) is skipped with a note,\n"
     "a binary catalog reported. Several files end with a count on stderr.\n"
     "A value that a property does not take (end_of_line = crfl) is noted once,\n"
     "with the .editorconfig and its line, and that rule is not held.\n"
     "--json: {\"file\": FILE, \"ok\": true or false, \"rules_from\": [\"PATH:LINE\",\n"
     "...] (each .editorconfig section that gave a rule)}, with a tag line \"declared\":\n"
     "its charset and \"verdict\": \"fits\", \"utf-8\" (the text is UTF-8 under another\n"
     "name), \"invalid\", \"unknown\" or \"unavailable\", and for each rule broken\n"
     "its words under \"end_of_line\", \"bom\", \"utf8\", \"final_newline\", \"tag\",\n"
     "\"trim_trailing_whitespace\", \"indent\", \"max_line_length\" or\n"
     "\"charset\" (a tag that lies) or \"binary\"\n"
     "Exit status 0 when every file keeps its rules, 1 when one breaks one, 2 on\n"
     "trouble (an .editorconfig that is not a regular file or has a line that is\n"
     "not EditorConfig's, up to the first that says root = true; a file that\n"
     "cannot be read).\n",
     RunCheck, 1, kAny, kWalkOptions | kFormatOptions | kRuleOptions},
    {"fix", "PATH...",
     " [-r [--all-files] [--no-ignore] [--exclude GLOB] [--include GLOB]] [-j N] [--format FORMAT] [--json] "
     "[--dry-run] [--to-utf8 "
     "[--from CHARSET]] [RULE...]",
     "rewrite each file to keep its rules",
     "Takes the rules as check does, and rewrites each file that breaks one that\n"
     "can be mended: every line ending (CR LF, LF, CR) made the one asked, the\n"
     "byte-order mark added or taken off, the final line ending added or taken\n"
     "off, spaces and tabs at the ends of lines taken off, the tag line put before the content or in place of a wrong "
     "one (not\n"
     "where the text is not in the charset it would name: that is reported). Nothing\n"
     "else changes. A file that needs nothing is not written to. A file holding a NUL\n"
     "byte, or a C0 control byte other than TAB, LF, VT, FF, CR and ESC, is binary:\n"
     "skipped with a note, or if a catalog reported as not fixable and not written.\n"
     "The new text goes to a temporary file beside the file, which is flushed to\n"
     "disk, given the file's permission bits (and owner, as root), and renamed over\n"
     "it once the file is found unchanged since it was read. A link's target is\n"
     "replaced; a file with several hard links, or that is not a regular file, is\n"
     "refused. On any failure the file is left as it was.\n"
     "  --dry-run  say what would be fixed; write nothing\n"
     "  --to-utf8  convert the text to UTF-8 from the charset it declares: its\n"
     "             tag line's, else a UTF-16 byte-order mark's, else latin1 where\n"
     "             the rules say charset latin1; never a guessed one. The tag\n"
     "             line then says UTF-8, a byte-order mark follows --bom (none by\n"
     "             default), line endings stay unless --eol says otherwise. A text\n"
     "             that is UTF-8 already is left as it is; one that is valid UTF-8\n"
     "             past ASCII, or starts with a UTF-8 mark, is never converted from\n"
     "             another charset (already UTF-8: not converted).\n"
     "  --from CHARSET  with --to-utf8: convert from CHARSET whatever the file says\n"
     "Charsets: US-ASCII, UTF-8, ISO-8859-1 to -11, -13 to -15, windows-1250 to\n"
     "-1258, KOI8-R, Shift_JIS, EUC-JP, GBK, GB18030, Big5, EUC-KR, UTF-16LE,\n"
     "UTF-16BE, by IANA's names and aliases in any letter case (latin1, cp1252).\n"
     "A file is not converted (2, left as it was, the walk goes on) when a byte is\n"
     "no character of its charset (byte, line, column and bytes are told), when\n"
     "it would not convert back to the same bytes, when its charset is unknown\n"
     "or not convertible on this system, when it declares none and is not UTF-8,\n"
     "or when its tag names another charset but the text is UTF-8.\n"
     "Prints FILE: fixed: WHAT for each file rewritten (would fix: with --dry-run),\n"
     "then not fixable: and what check still finds (invalid UTF-8, indentation,\n"
     "a line too long, a tag that lies,\n"
     "a mark or tag line that would lie about bytes not in UTF-8, which it names the\n"
     "conversion for).\n"
     "--json: {\"file\": FILE, \"changed\": true or false (\"would_change\" with\n"
     "--dry-run), \"converted_from\": CHARSET when converted} and the rules\n"
     "broken, as check gives them\n"
     "Exit status 0 when every file keeps its rules now, 1 when one still breaks\n"
     "one (invalid UTF-8; with --dry-run, anything to fix), 2 when a file could\n"
     "not be read or replaced (it is then left as it was; one line says why).\n",
     RunFix, 1, kAny, kWalkOptions | kFormatOptions | kRuleOptions | kDryRunOption | kConvertOptions},
    {"editorconfig", "FILE...", " [-f NAME] [-b VERSION] | -v", "the .editorconfig properties that apply to each file",
     "Prints the EditorConfig properties that apply to each FILE, one NAME=VALUE\n"
     "line each, as EditorConfig's own editorconfig command prints them (with\n"
     "several files, a [FILE] line before each one's): the answer to why check\n"
     "and fix held a file to a rule. They come from the .editorconfig files in\n"
     "FILE's directory and each one above it, up to the first that says\n"
     "root = true: a section's glob matched against FILE's path relative to\n"
     "that directory (a glob without '/' against its name at any depth), later\n"
     "sections and nearer files taking over; names, and the values of\n"
     "end_of_line, indent_style, indent_size, insert_final_newline,\n"
     "trim_trailing_whitespace and charset, in lower case; a value unset is\n"
     "printed (check and fix then hold no rule for it). A relative FILE is\n"
     "taken from the current directory; FILE need not exist. Each\n"
     ".editorconfig is read once in a run.\n"
     "  -f, --config-name NAME    read the files called NAME, not .editorconfig\n"
     "  -b, --as-version VERSION  EditorConfig's rules of VERSION: before 0.9,\n"
     "                            indent_style = tab gives no indent_size\n"
     "  -v, --version             the EditorConfig version followed, and no more\n"
     "Exit status 0, 2 when an .editorconfig is not a regular file or has a line\n"
     "that is not EditorConfig's (the file's properties are then not printed).\n",
     RunEditorConfig, 1, kAny, kEditorConfigOptions},
    {"tag", "FILE CHARSET", " [--eol crlf|lf|cr|auto]", "put a charset tag line at the head of FILE",
     "Puts the line <meta charset=\"CHARSET\"/>, as the library writes it, before\n"
     "the content of FILE (after a byte-order mark), or in place of the tag line\n"
     "that names another charset; a file that already names CHARSET (in any\n"
     "letter case) is left alone. Nothing else changes: FILE is rewritten as fix\n"
     "rewrites a file, through a temporary file renamed over it, and is left as\n"
     "it was on any failure. FILE must exist and be a regular file. CHARSET has\n"
     "1 to 236 bytes, none a line break or '\"', so that the line fits the library's\n"
     "256 bytes.\n"
     "  --eol E   end the line with CRLF, LF or CR; auto (the default) uses the\n"
     "            convention the file already has, CRLF when it has none; E is\n"
     "            crlf, lf, cr or auto, in any letter case\n"
     "A tag line that would lie about the text (UTF-8 over other bytes) is not\n"
     "written: FILE: not written: WHY.\n"
     "Exit status 0 when the line was written or was there, 1 when it would lie,\n"
     "2 otherwise.\n",
     RunTag, 2, 2, kTagOptions | kCharsetOperand},
    {"compare", "FIRST SECOND", " [--format FORMAT] [--json]", "whether two catalogs say the same, line endings aside",
     "Prints FIRST vs SECOND: same or different. CR and LF bytes, and each file's\n"
     "leading byte-order mark and <meta charset=\"...\"/> line, are ignored.\n"
     "FIRST with an extension other than .velnls (any letter case) is refused;\n"
     "one without an extension is taken. The comparison runs until SECOND's text\n"
     "is used up: when FIRST goes on beyond it, the answer is still same unless\n"
     "SECOND ends in a line break. Each file must be a regular file of the size\n"
     "it reports, without a zero byte (which would end its text early): other\n"
     "files are refused as trouble.\n"
     "--json: {\"first\": FIRST, \"second\": SECOND, \"same\": true or false}\n"
     "Exit status 0 same, 1 different.\n",
     RunCompare, 2, 2, kFormatOptions},
    {"abspath", "PATH...", "", "print the absolute form of each path",
     "Prints each PATH as an absolute path. An absolute PATH is printed as it is;\n"
     "a relative one is joined to the current directory, and '.', '..' and\n"
     "doubled slashes are then removed as text: PATH need not exist and links\n"
     "are not followed.\n"
     "Exit status 0 when every path was resolved.\n",
     RunAbspath, 1, kAny, 0},
    {"echo", "[ARG...]", "", "print the arguments on one line",
     "Prints each ARG followed by a space, then a line feed (nothing at all\n"
     "without ARG). Options are read only before the first ARG; put -- before\n"
     "an ARG that starts with '-'.\n"
     "Exit status 0.\n",
     RunEcho, 0, kAny, kOptionsFirst},
};

const char kOverviewHead[] =
    "Usage: kestrune [-q] [-r [--all-files] [--no-ignore]] [-j N] [--format FORMAT] [--json] COMMAND [OPTION...] [--] "
    "ARG...\n"
    "\n"
    "Kestrune is a C++ library of helpers for text files, above all the\n"
    "national-language catalogs (*.velnls) of an application suite; this tool\n"
    "runs each helper on the files named on its command line.\n"
    "\n"
    "Commands:\n";

const char kOverviewTail[] =
    "  help [COMMAND]         show this help, or a command's\n"
    "\n"
    "Options, before the command or after it, among its files; a command's own\n"
    "options too (kestrune --eol lf fix FILE). After --, every word is a file.\n"
    "  -q, --quiet            print no results; only the exit status tells\n"
    "  -r, --recursive        eol, bom, utf8, info, check, fix: walk each directory named\n"
    "                         (the current one when none is), in sorted order,\n"
    "                         taking its *.velnls files (any letter case); links\n"
    "                         are followed, but not round a loop. In a git work\n"
    "                         tree only the files git shows: tracked, or untracked\n"
    "                         and not ignored; a submodule's are not entered.\n"
    "                         Never taken: .editorconfig files and version-control\n"
    "                         metadata (.git, .hg, .svn, .bzr, _darcs, CVS)\n"
    "      --all-files        with -r: take every file, not only *.velnls\n"
    "      --no-ignore        with -r: the files git ignores or does not show too\n"
    "      --exclude GLOB     with -r: leave out the files and\n"
    "                         directories whose path under the directory named\n"
    "                         matches GLOB (EditorConfig's globs: *, **, ?, [...],\n"
    "                         {a,b}, {1..9}; one without '/' matches a name at any\n"
    "                         depth); may be given more than once\n"
    "      --include GLOB     with -r: take only the files that\n"
    "                         match one such GLOB\n"
    "  -j, --jobs N           eol, bom, utf8, info, check, fix: look at N files\n"
    "                         at once, 1 to 1024 (default: as many as the\n"
    "                         cores); the output is the same whatever N is,\n"
    "                         and fix changes a file with two names (a link) in\n"
    "                         their order. On a terminal a walk of over a second\n"
    "                         shows a status line on standard error (not with -q)\n"
    "      --format FORMAT    eol, bom, utf8, info, check, fix, compare: how the\n"
    "                         results are written (below)\n"
    "      --json             --format json. One JSON object per file, one per\n"
    "                         line; each command's help names the fields, then\n"
    "                         \"findings\" holds the file's findings. A name that\n"
    "                         is not UTF-8 has those bytes as U+FFFD in its\n"
    "                         field, and all its bytes in hex in a field beside\n"
    "                         it with _hex added to the name\n"
    "  -h, --help             show help\n"
    "      --version          show the version\n"
    "\n"
    "Output formats (FORMAT, in any letter case):\n"
    "  text    the lines each command's help shows (the default)\n"
    "  json    JSON Lines, as --json above\n"
    "  gcc     one line per finding, as compilers write them:\n"
    "            FILE:LINE:COL: error: MESSAGE [RULE]\n"
    "          FILE:LINE: for a place without a column, FILE: for a finding\n"
    "          without a place (as gcc and clang do); note: for a finding\n"
    "          that is no fault\n"
    "  github  one GitHub Actions workflow command per finding:\n"
    "            ::error file=F,line=L,col=C,title=RULE::MESSAGE\n"
    "          (::notice for a note; % CR LF escaped as %25 %0D %0A, and in\n"
    "          F and RULE also : and , as %3A and %2C)\n"
    "  sarif   one SARIF 2.1.0 log for the whole run: a rule for each rule\n"
    "          named, with its help (what mends it); a result for each\n"
    "          finding, its file a URI relative to %SRCROOT% (the directory\n"
    "          kestrune ran in; file: for an absolute name), its region in\n"
    "          lines, columns in characters and byteOffset, and properties\n"
    "          fixable and repair\n"
    "gcc, github and sarif add to a message the command that mends the\n"
    "finding, \"(repair: kestrune fix)\", or \"fixed: \" before it once fix\n"
    "has mended it. Trouble and notes stay on standard error in every format.\n"
    "\n"
    "Findings:\n"
    "Each thing a command finds in a file is one record, in \"findings\":\n"
    "  \"rule\"      end_of_line, bom, final_newline, tag, utf8, charset (a tag\n"
    "              line that lies) or binary for check and fix; eol, bom,\n"
    "              utf8, info or compare: those commands' answer; tag: tag's\n"
    "  \"severity\"  \"error\" (the file fails: a rule broken, or the answer\n"
    "              no) or \"note\" (it passes, or fix has mended it)\n"
    "  \"line\", \"column\", \"byte\"  where it is: line and column from 1, the\n"
    "              column in characters, byte from 0; null where it has none\n"
    "  \"expected\", \"found\"  what the rule wants and what the file holds\n"
    "              (\"LF\", \"yes\", \"UTF-8\", the bytes in hex), or null\n"
    "  \"fixable\"   true when kestrune fix mends it (in fix's output: mended)\n"
    "  \"repair\"    the command that mends it, or null: kestrune fix, or\n"
    "              kestrune fix --to-utf8 --from CHARSET for invalid UTF-8\n"
    "  \"message\"   the finding in words, as text prints it\n"
    "With -r or several files a line on standard error ends the run (not\n"
    "with -q): kestrune: 12 files checked: 3 break a rule (2 fixable with\n"
    "`kestrune fix`), 1 has no rule that applies.\n"
    "\n"
    "Exit status:\n"
    "  0  yes / same / valid / clean (with several files: for every one of them)\n"
    "  1  no / different / invalid (for at least one file)\n"
    "  2  trouble: a usage error, a file or directory that could not be opened,\n"
    "     read or written, a file named that is not a regular file (a device, a\n"
    "     FIFO: -r skips those with a note), or results that could not be\n"
    "     written; each gets a line on standard error that names it and the\n"
    "     result code. The other files are still processed.\n"
    "\n"
    "Examples:\n"
    "  kestrune eol examples/catalogs/*.velnls\n"
    "  kestrune -q utf8 fr.velnls || echo 'fr.velnls is not clean UTF-8'\n"
    "  kestrune -r info --json catalogs/ > report.jsonl\n"
    "  kestrune -r check --format sarif > kestrune.sarif\n"
    "  kestrune compare fr.velnls fr-old.velnls\n";

}  // namespace

const Command* CommandsBegin() { return std::begin(kCommands); }
const Command* CommandsEnd() { return std::end(kCommands); }

const Command* FindCommand(const char* name)
{
    for (const Command& command : kCommands) {
        if (std::strcmp(command.name, name) == 0) return &command;
    }
    return nullptr;
}

std::string OverviewText()
{
    std::string text = kOverviewHead;
    for (const Command& command : kCommands) {
        std::string line = "  " + std::string(command.name) + " " + command.operands;
        line.resize(std::max<std::size_t>(line.size() + 1, 25), ' ');
        text += line + command.summary + "\n";
    }
    return text + kOverviewTail;
}

std::string CommandText(const Command& command)
{
    return "Usage: kestrune " + std::string(command.name) + " [-q] " + command.operands + command.options + "\n\n" +
           command.details;
}

}  // namespace kestrune_tool
