#ifndef _RADIO_BUTTON_H
#define _RADIO_BUTTON_H

#include <Control.h>

// One choice of a group: the radio buttons that share a parent view. Turning
// one on, by a click or from code, turns its siblings off; a click also
// sends its message (only its own). Shown as a native radio button.
class BRadioButton : public BControl {
public:
	BRadioButton(BRect frame, const char* name, const char* label,
		BMessage* message, uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	BRadioButton(BMessage* archive);
	virtual ~BRadioButton();

	static BArchivable* Instantiate(BMessage* archive);

	virtual void SetLabel(const char* label);
	virtual void SetValue(int32 value);
	virtual void SetEnabled(bool enabled);
	virtual void GetPreferredSize(float* width, float* height);

private:
	void _Init();
};

#endif
