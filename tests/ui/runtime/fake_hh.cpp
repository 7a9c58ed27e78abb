// Stands in for the help viewer in Vornline's GUI tests: it writes the command line it
// was started with to hh_command_line.txt in its current folder, and ends.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    const char* line = GetCommandLineA();
    if (std::FILE* f = std::fopen("hh_command_line.part", "wb")) {
        std::fwrite(line, 1, std::strlen(line), f);
        std::fclose(f);
        // Appears whole or not at all for the test that polls for it.
        MoveFileA("hh_command_line.part", "hh_command_line.txt");
    }
    return 0;
}
