#ifndef TOOL_TIP_WIN_H
#define TOOL_TIP_WIN_H

#include <Window.h>

class BMessageRunner;

// The floating window of a tool tip: a bordered pale-yellow text that never
// takes the focus and closes itself after the show time.
class TToolTipWin : public BWindow {
public:
	TToolTipWin(BRect frame, const char* name, const char* text, bigtime_t showTime);
	virtual ~TToolTipWin();

private:
	BMessageRunner* fCloseTimer;
};

#endif
