#ifndef LIST_RECOVERY_H
#define LIST_RECOVERY_H

#include <string>

class TCorvanView;

// When the desktop session ends nobody can be asked whether to save the
// changed lists, and writing over a list's own file unasked could destroy
// what the user meant to keep. Every changed list is written to a copy of
// its own in `folder` instead (made when missing), after which the list
// counts as saved; one whose copy cannot be written stays changed. A changed
// list inside another recovered list is named by its copy there.
//
// Returns the copy of the top list when it was changed and could be
// written, else an empty string. Runs on the playlist's window thread.
std::string recover_modified_lists(TCorvanView& playlist, const std::string& folder);

#endif
