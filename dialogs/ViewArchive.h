#ifndef VIEW_ARCHIVE_H
#define VIEW_ARCHIVE_H

class BMessage;

// Reads the dialog layout the build stored in the program's resources as
// 'ARCV' under that name. False when it is missing or cannot be read.
bool load_view_archive(const char* name, BMessage* archive);

#endif
