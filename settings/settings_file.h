// Reading and writing a settings file holding one 276-byte record.
#pragma once

#include <windows.h>

// 1 when the whole record was read and its path is zero-terminated; 0 otherwise, with the
// destinations unusable. `path` receives 270 bytes. A file longer than a record is accepted.
int ReadSettingsFile(const char *fileName, char *path, WORD *year, WORD *month, WORD *day);

// Writes the record (all 270 bytes of `path`, then the date) so that the file is exactly
// 276 bytes. 1 on success; 0 when any step fails, in which case a file that existed before is
// left as it was where possible and a file this call created is removed.
int WriteSettingsFile(const char *fileName, const char *path, WORD year, WORD month, WORD day);
