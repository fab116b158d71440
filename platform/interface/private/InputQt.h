#ifndef _INPUT_QT_H
#define _INPUT_QT_H

// Qt input as Be messages: the parts that depend on nothing but the event.

#include <deque>
#include <vector>

#include <Qt>

#include <OS.h>
#include <Point.h>

class BMessage;
class BView;
class QKeyEvent;

namespace BPrivate {

// Successive presses of the same buttons, close in time and place, count
// up: 1, 2, 3, … Another button, a pause or a move starts again at 1, and
// so does a press stamped earlier than the last (another clock, or the
// window system's wrapped round).
class ClickCounter {
public:
	static constexpr bigtime_t kInterval = 500000;
	// How far the pointer may slip between the presses of a multiple click.
	static constexpr float kSlop = 4.0f;

	int32 Press(bigtime_t when, BPoint screenWhere, uint32 buttons);

private:
	bigtime_t fLastWhen = 0;
	BPoint fLastWhere;
	uint32 fLastButtons = 0;
	int32 fCount = 0;
};

struct PointerState {
	BPoint screenWhere;
	uint32 buttons = 0;
	uint32 modifiers = 0;
};

// A pointer state Qt reported, numbered in the order it came.
struct QueuedPointer {
	int64 serial;
	PointerState state;
};

// The message field that carries the serial of the state a pointer message
// was made from; messages without it were made by a test or a filter.
extern const char* const kPointerSerialField;

// A window's view of the pointer.
struct PointerInput {
	// The newest state Qt reported (or that an injected message carried).
	PointerState current;
	// States no handler has seen yet, oldest first, for GetMouse() to read
	// in order: those whose messages still wait in the window's queue (Qt
	// often handles a quick click's press and release before the press is
	// dispatched), and those taken while a handler pumps input in
	// GetMouse(), which are read from here instead of being dispatched.
	std::deque<QueuedPointer> unread;
	int64 lastSerial = 0;
	int32 pumping = 0;
	ClickCounter clicks;
	// The view the pointer was last over, for the transit codes.
	BView* mouseView = NULL;
	// Views asking for every pointer event (SetEventMask).
	std::vector<BView*> maskedViews;

	// Numbers `state` and keeps it for GetMouse(); returns its serial.
	int64 Queue(const PointerState& state);
	// The message made from state `serial` is being dispatched: that state
	// and older ones (their messages gone, or dropped by a filter) are no
	// longer ahead of the handler.
	void Dispatching(int64 serial);
};

uint32 be_buttons(Qt::MouseButtons buttons);
// The keys Be modifiers stand for, the reverse of be_modifiers(): Command
// is Ctrl, Control is Alt, Option is Meta (Super).
Qt::KeyboardModifiers qt_modifiers(uint32 modifiers);

// Fills a B_KEY_DOWN or B_KEY_UP message ("when", "modifiers", "key",
// "raw_char", "byte", "bytes"). False for keys with no Be meaning (a
// modifier key alone).
bool make_key_message(const QKeyEvent& event, bool down, BMessage* message);

}

#endif
