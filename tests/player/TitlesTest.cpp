#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <stdlib.h>
#include <sys/stat.h>

#include "LayoutTestPlayer.h"
#include "PlayerMessages.h"
#include "ToolTip.h"

namespace {

class TitlesTest : public PlayerTest {
protected:
	// The title view's tool tip, a handler of the window.
	const TToolTip* TitleTip() const
	{
		for (int32 i = 0; i < fWindow->CountHandlers(); i++) {
			const TToolTip* tip = dynamic_cast<const TToolTip*>(fWindow->HandlerAt(i));
			if (tip != nullptr && tip->Target() == fPlayer->FindView("StrViewTitle"))
				return tip;
		}
		return nullptr;
	}
};

const smf::Bytes kShiftJISTitle = {0x83, 0x65, 0x83, 0x58, 0x83, 0x67};
const smf::Bytes kJISTitle = {0x1B, '$', 'B', 0x25, 0x46, 0x25, 0x39, 0x25, 0x48, 0x1B, '(',
	'B'};


std::string
read_text(const std::string& path)
{
	std::ifstream file(path);
	std::stringstream text;
	text << file.rdbuf();
	return text.str();
}


// Puts a folder in front of PATH for one test.
class PathPrefix {
public:
	explicit PathPrefix(const std::string& folder)
	{
		const char* path = getenv("PATH");
		fPrevious = path != NULL ? path : "";
		setenv("PATH", (folder + ":" + fPrevious).c_str(), 1);
	}
	~PathPrefix() { setenv("PATH", fPrevious.c_str(), 1); }

private:
	std::string fPrevious;
};

}


TEST_F(TitlesTest, SongTitlesAreShownInUTF8)
{
	MakePlayer();
	const struct {
		const char* name;
		const char* file;
		smf::Bytes trackName;
		std::string title;
	} cases[] = {
		{"Shift-JIS", "sjis.mid", kShiftJISTitle, "テスト"},
		{"JIS", "jis.mid", kJISTitle, "テスト"},
		{"UTF-8", "utf8.mid", {0xE6, 0x9B, 0xB2, 0xE5, 0x90, 0x8D}, "曲名"},
		{"a NUL inside becomes a space", "nul.mid", {'a', 'b', 0, 'c'}, "ab c"},
		{"no name: the file's name", "plain.mid", {}, "plain.mid"},
	};
	std::vector<std::string> paths;
	for (const auto& c : cases)
		paths.push_back(MakeSong(c.file, c.trackName));
	std::vector<Step> steps = {Do([&]() {
		BMessage drop = refs_message(paths);
		fPlaylist->AddListFolderFileToTopLevel(&drop);
		ASSERT_EQ(5, fPlaylist->Songs());
	})};
	for (int32 i = 0; i < 5; i++) {
		steps.push_back(Do([this, i]() { fPlayer->ChangeSong(i, false); }));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, i, &cases]() {
			SCOPED_TRACE(cases[i].name);
			EXPECT_EQ(cases[i].title, fPlayer->SongTitle());
			EXPECT_EQ(cases[i].title, Text("StrViewTitle"));
			const TToolTip* tip = TitleTip();
			ASSERT_NE(nullptr, tip);
			EXPECT_EQ(cases[i].title, tip->Tip()) << "the tip shows the whole title";
			const std::vector<BMessage> deskbar = fWindow->Of('sdtr');
			ASSERT_FALSE(deskbar.empty());
			EXPECT_STREQ(cases[i].title.c_str(), deskbar.back().FindString("DeskBarTitle"));
		}));
	}
	Run(steps);
}


TEST_F(TitlesTest, TitleTipWaitsASecondAndStaysFifteen)
{
	MakePlayer();
	Run({Do([this]() {
		const TToolTip* tip = TitleTip();
		ASSERT_NE(nullptr, tip);
		EXPECT_STREQ("TitleTip", tip->Name());
		EXPECT_EQ(1000000, tip->DelayTime());
		EXPECT_EQ(15000000, tip->ShowTime());
	})});
}


TEST_F(TitlesTest, TemporaryTitleGivesWayToTheSongTitle)
{
	MakePlayer();
	const std::string song = MakeSong("song.mid", {'T', 'u', 'n', 'e'});
	Run({Do([&]() {
			BMessage drop = refs_message({song});
			fPlaylist->AddListFolderFileToTopLevel(&drop);
			fPlayer->ChangeSong(0, false);
		}), Drain(fWindow), Do([&]() {
			EXPECT_EQ("Tune", Text("StrViewTitle"));
			BMessage add('alfr');
			entry_ref ref = ref_for(MakeSong("other.mid"));
			add.AddRef("refs", &ref);
			fWindow->PostMessage(&add, fPlayer);
		}), Drain(fWindow), Do([&]() {
			EXPECT_EQ("Tune", Text("StrViewTitle")) << "after \"adding\"";
			EXPECT_EQ(2, fPlaylist->Songs());
		})});
}


TEST_F(TitlesTest, WindowTitleNamesTheMainListAndItsKind)
{
	MakePlayer();
	std::filesystem::create_directory(fFolder / "songs");
	MakeSong("songs/a.mid");
	make_native_list(fFolder, "x.lml", {MakeSong("b.mid")});
	const std::string app = " - Vantu MIDI";
	Run({Post(BMessage('uwtr')), Drain(fWindow), Do([&]() {
			EXPECT_EQ(fPlaylist->TopList()->ExpFName() + app, fWindow->Title())
				<< "a new list has no kind text";
			EXPECT_NE(std::string::npos, std::string(fWindow->Title()).find(
				gVLT.Text("New_List")));
			BMessage open('olfr');
			entry_ref ref = ref_for(fFolder / "x.lml");
			open.AddRef("refs", &ref);
			fWindow->PostMessage(&open, fPlayer);
		}), Drain(fWindow), Do([&]() {
			EXPECT_EQ("x.lml" + app, fWindow->Title());
			BMessage open('olfr');
			entry_ref ref = ref_for(fFolder / "songs");
			open.AddRef("refs", &ref);
			fWindow->PostMessage(&open, fPlayer);
		}), Drain(fWindow), Do([&]() {
			EXPECT_EQ("songs" + std::string(gVLT.Text("List_Kind_Folder")) + app,
				fWindow->Title());
		})});
}


TEST_F(TitlesTest, DeskbarTitleIsTheProgramsNameWithoutACurrentSong)
{
	MakePlayer();
	Run({Post(BMessage('_new')), Drain(fWindow), Do([&]() {
		const std::vector<BMessage> deskbar = fWindow->Of('sdtr');
		ASSERT_FALSE(deskbar.empty());
		EXPECT_STREQ("Vantu MIDI", deskbar.back().FindString("DeskBarTitle"));
	})});
}


TEST_F(TitlesTest, StatusTextsFollowASpace)
{
	MakePlayer();
	BMessage status('sssr');
	status.AddString("StatBarString", "a.mid: cannot be played");
	Run({Post(status), Drain(fWindow), Do([&]() {
			EXPECT_EQ(" a.mid: cannot be played", Text("StatBar"));
		}), Post(BMessage('sssr')), Drain(fWindow), Do([&]() {
			EXPECT_EQ(" a.mid: cannot be played", Text("StatBar")) << "a request without text";
		})});
}


TEST_F(TitlesTest, CurrentSongsDocumentIsTriedByExtensionThenInUpperCase)
{
	MakePlayer();
	const struct {
		const char* name;
		const char* song;
		const char* document;
		std::vector<std::string> tried;
		bool alert;
	} cases[] = {
		{"lower case", "a.mid", "a.txt", {"a.txt"}, false},
		{"upper case after lower", "a.mid", "a.TXT", {"a.txt", "a.TXT"}, false},
		{"a later extension", "a.mid", "a.htm",
			{"a.txt", "a.TXT", "a.doc", "a.DOC", "a.htm"}, false},
		{"the last extension in upper case", "a.mid", "a.HED",
			{"a.txt", "a.TXT", "a.doc", "a.DOC", "a.htm", "a.HTM", "a.html", "a.HTML",
				"a.hed", "a.HED"}, false},
		{"only the last dot goes", "a.b.mid", "a.b.doc",
			{"a.b.txt", "a.b.TXT", "a.b.doc"}, false},
		{"a song without an extension", "tune", "tune.txt", {"tune.txt"}, false},
		{"none: one alert", "a.mid", NULL,
			{"a.txt", "a.TXT", "a.doc", "a.DOC", "a.htm", "a.HTM", "a.html", "a.HTML",
				"a.hed", "a.HED"}, true},
	};
	std::vector<Step> steps;
	int32 number = 0;
	for (const auto& c : cases) {
		// Each case in a folder with a dot, which is no extension.
		const std::string folder = fFolder / ("case." + std::to_string(number++));
		steps.push_back(Do([this, &c, folder]() {
			std::filesystem::create_directory(folder);
			write_file(folder + "/" + c.song, "MThd");
			if (c.document != NULL)
				write_file(folder + "/" + c.document, "notes");
			fPlaylist->ClearList();
			fPlaylist->AddMidiFile(ref_for(folder + "/" + c.song), fPlaylist->TopList(), -1);
			fPlayer->ChangeSong(0, false);
			fPlayer->launched.clear();
			fPlayer->asked.clear();
		}));
		steps.push_back(Post(BMessage('ocdc')));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c, folder]() {
			SCOPED_TRACE(c.name);
			std::vector<std::string> tried;
			for (const std::string& name : c.tried)
				tried.push_back(folder + "/" + name);
			EXPECT_EQ(tried, fPlayer->launched);
			if (c.alert) {
				ASSERT_EQ(1u, fPlayer->asked.size());
				EXPECT_EQ(std::string(gVLT.Text("Err_Cannot_Open_Doc")) + "a.txt",
					fPlayer->asked[0]);
			} else
				EXPECT_TRUE(fPlayer->asked.empty());
		}));
	}
	Run(steps);
}


TEST_F(TitlesTest, SelectedSongsDocumentsAreAskedForAboveTen)
{
	MakePlayer();
	std::vector<std::string> songs;
	for (int32 i = 0; i < 11; i++) {
		songs.push_back(MakeSong("s" + std::to_string(i) + ".mid"));
		write_file(fFolder / ("s" + std::to_string(i) + ".txt"), "notes");
	}
	std::filesystem::remove(fFolder / "s3.txt");
	std::filesystem::remove(fFolder / "s7.txt");
	const struct {
		const char* name;
		int32 selected;
		int32 answer;
		size_t launched;
		std::vector<std::string> asked;
	} cases[] = {
		{"ten: no question", 10, 0, 10 + 2 * 9, {"missing"}},
		{"eleven, answered no", 11, 0, 0, {"question"}},
		{"eleven, answered yes", 11, 1, 11 + 2 * 9, {"question", "missing"}},
	};
	std::vector<Step> steps = {Do([&]() {
		BMessage drop = refs_message(songs);
		fPlaylist->AddListFolderFileToTopLevel(&drop);
	})};
	for (const auto& c : cases) {
		steps.push_back(Do([this, &c]() {
			fPlaylist->DeselectAll();
			for (int32 row = 1; row <= c.selected; row++)
				fPlaylist->Select(row, true);
			fPlayer->launched.clear();
			fPlayer->asked.clear();
			fPlayer->answers = {c.answer};
		}));
		steps.push_back(Post(BMessage('podc')));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c]() {
			SCOPED_TRACE(c.name);
			EXPECT_EQ(c.launched, fPlayer->launched.size());
			ASSERT_EQ(c.asked.size(), fPlayer->asked.size());
			for (size_t i = 0; i < c.asked.size(); i++) {
				const std::string& text = fPlayer->asked[i];
				if (c.asked[i] == "question") {
					EXPECT_NE(std::string::npos, text.find("11")) << text;
					EXPECT_EQ(std::string::npos, text.find("%s")) << text;
				} else {
					EXPECT_EQ(std::string(gVLT.Text("Err_Cannot_Open_Doc")) + "s3.txt\ns7.txt",
						text) << "one alert names every song without a document";
				}
			}
		}));
	}
	Run(steps);
}


TEST_F(TitlesTest, DesktopViewerIsStartedWithTheDocumentsPath)
{
	MakePlayer();
	fPlayer->desktopLauncher = true;
	// A stand-in for the desktop's opener: it writes down its arguments.
	const std::string bin = fFolder / "bin";
	std::filesystem::create_directory(bin);
	write_file(bin + "/xdg-open", "#!/bin/sh\n"
		"printf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
	ASSERT_EQ(0, chmod((bin + "/xdg-open").c_str(), 0755));
	PathPrefix path(bin);
	const std::string song = MakeSong("with space.mid");
	write_file(fFolder / "with space.TXT", "notes");
	const std::string recorded = bin + "/xdg-open.args";
	Run({Do([&]() {
			EXPECT_NE(B_OK, fPlayer->RealLaunch(fFolder / "missing.txt"))
				<< "a document that is not there is a failure";
			BMessage drop = refs_message({song});
			fPlaylist->AddListFolderFileToTopLevel(&drop);
			fPlayer->ChangeSong(0, false);
		}), Post(BMessage('ocdc')), Until([&]() {
			// The opener runs detached.
			return std::filesystem::exists(recorded);
		}), Do([&]() {
			EXPECT_EQ(fFolder / "with space.TXT\n", read_text(recorded));
			EXPECT_TRUE(fPlayer->asked.empty());
			EXPECT_TRUE(fPlayer->launched.empty());
		})});
}
