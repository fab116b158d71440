#ifndef RECORDING_VIEW_H
#define RECORDING_VIEW_H

#include <string>
#include <vector>

#include <Message.h>
#include <View.h>
#include <Window.h>

namespace interface_test {

// Notes each input hook with the fields of the message being dispatched.
class RecordingView : public BView {
public:
	struct Event {
		std::string hook;
		BPoint where;
		int32 clicks = 0;
		int32 buttons = 0;
		uint32 transit = 0;
		std::string bytes;
	};

	RecordingView(BRect frame, const char* name)
		: BView(frame, name, B_FOLLOW_NONE, B_WILL_DRAW | B_NAVIGABLE) {}

	void MouseDown(BPoint where) override { _Note("down", where); }
	void MouseUp(BPoint where) override { _Note("up", where); }
	void MouseMoved(BPoint where, uint32 transit, const BMessage*) override
	{
		_Note("moved", where);
		events.back().transit = transit;
	}
	void KeyDown(const char* bytes, int32 numBytes) override
	{
		_Note("key", BPoint());
		events.back().bytes.assign(bytes, numBytes);
	}
	void MessageReceived(BMessage* message) override
	{
		received.push_back(message->what);
		BView::MessageReceived(message);
	}

	std::vector<Event> events;
	std::vector<uint32> received;

private:
	void _Note(const char* hook, BPoint where)
	{
		Event event;
		event.hook = hook;
		event.where = where;
		BMessage* message = Window()->CurrentMessage();
		if (message != NULL) {
			message->FindInt32("clicks", &event.clicks);
			message->FindInt32("buttons", &event.buttons);
		}
		events.push_back(event);
	}
};

}

#endif
