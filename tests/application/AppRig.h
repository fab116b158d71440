#ifndef APP_RIG_H
#define APP_RIG_H

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Entry.h>
#include <InterfaceKit.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <Message.h>
#include <MessageFilter.h>
#include <SteppedClock.h>
#include <Window.h>

#include "AppGlobals.h"
#include "ScopedVariable.h"
#include "TempFolder.h"
#include "VantuApp.h"
#include "VantuWin.h"

// How many messages of each code a looper dispatched.
typedef std::map<uint32, int32> MessageCounts;

// Counts the messages its looper dispatches: all of them, or only those for
// the looper itself (not those it passes on to its views).
class CountingFilter : public BMessageFilter {
public:
	enum class Targets { kAll, kLooperOnly };

	CountingFilter(std::shared_ptr<MessageCounts> counts, Targets targets)
		:
		BMessageFilter(B_ANY_DELIVERY, B_ANY_SOURCE),
		fCounts(counts),
		fTargets(targets)
	{
	}

	filter_result Filter(BMessage* message, BHandler** target) override
	{
		if (fTargets == Targets::kAll || *target == Looper())
			(*fCounts)[message->what]++;
		return B_DISPATCH_MESSAGE;
	}

private:
	std::shared_ptr<MessageCounts> fCounts;
	Targets fTargets;
};


// The application with its alerts recorded, whose loop runs the test's
// steps between the other messages: each step is called again until it
// answers true. A step not done within the watchdog fails the test, and so
// does a quit that does not end the loop.
class TestApp : public TVantuApp {
public:
	typedef std::function<bool()> Step;

	class RecordingOutside : public TOutside {
	public:
		explicit RecordingOutside(std::vector<std::string>* alerts) : fAlerts(alerts) {}

		void ShowAlert(const char* caption, const char* text, const char* button) override
		{
			fAlerts->push_back(std::string(caption) + "|" + text + "|" + button);
		}

	private:
		std::vector<std::string>* fAlerts;
	};

	TestApp(std::vector<std::string>* alerts, std::shared_ptr<MessageCounts> counts)
		:
		TVantuApp(new RecordingOutside(alerts))
	{
		AddCommonFilter(new CountingFilter(counts, CountingFilter::Targets::kAll));
	}

	void RunSteps(std::vector<Step> steps, std::chrono::milliseconds watchdog)
	{
		fSteps = std::move(steps);
		fWatchdog = watchdog;
		fIndex = 0;
		fDeadline = std::chrono::steady_clock::now() + watchdog;
		Run();
	}

	void ReadyToRun() override { PostMessage(kMsgStep); }

	void MessageReceived(BMessage* message) override
	{
		if (message->what != kMsgStep) {
			TVantuApp::MessageReceived(message);
			return;
		}
		if (fIndex < fSteps.size() && fSteps[fIndex]()) {
			fIndex++;
			fDeadline = std::chrono::steady_clock::now() + fWatchdog;
		} else if (std::chrono::steady_clock::now() > fDeadline) {
			ADD_FAILURE() << (fIndex < fSteps.size() ? "step " + std::to_string(fIndex)
				+ " did not finish in time" : std::string("the quit did not end the loop"));
			TVantuApp::Quit();
			return;
		}
		if (fIndex == fSteps.size() && !fQuitAsked) {
			// The way the user quits: through the main window's answer.
			fQuitAsked = true;
			PostMessage(B_QUIT_REQUESTED);
		}
		PostMessage(kMsgStep);
	}

private:
	static constexpr uint32 kMsgStep = 'Tstp';

	std::vector<Step> fSteps;
	std::chrono::milliseconds fWatchdog{0};
	size_t fIndex = 0;
	std::chrono::steady_clock::time_point fDeadline;
	bool fQuitAsked = false;
};


// A run of the program inside the test: the settings in a temporary home,
// the user's add-on folders in a temporary data folder, the program's
// "Language" and "Loader" folders beside the test binary made fresh, the
// desktop's locale English, the stepped clock, and the soft synth writing
// into a file instead of the sound card.
class AppTest : public ::testing::Test {
protected:
	typedef TestApp::Step Step;

	AppTest()
		:
		fConfig("XDG_CONFIG_HOME", (fHome.Path() + "/config").c_str()),
		fData("XDG_DATA_HOME", (fHome.Path() + "/data").c_str()),
		fSynthWav("VANTU_SOFTSYNTH_WAV", (fHome.Path() + "/synth.wav").c_str()),
		fAll("LC_ALL", nullptr),
		fMessages("LC_MESSAGES", nullptr),
		fLang("LANG", "en_GB.UTF-8"),
		fClock(1000000000)
	{
	}

	void SetUp() override
	{
		static int argc = 1;
		static char name[] = "application_tests";
		static char* argv[] = {name, nullptr};
		BPrivate::init_interface_kit(argc, argv);
		gAppPrivacy.AnaExePath(name);
		for (const std::string& folder : {ProgramFolder("Language"), ProgramFolder("Loader")}) {
			std::filesystem::remove_all(folder);
			std::filesystem::create_directories(folder);
		}
		gPref = TPref();
		gExitState = TExitState();
		gVLT = TVLT();
		fPreviousClock = set_current_clock(&fClock);
	}

	void TearDown() override
	{
		delete fApp;
		fApp = nullptr;
		set_current_clock(fPreviousClock);
		std::filesystem::remove_all(ProgramFolder("Language"));
		std::filesystem::remove_all(ProgramFolder("Loader"));
	}

	// The program's folder of that name, without a trailing "/".
	static std::string ProgramFolder(const char* name) { return gAppPrivacy.ExePath() + name; }
	std::string UserFolder(const char* name) const
	{
		return fHome.Path() + "/data/VantuMIDI/" + name;
	}

	static void InstallEnglish()
	{
		std::filesystem::copy_file(ENGLISH_LANGUAGE_FILE, ProgramFolder("Language") + "/English.vlt");
	}

	// Starts the program as main() does after loading the settings.
	TestApp* Start()
	{
		fApp = new TestApp(&fAlerts, fAppCounts);
		fMainWindow = fApp->MainWindow();
		if (fMainWindow != nullptr && fMainWindow->Lock()) {
			fMainWindow->AddCommonFilter(new CountingFilter(fWindowCounts,
				CountingFilter::Targets::kLooperOnly));
			fMainWindow->Unlock();
		}
		return fApp;
	}

	// Posts to the program a language file dropped on it.
	void DropLanguageFile(const std::string& path)
	{
		BMessage drop('lnfd');
		entry_ref ref;
		get_ref_for_path(path.c_str(), &ref);
		drop.AddRef("refs", &ref);
		fApp->PostMessage(&drop);
	}

	// Runs the loop through the steps, quits as the user does, and deletes
	// the application as main() does.
	void RunSteps(std::vector<Step> steps,
		std::chrono::milliseconds watchdog = std::chrono::milliseconds(10000))
	{
		fApp->RunSteps(std::move(steps), watchdog);
		delete fApp;
		fApp = nullptr;
		fMainWindow = nullptr;
	}

	// A step that lets the loop go round a few times.
	static Step Settle()
	{
		return [rounds = 0]() mutable { return ++rounds > 10; };
	}

	static Step Do(std::function<void()> action)
	{
		return [action]() {
			action();
			return true;
		};
	}

	// A step that ends once the main window has dispatched every message
	// posted to it before the step began.
	Step DrainMainWindow()
	{
		auto posted = std::make_shared<bool>(false);
		auto target = std::make_shared<int32>(0);
		return [this, posted, target]() {
			if (!*posted) {
				*posted = true;
				*target = (*fWindowCounts)[kMsgDrained] + 1;
				fMainWindow->PostMessage(kMsgDrained);
			}
			return (*fWindowCounts)[kMsgDrained] >= *target;
		};
	}

	int32 AppCount(uint32 what) const { return (*fAppCounts)[what]; }
	int32 WindowCount(uint32 what) const { return (*fWindowCounts)[what]; }

	// The label of the main window's first menu.
	std::string FirstMenuLabel() const
	{
		BMenuBar* bar = fMainWindow->KeyMenuBar();
		if (bar == nullptr || bar->ItemAt(0) == nullptr)
			return std::string();
		return bar->ItemAt(0)->Label();
	}

	static constexpr uint32 kMsgDrained = 'Tdrn';

	TempFolder fHome;
	ScopedVariable fConfig;
	ScopedVariable fData;
	ScopedVariable fSynthWav;
	ScopedVariable fAll;
	ScopedVariable fMessages;
	ScopedVariable fLang;
	BSteppedClock fClock;
	BClock* fPreviousClock = nullptr;
	std::vector<std::string> fAlerts;
	std::shared_ptr<MessageCounts> fAppCounts = std::make_shared<MessageCounts>();
	std::shared_ptr<MessageCounts> fWindowCounts = std::make_shared<MessageCounts>();
	TestApp* fApp = nullptr;
	TVantuWin* fMainWindow = nullptr;
};

#endif
