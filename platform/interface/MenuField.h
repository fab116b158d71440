#ifndef _MENU_FIELD_H
#define _MENU_FIELD_H

#include <string>

#include <View.h>

class BMenu;
class BMenuItem;

// A label and, right of the divider, a button that opens a menu; in a
// label-from-marked menu the button shows the marked item's label. Shown
// with native widgets.
class BMenuField : public BView {
public:
	// Takes ownership of `menu`.
	BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	// From an archive: "_label", "_divide", "_disable", and the pop-up menu
	// as "_menu" (its name in "_name", radio mode "_radio", label from
	// marked "_lfm", one "_item" label per item, the marked index "_mark").
	BMenuField(BMessage* archive);
	virtual ~BMenuField();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	virtual void AttachedToWindow();
	virtual void MakeFocus(bool focus = true);

	BMenu* Menu() const;
	// The item that holds the menu; its label is the button's.
	BMenuItem* MenuItem() const;

	virtual void SetLabel(const char* label);
	const char* Label() const;
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;
	virtual void SetAlignment(alignment label);
	alignment Alignment() const;
	// Where the button starts; 0 hides the label.
	virtual void SetDivider(float position);
	float Divider() const;

	virtual void GetPreferredSize(float* width, float* height);

	class Private;

private:
	friend class Private;

	void _Init(BMenu* menu);
	void _Layout();

	std::string fLabel;
	BMenu* fMenu;
	BMenuItem* fMenuItem;
	float fDivider;
	alignment fAlign;
	bool fEnabled;
};

#endif
