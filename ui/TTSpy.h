#ifndef TT_SPY_H
#define TT_SPY_H

#include <MessageFilter.h>

// Watches to which handler a window delivers pointer-moved messages and
// tells a tool tip when the pointer enters ('Pmen') or leaves ('Pmex') its
// target view. Every message is dispatched as usual.
class TTTSpy : public BMessageFilter {
public:
	explicit TTTSpy(BHandler* toolTip);

	virtual filter_result Filter(BMessage* message, BHandler** target);

	void SetTarget(BHandler* target);

private:
	void _Notify(uint32 what);

	bool fInside;
	BHandler* fLastHandler;
	BHandler* fTarget;
	BHandler* fToolTip;
};

#endif
