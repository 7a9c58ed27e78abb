// The command table and each command. Every command reads the file whole and decides
// everything in memory before it writes, so a refused command leaves the file as it was.
#include "commands.h"

#include <cstdio>
#include <string_view>

#include "config_record.h"
#include "disk_file.h"
#include "escape.h"
#include "field_ref.h"
#include "record_check.h"
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

int cmd_check(const std::vector<std::string>& args, Io& io)
{
    const std::string& file = args[0];
    LoadedRecord rec;
    if (!load(file, rec, io)) return 1;
    if (rec.report.sound()) {
        io.out += file + ": sound record file\n";
        return 0;
    }
    for (const Finding& f : rec.report.findings) {
        io.out += file + ": offset " + std::to_string(f.offset) + ": " + f.text + "\n";
    }
    if (rec.report.omitted > 0) {
        io.out += file + ": " + std::to_string(rec.report.omitted) + " more findings not shown\n";
    }
    return 1;
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
    {"check", 1, 1, "check FILE", cmd_check},
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
