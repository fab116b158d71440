#ifndef LIST_INFO_H
#define LIST_INFO_H

#include <SupportDefs.h>

// The bookkeeping of one list row; songs carry it too and leave it as it is.
struct TListInfo {
	// The list in the view differs from its file: an entry was added or
	// dropped, or the order changed.
	bool modified = false;
	// Made in the view; it has no file yet.
	bool unnamed = false;
	// Given by the view when the row is added; finds the list again after an
	// asynchronous save panel.
	int32 listID = 0;
	// The running number an unnamed list shows in its label.
	int32 newListNum = 0;
};

#endif
