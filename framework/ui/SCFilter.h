#ifndef SC_FILTER_H
#define SC_FILTER_H

#include <MessageFilter.h>

namespace pelkan {

// Sends the dialog keys to one place whatever view has the focus: every
// key-down with the Control key held (Alt, the Linux mnemonic key), and
// Escape, Enter and the function keys, goes to the handler given (or, with
// none, to the window the filter is installed in). Other keys pass
// unchanged: the Command key's (Ctrl's) editing keys reach a focused field.
class TSCFilter : public BMessageFilter {
public:
	explicit TSCFilter(BHandler* handler);

	virtual filter_result Filter(BMessage* message, BHandler** target);

private:
	BHandler* fHandler;
};

}

#endif
