#ifndef MAIN_WIN_RIG_H
#define MAIN_WIN_RIG_H

#include <functional>
#include <string>
#include <vector>

#include <FilePanel.h>
#include <Message.h>
#include <MidiRecordingConsumer.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "GuiTest.h"
#include "RigPlaylist.h"
#include "VantuView.h"
#include "VantuWin.h"

// The player without the soft synth, so that the menus list only the
// test's devices, and without modal alerts.
class RigPlayer : public TVantuView {
public:
	RigPlayer() : TVantuView(BRect(0, 0, 599, 399), new RigPlaylist) {}

protected:
	int32 ShowAlert(const char*, const char*, const char*, alert_type) override { return 0; }
	status_t LaunchDocument(const std::string&) override { return B_ERROR; }
	BMidiLocalConsumer* CreateSoftSynth(std::string* problem) override
	{
		*problem = "no soft synth in the tests";
		return NULL;
	}
};


// The main window with the rig's player; its alert answers with the button
// the test sets.
class RigWin : public TVantuWin {
public:
	explicit RigWin(BRect frame = BRect(40, 40, 639, 479)) : TVantuWin(frame, new RigPlayer) {}

	using TVantuWin::OpenPanel;
	using TVantuWin::SavePanel;

	int32 alertAnswer = 0;
	int32 alertsShown = 0;

protected:
	int32 ShowAlert(const char*, const char*, const char*) override
	{
		alertsShown++;
		return alertAnswer;
	}
};


// Every test starts from a fresh start's records, in the built-in
// language, with no device of its own registered.
class MainWinTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		gAppPrivacy.AnaExePath("main_window_tests");
		ASSERT_EQ(B_OK, gVLT.Load(BUILTIN_LANGUAGE_FILE));
		gPref = TPref();
		gPref.aiLearning = false;
		gExitState = TExitState();
	}

	void TearDown() override
	{
		GuiTest::TearDown();
		for (BMidiRecordingConsumer* device : fDevices) {
			device->Unregister();
			device->Release();
		}
		fDevices.clear();
	}

	BMidiRecordingConsumer* AddDevice(const std::string& name)
	{
		BMidiRecordingConsumer* device = new BMidiRecordingConsumer(name.c_str());
		EXPECT_EQ(B_OK, device->Register());
		fDevices.push_back(device);
		return device;
	}

	void RemoveDevice(BMidiRecordingConsumer* device)
	{
		device->Unregister();
	}

	// Opens a window, runs the body in the loop once the window has settled,
	// then the further steps.
	void RunWindow(RigWin* window, std::vector<Step> steps)
	{
		std::vector<Step> all = {[window]() { window->Show(); return true; },
			Drain(window), Settle()};
		all.insert(all.end(), steps.begin(), steps.end());
		RunSteps(all);
	}

	// A step that runs `body` once with the window locked.
	static Step Locked(BWindow* window, std::function<void()> body)
	{
		return [window, body]() {
			window->Lock();
			body();
			window->Unlock();
			return true;
		};
	}

	std::vector<BMidiRecordingConsumer*> fDevices;
};

#endif
