#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <InterfaceDefs.h>
#include <InterfaceKit.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <Message.h>
#include <Window.h>

#include "ChildProcess.h"
#include "GalleryApp.h"
#include "TempFolder.h"

namespace {

const uint32 kMsgAct = 'tact';
const uint32 kMsgWatchdog = 'tdog';


// The gallery with one user action on its window once the window is shown.
class UserGallery : public GalleryApp {
public:
	typedef std::function<void(BWindow*)> Action;

	explicit UserGallery(Action action) : GalleryApp(NULL), fAction(action) {}

	void ReadyToRun() override
	{
		GalleryApp::ReadyToRun();
		PostMessage(kMsgAct);
	}

	void MessageReceived(BMessage* message) override
	{
		switch (message->what) {
			case kMsgAct:
				fAction(WindowAt(0));
				break;
			case kMsgWatchdog:
				fTimedOut = true;
				Quit();
				break;
			default:
				GalleryApp::MessageReceived(message);
		}
	}

	bool fTimedOut = false;

private:
	Action fAction;
};


// Runs the gallery until it quits; false when it ran on after the action
// (the watchdog ended it).
bool
run_until_quit(UserGallery& app)
{
	std::mutex lock;
	std::condition_variable ended;
	bool done = false;
	std::thread watchdog([&] {
		std::unique_lock<std::mutex> guard(lock);
		if (!ended.wait_for(guard, std::chrono::seconds(20), [&] { return done; }))
			app.PostMessage(kMsgWatchdog);
	});
	app.Run();
	{
		std::lock_guard<std::mutex> guard(lock);
		done = true;
	}
	ended.notify_one();
	watchdog.join();
	return !app.fTimedOut;
}


TEST(GalleryTest, TheUserQuitsTheProgram)
{
	static int argc = 1;
	static char name[] = "tools_tests";
	static char* argv[] = {name, nullptr};
	BPrivate::init_interface_kit(argc, argv);
	struct Case {
		const char* name;
		UserGallery::Action action;
	} cases[] = {
		{"close box", [](BWindow* window) { window->PostMessage(B_QUIT_REQUESTED); }},
		{"File > Quit", [](BWindow* window) {
			window->Lock();
			BMenuBar* bar = dynamic_cast<BMenuBar*>(window->FindView("MenuBar"));
			BMenuItem* quit = bar != NULL ? bar->FindItem("Quit") : NULL;
			ASSERT_NE(nullptr, quit);
			quit->Invoke();
			window->Unlock();
		}},
		{"shortcut", [](BWindow* window) {
			BMessage key(B_KEY_DOWN);
			key.AddInt32("raw_char", 'q');
			key.AddInt32("modifiers", B_COMMAND_KEY);
			key.AddInt32("key", 0);
			key.AddString("bytes", "q");
			window->PostMessage(&key);
		}},
	};
	for (const Case& c : cases) {
		UserGallery app(c.action);
		EXPECT_TRUE(run_until_quit(app)) << c.name << ": the program ran on";
		EXPECT_EQ(0, app.CountWindows()) << c.name;
		while (BWindow* window = app.WindowAt(0)) {
			if (!window->Lock())
				break;
			window->Quit();
		}
	}
}


// Without a display the program says so in one line and exits with 1,
// whatever the reason Qt found no platform.
TEST(GalleryTest, NoDisplayIsOneLineAndStatusOne)
{
	TempFolder folder;
	const std::string shot = folder / "gallery.png";
	const std::vector<std::string> noDisplay
		= {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"};
	struct Case {
		const char* name;
		std::vector<std::string> environment;
		int status;
	} cases[] = {
		{"neither X11 nor Wayland", noDisplay, 1},
		{"an X11 display no server answers",
			{"-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", "DISPLAY=:4093"}, 1},
		{"a platform Qt does not have", {"QT_QPA_PLATFORM=nonesuch"}, 1},
		{"the offscreen platform", {"QT_QPA_PLATFORM=offscreen"}, 0},
	};
	for (const Case& c : cases) {
		std::vector<std::string> arguments = c.environment;
		arguments.insert(arguments.end(), {VANTUMIDI_GALLERY, "--screenshot", shot});
		ChildProcess gallery("/usr/bin/env", arguments);
		ASSERT_TRUE(gallery.Started()) << c.name;
		ASSERT_TRUE(gallery.Finish(60000000)) << c.name;
		ASSERT_TRUE(gallery.Exited()) << c.name << ": ended by a signal";
		EXPECT_EQ(c.status, gallery.ExitStatus()) << c.name;
		if (c.status == 0) {
			EXPECT_TRUE(std::filesystem::exists(shot)) << c.name;
		} else {
			EXPECT_EQ("no graphical display: set DISPLAY, or use QT_QPA_PLATFORM=offscreen\n",
				gallery.Errors()) << c.name;
		}
	}
}

}
