#include "window/browser_rules.h"

#include <string.h>

size_t ParentCutIndex(const char *path)
{
    size_t last = 0;
    size_t lastButOne = 0;
    const char *first = strchr(path, '\\');
    if (first == nullptr)
        return 0;
    last = static_cast<size_t>(first - path);
    for (const char *p = first + 1; *p != '\0'; ++p) {
        if (*p == '\\') {
            lastButOne = last;
            last = static_cast<size_t>(p - path);
        }
    }
    return lastButOne;
}

FolderEntryResult ApplyFolderEntry(char *folder, size_t folderSize, const char *entry)
{
    const size_t entryLength = strlen(entry);
    if (entryLength < 2 || entry[0] != '[')
        return FolderNotDirectory;

    // [NAME] becomes NAME\ : the entry without its first character, its last one a backslash.
    const char *name = entry + 1;
    const size_t nameLength = entryLength - 1; // with the backslash in place of the bracket
    if (nameLength == 3 && strncmp(name, "..", 2) == 0) {
        const size_t cut = ParentCutIndex(folder);
        if (cut == 0)
            return FolderAtRoot;
        folder[cut + 1] = '\0';
        return FolderEntered;
    }

    const size_t folderLength = strlen(folder);
    if (folderLength + nameLength + 1 > folderSize)
        return FolderNameTooLong;
    memcpy(folder + folderLength, name, nameLength - 1);
    folder[folderLength + nameLength - 1] = '\\';
    folder[folderLength + nameLength] = '\0';
    return FolderEntered;
}

int DriveRootOfEntry(const char *entry, char *root)
{
    if (entry[0] == '\0' || entry[1] == '\0' || entry[2] == '\0')
        return 0;
    root[0] = entry[2];
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
    return 1;
}

int SettingsNameOfEntry(const char *entry, char *name, size_t nameSize)
{
    const size_t entryLength = strlen(entry);
    const size_t kept = entryLength > 3 ? entryLength - 3 : 0;
    if (kept + sizeof "tpr" > nameSize)
        return 0;
    memcpy(name, entry, kept);
    memcpy(name + kept, "tpr", sizeof "tpr");
    return 1;
}

int JoinApplicationPath(const char *folder, const char *entry, char *path, size_t pathSize)
{
    const size_t folderLength = strlen(folder);
    const size_t entryLength = strlen(entry);
    if (folderLength + entryLength + 1 > pathSize)
        return 0;
    memcpy(path, folder, folderLength);
    memcpy(path + folderLength, entry, entryLength + 1);
    return 1;
}
