#include "settings/settings_record.h"

#include <string.h>

static void PutWord(unsigned char *out, uint16_t value)
{
    out[0] = static_cast<unsigned char>(value & 0xFF);
    out[1] = static_cast<unsigned char>(value >> 8);
}

static uint16_t GetWord(const unsigned char *in)
{
    return static_cast<uint16_t>(in[0] | (in[1] << 8));
}

void EncodeSettingsRecord(const char *path, uint16_t year, uint16_t month, uint16_t day,
                          unsigned char *out)
{
    memcpy(out, path, SettingsPathSize);
    PutWord(out + SettingsPathSize, year);
    PutWord(out + SettingsPathSize + 2, month);
    PutWord(out + SettingsPathSize + 4, day);
}

int DecodeSettingsRecord(const unsigned char *bytes, size_t size, char *path, uint16_t *year,
                         uint16_t *month, uint16_t *day)
{
    if (size < SettingsRecordSize)
        return 0;
    if (memchr(bytes, 0, SettingsPathSize) == nullptr)
        return 0;
    memcpy(path, bytes, SettingsPathSize);
    *year = GetWord(bytes + SettingsPathSize);
    *month = GetWord(bytes + SettingsPathSize + 2);
    *day = GetWord(bytes + SettingsPathSize + 4);
    return 1;
}
