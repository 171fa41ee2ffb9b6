#pragma once

#include <windows.h>

// Starts the executable at `path` with no command line, in the launcher's current folder.
// Returns the new process's handle (the caller closes it), or NULL when it cannot be started.
HANDLE StartApplication(const char *path);
