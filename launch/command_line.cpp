#include "launch/command_line.h"

const char *CommandLineTail(const char *commandLine)
{
    // Unsigned, so that ANSI characters 0x80..0xFF count as part of the name, not as blanks.
    const unsigned char *p = reinterpret_cast<const unsigned char *>(commandLine);

    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p > 0x20)
            ++p;
    }
    while (*p != '\0' && *p <= 0x20)
        ++p;
    return reinterpret_cast<const char *>(p);
}
