// Schedule evaluation and transfer preparation over any record, any clock reading and
// any keys, checked against the plain reading in reference_model.h and against the
// bounds the call flow relies on (a dial string that fits its buffer, a known picture).
#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstring>
#include <string>

#include "call_clock.h"
#include "fuzz_check.h"
#include "record_edits.h"
#include "reference_model.h"
#include "schedule.h"
#include "status_pictures.h"
#include "transfer.h"

namespace {

zel::CallClock any_clock(FuzzedDataProvider& in)
{
    zel::CallClock c;
    if (in.ConsumeBool()) {  // a real reading of the clock
        c.year = in.ConsumeIntegralInRange(1601, 9999);
        c.month = in.ConsumeIntegralInRange(1, 12);
        c.day = in.ConsumeIntegralInRange(1, 31);
        c.weekday = in.ConsumeIntegralInRange(0, 6);
        c.hour = in.ConsumeIntegralInRange(0, 23);
        c.minute = in.ConsumeIntegralInRange(0, 59);
    } else {  // whatever a broken clock could give
        c.year = in.ConsumeIntegral<int>();
        c.month = in.ConsumeIntegral<int>();
        c.day = in.ConsumeIntegral<int>();
        c.weekday = in.ConsumeIntegral<int>();
        c.hour = in.ConsumeIntegral<int>();
        c.minute = in.ConsumeIntegral<int>();
    }
    return c;
}

void check_plan(const zel::TransferPlan& plan, const std::string& want, const char* what)
{
    FUZZ_CHECK(std::memchr(plan.dial, '\0', sizeof plan.dial) != nullptr, "%s: dial string not terminated", what);
    FUZZ_CHECK(!plan.cut, "%s: a record's dial string was cut", what);
    FUZZ_CHECK(want == plan.dial, "%s: dial '%s', reference '%s'", what, plan.dial, want.c_str());
    FUZZ_CHECK(zel::transfer_picture_name(plan.picture) != nullptr, "%s: picture %d", what, plan.picture);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const zel::CallClock clock = any_clock(in);
    const zel::ClockTexts texts = zel::make_clock_texts(clock);
    FUZZ_CHECK(texts.time.size() == 5 && texts.date.size() == 10 && texts.day.size() <= 3,
               "clock texts '%s' '%s' '%s'", texts.time.c_str(), texts.date.c_str(), texts.day.c_str());
    FUZZ_CHECK(texts.time[2] == ':' || clock.hour > 99 || clock.hour < -9, "time text '%s'", texts.time.c_str());

    const std::string keys = in.ConsumeRandomLengthString(40);
    const zel::ConfigRecord rec = fuzzrec::edited_record(in, {texts.date, texts.day});

    const zel::ScheduleOutcome got = zel::evaluate_schedule(rec, texts);
    const refmodel::Schedule want = refmodel::schedule(rec, texts.time, texts.date, texts.day);
    FUZZ_CHECK(got.greeting == want.greeting && got.closed == want.closed && got.special_open == want.special_open,
               "schedule at %s %s %s: '%s' %d %d, reference '%s' %d %d", texts.date.c_str(), texts.time.c_str(),
               texts.day.c_str(), got.greeting.c_str(), got.closed, got.special_open, want.greeting.c_str(),
               want.closed, want.special_open);
    FUZZ_CHECK(!(got.closed && got.special_open), "closed and special-open at once");

    const int route = zel::find_route(rec, keys);
    FUZZ_CHECK(route == refmodel::find_route(rec, keys), "route %d for '%s'", route, keys.c_str());
    FUZZ_CHECK(route >= -1 && route < zel::kRouteCount, "route %d", route);

    for (int k = 0; k < zel::kRouteCount; ++k) {
        const zel::TransferPlan plan = zel::prepare_route_transfer(rec, k, texts.time, got);
        check_plan(plan, refmodel::route_dial(rec, k, texts.time, want), "route");
        FUZZ_CHECK(plan.route == k && plan.picture == k + 1, "route %d gave route %d picture %d", k, plan.route,
                   plan.picture);
        FUZZ_CHECK(plan.voice == zel::get_field(rec, zel::Field::route_vox, k), "route voice");
    }
    const zel::TransferPlan fallback = zel::prepare_default_transfer(rec);
    check_plan(fallback, refmodel::default_dial(rec), "default");
    FUZZ_CHECK(fallback.picture == 0 && fallback.route == -1, "default picture %d", fallback.picture);
    FUZZ_CHECK(fallback.voice == zel::get_field(rec, zel::Field::no_input_vox), "default voice");
    // A route index the flow never passes still gives a sound plan, not a read outside the record.
    const zel::TransferPlan stray = zel::prepare_route_transfer(rec, in.ConsumeIntegral<int>(), texts.time, got);
    FUZZ_CHECK(std::memchr(stray.dial, '\0', sizeof stray.dial) != nullptr, "stray route dial not terminated");
    return 0;
}
