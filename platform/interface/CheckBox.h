#ifndef _CHECK_BOX_H
#define _CHECK_BOX_H

#include <Control.h>

// A check box with its label, shown as a native check box. A click toggles
// the value and sends the message; SetValue() from code sends nothing.
class BCheckBox : public BControl {
public:
	BCheckBox(BRect frame, const char* name, const char* label,
		BMessage* message, uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	BCheckBox(BMessage* archive);
	virtual ~BCheckBox();

	static BArchivable* Instantiate(BMessage* archive);

	virtual void SetLabel(const char* label);
	virtual void SetValue(int32 value);
	virtual void SetEnabled(bool enabled);
	virtual void GetPreferredSize(float* width, float* height);

private:
	void _Init();
};

#endif
