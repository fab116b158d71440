#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <Application.h>
#include <InterfaceDefs.h>

#include "LayoutTestPlayer.h"
#include "MessagePrivate.h"
#include "ModifiersSource.h"
#include "PlayerMessages.h"
#include "ToolBar.h"
#include "ToolButton.h"

namespace {

uint32 sHeldKeys = 0;


uint32
held_keys()
{
	return sHeldKeys;
}


std::string
read_text(const std::string& path)
{
	std::ifstream file(path);
	std::stringstream text;
	text << file.rdbuf();
	return text.str();
}


BMessage
dropped(const std::vector<std::string>& paths, bool fromOutside)
{
	BMessage message = refs_message(paths);
	BMessage::Private::SetDropInfo(message, BPoint(300, 200), BPoint(0, 0), fromOutside);
	return message;
}


BMessage
with_refs(uint32 what, const std::string& path)
{
	BMessage message(what);
	entry_ref ref = ref_for(path);
	message.AddRef("refs", &ref);
	return message;
}


class CommandsTest : public PlayerTest {
protected:
	void SetUp() override
	{
		PlayerTest::SetUp();
		sHeldKeys = 0;
		BPrivate::set_modifiers_source(held_keys);
	}

	void TearDown() override
	{
		BPrivate::set_modifiers_source(nullptr);
		PlayerTest::TearDown();
	}

	// The window's requests and the playlist's and the application's
	// messages are kept from here on; the playlist's and the
	// application's are held back.
	void Watch()
	{
		fPlaylistSeen = new SeenFilter({'cldd', 'csor'}, true);
		fPlaylist->AddFilter(fPlaylistSeen);
		fPlayerSeen = new SeenFilter({'next'}, false);
		fPlayer->AddFilter(fPlayerSeen);
		fAppSeen = new SeenFilter({'lnfd'}, true);
		be_app->AddCommonFilter(fAppSeen);
	}

	void Forget()
	{
		fWindow->received.clear();
		fPlaylistSeen->seen.clear();
		fPlayerSeen->seen.clear();
		fAppSeen->seen.clear();
		fPlayer->asked.clear();
		fPlaylist->asked.clear();
	}

	std::vector<std::string> Labels() const { return labels(*fPlaylist); }

	TToolButton* ListButton() const { return Child<TToolBar>("ControlBar")->ItemAt(5); }

	SeenFilter* fPlaylistSeen = nullptr;
	SeenFilter* fPlayerSeen = nullptr;
	SeenFilter* fAppSeen = nullptr;
};

}


TEST_F(CommandsTest, DropsAreRoutedByWhatWasDropped)
{
	MakePlayer();
	const std::string song = MakeSong("song.mid");
	const std::string seed = MakeSong("seed.mid");
	make_native_list(fFolder, "x.lml", {MakeSong("in-list.mid")});
	std::filesystem::create_directory(fFolder / "folder");
	MakeSong("folder/in-folder.mid");
	std::filesystem::copy_file(BUILTIN_LANGUAGE_FILE, fFolder / "lang.vlt");
	std::filesystem::copy_file(gAppPrivacy.ExePath() + "Loader/RawLoader.so",
		fFolder / "Loader.so");

	const struct {
		const char* name;
		BMessage message;
		uint32 keys;
		// The window's request, or what the playlist or the application got.
		uint32 routed;
		std::vector<std::string> labels;
	} cases[] = {
		{"a song is added", dropped({song}, true), 0, 'alfr',
			{"", "  seed.mid", "  song.mid"}},
		{"a folder is added", dropped({fFolder / "folder"}, true), 0, 'alfr',
			{"", "  seed.mid", "  [F] folder", "    in-folder.mid"}},
		{"a list is added", dropped({fFolder / "x.lml"}, true), 0, 'alfr',
			{"", "  seed.mid", "  [L] x.lml", "    in-list.mid"}},
		{"a list with Option opens", dropped({fFolder / "x.lml"}, true), B_OPTION_KEY, 'olfr',
			{"[L] x.lml", "  in-list.mid"}},
		{"Option opens a song as the list", dropped({song}, true), B_OPTION_KEY, 'olfr',
			{"", "  song.mid"}},
		{"a language file goes to the application", dropped({fFolder / "lang.vlt"}, true),
			B_OPTION_KEY, 'lnfd', {"", "  seed.mid"}},
		{"a loader add-on goes to the playlist", dropped({fFolder / "Loader.so"}, true), 0,
			'cldd', {"", "  seed.mid"}},
		{"rows dragged inside are moved by the playlist", dropped({seed}, false), 0, 'csor',
			{"", "  seed.mid"}},
		{"a message that was not dropped is declined", refs_message({song}), 0, 0,
			{"", "  seed.mid"}},
		{"a drop without files is declined", dropped({}, true), 0, 0, {"", "  seed.mid"}},
	};
	std::vector<Step> steps = {Do([this]() { Watch(); })};
	for (const auto& c : cases) {
		steps.push_back(Do([this, &c, seed]() {
			fPlaylist->ClearList();
			fPlaylist->AddMidiFile(ref_for(seed), fPlaylist->TopList(), -1);
			Forget();
			sHeldKeys = c.keys;
		}));
		steps.push_back(Post(c.message));
		steps.push_back(Drain(fWindow));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c]() {
			SCOPED_TRACE(c.name);
			std::vector<std::string> expected = c.labels;
			if (expected[0].empty())
				expected[0] = fPlaylist->TopList()->Text();
			EXPECT_EQ(expected, Labels());
			std::vector<uint32> routed;
			for (const BMessage& message : fWindow->received) {
				if (message.what == 'olfr' || message.what == 'alfr')
					routed.push_back(message.what);
			}
			for (const SeenFilter* filter : {fPlaylistSeen, fAppSeen}) {
				for (const BMessage& message : filter->seen) {
					routed.push_back(message.what);
					EXPECT_TRUE(message.WasDropped()) << "the drop stays a drop";
					EXPECT_TRUE(message.HasRef("refs"));
				}
			}
			EXPECT_EQ(c.routed == 0 ? std::vector<uint32>{} : std::vector<uint32>{c.routed},
				routed);
		}));
	}
	Run(steps);
}


TEST_F(CommandsTest, ControlChosenRecentFileIsForgottenNotOpened)
{
	MakePlayer();
	make_native_list(fFolder, "x.lml", {MakeSong("a.mid")});
	const std::string question = [] {
		std::string text = gVLT.Text("Ask_Del_One_MRUF");
		return text.replace(text.find("%s"), 2, "x.lml");
	}();
	const struct {
		const char* name;
		uint32 what;
		bool recent;
		uint32 keys;
		int32 answer;
		bool asked;
		bool forgotten;
		bool loaded;
	} cases[] = {
		{"open, answered yes", 'olfr', true, B_CONTROL_KEY, 1, true, true, false},
		{"open, answered no", 'olfr', true, B_CONTROL_KEY, 0, true, false, false},
		{"add, answered yes", 'alfr', true, B_CONTROL_KEY, 1, true, true, false},
		{"a recent file without Control opens", 'olfr', true, 0, 1, false, false, true},
		{"Control on a request from elsewhere opens", 'olfr', false, B_CONTROL_KEY, 1, false,
			false, true},
		{"Control on an add from elsewhere adds", 'alfr', false, B_CONTROL_KEY, 1, false,
			false, true},
	};
	std::vector<Step> steps = {Do([this]() { Watch(); })};
	for (const auto& c : cases) {
		steps.push_back(Do([this, &c]() {
			fPlaylist->ClearList();
			Forget();
			sHeldKeys = c.keys;
			fPlayer->answers = {c.answer};
			BMessage request = with_refs(c.what, fFolder / "x.lml");
			if (c.recent)
				request.AddBool(kRecentFileMark, true);
			fWindow->PostMessage(&request, fPlayer);
		}));
		steps.push_back(Drain(fWindow));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c, &question]() {
			SCOPED_TRACE(c.name);
			EXPECT_EQ(c.asked ? std::vector<std::string>{question} : std::vector<std::string>{},
				fPlayer->asked);
			const std::vector<BMessage> forgotten = fWindow->Of('_rhr');
			ASSERT_EQ(c.forgotten ? 1u : 0u, forgotten.size());
			if (c.forgotten) {
				entry_ref ref;
				ASSERT_EQ(B_OK, forgotten[0].FindRef("refs", &ref));
				EXPECT_EQ(fFolder / "x.lml", ref.path());
			}
			EXPECT_EQ(c.loaded ? 1 : 0, fPlaylist->Songs());
		}));
	}
	Run(steps);
}


TEST_F(CommandsTest, OpeningOrAddingInRandomModesStartsARandomSong)
{
	MakePlayer();
	const std::string song = MakeSong("a.mid");
	const std::string seed = MakeSong("seed.mid");
	const struct {
		const char* name;
		uint32 what;
		int32 mode;
		bool seeded;
		size_t nexts;
	} cases[] = {
		{"open in Seq", 'olfr', 0, false, 0},
		{"open in Random", 'olfr', 4, true, 1},
		{"open in AI Random", 'olfr', 5, true, 1},
		{"add to an empty list in Random", 'alfr', 4, false, 1},
		{"add to an empty list in AI Random", 'alfr', 5, false, 1},
		{"add to a list with songs in Random", 'alfr', 4, true, 0},
		{"add to an empty list in Mono Rep", 'alfr', 3, false, 0},
	};
	std::vector<Step> steps = {Do([this]() { Watch(); })};
	for (const auto& c : cases) {
		steps.push_back(Do([this, &c, seed]() {
			fPlaylist->ClearList();
			if (c.seeded)
				fPlaylist->AddMidiFile(ref_for(seed), fPlaylist->TopList(), -1);
			BMessage mode('plmd');
			mode.AddInt32("PlayMode", c.mode);
			fWindow->PostMessage(&mode, fPlayer);
		}));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this]() { Forget(); }));
		steps.push_back(Post(with_refs(c.what, song)));
		steps.push_back(Drain(fWindow));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c]() {
			EXPECT_EQ(c.nexts, fPlayerSeen->seen.size()) << c.name;
		}));
	}
	steps.push_back(Post(BMessage('stop')));
	Run(steps);
}


TEST_F(CommandsTest, StartUpReopensTheListWithTheLastSongCurrent)
{
	std::vector<std::string> songs;
	for (const char* title : {"Zero", "One", "Two"}) {
		const std::string text = title;
		songs.push_back(MakeSong(text + ".mid", smf::Bytes(text.begin(), text.end())));
	}
	make_native_list(fFolder, "x.lml", songs);
	// A player of its own for each mode, started as the program starts.
	std::vector<Step> steps;
	for (int32 mode : {0, 4}) {
		steps.push_back([this, mode]() {
			gExitState = TExitState();
			gExitState.mainListFile = fFolder / "x.lml";
			gExitState.curSongIdx = 2;
			gExitState.playMode = mode;
			MakePlayer();
			fWindow->Show();
			return true;
		});
		// The reopen, the list it opens, what the list asks of the player
		// once its first songs are in, and the last song made current.
		for (int32 round = 0; round < 4; round++) {
			steps.push_back([this, drain = Step()]() mutable {
				if (!drain)
					drain = Drain(fWindow);
				return drain();
			});
		}
		steps.push_back(Do([this, mode]() {
			SCOPED_TRACE("play mode " + std::to_string(mode));
			EXPECT_EQ("x.lml - Vantu MIDI", std::string(fWindow->Title()));
			EXPECT_EQ(3, fPlaylist->Songs());
			EXPECT_EQ(2, fPlayer->CurSongIdx());
			EXPECT_EQ(2, fPlaylist->CurrentSongIdx()) << "the mark on the saved song";
			EXPECT_EQ("Two", fPlayer->SongTitle());
			EXPECT_EQ("Two", Text("StrViewTitle"));
			EXPECT_EQ(TS_Stopped, gAppPrivacy.State()) << "nothing plays";
		}));
		steps.push_back([this]() {
			fWindow->Lock();
			fWindow->Quit();
			fWindow = nullptr;
			return true;
		});
	}
	bool done = false;
	steps.push_back([&done]() { return done = true; });
	RunSteps(steps);
	EXPECT_TRUE(done);
}


TEST_F(CommandsTest, NewAsksAboutTheChangedListFirst)
{
	MakePlayer();
	const std::string song = MakeSong("a.mid");
	const struct {
		const char* name;
		int32 answer;
		int32 songs;
		size_t panels;
	} cases[] = {
		{"cancel keeps the list", 0, 1, 0},
		{"no clears it", 1, 0, 0},
		{"yes saves first: the unnamed list needs a name", 2, 1, 1},
	};
	std::vector<Step> steps;
	for (const auto& c : cases) {
		steps.push_back(Do([this, &c, song]() {
			fPlaylist->ClearList();
			BMessage drop = refs_message({song});
			fPlaylist->AddListFolderFileToTopLevel(&drop);
			fPlayer->ChangeSong(0, false);
			fPlaylist->answers = {c.answer};
			fPlaylist->asked.clear();
			fWindow->received.clear();
		}));
		steps.push_back(Post(BMessage('_new')));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c]() {
			SCOPED_TRACE(c.name);
			EXPECT_EQ(1u, fPlaylist->asked.size());
			EXPECT_EQ(c.songs, fPlaylist->Songs());
			EXPECT_EQ(c.panels, fWindow->Of('sspr').size());
			if (c.songs == 0) {
				EXPECT_EQ(fPlaylist->TopList()->ExpFName() + " - Vantu MIDI",
					std::string(fWindow->Title()));
				EXPECT_EQ("", fPlayer->SongTitle());
			}
		}));
	}
	Run(steps);
}


TEST_F(CommandsTest, AddNewPutsAnEmptyListUnderTheMainList)
{
	MakePlayer();
	Run({Post(BMessage('addn')), Post(BMessage('addn')), Drain(fWindow), Do([this]() {
		ASSERT_EQ(3, fPlaylist->FullListCountItems());
		for (int32 row = 1; row < 3; row++) {
			const TVantuSItem* item = static_cast<TVantuSItem*>(fPlaylist->FullListItemAt(row));
			EXPECT_EQ(1u, item->OutlineLevel());
			EXPECT_TRUE(item->Container());
			EXPECT_TRUE(item->ListInfo().unnamed);
		}
	})});
}


TEST_F(CommandsTest, SaveWritesEveryChangedListOnceInTurn)
{
	MakePlayer();
	std::filesystem::create_directory(fFolder / "lists");
	const std::string y = make_native_list(fFolder, "lists/y.lml", {MakeSong("d.mid")});
	const std::string x = make_native_list(fFolder, "lists/x.lml", {MakeSong("a.mid"), y});
	const std::string e = MakeSong("e.mid");
	auto load = [this, x, e]() {
		fPlaylist->ClearList();
		BMessage drop = refs_message({x});
		fPlaylist->AddListFolderFileToTopLevel(&drop);
		// x: a, y (d); both gain e.
		TVantuSItem* yList = static_cast<TVantuSItem*>(fPlaylist->FullListItemAt(2));
		fPlaylist->AddMidiFile(ref_for(e), yList, -1);
		fPlaylist->AddMidiFile(ref_for(e), fPlaylist->TopList(), -1);
		yList->ListInfo().modified = true;
		fPlaylist->TopList()->ListInfo().modified = true;
		fPlaylist->asked.clear();
	};
	Run({Do(load), Post(BMessage('_sav')), Drain(fWindow), Drain(fWindow), Drain(fWindow),
		Do([&]() {
			EXPECT_EQ("TirokaList$1\n" + fFolder / "d.mid\n" + e + "\n", read_text(y));
			EXPECT_EQ("TirokaList$1\n" + fFolder / "a.mid\n" + y + "\n" + e + "\n",
				read_text(x));
			EXPECT_TRUE(fPlaylist->asked.empty());
			for (int32 row : {0, 2}) {
				EXPECT_FALSE(static_cast<TVantuSItem*>(fPlaylist->FullListItemAt(row))
					->ListInfo().modified) << row;
			}

			// Lists whose folder is gone cannot be written: one alert each, then
			// the chain ends.
			load();
			std::filesystem::remove_all(fFolder / "lists");
		}), Post(BMessage('_sav')), Drain(fWindow), Drain(fWindow), Drain(fWindow),
		Drain(fWindow), Do([&]() {
			EXPECT_EQ(2u, fPlaylist->asked.size());
		})});
}


TEST_F(CommandsTest, SaveAsAsksForTheMainListsName)
{
	MakePlayer();
	Run({Post(BMessage('_sva')), Drain(fWindow), Do([this]() {
		const std::vector<BMessage> panels = fWindow->Of('sspr');
		ASSERT_EQ(1u, panels.size());
		BMessage request;
		ASSERT_EQ(B_OK, panels[0].FindMessage("SvPnlMsg", &request));
		EXPECT_EQ(fPlaylist->TopList()->ListInfo().listID, request.FindInt32("ListID"));
	})});
}


TEST_F(CommandsTest, ListButtonFoldsTheWindowToTheControlArea)
{
	MakePlayer();
	const float control = 20 + 56;
	float minWidth = 0, maxWidth = 0;
	auto check = [&](const char* name, bool expanded, float height) {
		SCOPED_TRACE(name);
		float limits[4];
		fWindow->GetSizeLimits(&limits[0], &limits[1], &limits[2], &limits[3]);
		EXPECT_EQ(minWidth, limits[0]);
		EXPECT_EQ(maxWidth, limits[1]);
		EXPECT_EQ(expanded ? control + 70 : control, limits[2]);
		EXPECT_EQ(expanded ? 10000 : control, limits[3]);
		EXPECT_EQ(height, fWindow->Bounds().Height());
		EXPECT_LE(fWindow->Bounds().Width(), maxWidth);
		EXPECT_EQ(expanded ? B_DOCUMENT_WINDOW_LOOK : B_TITLED_WINDOW_LOOK, fWindow->Look());
		EXPECT_EQ(!expanded, Child<BView>("StatBar")->IsHidden(fPlayer));
	};
	auto press = [this](int32 value) {
		return Do([this, value]() {
			ListButton()->SetValue(value);
			fWindow->PostMessage('list', fPlayer);
		});
	};
	Run({Do([&]() {
			minWidth = Child<BView>("StrViewTitle")->Frame().right + 5;
			maxWidth = Child<BView>("SliderVolume")->Frame().right + 5;
			EXPECT_EQ(1, ListButton()->Value()) << "as the exit state says";
			check("at start", true, 400);
		}), press(0), Drain(fWindow), Do([&]() {
			check("collapsed", false, control);
		}), press(1), Drain(fWindow), Do([&]() {
			check("expanded again", true, 400);
			fWindow->ResizeTo(fWindow->Bounds().Width(), 300);
		}), Drain(fWindow), press(0), Drain(fWindow), press(1), Drain(fWindow), Do([&]() {
			check("the height the user gave is kept", true, 300);
		}), press(0), Drain(fWindow), Do([&]() {
			fPlayer->RemoveSelf();
			delete fPlayer;
			EXPECT_FALSE(gExitState.listExpanded);
			EXPECT_EQ(300, gExitState.expandedHeight);
		})});
}


TEST_F(CommandsTest, FilesHandedToThePlayerAreAddedAndTheFirstAddedPlaysOnRequest)
{
	MakePlayer();
	const std::string seed = MakeSong("seed.mid");
	const std::string first = MakeSong("b.mid");
	const std::string second = MakeSong("c.mid");
	const struct {
		const char* name;
		bool seeded;
		bool playAdded;
		int32 current;
		bool plays;
	} cases[] = {
		{"into an empty list, played", false, true, 0, true},
		{"behind a song, played", true, true, 1, true},
		{"behind a song, only added", true, false, 0, false},
	};
	std::vector<Step> steps;
	for (const auto& c : cases) {
		steps.push_back(Do([this, &c, seed]() {
			fPlaylist->ClearList();
			if (c.seeded)
				fPlaylist->AddMidiFile(ref_for(seed), fPlaylist->TopList(), -1);
		}));
		steps.push_back(Drain(fWindow));
		// Not a drop: files from the command line or a second start.
		BMessage handed = refs_message({first, second});
		handed.what = B_REFS_RECEIVED;
		if (c.playAdded)
			handed.AddBool(kPlayAddedField, true);
		steps.push_back(Post(handed));
		// The drop, the window's add, the player's add, the song request.
		for (int round = 0; round < 4; round++)
			steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c]() {
			SCOPED_TRACE(c.name);
			EXPECT_EQ(c.seeded ? 3 : 2, fPlaylist->Songs());
			EXPECT_EQ(c.current, fPlayer->CurSongIdx());
			EXPECT_EQ(c.plays, gAppPrivacy.State() != TS_Stopped);
		}));
		steps.push_back(Post(BMessage('stop')));
		steps.push_back(Drain(fWindow));
	}
	Run(steps);
}
