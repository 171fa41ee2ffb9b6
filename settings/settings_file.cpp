#include "settings/settings_file.h"

#include "settings/settings_record.h"

int ReadSettingsFile(const char *fileName, char *path, WORD *year, WORD *month, WORD *day)
{
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;

    unsigned char bytes[SettingsRecordSize];
    DWORD total = 0;
    while (total < sizeof bytes) {
        DWORD got = 0;
        if (!ReadFile(file, bytes + total, static_cast<DWORD>(sizeof bytes) - total, &got, nullptr)
            || got == 0)
            break;
        total += got;
    }
    CloseHandle(file);
    return DecodeSettingsRecord(bytes, total, path, year, month, day);
}

int WriteSettingsFile(const char *fileName, const char *path, WORD year, WORD month, WORD day)
{
    // Tested here rather than left to the open: Wine running as root opens a read-only file for
    // writing, and Windows would refuse it anyway.
    const DWORD attributes = GetFileAttributesA(fileName);
    if (attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return 0;

    // Not truncated at the open: the old record stays until the new one is written over it,
    // which needs no new space for a file of 276 bytes or more.
    HANDLE file = CreateFileA(fileName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;

    unsigned char bytes[SettingsRecordSize];
    EncodeSettingsRecord(path, year, month, day, bytes);
    DWORD written = 0;
    bool ok = WriteFile(file, bytes, static_cast<DWORD>(sizeof bytes), &written, nullptr)
              && written == sizeof bytes && SetEndOfFile(file) && FlushFileBuffers(file);
    if (!CloseHandle(file))
        ok = false;
    if (!ok && created)
        DeleteFileA(fileName);
    return ok ? 1 : 0;
}
