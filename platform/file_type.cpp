#include "platform/file_type.h"

#include <windows.h>

#include <string.h>

// The longest path Windows hands out, with its terminator.
static const DWORD LongestPath = 32768;

static void SetDefaultValue(const char *keyName, const char *value)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName, 0, const_cast<char *>(""), REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
}

void RegisterFileType()
{
    // A quote, the program's path, then "\" %1": the shell puts the file's path, blanks and all,
    // in place of the unquoted %1.
    static char command[1 + LongestPath + sizeof "\" %1"];
    char *path = command + 1;
    DWORD length = SearchPathA(nullptr, "tempir.exe", nullptr, LongestPath, path, nullptr);
    if (length == 0 || length >= LongestPath) {
        // Not found under that name (the file was renamed, say): this program's own path.
        length = GetModuleFileNameA(nullptr, path, LongestPath);
        if (length >= LongestPath)
            length = 0;
    }
    if (length != 0) {
        command[0] = '"';
        memcpy(path + length, "\" %1", sizeof "\" %1");
        SetDefaultValue("tempir\\shell\\Open\\command", command);
    }
    SetDefaultValue(".tpr", "tempir");
}
