// Plandesk's entry point: the one application object runs the program.
#include <windows.h>

#include "plandesk_app.h"

namespace {
CPlandeskApp the_app;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command)
{
    return the_app.Run(instance, show_command);
}
