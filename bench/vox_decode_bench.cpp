// VOX decoding, the stand-in board's decoder against sox, side by side: the same
// 60-second and 1-hour files (8 kHz speech made with espeak-ng and encoded by sox),
// decoded to raw 16-bit samples by each in turn, alternating which goes first. Both run
// as child processes and are charged the CPU time the kernel counts for them (user +
// system, from wait4), so start-up, reading and writing count alike on both sides.
//
//   vox_decode_bench [--work DIR] [--runs N]   full run, result rows for tools/bench.sh
//   vox_decode_bench --smoke [--work DIR]      the 60-second file once each: the outputs
//                                              must be identical; no timing is judged
//   vox_decode_bench --decode IN OUT           our decoder as a program (used by the above)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "bench_report.h"
#include "bench_stats.h"
#include "vox_decoder.h"

extern char** environ;

namespace {

constexpr int kRate = 8000;  // samples per second of the benchmark files
constexpr const char* kSpeech =
    "Thank you for calling. If you know your party's extension, please enter it now. "
    "For sales, press two zero zero one. For the service desk, press two zero zero two. "
    "Our office is open Monday to Friday from nine in the morning until five in the evening.";

// ---- our decoder as a program ----------------------------------------------------------

int decode_file(const char* in_path, const char* out_path)
{
    std::FILE* in = std::fopen(in_path, "rb");
    if (in == nullptr) {
        std::fprintf(stderr, "cannot read %s\n", in_path);
        return 1;
    }
    std::FILE* out = std::fopen(out_path, "wb");
    if (out == nullptr) {
        std::fclose(in);
        std::fprintf(stderr, "cannot write %s\n", out_path);
        return 1;
    }
    // Chunks large enough that the calls cost nothing, small enough to stay in cache.
    std::vector<std::uint8_t> bytes(1 << 16);
    std::vector<std::int16_t> samples;
    samples.reserve(2 * bytes.size());
    simboard::VoxDecoder decoder;
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
        if (got == 0) break;
        samples.clear();
        decoder.decode(bytes.data(), got, samples);
        if (std::fwrite(samples.data(), sizeof(std::int16_t), samples.size(), out) != samples.size()) {
            ok = false;
            break;
        }
    }
    ok = ok && std::ferror(in) == 0;
    std::fclose(in);
    ok = std::fclose(out) == 0 && ok;
    return ok ? 0 : 1;
}

// ---- child processes ---------------------------------------------------------------------

struct ChildRun {
    bool ok = false;
    double cpu_seconds = 0;  // user + system
};

double seconds_of(const timeval& tv) { return static_cast<double>(tv.tv_sec) + tv.tv_usec / 1e6; }

// Runs argv[0] (searched in PATH) with its output to /dev/null unless it writes a file itself.
ChildRun run_child(const std::vector<std::string>& argv, bool quiet = true)
{
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ChildRun run;
    if (rc != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", args[0], std::strerror(rc));
        return run;
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) return run;
    }
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.cpu_seconds = seconds_of(usage.ru_utime) + seconds_of(usage.ru_stime);
    if (!run.ok) std::fprintf(stderr, "%s ended with status %d\n", args[0], status);
    return run;
}

// ---- files -------------------------------------------------------------------------------

long file_size(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

bool same_contents(const std::string& a, const std::string& b, std::string* why)
{
    std::FILE* fa = std::fopen(a.c_str(), "rb");
    std::FILE* fb = std::fopen(b.c_str(), "rb");
    bool same = fa != nullptr && fb != nullptr;
    long offset = 0;
    std::vector<char> ba(1 << 16), bb(1 << 16);
    while (same) {
        const std::size_t na = std::fread(ba.data(), 1, ba.size(), fa);
        const std::size_t nb = std::fread(bb.data(), 1, bb.size(), fb);
        if (na != nb || std::memcmp(ba.data(), bb.data(), na) != 0) {
            std::size_t i = 0;
            while (i < na && i < nb && ba[i] == bb[i]) ++i;
            *why = "first difference at byte " + std::to_string(offset + static_cast<long>(i));
            same = false;
        }
        if (na == 0) break;
        offset += static_cast<long>(na);
    }
    if (fa == nullptr || fb == nullptr) *why = "an output is missing";
    if (fa != nullptr) std::fclose(fa);
    if (fb != nullptr) std::fclose(fb);
    return same;
}

// A .vox file of `seconds` of speech at 8 kHz: espeak-ng speaks once, sox resamples that,
// repeats it to the length and encodes it (without dither, so the bytes are repeatable).
// An existing file of the right size is reused.
bool make_vox(const std::string& work, int seconds, std::string* path)
{
    *path = work + "/speech_" + std::to_string(seconds) + "s.vox";
    const long want = static_cast<long>(seconds) * kRate / 2;
    if (file_size(*path) == want) return true;

    const std::string spoken = work + "/speech_22k.wav";
    const std::string speech = work + "/speech_8k.wav";
    if (file_size(speech) <= 44) {
        if (!run_child({"espeak-ng", "-w", spoken, kSpeech}).ok) return false;
        if (!run_child({"sox", "-D", spoken, "-r", "8000", "-c", "1", "-b", "16", speech}).ok) return false;
    }
    const long speech_samples = (file_size(speech) - 44) / 2;
    if (speech_samples <= 0) return false;
    const long repeats = (static_cast<long>(seconds) * kRate + speech_samples - 1) / speech_samples;
    if (!run_child({"sox", "-D", speech, "-t", "vox", "-r", "8000", "-c", "1", *path, "repeat",
                    std::to_string(repeats), "trim", "0", std::to_string(seconds)})
             .ok)
        return false;
    if (file_size(*path) != want) {
        std::fprintf(stderr, "%s has %ld bytes, not %ld\n", path->c_str(), file_size(*path), want);
        return false;
    }
    return true;
}

// ---- the comparison ------------------------------------------------------------------------

struct Side {
    std::vector<double> cpu;
};

struct Comparison {
    bool ok = false;
    double audio_seconds = 0;
    Side ours, sox;
};

Comparison compare(const std::string& self, const std::string& work, const std::string& vox, int runs)
{
    Comparison c;
    c.audio_seconds = static_cast<double>(file_size(vox)) * 2 / kRate;
    const std::string ours_out = work + "/decoded_ours.raw";
    const std::string sox_out = work + "/decoded_sox.raw";
    const std::vector<std::string> ours_cmd{self, "--decode", vox, ours_out};
    const std::vector<std::string> sox_cmd{"sox", "-t", "vox", "-r", "8000", vox, "-t", "raw", "-e", "signed", "-b", "16",
                                           sox_out};
    for (int r = 0; r < runs; ++r) {
        // Alternate the order, so that neither side always finds the caches warmed by the other.
        for (int k = 0; k < 2; ++k) {
            const bool ours_turn = (r + k) % 2 == 0;
            const ChildRun run = run_child(ours_turn ? ours_cmd : sox_cmd);
            if (!run.ok) return c;
            (ours_turn ? c.ours : c.sox).cpu.push_back(run.cpu_seconds);
        }
        if (r == 0) {
            std::string why;
            if (!same_contents(ours_out, sox_out, &why)) {
                std::fprintf(stderr, "%s: our output differs from sox's (%s)\n", vox.c_str(), why.c_str());
                return c;
            }
            std::printf("%s: %.0f audio seconds, outputs identical (%ld bytes)\n", vox.c_str(), c.audio_seconds,
                        file_size(ours_out));
        }
    }
    std::remove(ours_out.c_str());
    std::remove(sox_out.c_str());
    c.ok = true;
    return c;
}

void report(const std::string& label, const Comparison& c)
{
    using namespace zelbench;
    const double ours_cpu = median(c.ours.cpu);
    const double sox_cpu = median(c.sox.cpu);
    // A run too short for the kernel to charge it any time has no meaningful rate.
    const double ours_rate = ours_cpu > 0 ? c.audio_seconds / ours_cpu : 0;
    const double sox_rate = sox_cpu > 0 ? c.audio_seconds / sox_cpu : 0;
    const double ratio = sox_rate > 0 ? ours_rate / sox_rate : 0;
    const std::string n = " (median of " + std::to_string(c.ours.cpu.size()) + ")";
    print_row("vox decode " + label, "board decoder CPU" + n, fixed(ours_cpu * 1000, 2) + " ms");
    print_row("vox decode " + label, "sox CPU" + n, fixed(sox_cpu * 1000, 2) + " ms");
    print_row("vox decode " + label, "board decoder rate", fixed(ours_rate, 0) + " audio-s/CPU-s");
    print_row("vox decode " + label, "sox rate", fixed(sox_rate, 0) + " audio-s/CPU-s");
    print_row("vox decode " + label, "ratio board / sox", fixed(ratio, 2) + " x", ">= 2 x", verdict_at_least(ratio, 2));
    print_row("vox decode " + label, "output identical to sox", "yes", "identical", Verdict::met);
}

// The decoder alone, in memory: no process, no file; what the board pays per play.
void decoder_alone(const std::string& vox, int runs)
{
    std::FILE* f = std::fopen(vox.c_str(), "rb");
    if (f == nullptr) return;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file_size(vox)));
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    bytes.resize(got);
    std::vector<double> cpu;
    std::vector<std::int16_t> samples;
    samples.reserve(2 * bytes.size());
    for (int r = 0; r < runs; ++r) {
        timespec t0{}, t1{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t0);
        samples.clear();
        simboard::VoxDecoder decoder;
        decoder.decode(bytes.data(), bytes.size(), samples);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t1);
        cpu.push_back(static_cast<double>(t1.tv_sec - t0.tv_sec) + (t1.tv_nsec - t0.tv_nsec) / 1e9);
    }
    const double seconds = zelbench::median(cpu);
    const double audio = static_cast<double>(bytes.size()) * 2 / kRate;
    zelbench::print_row("vox decode 1 h", "board decoder alone, in memory (median of " + std::to_string(runs) + ")",
                        zelbench::fixed(seconds * 1000, 2) + " ms = " +
                            zelbench::fixed(seconds > 0 ? audio / seconds : 0, 0) + " audio-s/CPU-s");
}

std::string self_path(const char* argv0)
{
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return argv0;
    buffer[n] = '\0';
    return buffer;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--decode") == 0) return decode_file(argv[2], argv[3]);

    bool smoke = false;
    std::string work;
    int runs = 9;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--smoke") {
            smoke = true;
        } else if (a == "--work" && i + 1 < argc) {
            work = argv[++i];
        } else if (a == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--smoke] [--work DIR] [--runs N]\n", argv[0]);
            return 2;
        }
    }
    bool temporary = false;
    if (work.empty()) {
        char pattern[] = "/tmp/zel-vox-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) return 1;
        work = pattern;
        temporary = true;
    } else {
        mkdir(work.c_str(), 0777);
    }
    const std::string self = self_path(argv[0]);

    int rc = 0;
    std::string minute, hour;
    if (!make_vox(work, 60, &minute)) {
        std::fprintf(stderr, "could not make the 60-second file in %s\n", work.c_str());
        rc = 1;
    } else if (smoke) {
        rc = compare(self, work, minute, 1).ok ? 0 : 1;
    } else {
        const Comparison c60 = compare(self, work, minute, runs * 3);
        if (c60.ok) report("60 s", c60);
        rc = c60.ok ? 0 : 1;
        if (!make_vox(work, 3600, &hour)) {
            std::fprintf(stderr, "could not make the 1-hour file in %s\n", work.c_str());
            rc = 1;
        } else {
            const Comparison c3600 = compare(self, work, hour, runs);
            if (c3600.ok) report("1 h", c3600);
            if (!c3600.ok) rc = 1;
            decoder_alone(hour, runs);
        }
    }
    if (temporary) {
        for (const std::string& f : {minute, hour, work + "/speech_22k.wav", work + "/speech_8k.wav"})
            if (!f.empty()) std::remove(f.c_str());
        rmdir(work.c_str());
    }
    return rc;
}
