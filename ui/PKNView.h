#ifndef PKN_VIEW_H
#define PKN_VIEW_H

#include <View.h>

class TPointerProbe;

// The main view of a window. A press on it is classified into down, click,
// double click and drag of the left or right button, and the matching hooks
// are called with the point of the press.
class TPKNView : public BView {
public:
	TPKNView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	explicit TPKNView(BMessage* archive);

	virtual void MouseDown(BPoint where);

	virtual void MouseClickLeftDouble(BPoint where);
	virtual void MouseClickLeftSingle(BPoint where);
	virtual void MouseClickRightDouble(BPoint where);
	virtual void MouseClickRightSingle(BPoint where);
	virtual void MouseDownLeft(BPoint where);
	virtual void MouseDownRight(BPoint where);
	virtual void MouseDragLeft(BPoint where);
	virtual void MouseDragRight(BPoint where);

	// Classifies a press of `buttons` counted as `clicks` at `where`, reading
	// the pointer from `probe` until it is released or dragged further than
	// √10 pixels. Another button than the previous press's (on any view)
	// never makes a multiple click.
	void ClassifyPress(BPoint where, uint32 buttons, int32 clicks, TPointerProbe& probe);

private:
	static uint32 sPreviousButtons;
};

#endif
