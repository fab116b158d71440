#ifndef _TEXT_CONTROL_H
#define _TEXT_CONTROL_H

#include <Control.h>

class BTextView;

// A label and, right of the divider, a one-line text entry: the control's
// only child, TextView(). Every edit by the user sends the modification
// message (when set); Enter, or leaving the entry after an edit, sends the
// control's message. SetText() from code sends neither.
class BTextControl : public BControl {
public:
	BTextControl(BRect frame, const char* name, const char* label,
		const char* initialText, BMessage* message,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	// From an archive: BControl's fields, "_text", "_divide", "_mod_msg",
	// "_a_label" and "_a_text" (alignments).
	BTextControl(BMessage* archive);
	virtual ~BTextControl();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	virtual void Draw(BRect updateRect);
	virtual void MakeFocus(bool focus = true);

	virtual void SetText(const char* text);
	const char* Text() const;
	virtual void SetEnabled(bool enabled);
	virtual void SetLabel(const char* label);
	virtual void SetModificationMessage(BMessage* message);
	BMessage* ModificationMessage() const;
	virtual void SetAlignment(alignment forLabel, alignment forText);
	void GetAlignment(alignment* forLabel, alignment* forText) const;
	// Where the entry starts; the label is drawn left of it.
	virtual void SetDivider(float position);
	float Divider() const;
	BTextView* TextView() const;

	virtual void GetPreferredSize(float* width, float* height);

private:
	void _Init(const char* text);
	void _UserEdited();
	void _EditingFinished();

	BTextView* fText;
	BMessage* fModificationMessage;
	float fDivider;
	alignment fLabelAlign;
	bool fEditedSinceInvoke;
};

#endif
