// What one call costs the runtime's own decisions: the clock texts, schedule evaluation,
// the route lookup and the transfer preparation, on a full record where every table is
// searched to its last line. Google Benchmark; natively.
//
//   schedule_bench            repetitions, medians, result rows for tools/bench.sh
//   schedule_bench --smoke    one short pass: checks the workload decides as intended
//                             and that the benchmark runs; asserts no timing
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_report.h"
#include "call_clock.h"
#include "full_record.h"
#include "schedule.h"
#include "transfer.h"

namespace {

using zelbench::CallMoment;

struct CallDecision {
    zel::ScheduleOutcome schedule;
    zel::TransferPlan plan;
};

// The same steps, in the same order, as the call flow takes them for one call.
CallDecision decide(const zel::ConfigRecord& cmd, const zel::CallClock& clock, const std::string& entry)
{
    const zel::ClockTexts texts = zel::make_clock_texts(clock);
    CallDecision d;
    d.schedule = zel::evaluate_schedule(cmd, texts);
    const int route = zel::find_route(cmd, entry);
    d.plan = route >= 0 ? zel::prepare_route_transfer(cmd, route, texts.time, d.schedule)
                        : zel::prepare_default_transfer(cmd);
    return d;
}

const zel::ConfigRecord& workload()
{
    static const zel::ConfigRecord rec = zelbench::full_record();
    return rec;
}

const std::string& last_entry()
{
    static const std::string entry = zelbench::route_entry(zelbench::kRoutes - 1);
    return entry;
}

struct Expected {
    CallMoment moment;
    zel::ScheduleRule rule;
    const char* dial;
};

// With int_transfer_delay 2 and ext_transfer_delay 3: a special day that is open dials
// the last route's port; a holiday, or a Sunday evening inside the 05:00 PM - 08:00 AM
// window, dials its outside number with the pauses after the outside-line digit.
constexpr Expected kExpected[] = {
    {CallMoment::special_last, zel::ScheduleRule::special_open, "&,,315"},
    {CallMoment::holiday_last, zel::ScheduleRule::holiday, "&,,9,,,14155551015"},
    {CallMoment::weekday_last, zel::ScheduleRule::weekday_after_hours, "&,,9,,,14155551015"},
};

// A benchmark that measured a shorter path than it claims would be worthless.
bool workload_decides_as_intended()
{
    bool ok = true;
    for (const Expected& e : kExpected) {
        const CallDecision d = decide(workload(), zelbench::call_moment(e.moment), last_entry());
        const bool good = d.schedule.rule == e.rule && d.plan.route == zelbench::kRoutes - 1 &&
                          std::strcmp(d.plan.dial, e.dial) == 0 && !d.plan.cut;
        if (!good) {
            std::fprintf(stderr, "%s: rule %d, route %d, dial \"%s\"; expected rule %d, route %d, dial \"%s\"\n",
                         zelbench::moment_name(e.moment), static_cast<int>(d.schedule.rule), d.plan.route,
                         d.plan.dial, static_cast<int>(e.rule), zelbench::kRoutes - 1, e.dial);
            ok = false;
        }
    }
    return ok;
}

void BM_CallDecision(benchmark::State& state, CallMoment moment)
{
    const zel::ConfigRecord& cmd = workload();
    const zel::CallClock clock = zelbench::call_moment(moment);
    const std::string& entry = last_entry();
    for (auto _ : state) {
        CallDecision d = decide(cmd, clock, entry);
        benchmark::DoNotOptimize(d);
    }
}

// Each step alone, to show where the time of a decision goes.
void BM_ScheduleOnly(benchmark::State& state, CallMoment moment)
{
    const zel::ConfigRecord& cmd = workload();
    const zel::ClockTexts texts = zel::make_clock_texts(zelbench::call_moment(moment));
    for (auto _ : state) {
        zel::ScheduleOutcome s = zel::evaluate_schedule(cmd, texts);
        benchmark::DoNotOptimize(s);
    }
}

void BM_RouteAndTransfer(benchmark::State& state)
{
    const zel::ConfigRecord& cmd = workload();
    const zel::ClockTexts texts = zel::make_clock_texts(zelbench::call_moment(CallMoment::holiday_last));
    const zel::ScheduleOutcome schedule = zel::evaluate_schedule(cmd, texts);
    const std::string& entry = last_entry();
    for (auto _ : state) {
        const int route = zel::find_route(cmd, entry);
        zel::TransferPlan plan = zel::prepare_route_transfer(cmd, route, texts.time, schedule);
        benchmark::DoNotOptimize(plan);
    }
}

// Keeps the console output and, for every median, one result row.
class RowReporter : public benchmark::ConsoleReporter {
public:
    // Plain text: the rows are picked out of the output by their first word.
    RowReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
            const double ns = run.GetAdjustedCPUTime();  // ns: the unit every benchmark here uses
            const std::string name = run.run_name.str();
            const bool whole = name.rfind("BM_CallDecision", 0) == 0;
            zelbench::print_row("schedule+transfer", name + " (median CPU)", zelbench::fixed(ns / 1000.0, 3) + " us",
                                whole ? "< 20 us" : "",
                                whole ? zelbench::verdict_below(ns / 1000.0, 20.0) : zelbench::Verdict::none);
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    bool smoke = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            smoke = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    if (!workload_decides_as_intended()) return 1;

    for (const Expected& e : kExpected) {
        const std::string suffix = zelbench::moment_name(e.moment);
        benchmark::RegisterBenchmark(("BM_CallDecision/" + suffix).c_str(), BM_CallDecision, e.moment);
        benchmark::RegisterBenchmark(("BM_ScheduleOnly/" + suffix).c_str(), BM_ScheduleOnly, e.moment);
    }
    benchmark::RegisterBenchmark("BM_RouteAndTransfer/last_route", BM_RouteAndTransfer);

    // Flags of our own come first, so that a caller's flags still override them.
    std::string min_time = smoke ? "--benchmark_min_time=0.0001" : "--benchmark_min_time=0.2";
    std::string repetitions = smoke ? "--benchmark_repetitions=1" : "--benchmark_repetitions=9";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    std::vector<char*> full{args[0], min_time.data(), repetitions.data(), aggregates.data()};
    full.insert(full.end(), args.begin() + 1, args.end());
    int full_argc = static_cast<int>(full.size());
    benchmark::Initialize(&full_argc, full.data());
    if (benchmark::ReportUnrecognizedArguments(full_argc, full.data())) return 2;

    RowReporter reporter;
    const std::size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return ran > 0 ? 0 : 1;
}
