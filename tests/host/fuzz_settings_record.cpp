// Any bytes: the decoder must never read past the input nor accept a path without terminator.
#include <stdint.h>
#include <string.h>

#include "settings/settings_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    char path[SettingsPathSize];
    uint16_t year, month, day;
    if (DecodeSettingsRecord(data, size, path, &year, &month, &day)) {
        if (memchr(path, 0, sizeof path) == nullptr)
            __builtin_trap();
        unsigned char again[SettingsRecordSize];
        EncodeSettingsRecord(path, year, month, day, again);
        if (memcmp(again, data, SettingsRecordSize) != 0)
            __builtin_trap();
    }
    return 0;
}
