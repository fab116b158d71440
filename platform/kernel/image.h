#ifndef _IMAGE_H
#define _IMAGE_H

#include <SupportDefs.h>

enum {
	B_SYMBOL_TYPE_DATA = 0x1,
	B_SYMBOL_TYPE_TEXT = 0x2,
	B_SYMBOL_TYPE_ANY = 0x5
};

// Add-ons are shared libraries opened by path with every symbol bound at
// once, private to the add-on. Returns a positive id or a negative status.
// Loading the same file again gives the same image under a new id; a file
// replaced under the path since (a new file renamed over it) is a new
// image, while the old one stays for the ids that use it. A bare name is a
// file in the working directory.
image_id load_add_on(const char* path);
status_t unload_add_on(image_id image);
// Finds a symbol defined in the add-on itself (not in a library it pulls
// in) of the given kind: functions for TEXT, variables for DATA.
status_t get_image_symbol(image_id image, const char* name, int32 symbolType,
	void** _address);

#endif
