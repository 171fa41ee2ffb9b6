// The text rules of the drive, folder and file browser. Portable: no Windows headers.
#pragma once

#include <stddef.h>

// For a path holding at least one backslash: the position of its last-but-one backslash, or 0
// when it holds only one. C:\A\B\ gives 4, C:\A\ gives 2, C:\ gives 0.
size_t ParentCutIndex(const char *path);

enum FolderEntryResult {
    FolderEntered,      // `folder` now names the sub-folder, or the parent for [..]
    FolderAtRoot,       // [..] at a drive's root: `folder` unchanged
    FolderNotDirectory, // the entry is not a folder's: `folder` unchanged
    FolderNameTooLong,  // the new path would not fit `folder`: unchanged
};

// Applies a folder-list entry ([NAME] or [..]) to `folder`, a zero-terminated path ending with a
// backslash in a buffer of `folderSize` bytes.
FolderEntryResult ApplyFolderEntry(char *folder, size_t folderSize, const char *entry);

// The root ("d:\") of the drive a drive-list entry names by its third character ([-d-] gives
// d:\); 0 when the entry has no third character. `root` holds at least 4 bytes.
int DriveRootOfEntry(const char *entry, char *root);

// The settings file's name for a file-list entry: the entry with its last three characters
// replaced by "tpr" (GAME.EXE gives GAME.tpr). 0, leaving `name` unchanged, when it would not
// fit `nameSize` bytes.
int SettingsNameOfEntry(const char *entry, char *name, size_t nameSize);

// `folder` followed by `entry` into `path`, up to and including the new terminator: the bytes
// after it keep what they held. 0, leaving `path` unchanged, when the result would not fit
// `pathSize` bytes.
int JoinApplicationPath(const char *folder, const char *entry, char *path, size_t pathSize);
