// Any line: the tail lies within the line, starts at neither a blank nor a control character,
// and is the line's own end.
#include <stdint.h>
#include <string.h>

#include <string>

#include "launch/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string line(reinterpret_cast<const char *>(data), size);
    const char *begin = line.c_str();
    const char *tail = CommandLineTail(begin);
    const size_t length = strlen(begin);
    if (tail < begin || tail > begin + length)
        __builtin_trap();
    const unsigned char first = static_cast<unsigned char>(*tail);
    if (first != 0 && first <= 0x20)
        __builtin_trap();
    return 0;
}
