#ifndef VIEW_PROBE_H
#define VIEW_PROBE_H

#include "PointerProbe.h"

class BView;

// The window's pointer as a view reads it while it follows a press, with a
// pause between readings.
class TViewProbe : public TPointerProbe {
public:
	explicit TViewProbe(BView* view);

	void GetMouse(BPoint* where, uint32* buttons) override;
	void Wait() override;

private:
	BView* fView;
};

#endif
