// The call log's lines and its appender. Lines end in CR LF and the file is written in
// binary, so the Windows and the native build write the same bytes.
#include "call_log.h"

#include <algorithm>
#include <cstdio>

namespace zel {

namespace {

std::string joined(const std::vector<std::string>& parts, const char* separator)
{
    std::string text;
    for (const std::string& p : parts) {
        if (!text.empty()) text += separator;
        text += p;
    }
    return text;
}

std::string number(const char* format, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

const std::vector<std::string>& call_log_columns()
{
    static const std::vector<std::string> columns = {
        "start",  "line",     "answer_seconds", "greeting_field", "greeting", "reason",
        "entries", "route",   "extension",      "outcome",        "outcome_at", "dial",
        "length_seconds", "failed", "lost_before",
    };
    return columns;
}

std::string csv_field(std::string_view text)
{
    const bool blank_edge = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    if (!blank_edge && text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string call_log_header()
{
    std::string line;
    for (const std::string& c : call_log_columns()) line += (line.empty() ? "" : ",") + c;
    return line + "\r\n";
}

std::string call_log_line(const CallLogEntry& e, unsigned long lost_before)
{
    char start[32];
    std::snprintf(start, sizeof start, "%04d-%02d-%02d %02d:%02d:%02d", e.start.year, e.start.month, e.start.day,
                  e.start.hour, e.start.minute, e.start.second);
    const std::vector<std::string> fields = {
        start,
        std::to_string(e.line),
        number("%.1f", e.answer_seconds),
        e.greeting_field,
        e.greeting,
        e.reason,
        joined(e.entries, " "),
        e.route >= 0 ? std::to_string(e.route) : std::string(),
        e.extension,
        e.outcome,
        e.outcome_at,
        e.dial,
        number("%.1f", e.length_seconds),
        joined(e.failed, "; "),
        std::to_string(lost_before),
    };
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += csv_field(fields[i]);
    }
    return line + "\r\n";
}

double answer_seconds(double waited, int rings)
{
    constexpr double kRingCycle = 6.0;  // 2 s of ringing, 4 s of silence
    const double rings_take = kRingCycle * (rings > 1 ? rings - 1 : 0);
    return std::max(0.0, std::min(waited, rings_take));
}

std::string folder_of(std::string_view path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string call_log_file_name(const CallClock& when)
{
    char name[40];
    std::snprintf(name, sizeof name, "calls-%04d%02d%02d.csv", when.year % 10000, when.month % 100, when.day % 100);
    return name;
}

bool CallLog::append(const CallLogEntry& entry)
{
    const std::lock_guard<std::mutex> hold(mutex_);
    const std::string path = folder_ + call_log_file_name(entry.start);
    std::FILE* f = std::fopen(path.c_str(), "a+b");
    if (f == nullptr) {
        ++lost_;
        return false;
    }
    std::string text;
    if (std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) == 0) {
        text = call_log_header();
    } else if (std::fseek(f, -1, SEEK_END) == 0 && std::fgetc(f) != '\n') {
        // A write that failed half-way left a line without its end; ours starts afresh.
        text = "\r\n";
    }
    std::fseek(f, 0, SEEK_END);  // a write may follow a read only after a seek
    text += call_log_line(entry, lost_);
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!(written && flushed && closed)) {
        ++lost_;
        return false;
    }
    lost_ = 0;
    return true;
}

unsigned long CallLog::lost() const
{
    const std::lock_guard<std::mutex> hold(mutex_);
    return lost_;
}

}  // namespace zel
