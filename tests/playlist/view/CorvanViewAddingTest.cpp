#include <gtest/gtest.h>

#include <filesystem>

#include <Node.h>
#include <NodeInfo.h>

#include "ViewTestSupport.h"

namespace {

const char* const kNotFound = "：ファイルが見つかりません。";
const char* const kUnsupported = "：認識できない形式のファイルです。";
const char* const kAlreadyAdded = "：既に存在するので除外します。";


class CorvanViewAddingTest : public testing::Test {
protected:
	void SetUp() override
	{
		set_up_program_records();
		fLog = new RequestLog;
		fView.reset(new ScriptedView);
		fView->SetTarget(BMessenger(fLog));
	}

	void TearDown() override
	{
		fView.reset();
		if (fLog->Lock())
			fLog->Quit();
	}

	void Drop(const std::vector<std::string>& paths)
	{
		BMessage message = refs_message(paths);
		fView->AddListFolderFileToTopLevel(&message);
	}

	// Songs(), Song() and SongIdx() agree with a walk of the rows.
	void ExpectNumbering()
	{
		int32 songs = 0;
		for (int32 row = 0; row < fView->FullListCountItems(); row++) {
			const auto* item = static_cast<const TVantuSItem*>(fView->FullListItemAt(row));
			if (item->Container()) {
				EXPECT_EQ(-1, fView->SongIdx(row)) << row;
				continue;
			}
			EXPECT_EQ(songs, fView->SongIdx(row)) << row;
			EXPECT_EQ(item, fView->Song(songs)) << row;
			songs++;
		}
		EXPECT_EQ(songs, fView->Songs());
		EXPECT_EQ(nullptr, fView->Song(songs));
		EXPECT_EQ(nullptr, fView->Song(-1));
	}

	TempFolder fFolder;
	RequestLog* fLog;
	std::unique_ptr<ScriptedView> fView;
};


TEST_F(CorvanViewAddingTest, StartsWithOneNewEmptyList)
{
	EXPECT_EQ(std::vector<std::string>{"[L] 新規リスト 1"}, labels(*fView));
	EXPECT_EQ(0, fView->Songs());
	EXPECT_TRUE(fView->TopList()->ListInfo().unnamed);
}


// Drops of every kind on a fresh view and on one that holds a list already.
TEST_F(CorvanViewAddingTest, DropsOnFreshAndUsedViews)
{
	const std::string a = make_song(fFolder, "a.mid");
	const std::string b = make_song(fFolder, "b.MID");
	const std::string list = make_native_list(fFolder, "x.lml", {a, b});
	const std::string other = make_native_list(fFolder, "y.lml", {a});
	const std::string raw = fFolder / "gone.txt";
	write_file(raw, fFolder / "missing1.mid\n" + fFolder / "missing2.mid\n");
	const std::string text = fFolder / "notes";
	write_file(text, "hello\n");

	struct Case {
		const char* name;
		bool used;
		std::vector<std::string> drop;
		std::vector<std::string> rows;
		int32 songs;
	} cases[] = {
		{"song on a fresh view stays in the start list", false, {a},
			{"[L] 新規リスト 1 （更新）", "  a.mid"}, 1},
		{"list on a fresh view replaces the start list", false, {list},
			{"[L] x.lml", "  a.mid", "  b.MID"}, 2},
		{"song then list: the start list is touched and keeps both", false, {a, list},
			{"[L] 新規リスト 1 （更新）", "  a.mid", "  [L] x.lml", "    a.mid",
				"    b.MID"}, 3},
		{"list then song: the song goes into the list", false, {list, a},
			{"[L] x.lml （更新）", "  a.mid", "  b.MID", "  a.mid"}, 3},
		{"raw list of missing files leaves the start list", false, {raw},
			{"[L] 新規リスト 1"}, 0},
		{"second list nests under the first", true, {other},
			{"[L] x.lml （更新）", "  a.mid", "  b.MID", "  [L] y.lml", "    a.mid"}, 3},
		{"a list already shown is refused", true, {list},
			{"[L] x.lml （更新）", "  a.mid", "  b.MID"}, 2},
		{"a text file is unsupported", true, {text},
			{"[L] x.lml （更新）", "  a.mid", "  b.MID"}, 2},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		fView.reset(new ScriptedView);
		fView->SetTarget(BMessenger(fLog));
		if (c.used)
			Drop({list});
		fLog->Clear();
		Drop(c.drop);
		EXPECT_EQ(c.rows, labels(*fView));
		EXPECT_EQ(c.songs, fView->Songs());
		ExpectNumbering();
		// The next action finds a top list.
		ASSERT_NE(nullptr, fView->TopList());
		EXPECT_TRUE(fView->TopList()->Container());
		EXPECT_EQ(1u, fLog->Of(kMsgCurSongIdxChanged).size());
	}
}


TEST_F(CorvanViewAddingTest, FirstSongIsLoadedWithoutPlayingAndTitleFollowsTopList)
{
	const std::string a = make_song(fFolder, "a.mid");
	const std::string list = make_native_list(fFolder, "x.lml", {a});
	Drop({list});
	const std::vector<BMessage> change = fLog->Of(kMsgChangeSongRqtd);
	ASSERT_EQ(1u, change.size());
	EXPECT_EQ(0, change[0].FindInt32("NewIdx"));
	EXPECT_FALSE(change[0].FindBool("PlaySong"));
	EXPECT_EQ(1u, fLog->Of(kMsgUpdateWinTitleRqtd).size());

	Drop({make_song(fFolder, "b.mid")});
	EXPECT_EQ(1u, fLog->Of(kMsgChangeSongRqtd).size()) << "only the first song is requested";
}


TEST_F(CorvanViewAddingTest, ReportsOfOneAddAreOneStatusText)
{
	const std::string list = make_native_list(fFolder, "x.lml",
		{fFolder / "one.mid", make_song(fFolder, "a.mid"), fFolder / "two.mid",
			fFolder / "three.mid"});
	Drop({list, list});
	EXPECT_EQ(std::vector<std::string>{std::string("one.mid") + kNotFound + "（ほか 3 件）"},
		fLog->StatusTexts()) << "three missing files and the list already added";
	EXPECT_TRUE(fView->TopList()->ListInfo().modified);
}


TEST_F(CorvanViewAddingTest, DuplicateAndSelfNamingListsAreRefused)
{
	const std::string path = fFolder / "self.lml";
	make_native_list(fFolder, "self.lml", {make_song(fFolder, "a.mid"), path,
		fFolder.Path() + "/./self.lml"});
	Drop({path});
	EXPECT_EQ((std::vector<std::string>{"[L] self.lml （更新）", "  a.mid"}), labels(*fView));
	EXPECT_EQ(std::vector<std::string>{std::string("self.lml") + kAlreadyAdded
		+ "（ほか 1 件）"}, fLog->StatusTexts());

	// Once the list is gone, it may come back.
	fView->ClearList();
	EXPECT_EQ(0, fView->Songs());
	fLog->Clear();
	Drop({path});
	EXPECT_EQ(1, fView->Songs());
}


TEST_F(CorvanViewAddingTest, FolderAndSemiRawListsStaySilentAboutWhatTheyCannotUse)
{
	std::filesystem::create_directory(fFolder / "songs");
	std::filesystem::create_directory(fFolder / "empty");
	write_file(fFolder / "songs/readme.txt", "hello");
	write_file(fFolder / "songs/b.mid", "MThd");
	const std::string semi = fFolder / "semi.txt";
	write_file(semi, "My songs\n\n" + make_song(fFolder, "a.mid") + "\n" + fFolder / "gone.mid\n");

	Drop({fFolder / "songs", fFolder / "empty", semi});
	// The first folder replaces the untouched start list.
	EXPECT_EQ((std::vector<std::string>{"[F] songs （更新）", "  b.mid", "  [F] empty",
		"  [S] semi.txt", "    a.mid"}), labels(*fView));
	EXPECT_TRUE(fLog->StatusTexts().empty());
}


TEST_F(CorvanViewAddingTest, RawListNamingATextFileReportsItUnsupported)
{
	write_file(fFolder / "pyramid", "not a song");
	const std::string raw = fFolder / "raw.txt";
	write_file(raw, make_song(fFolder, "a.mid") + "\n" + fFolder / "pyramid\n");
	Drop({raw});
	EXPECT_EQ((std::vector<std::string>{"[R] raw.txt （更新）", "  a.mid"}), labels(*fView));
	EXPECT_EQ(std::vector<std::string>{std::string("pyramid") + kUnsupported},
		fLog->StatusTexts());
}


TEST_F(CorvanViewAddingTest, OnlyLeafNamesOfFilesMakeSongs)
{
	// A folder whose name holds ".mid" is a folder, and a file inside it
	// without that name is no song.
	std::filesystem::create_directory(fFolder / "old.midi-files");
	write_file(fFolder / "old.midi-files/notes", "hello");
	make_song(fFolder, "old.midi-files/x.MIDI");
	// Typed by this platform, and by the desktop's own name for the type.
	for (const char* type : {"audio/x-midi", "audio/midi"}) {
		const std::filesystem::path file = fFolder / ("typed " + std::string(type + 6));
		write_file(file, "MThd");
		BNode typed(file.c_str());
		BNodeInfo(&typed).SetType(type);
	}

	EXPECT_FALSE(fView->IsMidiFile(ref_for(fFolder / "old.midi-files")));
	EXPECT_FALSE(fView->IsMidiFile(ref_for(fFolder / "old.midi-files/notes")));
	EXPECT_TRUE(fView->IsMidiFile(ref_for(fFolder / "old.midi-files/x.MIDI")));
	EXPECT_TRUE(fView->IsMidiFile(ref_for(fFolder / "typed x-midi"))) << "by its type";
	EXPECT_TRUE(fView->IsMidiFile(ref_for(fFolder / "typed midi"))) << "by its type";
	Drop({fFolder / "old.midi-files"});
	EXPECT_EQ((std::vector<std::string>{"[F] old.midi-files", "  x.MIDI"}), labels(*fView));
}


TEST_F(CorvanViewAddingTest, ListEntriesResolveAgainstTheListsOwnFolder)
{
	std::filesystem::create_directories(fFolder / "lists/sub");
	const std::string inSub = make_song(fFolder, "lists/sub/a.mid");
	make_song(fFolder, "up.mid");
	// "曲.mid" in Shift-JIS.
	make_song(fFolder, "lists/曲.mid");
	const std::string sjis = "\x8b\xc8.mid";
	const std::string list = make_native_list(fFolder, "lists/rel.lml",
		{"sub/a.mid", "../up.mid", "sub\\a.mid", sjis, "Q:\\songs\\b.mid", "",
			"missing/c.mid"});
	Drop({list});
	EXPECT_EQ((std::vector<std::string>{"[L] rel.lml （更新）", "  a.mid", "  up.mid",
		"  a.mid", "  曲.mid"}), labels(*fView));
	EXPECT_EQ(fFolder / "up.mid", fView->Song(1)->EntryRef().path());
	// An entry with no path to look for is named as written.
	EXPECT_EQ(std::vector<std::string>{std::string("Q:\\songs\\b.mid") + kNotFound
		+ "（ほか 1 件）"}, fLog->StatusTexts());
}


TEST_F(CorvanViewAddingTest, AutoSortOrdersEachListOnceAsItLoads)
{
	const std::string list = make_native_list(fFolder, "x.lml",
		{make_song(fFolder, "b.mid"), make_song(fFolder, "C.mid"), make_song(fFolder, "a.mid")});
	struct {
		int32 kind;
		std::vector<std::string> rows;
	} cases[] = {
		{0, {"[L] x.lml", "  b.mid", "  C.mid", "  a.mid"}},
		{1, {"[L] x.lml", "  C.mid", "  a.mid", "  b.mid"}},
		{2, {"[L] x.lml", "  b.mid", "  a.mid", "  C.mid"}},
		{9, {"[L] x.lml", "  b.mid", "  C.mid", "  a.mid"}},
	};
	for (const auto& c : cases) {
		gPref.autoSortKind = c.kind;
		fView.reset(new ScriptedView);
		Drop({list});
		EXPECT_EQ(c.rows, labels(*fView)) << c.kind;
	}
	gPref.autoSortKind = 0;
}


TEST_F(CorvanViewAddingTest, ClearListStartsAgainWithNoSongs)
{
	Drop({make_native_list(fFolder, "x.lml", {make_song(fFolder, "a.mid")})});
	fView->ClearList();
	EXPECT_EQ(0, fView->Songs());
	EXPECT_EQ(std::vector<std::string>{"[L] 新規リスト 2"}, labels(*fView));
	ExpectNumbering();
	Drop({make_song(fFolder, "b.mid")});
	EXPECT_EQ(1, fView->Songs());
	ExpectNumbering();
}

}
