// The command table and each command. Every command reads the file whole and decides
// everything in memory before it writes, so a refused command leaves the file as it was.
#include "commands.h"

#include <cstdio>
#include <string_view>

#include "calendar.h"
#include "call_report.h"
#include "config_record.h"
#include "disk_file.h"
#include "escape.h"
#include "explain.h"
#include "field_ref.h"
#include "record_check.h"
#include "preview.h"
#include "record_file.h"
#include "validation_commands.h"

namespace zelcfg {

namespace {

constexpr const char kUsage[] =
    "usage: zelcfg COMMAND FILE [ARGUMENTS]\n"
    "\n"
    "  zelcfg new FILE [--force]       write the default record; refuses to replace a file\n"
    "                                  unless --force is given\n"
    "  zelcfg dump FILE                print every field as name=value or name[i]=value\n"
    "  zelcfg get FILE NAME            print one field's value; NAME is name or name[i]\n"
    "  zelcfg set FILE NAME=VALUE ...  set fields; the file is written only when every\n"
    "                                  assignment is valid\n"
    "  zelcfg check FILE               verify the file's on-disk form; exit status 1 and one\n"
    "                                  line per finding when it is not sound\n"
    "  zelcfg check FILE --explain [--voice-root DIR | --voice-root RECORD_DIR=DIR]...\n"
    "                   [--today MM/DD/YYYY]\n"
    "                                  also list what is probably a mistake, one line each\n"
    "                                  with what a caller gets and the fix; exit status 3\n"
    "                                  when there is any\n"
    "  zelcfg preview FILE [--from MM/DD/YYYY] [--days N] [--json]\n"
    "                                  day by day (default: 14 from today, at most 366), which\n"
    "                                  greeting plays when and why, and what each extension\n"
    "                                  dials, as Vornline's own rules decide\n"
    "  zelcfg calls LOG... [--html FILE]\n"
    "                                  summarise Vornline's call logs (calls-YYYYMMDD.csv);\n"
    "                                  --html also writes the summary as one HTML page\n"
    "  zelcfg report FILE              print the validation report, one piece a line; exit\n"
    "                                  status 1 when it finds a show-stopper\n"
    "  zelcfg export CFG CMD           print the report of CFG and, only when it finds no\n"
    "                                  show-stopper, write CMD: CFG's record with\n"
    "                                  validated_flag 1; exit status 1 and nothing written\n"
    "                                  otherwise\n"
    "  zelcfg --help                   print this text\n"
    "\n"
    "Values are shown and given with escapes: \\\\ is a backslash, \\xNN the byte NN (hex);\n"
    "other bytes outside printable ASCII are always shown as \\xNN.\n";

struct Io {
    std::string& out;
    std::string& err;

    int fail(const std::string& file, const std::string& problem)
    {
        err += "zelcfg: " + file + ": " + problem + "\n";
        return 1;
    }
};

// A record file as a reader sees it: the image a text-mode read gives, the missing tail NUL.
struct LoadedRecord {
    std::string disk;
    zel::ConfigRecord image;
    std::size_t image_bytes = 0;
    CheckReport report;
};

bool load(const std::string& file, LoadedRecord& rec, Io& io)
{
    std::string problem;
    if (!read_file_bytes(file, rec.disk, problem)) {
        io.fail(file, problem);
        return false;
    }
    rec.image_bytes = zel::from_disk(rec.disk, rec.image);
    rec.report = check_disk_bytes(rec.disk);
    return true;
}

// Reading commands still show what a reader would get from a damaged file, but say so.
void warn_if_damaged(const std::string& file, const LoadedRecord& rec, Io& io)
{
    if (rec.image_bytes < zel::kRecordSize) {
        io.err += "zelcfg: " + file + ": short file: only " + std::to_string(rec.image_bytes) + " of " +
                  std::to_string(zel::kRecordSize) +
                  " record bytes could be read; the missing tail is shown as NUL (see zelcfg check)\n";
    } else if (!rec.report.structure_sound) {
        io.err += "zelcfg: " + file +
                  ": not a sound record file; values are shown as a text-mode read sees them (see zelcfg check)\n";
    }
}

std::string show_field(const zel::ConfigRecord& image, const FieldRef& ref)
{
    return format_field_ref(ref) + "=" + escape_bytes(zel::get_field(image, ref.field, ref.index)) + "\n";
}

int cmd_new(const std::vector<std::string>& args, Io& io)
{
    bool force = false;
    std::string file;
    for (const std::string& a : args) {
        if (a == "--force" && !force) {
            force = true;
        } else if (file.empty() && !a.empty() && a != "--force") {
            file = a;
        } else {
            io.err += "zelcfg: new takes FILE and an optional --force\n";
            return 1;
        }
    }
    if (file.empty()) {
        io.err += "zelcfg: new needs a FILE\n";
        return 1;
    }
    if (!force && file_exists(file)) return io.fail(file, "already exists; give --force to replace it");
    std::string problem;
    if (!write_new_file(file, zel::to_disk(zel::default_record()), problem)) return io.fail(file, problem);
    return 0;
}

int cmd_dump(const std::vector<std::string>& args, Io& io)
{
    LoadedRecord rec;
    if (!load(args[0], rec, io)) return 1;
    warn_if_damaged(args[0], rec, io);
    // Record order: line by line, and within a line the fields from left to right.
    for (int li = 0; li < static_cast<int>(zel::Line::count_); ++li) {
        const zel::Line line = static_cast<zel::Line>(li);
        for (int index = 0; index < zel::line_def(line).count; ++index) {
            for (int fi = 0; fi < static_cast<int>(zel::Field::count_); ++fi) {
                const zel::Field f = static_cast<zel::Field>(fi);
                if (zel::field_def(f).line == line) io.out += show_field(rec.image, FieldRef{f, index});
            }
        }
    }
    return 0;
}

int cmd_get(const std::vector<std::string>& args, Io& io)
{
    FieldRef ref;
    std::string problem;
    if (!parse_field_ref(args[1], ref, problem)) return io.fail(args[0], problem);
    LoadedRecord rec;
    if (!load(args[0], rec, io)) return 1;
    warn_if_damaged(args[0], rec, io);
    io.out += escape_bytes(zel::get_field(rec.image, ref.field, ref.index)) + "\n";
    return 0;
}

// Checks one NAME=VALUE and applies it to the in-memory image; false with a problem text.
bool apply_assignment(std::string_view assignment, zel::ConfigRecord& image, std::string& problem)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string_view::npos) {
        problem = "'" + escape_bytes(assignment) + "' is not NAME=VALUE";
        return false;
    }
    FieldRef ref;
    if (!parse_field_ref(assignment.substr(0, eq), ref, problem)) return false;
    const std::string name = format_field_ref(ref);
    std::string value;
    if (!unescape_bytes(assignment.substr(eq + 1), value, problem)) {
        problem = name + ": " + problem;
        return false;
    }
    for (std::size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        // A NUL would end the text early, and the rest would silently not be the value.
        if (c == 0 || zel::is_forbidden_byte(c)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(c));
            problem = name + ": the byte " + hex + " at value position " + std::to_string(i) +
                      " cannot be stored in a field";
            return false;
        }
    }
    const std::size_t room = zel::field_def(ref.field).width - 1u;
    if (value.size() > room) {
        problem = name + ": the value has " + std::to_string(value.size()) + " bytes; the slot holds at most " +
                  std::to_string(room);
        return false;
    }
    if (zel::set_field(image, ref.field, ref.index, value) != zel::SetResult::ok) {
        problem = name + ": the record refused the value";
        return false;
    }
    return true;
}

int cmd_set(const std::vector<std::string>& args, Io& io)
{
    const std::string& file = args[0];
    LoadedRecord rec;
    if (!load(file, rec, io)) return 1;
    // Rewriting a damaged file would turn what a reader guessed into what the file says.
    if (!rec.report.structure_sound) {
        Finding first = rec.report.findings.front();
        for (const Finding& f : rec.report.findings) {
            if (f.structural) {
                first = f;
                break;
            }
        }
        return io.fail(file, "not a sound record file (offset " + std::to_string(first.offset) + ": " + first.text +
                                 "); nothing changed; see zelcfg check");
    }
    zel::ConfigRecord image = rec.image;
    bool all_ok = true;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string problem;
        if (!apply_assignment(args[i], image, problem)) {
            io.fail(file, problem);
            all_ok = false;
        }
    }
    if (!all_ok) {
        io.err += "zelcfg: " + file + ": nothing changed\n";
        return 1;
    }
    std::string problem;
    if (!overwrite_file(file, zel::to_disk(image), problem)) return io.fail(file, problem);
    return 0;
}

// What check prints about a file that is not sound, line by line.
std::string unsound_lines(const std::string& file, const CheckReport& report)
{
    std::string text;
    for (const Finding& f : report.findings) {
        text += file + ": offset " + std::to_string(f.offset) + ": " + f.text + "\n";
    }
    if (report.omitted > 0) text += file + ": " + std::to_string(report.omitted) + " more findings not shown\n";
    return text;
}

// Takes "--name VALUE" at args[i]; false (with a message) when the value is missing.
bool option_value(const std::vector<std::string>& args, std::size_t& i, std::string& value, Io& io)
{
    if (i + 1 >= args.size()) {
        io.err += "zelcfg: " + args[i] + " needs a value\n";
        return false;
    }
    value = args[++i];
    return true;
}

bool day_option(const std::string& name, const std::string& text, zel::Date& day, Io& io)
{
    if (parse_day_text(text, day)) return true;
    io.err += "zelcfg: " + name + " takes a real day as MM/DD/YYYY, not '" + escape_bytes(text) + "'\n";
    return false;
}

int cmd_check(const std::vector<std::string>& args, Io& io)
{
    const std::string& file = args[0];
    bool explain = false;
    ExplainOptions options;
    options.today = today();
#ifdef _WIN32
    options.paths_as_they_are = true;
#endif
    bool explain_only = false;  // an option that means nothing without --explain
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string value;
        if (args[i] == "--explain") {
            explain = true;
        } else if (args[i] == "--voice-root") {
            if (!option_value(args, i, value, io)) return 1;
            VoiceRoot root;
            if (!parse_voice_root(value, root)) {
                io.err += "zelcfg: --voice-root takes DIR or RECORD_DIR=DIR\n";
                return 1;
            }
            options.voice_roots.push_back(root);
            explain_only = true;
        } else if (args[i] == "--today") {
            if (!option_value(args, i, value, io) || !day_option("--today", value, options.today, io)) return 1;
            explain_only = true;
        } else {
            io.err += "zelcfg: usage: zelcfg check FILE [--explain [--voice-root DIR]... [--today MM/DD/YYYY]]\n";
            return 1;
        }
    }
    if (explain_only && !explain) {
        io.err += "zelcfg: --voice-root and --today go with --explain\n";
        return 1;
    }
    LoadedRecord rec;
    if (!load(file, rec, io)) return 1;
    if (!rec.report.sound()) {
        io.out += unsound_lines(file, rec.report);
        return 1;
    }
    io.out += file + ": sound record file\n";
    if (!explain) return 0;
    const std::vector<Explanation> found = explain_record(rec.image, options);
    for (const Explanation& e : found) io.out += file + ": " + explanation_line(e) + "\n";
    if (found.empty()) {
        io.out += file + ": nothing to explain\n";
        return 0;
    }
    return 3;
}

int cmd_preview(const std::vector<std::string>& args, Io& io)
{
    const std::string& file = args[0];
    zel::Date from = today();
    int days = 14;
    bool json = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string value;
        if (args[i] == "--json") {
            json = true;
        } else if (args[i] == "--from") {
            if (!option_value(args, i, value, io) || !day_option("--from", value, from, io)) return 1;
        } else if (args[i] == "--days") {
            if (!option_value(args, i, value, io)) return 1;
            const bool digits = !value.empty() && value.size() <= 3 &&
                                value.find_first_not_of("0123456789") == std::string::npos;
            days = digits ? std::atoi(value.c_str()) : 0;
            if (days < 1 || days > kMaxPreviewDays) {
                io.err += "zelcfg: --days takes a number from 1 to " + std::to_string(kMaxPreviewDays) + "\n";
                return 1;
            }
        } else {
            io.err += "zelcfg: usage: zelcfg preview FILE [--from MM/DD/YYYY] [--days N] [--json]\n";
            return 1;
        }
    }
    LoadedRecord rec;
    if (!load(file, rec, io)) return 1;
    // A damaged record would preview what a reader guessed, not what the file says.
    if (!rec.report.sound()) {
        io.err += unsound_lines(file, rec.report);
        return 1;
    }
    const Preview preview = build_preview(rec.image, from, days);
    io.out += json ? preview_json(preview) : preview_text(preview);
    return 0;
}

int cmd_calls(const std::vector<std::string>& args, Io& io)
{
    std::vector<std::string> logs;
    std::string html;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--html") {
            if (!option_value(args, i, html, io)) return 1;
            if (html.empty()) return io.fail("--html", "the page's file name is empty");
        } else {
            logs.push_back(args[i]);
        }
    }
    if (logs.empty()) {
        io.err += "zelcfg: usage: zelcfg calls LOG... [--html FILE]\n";
        return 1;
    }
    CallTotals totals;
    for (const std::string& log : logs) {
        std::string text;
        std::string problem;
        if (!read_file_bytes(log, text, problem) || !add_call_log(text, totals, problem)) return io.fail(log, problem);
    }
    io.out += calls_text(totals);
    if (!html.empty()) {
        std::string problem;
        if (!write_new_file(html, calls_html(totals, logs), problem)) return io.fail(html, problem);
    }
    return 0;
}

int cmd_report(const std::vector<std::string>& args, Io& io)
{
    return report_command(args[0], io.out, io.err);
}

int cmd_export(const std::vector<std::string>& args, Io& io)
{
    if (args[1].empty()) {
        io.err += "zelcfg: the CMD file name is empty\n";
        return 1;
    }
    return export_command(args[0], args[1], io.out, io.err);
}

struct Command {
    const char* name;
    std::size_t min_args;  // FILE included
    std::size_t max_args;
    const char* shape;
    int (*run)(const std::vector<std::string>&, Io&);
};

constexpr std::size_t kMany = static_cast<std::size_t>(-1);

constexpr Command kCommands[] = {
    {"new", 1, 2, "new FILE [--force]", cmd_new},
    {"dump", 1, 1, "dump FILE", cmd_dump},
    {"get", 2, 2, "get FILE NAME", cmd_get},
    {"set", 2, kMany, "set FILE NAME=VALUE ...", cmd_set},
    {"check", 1, kMany, "check FILE [--explain ...]", cmd_check},
    {"preview", 1, 6, "preview FILE [--from MM/DD/YYYY] [--days N] [--json]", cmd_preview},
    {"calls", 1, kMany, "calls LOG... [--html FILE]", cmd_calls},
    {"report", 1, 1, "report FILE", cmd_report},
    {"export", 2, 2, "export CFG CMD", cmd_export},
};

}  // namespace

const char* usage_text()
{
    return kUsage;
}

int run(const std::vector<std::string>& args, std::string& out, std::string& err)
{
    Io io{out, err};
    if (args.empty()) {
        err += kUsage;
        return 1;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        out += kUsage;
        return 0;
    }
    for (const Command& c : kCommands) {
        if (args[0] != c.name) continue;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (rest.size() < c.min_args || rest.size() > c.max_args) {
            err += std::string("zelcfg: usage: zelcfg ") + c.shape + " (zelcfg --help tells more)\n";
            return 1;
        }
        if (rest[0].empty()) {
            err += "zelcfg: the FILE name is empty\n";
            return 1;
        }
        return c.run(rest, io);
    }
    err += "zelcfg: unknown command '" + escape_bytes(args[0]) + "' (zelcfg --help lists them)\n";
    return 1;
}

}  // namespace zelcfg
