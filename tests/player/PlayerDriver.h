#ifndef PLAYER_DRIVER_H
#define PLAYER_DRIVER_H

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <Autolock.h>
#include <CompactSlider.h>
#include <Entry.h>
#include <HandlerPrivate.h>
#include <LooperDispatcher.h>
#include <Message.h>
#include <MidiRecordingConsumer.h>
#include <SteppedClock.h>
#include <StringView.h>
#include <Window.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "PlayerMessages.h"
#include "RigPlaylist.h"
#include "SMFBuilder.h"
#include "TempFolder.h"
#include "VantuView.h"

// The player as the tests drive it: the user's answers and the pointer are
// scripted, the soft synth is whatever the test hands in.
class RigView : public TVantuView {
public:
	RigView(TCorvanView* playlist, BMidiLocalConsumer* synth,
		const std::string& synthProblem)
		:
		TVantuView(BRect(0, 0, 599, 399), playlist),
		fSynth(synth),
		fSynthProblem(synthProblem)
	{
	}

	bool pressedInside = false;
	bool realSynth = false;
	// When set, makes the soft synth in place of the one handed in.
	std::function<BMidiLocalConsumer*(std::string*)> synthMaker;
	// When set, called as the window lets go of the player.
	std::function<void()> detaching;

	void DetachedFromWindow() override
	{
		if (detaching)
			detaching();
		TVantuView::DetachedFromWindow();
	}

protected:
	bool IsPressedInside(BView*) override { return pressedInside; }
	int32 ShowAlert(const char*, const char*, const char*, alert_type) override { return 0; }
	status_t LaunchDocument(const std::string&) override { return B_ERROR; }
	BMidiLocalConsumer* CreateSoftSynth(std::string* problem) override
	{
		if (realSynth)
			return TVantuView::CreateSoftSynth(problem);
		if (synthMaker)
			return synthMaker(problem);
		*problem = fSynthProblem;
		return fSynth;
	}

private:
	BMidiLocalConsumer* fSynth;
	std::string fSynthProblem;
};


// The main window's part: keeps what the player posts to it.
class RigWindow : public BWindow {
public:
	RigWindow()
		: BWindow(BRect(50, 50, 649, 449), "Player", B_TITLED_WINDOW, 0) {}

	void MessageReceived(BMessage* message) override
	{
		switch (message->what) {
			case kMsgUpdateMenuPlayModeRqtd:
			case kMsgUpdateMenuMidiOutRqtd:
			case kMsgRecreateMenuMidiOutRqtd:
			case kMsgDeskBarTitleRqtd:
				posted.push_back(*message);
				break;
			default:
				BWindow::MessageReceived(message);
		}
	}

	std::vector<BMessage> Of(uint32 what) const
	{
		std::vector<BMessage> found;
		for (const BMessage& message : posted) {
			if (message.what == what)
				found.push_back(message);
		}
		return found;
	}

	std::vector<BMessage> posted;
};


// The player in its window on the stepped clock, driven from the thread
// the window's messages run on: the window's messages are dispatched by
// Pump() there, so a driver sees the player exactly between two messages.
// Faults of the driving itself (a thread that never rests, messages that
// never run out) go to the reporter given.
class PlayerDriver {
public:
	typedef std::function<void(const std::string&)> Reporter;

	static constexpr bigtime_t kStart = 1000000;
	// Division 500 at the default tempo: one tick is one millisecond.
	static constexpr uint16_t kDivision = 500;
	static constexpr int32 kMaxBatches = 100000;

	explicit PlayerDriver(Reporter report) : fClock(kStart), fReport(report) {}

	// The program's records as a fresh start has them.
	static void ResetRecords()
	{
		gAppPrivacy.AnaExePath("player_tests");
		gVLT.Load(BUILTIN_LANGUAGE_FILE);
		gPref = TPref();
		gPref.autoSortKind = 0;
		gPref.aiLearning = false;
		gExitState = TExitState();
		gAppPrivacy.SetState(TS_Stopped);
	}

	// A song file: one note per entry of `notes`, ending at `length`.
	struct Note {
		uint32 start;
		uint32 end;
		uint8 key;
		uint8 channel = 0;
	};

	std::string MakeSong(const std::string& name, const std::vector<Note>& notes,
		uint32 length)
	{
		return MakeSongOnPorts(name, {notes}, length);
	}

	// One track per port, each track's notes on their own.
	std::string MakeSongOnPorts(const std::string& name,
		const std::vector<std::vector<Note>>& tracks, uint32 length)
	{
		struct Event {
			uint32 tick;
			smf::Bytes bytes;
		};
		std::vector<smf::Track> chunks;
		for (size_t port = 0; port < tracks.size(); port++) {
			std::vector<Event> events;
			for (const Note& note : tracks[port]) {
				events.push_back({note.start, {uint8(0x90 | note.channel), note.key, 100}});
				events.push_back({note.end, {uint8(0x80 | note.channel), note.key, 0}});
			}
			std::stable_sort(events.begin(), events.end(),
				[](const Event& a, const Event& b) { return a.tick < b.tick; });
			smf::Track track;
			if (port > 0)
				track.Port(0, uint8(port));
			uint32 tick = 0;
			for (const Event& event : events) {
				track.Event(event.tick - tick, event.bytes);
				tick = event.tick;
			}
			track.End(length - tick);
			chunks.push_back(track);
		}
		return WriteFile(name, smf::File(chunks, kDivision));
	}

	std::string WriteFile(const std::string& name, const smf::Bytes& bytes)
	{
		const std::string path = fFolder / name;
		std::ofstream(path, std::ios::binary).write(
			reinterpret_cast<const char*>(bytes.data()), bytes.size());
		return path;
	}

	// The window and the player with the songs in its main list; the
	// player's start has run, its soft synth has come and the list's first
	// request is handled.
	void Open(const std::vector<std::string>& songs, BMidiLocalConsumer* synth = NULL,
		const std::string& synthProblem = "")
	{
		Show(synth, synthProblem);
		PumpUntil([this] { return !fView->SoftSynthPending(); });
		AddSongs(songs);
	}

	// The window shown with the player; its soft synth may still be made.
	void Show(BMidiLocalConsumer* synth = NULL, const std::string& synthProblem = "")
	{
		fWindow = new RigWindow;
		fPlaylist = new RigPlaylist;
		fView = new RigView(fPlaylist, synth, synthProblem);
		fView->realSynth = fRealSynth;
		fView->synthMaker = fSynthMaker;
		fWindow->AddChild(fView);
		fWindow->Show();
		fToken = BHandler::Private::Token(fWindow);
		Pump();
	}

	void AddSongs(const std::vector<std::string>& songs)
	{
		{
			BAutolock lock(fWindow);
			for (const std::string& song : songs) {
				entry_ref ref;
				get_ref_for_path(song.c_str(), &ref);
				fPlaylist->AddMidiFile(ref, fPlaylist->TopList(), -1);
			}
		}
		Pump();
	}

	// Quits the window, which destroys the player.
	void Close()
	{
		fWindow->Lock();
		fWindow->Quit();
		fWindow = NULL;
	}

	// Dispatches what waits for the window, and what that posts, until
	// nothing is left. A player that keeps posting to itself without time
	// passing is a fault instead of a hang.
	void Pump()
	{
		for (int32 batch = 0; fWindow->IsMessageWaiting(); batch++) {
			if (batch == kMaxBatches) {
				fReport("the window's messages never run out");
				return;
			}
			BPrivate::LooperDispatcher::DispatchPending(fToken);
		}
	}

	// The roster tells its watcher from a thread of its own: pumps until
	// what it tells has had its effect.
	bool PumpUntil(const std::function<bool()>& done)
	{
		const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
		for (;;) {
			Pump();
			if (done())
				return true;
			if (std::chrono::steady_clock::now() > giveUp) {
				fReport("what the roster told never came");
				return false;
			}
			std::this_thread::sleep_for(std::chrono::milliseconds(1));
		}
	}

	void Post(BMessage message)
	{
		fWindow->PostMessage(&message, fView);
		Pump();
	}

	void Post(uint32 what) { Post(BMessage(what)); }

	// Moves the slider `name` as a user's drag would leave it, then posts
	// the message its release sends.
	void Slide(const char* name, int32 value, uint32 what)
	{
		TCompactSlider* slider = dynamic_cast<TCompactSlider*>(fView->FindView(name));
		ASSERT_NE(nullptr, slider) << name;
		{
			BAutolock lock(fWindow);
			slider->SetValue(value);
		}
		Post(what);
	}

	// Until every thread on the clock has come to rest: the runners' thread
	// asleep, and a playing song's thread asleep too or its end posted.
	void Quiet()
	{
		const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
		for (;;) {
			Pump();
			const int32 wanted = gAppPrivacy.State() == TS_Playing ? 2 : 1;
			if (fClock.WaitForSleepers(wanted, 2000))
				return;
			if (std::chrono::steady_clock::now() > giveUp) {
				fReport("the player's threads did not come to rest");
				return;
			}
		}
	}

	// Moves the clock by `microseconds`, waking every sleeper on the way and
	// handling what each posts before the next wakes.
	void Advance(bigtime_t microseconds)
	{
		const bigtime_t target = fClock.Now() + microseconds;
		for (;;) {
			Quiet();
			const bigtime_t next = fClock.NextDeadline();
			if (next > target)
				break;
			if (fClock.AdvanceTo(next) != B_OK)
				fReport("a woken thread did not come to rest");
		}
		if (fClock.AdvanceTo(target) != B_OK)
			fReport("a woken thread did not come to rest");
		Quiet();
	}

	bigtime_t Now() { return fClock.Now(); }

	std::string TitleText() const { return ViewText("StrViewTitle"); }
	std::string StatusText() const { return ViewText("StatBar"); }

	std::string ViewText(const char* name) const
	{
		BStringView* view = dynamic_cast<BStringView*>(fView->FindView(name));
		return view != NULL && view->Text() != NULL ? view->Text() : "";
	}

	int32 MarkedRows() const
	{
		int32 marked = 0;
		for (int32 index = 0; index < fPlaylist->Songs(); index++)
			marked += fPlaylist->Song(index)->Current() ? 1 : 0;
		return marked;
	}

	BSteppedClock fClock;
	Reporter fReport;
	// The player makes the real soft synth instead of the one Open gets.
	bool fRealSynth = false;
	// The player makes its soft synth with this instead, when set.
	std::function<BMidiLocalConsumer*(std::string*)> fSynthMaker;
	TempFolder fFolder;
	RigWindow* fWindow = NULL;
	RigPlaylist* fPlaylist = NULL;
	RigView* fView = NULL;
	int32 fToken = 0;
};

#endif
