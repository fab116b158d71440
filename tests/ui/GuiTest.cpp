#include "GuiTest.h"

#include <memory>
#include <string>

#include <AppDefs.h>
#include <InterfaceKit.h>
#include <View.h>
#include <Window.h>

namespace {

const uint32 kMsgStep = 'Tstp';


class StepApp : public BApplication {
public:
	StepApp() : BApplication("application/x-vnd.PELKAN-ui-tests") {}

	void Start(std::vector<GuiTest::Step>* steps, std::chrono::milliseconds watchdog)
	{
		fSteps = steps;
		fWatchdog = watchdog;
		fIndex = 0;
		fDeadline = std::chrono::steady_clock::now() + watchdog;
	}

	void ReadyToRun() override { PostMessage(kMsgStep); }

	void MessageReceived(BMessage* message) override
	{
		if (message->what != kMsgStep) {
			BApplication::MessageReceived(message);
			return;
		}
		if (fIndex >= fSteps->size()) {
			Quit();
			return;
		}
		if ((*fSteps)[fIndex]()) {
			fIndex++;
			fDeadline = std::chrono::steady_clock::now() + fWatchdog;
		} else if (std::chrono::steady_clock::now() > fDeadline) {
			ADD_FAILURE() << "step " << fIndex << " did not finish in time";
			Quit();
			return;
		}
		PostMessage(kMsgStep);
	}

private:
	std::vector<GuiTest::Step>* fSteps = nullptr;
	std::chrono::milliseconds fWatchdog{0};
	size_t fIndex = 0;
	std::chrono::steady_clock::time_point fDeadline;
};


// Notes that the marker message came through.
class Marker : public BHandler {
public:
	void MessageReceived(BMessage*) override { fSeen = true; }

	bool fSeen = false;
};

}


void
GuiTest::SetUp()
{
	static int argc = 1;
	static char name[] = "ui_tests";
	static char* argv[] = {name, nullptr};
	BPrivate::init_interface_kit(argc, argv);
	fApp = new StepApp;
}


void
GuiTest::TearDown()
{
	// Every window, tool-tip windows that are still open included.
	while (BWindow* window = fApp->WindowAt(0)) {
		if (!window->Lock())
			break;
		window->Quit();
	}
	delete fApp;
	fApp = nullptr;
}


void
GuiTest::RunSteps(std::vector<Step> steps, std::chrono::milliseconds watchdog)
{
	static_cast<StepApp*>(fApp)->Start(&steps, watchdog);
	fApp->Run();
}


GuiTest::Step
GuiTest::Settle()
{
	return [rounds = 0]() mutable { return ++rounds > 5; };
}


GuiTest::Step
GuiTest::Drain(BWindow* window)
{
	std::shared_ptr<Marker> marker;
	return [window, marker]() mutable {
		if (!marker) {
			marker = std::make_shared<Marker>();
			window->Lock();
			window->AddHandler(marker.get());
			window->Unlock();
			window->PostMessage('mark', marker.get());
			return false;
		}
		if (!marker->fSeen)
			return false;
		window->Lock();
		window->RemoveHandler(marker.get());
		window->Unlock();
		return true;
	};
}


BMessage
GuiTest::MouseMessage(uint32 what, BView* view, BPoint where, uint32 buttons, int32 transit)
{
	BMessage message(what);
	message.AddPoint("where", where);
	message.AddPoint("screen_where", view->ConvertToScreen(where));
	message.AddInt32("buttons", (int32)buttons);
	message.AddInt32("modifiers", 0);
	if (transit >= 0)
		message.AddInt32("be:transit", transit);
	return message;
}


void
GuiTest::PostMouse(uint32 what, BView* view, BPoint where, uint32 buttons, int32 transit)
{
	BMessage message = MouseMessage(what, view, where, buttons, transit);
	view->Window()->PostMessage(&message, view);
}


BMessage
GuiTest::KeyMessage(int32 rawChar, int32 modifiers, int32 key)
{
	BMessage message(B_KEY_DOWN);
	const std::string bytes(1, (char)rawChar);
	message.AddInt32("raw_char", rawChar);
	message.AddInt32("modifiers", modifiers);
	message.AddInt32("key", key);
	message.AddString("bytes", bytes.c_str());
	return message;
}


void
GuiTest::Activate(BWindow* window, bool active)
{
	BMessage message(B_WINDOW_ACTIVATED);
	message.AddBool("active", active);
	window->PostMessage(&message, window);
}
