#ifndef _WIN32

#include "cli/Console.h"

#include <unistd.h>

bool Console::InputIsTerminal()
{
    return ::isatty(STDIN_FILENO) != 0;
}

#endif
