// The 276-byte settings record: a 270-byte zero-terminated path, then year, month and day as
// little-endian 16-bit values at offsets 270, 272 and 274. Portable: no Windows headers.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum : size_t {
    SettingsPathSize = 270,
    SettingsRecordSize = 276,
};

struct SettingsRecord {
    char path[SettingsPathSize];
    uint16_t year;
    uint16_t month;
    uint16_t day;
};

// Writes the record into `out` (SettingsRecordSize bytes); all SettingsPathSize bytes of `path`
// are stored as they stand.
void EncodeSettingsRecord(const char *path, uint16_t year, uint16_t month, uint16_t day,
                          unsigned char *out);

// Reads a record from the first SettingsRecordSize of `size` bytes. Returns 0, leaving the
// destinations untouched, when there are fewer bytes or when the path field holds no zero byte
// (the path is used as zero-terminated text). `path` receives SettingsPathSize bytes.
int DecodeSettingsRecord(const unsigned char *bytes, size_t size, char *path, uint16_t *year,
                         uint16_t *month, uint16_t *day);
