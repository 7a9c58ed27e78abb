// zeldemo: the demo's hand on the stand-in board, used by tools/demo.sh.
//   zeldemo hours [route]               the week and the route window, as zelcfg assignments
//   zeldemo callers --port P --out DIR --log FILE [--speed S] [--rings N]
//                                       the four callers of `make run`
//   zeldemo call --port P [--line N] [--player PROGRAM]
//                                       one line for a person (`make call`)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo_run.h"
#include "office_hours.h"

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: zeldemo hours [route]\n"
                 "       zeldemo callers --port P --out DIR --log FILE [--speed S] [--rings N]\n"
                 "       zeldemo call --port P [--line N] [--player PROGRAM]\n");
    return 2;
}

// "--name value" pairs after the command; false on anything else.
struct Options {
    int port = 7311;
    double speed = 1;
    int rings = 4;
    int line = 1;
    std::string out;
    std::string log;
    std::string player;
};

bool read_options(int argc, char** argv, int first, Options* o)
{
    for (int i = first; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        const char* name = argv[i];
        const char* value = argv[i + 1];
        if (std::strcmp(name, "--port") == 0) o->port = std::atoi(value);
        else if (std::strcmp(name, "--speed") == 0) o->speed = std::atof(value);
        else if (std::strcmp(name, "--rings") == 0) o->rings = std::atoi(value);
        else if (std::strcmp(name, "--line") == 0) o->line = std::atoi(value);
        else if (std::strcmp(name, "--out") == 0) o->out = value;
        else if (std::strcmp(name, "--log") == 0) o->log = value;
        else if (std::strcmp(name, "--player") == 0) o->player = value;
        else return false;
    }
    return o->port > 0 && o->port <= 65535 && o->speed > 0 && o->rings > 0 && o->line >= 1 && o->line <= 4;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "hours" && argc <= 3) {
        const int route = argc == 3 ? std::atoi(argv[2]) : 0;
        if (route < 0 || route > 15) return usage();
        for (const demo::Assignment& a : demo::office_plan(demo::moment_now(), route)) {
            std::printf("%s=%s\n", a.field.c_str(), a.value.c_str());
        }
        return 0;
    }
    Options o;
    if (!read_options(argc, argv, 2, &o)) return usage();
    if (command == "callers") {
        if (o.out.empty() || o.log.empty()) return usage();
        demo::RunSettings s;
        s.port = o.port;
        s.speed = o.speed;
        s.rings = o.rings;
        s.out_dir = o.out;
        s.log_path = o.log;
        return demo::run_callers(s);
    }
    if (command == "call") {
        demo::LineSettings s;
        s.port = o.port;
        s.line = o.line;
        s.player = o.player;
        return demo::run_interactive(s);
    }
    return usage();
}
