// The call log summary. Columns are found by their header names, so logs written by a
// later Vornline with more columns still read.
#include "call_report.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace zelcfg {

namespace {

std::string share(int part, int whole)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", whole > 0 ? 100.0 * part / whole : 0.0);
    return text;
}

std::string html_escape(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string padded(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text + " " : text + std::string(width - text.size(), ' ');
}

int column(const std::vector<std::string>& header, const char* name)
{
    for (std::size_t i = 0; i < header.size(); ++i) {
        if (header[i] == name) return static_cast<int>(i);
    }
    return -1;
}

std::string two_digits(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n % 100);
    return text;
}

// The outcomes in the order a reader expects them, then any other the log holds.
std::vector<std::pair<std::string, int>> ordered_outcomes(const CallTotals& t)
{
    static const char* const kOrder[] = {"port", "alternate", "default-silence", "default-wrong", "hung-up", "error"};
    std::vector<std::pair<std::string, int>> rows;
    for (const char* o : kOrder) {
        const auto it = t.outcomes.find(o);
        if (it != t.outcomes.end()) rows.emplace_back(*it);
    }
    for (const auto& [name, count] : t.outcomes) {
        if (std::find(std::begin(kOrder), std::end(kOrder), name) == std::end(kOrder)) rows.emplace_back(name, count);
    }
    return rows;
}

}  // namespace

std::vector<std::vector<std::string>> parse_csv(std::string_view text)
{
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool row_started = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        row_started = true;
        if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;  // the LF ends the row
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            row_started = false;
        } else {
            field += c;
        }
    }
    if (row_started) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool add_call_log(std::string_view text, CallTotals& t, std::string& problem)
{
    const std::vector<std::vector<std::string>> rows = parse_csv(text);
    if (rows.empty()) return true;  // a log that was created but never written to
    const std::vector<std::string>& header = rows.front();
    const int start = column(header, "start");
    const int outcome = column(header, "outcome");
    const int outcome_at = column(header, "outcome_at");
    const int entries = column(header, "entries");
    const int extension = column(header, "extension");
    const int lost = column(header, "lost_before");
    for (const auto& [index, name] : {std::pair{start, "start"}, {outcome, "outcome"}, {entries, "entries"},
                                      {extension, "extension"}}) {
        if (index < 0) {
            problem = std::string("not a call log: no column '") + name + "' in its first line";
            return false;
        }
    }
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& row = rows[r];
        // A line cut short by a failed write is not a call.
        if (row.size() < header.size() || row[start].size() < 13) {
            ++t.unreadable_lines;
            continue;
        }
        const std::string& when = row[start];
        const int hour = (when[11] - '0') * 10 + (when[12] - '0');
        if (hour < 0 || hour > 23) {
            ++t.unreadable_lines;
            continue;
        }
        ++t.calls;
        ++t.per_day[when.substr(0, 10)];
        ++t.per_hour[hour];
        ++t.outcomes[row[outcome]];
        if (row[outcome] == "hung-up" && row[entries].empty()) {
            ++t.silent_hang_ups;
            ++t.silent_hang_up_steps[outcome_at >= 0 ? row[outcome_at] : std::string()];
        }
        if (!row[extension].empty()) ++t.extensions[row[extension]];
        if (lost >= 0) t.lost_lines += std::strtoul(row[lost].c_str(), nullptr, 10);
    }
    return true;
}

std::vector<std::pair<std::string, int>> top_extensions(const CallTotals& t, std::size_t limit)
{
    std::vector<std::pair<std::string, int>> rows(t.extensions.begin(), t.extensions.end());
    std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    if (rows.size() > limit) rows.resize(limit);
    return rows;
}

std::string calls_text(const CallTotals& t)
{
    std::string out = "Calls: " + std::to_string(t.calls) + "\n";
    if (t.lost_lines > 0) out += "Call lines the log could not write: " + std::to_string(t.lost_lines) + "\n";
    if (t.unreadable_lines > 0) out += "Unreadable lines skipped: " + std::to_string(t.unreadable_lines) + "\n";
    out += "\nCalls per day\n";
    for (const auto& [day, n] : t.per_day) out += "  " + day + "  " + std::to_string(n) + "\n";
    out += "\nOutcomes\n";
    for (const auto& [name, n] : ordered_outcomes(t)) {
        out += "  " + padded(name, 16) + padded(std::to_string(n), 6) + share(n, t.calls) + "\n";
    }
    out += "\nHung up before keying anything: " + std::to_string(t.silent_hang_ups) + " (" +
           share(t.silent_hang_ups, t.calls) + ")\n";
    for (const auto& [step, n] : t.silent_hang_up_steps) {
        out += "  during " + padded(step.empty() ? "?" : step, 16) + std::to_string(n) + "\n";
    }
    out += "\nExtensions most called\n";
    for (const auto& [ext, n] : top_extensions(t, 10)) out += "  " + padded(ext, 8) + std::to_string(n) + "\n";
    out += "\nCalls per hour\n";
    for (int h = 0; h < 24; ++h) {
        if (t.per_hour[h] == 0) continue;
        out += "  " + two_digits(h) + ":00  " + padded(std::to_string(t.per_hour[h]), 6) +
               std::string(static_cast<std::size_t>(std::min(t.per_hour[h], 60)), '#') + "\n";
    }
    return out;
}

std::string calls_html(const CallTotals& t, const std::vector<std::string>& sources)
{
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n<title>Vornline calls</title>\n"
        "<style>\nbody{font-family:sans-serif;margin:24px;color:#222;background:#fff}\n"
        "table{border-collapse:collapse;margin:8px 0 20px}\n"
        "td,th{border:1px solid #bbb;padding:3px 10px;text-align:left}\n"
        "td.n{text-align:right}\nh1{font-size:22px}h2{font-size:17px;margin-top:18px}\n"
        ".bar{fill:#d9480f}\n.axis{stroke:#444}\n.label{font-size:11px;fill:#222}\n</style></head><body>\n";
    out += "<h1>Vornline calls</h1>\n<p>" + std::to_string(t.calls) + " calls from";
    for (const std::string& s : sources) out += " <code>" + html_escape(s) + "</code>";
    out += ".";
    if (t.lost_lines > 0) out += " Call lines the log could not write: " + std::to_string(t.lost_lines) + ".";
    if (t.unreadable_lines > 0) out += " Unreadable lines skipped: " + std::to_string(t.unreadable_lines) + ".";
    out += "</p>\n";

    // Calls per hour first: the chart is what a reader looks for.
    int most = 1;
    for (const int n : t.per_hour) most = std::max(most, n);
    constexpr int kBarWidth = 28, kGap = 6, kChartHeight = 200, kLeft = 40, kTop = 10;
    const int width = kLeft + 24 * (kBarWidth + kGap) + 10;
    const int height = kTop + kChartHeight + 40;
    out += "<h2>Calls per hour</h2>\n<svg id=\"per-hour\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" shape-rendering=\"crispEdges\">\n";
    const int base = kTop + kChartHeight;
    out += "<line class=\"axis\" x1=\"" + std::to_string(kLeft) + "\" y1=\"" + std::to_string(base) + "\" x2=\"" +
           std::to_string(width - 10) + "\" y2=\"" + std::to_string(base) + "\"/>\n";
    out += "<text class=\"label\" x=\"2\" y=\"" + std::to_string(kTop + 10) + "\">" + std::to_string(most) +
           "</text>\n";
    for (int h = 0; h < 24; ++h) {
        const int x = kLeft + h * (kBarWidth + kGap);
        const int bar = t.per_hour[h] * kChartHeight / most;
        if (bar > 0) {
            out += "<rect class=\"bar\" data-hour=\"" + std::to_string(h) + "\" x=\"" + std::to_string(x) + "\" y=\"" +
                   std::to_string(base - bar) + "\" width=\"" + std::to_string(kBarWidth) + "\" height=\"" +
                   std::to_string(bar) + "\"><title>" + two_digits(h) + ":00: " + std::to_string(t.per_hour[h]) +
                   " calls</title></rect>\n";
        }
        out += "<text class=\"label\" x=\"" + std::to_string(x + 6) + "\" y=\"" + std::to_string(base + 16) + "\">" +
               two_digits(h) + "</text>\n";
    }
    out += "</svg>\n";

    out += "<h2>Calls per day</h2>\n<table><tr><th>Day</th><th>Calls</th></tr>\n";
    for (const auto& [day, n] : t.per_day) {
        out += "<tr><td>" + html_escape(day) + "</td><td class=\"n\">" + std::to_string(n) + "</td></tr>\n";
    }
    out += "</table>\n<h2>Outcomes</h2>\n<table><tr><th>Outcome</th><th>Calls</th><th>Share</th></tr>\n";
    for (const auto& [name, n] : ordered_outcomes(t)) {
        out += "<tr><td>" + html_escape(name) + "</td><td class=\"n\">" + std::to_string(n) + "</td><td class=\"n\">" +
               share(n, t.calls) + "</td></tr>\n";
    }
    out += "</table>\n<h2>Hung up before keying anything</h2>\n<table><tr><th>During</th><th>Calls</th></tr>\n";
    for (const auto& [step, n] : t.silent_hang_up_steps) {
        out += "<tr><td>" + html_escape(step) + "</td><td class=\"n\">" + std::to_string(n) + "</td></tr>\n";
    }
    out += "<tr><th>All</th><th class=\"n\">" + std::to_string(t.silent_hang_ups) + " (" +
           share(t.silent_hang_ups, t.calls) + ")</th></tr>\n";
    out += "</table>\n<h2>Extensions most called</h2>\n<table><tr><th>Extension</th><th>Calls</th></tr>\n";
    for (const auto& [ext, n] : top_extensions(t, 10)) {
        out += "<tr><td>" + html_escape(ext) + "</td><td class=\"n\">" + std::to_string(n) + "</td></tr>\n";
    }
    out += "</table>\n</body></html>\n";
    return out;
}

}  // namespace zelcfg
