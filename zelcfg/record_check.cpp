// Walks a record file the way a text-mode reader sees it, line by line, so that a
// missing or extra byte is reported once where it happens rather than as a shift of
// every later offset.
#include "record_check.h"

#include <cstdio>

#include "config_record.h"
#include "escape.h"
#include "field_ref.h"

namespace zelcfg {

namespace {

struct ExpectedLine {
    zel::Line line;
    int index;
    std::size_t content;  // bytes before the line end
};

std::vector<ExpectedLine> expected_lines()
{
    std::vector<ExpectedLine> lines;
    lines.reserve(zel::kLineFeedCount);
    for (int li = 0; li < static_cast<int>(zel::Line::count_); ++li) {
        const zel::Line l = static_cast<zel::Line>(li);
        const zel::LineDef& d = zel::line_def(l);
        for (int i = 0; i < d.count; ++i) lines.push_back({l, i, d.length - 1u});
    }
    return lines;
}

std::string line_title(const ExpectedLine& l, std::size_t number)
{
    const zel::LineDef& d = zel::line_def(l.line);
    std::string title = "line " + std::to_string(number + 1) + " (" + d.name;
    if (d.count > 1) title += "[" + std::to_string(l.index) + "]";
    return title + ")";
}

std::string expected_label(zel::Field f, int index)
{
    const char* initial = zel::field_def(f).initial;
    if (f != zel::Field::route_label) return initial;
    char text[32];
    std::snprintf(text, sizeof text, "trans %d", index);
    return text;
}

class Reporter {
public:
    explicit Reporter(CheckReport& report) : report_(report) {}

    void add(std::size_t offset, std::string text, bool structural)
    {
        if (structural) report_.structure_sound = false;
        if (report_.findings.size() >= kMaxFindings) {
            ++report_.omitted;
            return;
        }
        report_.findings.push_back({offset, std::move(text), structural});
    }

private:
    CheckReport& report_;
};

void check_size(std::string_view disk, Reporter& r)
{
    if (disk.size() < zel::kDiskSize) {
        r.add(disk.size(), "the file ends after " + std::to_string(disk.size()) + " bytes; a record file has " +
                               std::to_string(zel::kDiskSize),
              true);
    } else if (disk.size() > zel::kDiskSize) {
        r.add(zel::kDiskSize, std::to_string(disk.size() - zel::kDiskSize) + " bytes beyond the " +
                                  std::to_string(zel::kDiskSize) + " of a record file",
              true);
    }
}

void check_stray_bytes(std::string_view disk, Reporter& r)
{
    for (std::size_t i = 0; i < disk.size(); ++i) {
        const char c = disk[i];
        if (c == '\x1a') {
            r.add(i, "byte 0x1A, at which a text-mode read stops", true);
        } else if (c == '\r' && (i + 1 == disk.size() || disk[i + 1] != '\n')) {
            r.add(i, "CR without LF", true);
        } else if (c == '\n' && (i == 0 || disk[i - 1] != '\r')) {
            r.add(i, "LF without CR", true);
        }
    }
}

// Finds the lines as a text-mode reader does and compares their lengths with the
// record's; returns the file offsets of the lines that are in place, up to the first
// one that is not (later lines cannot be trusted to be the lines they seem to be).
std::vector<std::size_t> check_lines(std::string_view disk, const std::vector<ExpectedLine>& lines, Reporter& r)
{
    std::vector<std::size_t> starts;
    std::size_t start = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::string title = line_title(lines[k], k);
        const std::size_t want = lines[k].content;
        if (start >= disk.size()) {
            r.add(disk.size(), "the file ends before " + title, true);
            return starts;
        }
        const std::size_t lf = disk.find('\n', start);
        if (lf == std::string_view::npos) {
            const std::size_t have = disk.size() - start;
            if (have <= want) {
                r.add(disk.size(), title + " is cut off after " + std::to_string(have) + " of its " +
                                       std::to_string(want) + " bytes",
                      true);
            } else {
                r.add(start + want, title + " has no line end after its " + std::to_string(want) + " bytes", true);
            }
            return starts;
        }
        const std::size_t content_end = lf > start && disk[lf - 1] == '\r' ? lf - 1 : lf;
        const std::size_t have = content_end - start;
        if (have < want) {
            r.add(content_end, title + " ends after " + std::to_string(have) + " of its " + std::to_string(want) +
                                   " bytes",
                  true);
            return starts;
        }
        if (have > want) {
            r.add(start + want, title + " has no line end after its " + std::to_string(want) + " bytes", true);
            return starts;
        }
        starts.push_back(start);
        start = lf + 1;
    }
    if (start < disk.size() && disk.find('\n', start) != std::string_view::npos) {
        r.add(start, "a line end after the last line of the record", true);
    }
    return starts;
}

void check_slots(std::string_view disk, const std::vector<ExpectedLine>& lines,
                 const std::vector<std::size_t>& starts, Reporter& r)
{
    for (std::size_t k = 0; k < starts.size(); ++k) {
        for (int fi = 0; fi < static_cast<int>(zel::Field::count_); ++fi) {
            const zel::Field f = static_cast<zel::Field>(fi);
            const zel::FieldDef& d = zel::field_def(f);
            if (d.line != lines[k].line) continue;
            const std::size_t at = starts[k] + d.offset;
            const std::string_view slot = disk.substr(at, d.width);
            const std::string name = format_field_ref(FieldRef{f, lines[k].index});
            const std::size_t nul = slot.find('\0');
            if (nul == std::string_view::npos) {
                r.add(at, name + " has no NUL in its " + std::to_string(d.width) + "-byte slot", false);
            }
            if (d.kind != zel::FieldKind::label) continue;
            const std::string want = expected_label(f, lines[k].index);
            const std::string_view have = slot.substr(0, nul);
            if (have != want) {
                r.add(at, name + " is \"" + escape_bytes(have) + "\", expected \"" + escape_bytes(want) + "\"", false);
            }
        }
    }
}

}  // namespace

CheckReport check_disk_bytes(std::string_view disk)
{
    CheckReport report;
    Reporter r(report);
    const std::vector<ExpectedLine> lines = expected_lines();
    check_size(disk, r);
    check_stray_bytes(disk, r);
    const std::vector<std::size_t> starts = check_lines(disk, lines, r);
    check_slots(disk, lines, starts, r);
    return report;
}

}  // namespace zelcfg
