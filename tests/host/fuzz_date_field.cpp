// Any text: digits only give their value modulo 65536, anything else gives 0.
#include <stdint.h>

#include <string>

#include "window/date_field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    uint32_t expected = 0;
    for (const char *p = text.c_str(); *p; ++p) {
        if (*p < '0' || *p > '9') {
            expected = 0;
            break;
        }
        expected = (expected * 10 + static_cast<uint32_t>(*p - '0')) % 65536;
    }
    if (ParseDateField(text.c_str()) != expected)
        __builtin_trap();
    return 0;
}
