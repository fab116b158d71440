#ifndef _BUTTON_H
#define _BUTTON_H

#include <Control.h>

// A push button, shown as a native button. A click sends the message;
// SetValue(1) from code shows it pressed (and sends nothing). The window's
// default button is drawn as such and answers Enter.
class BButton : public BControl {
public:
	BButton(BRect frame, const char* name, const char* label, BMessage* message,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE | B_FULL_UPDATE_ON_RESIZE);
	BButton(BMessage* archive);
	virtual ~BButton();

	static BArchivable* Instantiate(BMessage* archive);

	virtual void SetLabel(const char* label);
	virtual void SetValue(int32 value);
	virtual void SetEnabled(bool enabled);
	virtual void MakeDefault(bool flag);
	bool IsDefault() const;
	virtual void GetPreferredSize(float* width, float* height);

private:
	void _Init();
};

#endif
