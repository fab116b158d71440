#ifndef TOOL_TIP_H
#define TOOL_TIP_H

#include <string>

#include <Handler.h>

class BMessageRunner;
class BView;
class BWindow;
class TTTSpy;

// Shows a small text window near the pointer once the pointer has rested on
// the target view for the delay time, and closes it after the show time or
// when the pointer leaves. Tool tips of the same name share one window, so
// at most one of the unnamed ones is on screen.
//
// The tool tip is a handler of the target's window: everything it does runs
// in that window's thread.
class TToolTip : public BHandler {
public:
	explicit TToolTip(const char* name);
	virtual ~TToolTip();

	virtual void MessageReceived(BMessage* message);

	// -1 when the view is not in a window.
	status_t SetTarget(BView* view);
	BView* Target() const { return fTarget; }
	// Leaves the target's window (the target is about to leave it, or the
	// window is gone): no more tips until the next SetTarget.
	void ReleaseTarget();

	void SetTip(const char* text);
	const char* Tip() const { return fTip.c_str(); }
	// -1 for a negative time (microseconds).
	status_t SetDelayTime(bigtime_t time);
	bigtime_t DelayTime() const { return fDelayTime; }
	status_t SetShowTime(bigtime_t time);
	bigtime_t ShowTime() const { return fShowTime; }

	// Closes the tip's window if it is open.
	void Hide();

	// "TTW_" followed by the tool tip's name.
	std::string ToolTipWindowName() const;
	// The application's window of that name; NULL when none is open.
	BWindow* FindToolTipWindow() const;

private:
	void _MouseEntered();
	void _MouseExited();
	void _OpenToolTipWindowRqtd();
	void _CancelTimer();

	bigtime_t fDelayTime;
	bigtime_t fShowTime;
	std::string fTip;
	BMessageRunner* fTimer;
	// Between the pointer's entry and the end of the delay.
	bool fWaiting;
	BView* fTarget;
	// The tool tip's own while it has no target; once installed, the
	// target's window owns it and deletes it with its other filters.
	TTTSpy* fSpy;
	// Where the spy and the tool tip are installed.
	BWindow* fWindow;
};

#endif
