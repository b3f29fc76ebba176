#ifdef _WIN32

#include "cli/Console.h"

#include <cstdio>
#include <io.h>

bool Console::InputIsTerminal()
{
    return _isatty(_fileno(stdin)) != 0;
}

#endif
