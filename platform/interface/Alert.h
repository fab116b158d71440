#ifndef _ALERT_H
#define _ALERT_H

#include <memory>

#include <Window.h>

class BButton;
class BInvoker;
class BTextView;

enum alert_type {
	B_EMPTY_ALERT = 0,
	B_INFO_ALERT,
	B_IDEA_ALERT,
	B_WARNING_ALERT,
	B_STOP_ALERT
};

enum button_spacing {
	B_EVEN_SPACING = 0,
	B_OFFSET_SPACING
};

// A small window with a text, an icon for its type and up to three buttons,
// indexed 0, 1, 2 from left to right as given (never reordered). The
// rightmost button is the default: Enter presses it. A key set with
// SetShortcut() presses its button (compared without case); Escape does
// nothing unless it is some button's shortcut.
//
// Go() shows the alert, waits for a button and returns its index; the alert
// then deletes itself. It works on the main thread from anywhere: before
// the application runs, inside a window's handler and while the
// application quits (it runs the GUI event loop meanwhile, so other windows
// keep drawing and receiving messages); from another thread it waits for
// the main thread to handle the alert. Go(invoker) returns at once and
// sends the invoker's message with "which" (the index) when a button is
// pressed.
class BAlert : public BWindow {
public:
	BAlert(const char* title, const char* text, const char* button0,
		const char* button1 = NULL, const char* button2 = NULL,
		button_width width = B_WIDTH_AS_USUAL, alert_type type = B_INFO_ALERT);
	BAlert(const char* title, const char* text, const char* button0,
		const char* button1, const char* button2, button_width width,
		button_spacing spacing, alert_type type = B_INFO_ALERT);
	virtual ~BAlert();

	void SetShortcut(int32 index, char key);
	char Shortcut(int32 index) const;

	int32 Go();
	status_t Go(BInvoker* invoker);

	virtual void MessageReceived(BMessage* message);

	BButton* ButtonAt(int32 index) const;
	BTextView* TextView() const;
	alert_type Type() const;

	struct Private;

private:
	friend struct Private;

	std::unique_ptr<Private> fData;
};

#endif
