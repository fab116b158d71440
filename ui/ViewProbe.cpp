#include "ViewProbe.h"

#include <OS.h>
#include <View.h>

namespace {

const bigtime_t kPollInterval = 20000;

}


TViewProbe::TViewProbe(BView* view)
	:
	fView(view)
{
}


void
TViewProbe::GetMouse(BPoint* where, uint32* buttons)
{
	fView->GetMouse(where, buttons, true);
}


void
TViewProbe::Wait()
{
	snooze(kPollInterval);
}
