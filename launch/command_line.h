// The command-line tail: the process's command line without the program's own name.
// Portable: no Windows headers, so the rule is tested natively.
#pragma once

// Returns a pointer into `commandLine` where the tail begins (possibly at its terminating zero).
// The program name is either quoted (up to the next double quote, or the end) or runs up to the
// first character 0x20 or below; then every character 0x01..0x20 is skipped. The rest is verbatim.
const char *CommandLineTail(const char *commandLine);
