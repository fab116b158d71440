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
image_id load_add_on(const char* path);
status_t unload_add_on(image_id image);
// Finds a symbol defined in the add-on itself (not in a library it pulls
// in) of the given kind: functions for TEXT, variables for DATA.
status_t get_image_symbol(image_id image, const char* name, int32 symbolType,
	void** _address);

#endif
