#pragma once

// Makes the shell open .tpr files with this program, until the system restarts: the keys are
// volatile and written afresh at every start. Failures are not reported; a key that cannot be
// written is left out.
void RegisterFileType();
