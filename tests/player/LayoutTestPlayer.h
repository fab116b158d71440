#ifndef LAYOUT_TEST_PLAYER_H
#define LAYOUT_TEST_PLAYER_H

#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include <Autolock.h>
#include <MessageFilter.h>
#include <StringView.h>
#include <Window.h>

#include "AppGlobals.h"
#include "GuiTest.h"
#include "SMFBuilder.h"
#include "VantuView.h"
#include "ViewTestSupport.h"

// The player with the user's answers and the desktop's viewer given by the
// test. Documents are "opened" when they exist, unless the test asks for
// the real launcher.
class ScriptedPlayer : public TVantuView {
public:
	explicit ScriptedPlayer(TCorvanView* playlist)
		: TVantuView(BRect(0, 20, 599, 419), playlist) {}

	// Answers in the order the questions come, then defaultAnswer.
	std::vector<int32> answers;
	int32 defaultAnswer = 0;
	std::vector<std::string> asked;
	std::vector<std::string> launched;
	bool desktopLauncher = false;

	status_t RealLaunch(const std::string& path) { return TVantuView::LaunchDocument(path); }

protected:
	int32 ShowAlert(const char* text, const char*, const char*, alert_type) override
	{
		asked.push_back(text);
		if (answers.empty())
			return defaultAnswer;
		const int32 answer = answers.front();
		answers.erase(answers.begin());
		return answer;
	}

	status_t LaunchDocument(const std::string& path) override
	{
		if (desktopLauncher)
			return TVantuView::LaunchDocument(path);
		launched.push_back(path);
		return access(path.c_str(), F_OK) == 0 ? status_t(B_OK) : status_t(B_ENTRY_NOT_FOUND);
	}

	// Tests of the controls play through no device.
	BMidiLocalConsumer* CreateSoftSynth(std::string*) override { return NULL; }
};


// Keeps what reaches a handler, and lets it through or holds it back.
class SeenFilter : public BMessageFilter {
public:
	SeenFilter(std::vector<uint32> whats, bool hold)
		: BMessageFilter(B_ANY_DELIVERY, B_ANY_SOURCE), fWhats(whats), fHold(hold) {}

	filter_result Filter(BMessage* message, BHandler**) override
	{
		for (uint32 what : fWhats) {
			if (message->what == what) {
				seen.push_back(*message);
				return fHold ? B_SKIP_MESSAGE : B_DISPATCH_MESSAGE;
			}
		}
		return B_DISPATCH_MESSAGE;
	}

	std::vector<BMessage> seen;

private:
	std::vector<uint32> fWhats;
	bool fHold;
};


// The main window as the player sees it: it keeps what is posted to it and
// passes the list requests back to the player, as the program's window does.
class PlayerWindow : public BWindow {
public:
	PlayerWindow()
		: BWindow(BRect(50, 50, 649, 469), "Player", B_DOCUMENT_WINDOW, 0) {}

	void MessageReceived(BMessage* message) override
	{
		received.push_back(*message);
		if ((message->what == 'olfr' || message->what == 'alfr') && player != NULL)
			PostMessage(message, player);
		else
			BWindow::MessageReceived(message);
	}

	std::vector<BMessage> Of(uint32 what) const
	{
		std::vector<BMessage> found;
		for (const BMessage& message : received) {
			if (message.what == what)
				found.push_back(message);
		}
		return found;
	}

	std::vector<BMessage> received;
	TVantuView* player = nullptr;
};


// A player view in a window of its own, offscreen, with the program's
// records reset: no list to reopen, song 0, the list shown.
class PlayerTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		set_up_program_records();
		gExitState = TExitState();
		gExitState.expandedHeight = 400;
		gAppPrivacy.SetState(TS_Stopped);
		gPref.aiLearning = false;
		gPref.silenceBetweenSongs = false;
		gPref.sendSysResets = false;
	}

	// Builds the player; the window shows it once the steps run.
	void MakePlayer()
	{
		fPlaylist = new ScriptedView;
		fPlayer = new ScriptedPlayer(fPlaylist);
		fWindow = new PlayerWindow;
		fWindow->player = fPlayer;
		BAutolock lock(fWindow);
		fWindow->AddChild(fPlayer);
	}

	// Runs the steps with the window on screen, and fails unless all ran.
	void Run(std::vector<Step> steps)
	{
		if (fWindow == nullptr)
			MakePlayer();
		steps.insert(steps.begin(), [this]() {
			if (fWindow->IsHidden())
				fWindow->Show();
			return true;
		});
		steps.insert(steps.begin() + 1, Drain(fWindow));
		bool done = false;
		steps.push_back([&done]() { return done = true; });
		RunSteps(steps);
		EXPECT_TRUE(done);
	}

	// A step that posts to the player.
	Step Post(const BMessage& message)
	{
		return [this, message]() {
			BMessage copy(message);
			fWindow->PostMessage(&copy, fPlayer);
			return true;
		};
	}

	// A step that runs `check` once, with the window locked.
	Step Do(std::function<void()> check)
	{
		return Until([check]() {
			check();
			return true;
		});
	}

	// A step that is done once `condition` holds, asked with the window
	// locked.
	Step Until(std::function<bool()> condition)
	{
		return [this, condition]() {
			if (fWindow == nullptr)
				return condition();
			BAutolock lock(fWindow);
			return condition();
		};
	}

	template<class View>
	View* Child(const char* name) const
	{
		return dynamic_cast<View*>(fPlayer->FindView(name));
	}

	std::string Text(const char* name) const
	{
		BStringView* view = Child<BStringView>(name);
		return view != nullptr ? view->Text() : "(no " + std::string(name) + ")";
	}

	// A song file with one note, and a track name when one is given.
	std::string MakeSong(const std::string& name, const smf::Bytes& trackName = {})
	{
		smf::Track track;
		if (!trackName.empty())
			track.Meta(0, 0x03, trackName);
		track.NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).End();
		const smf::Bytes bytes = smf::File({track});
		write_file(fFolder / name, std::string(bytes.begin(), bytes.end()));
		return fFolder / name;
	}

	TempFolder fFolder;
	PlayerWindow* fWindow = nullptr;
	ScriptedPlayer* fPlayer = nullptr;
	ScriptedView* fPlaylist = nullptr;
};

#endif
