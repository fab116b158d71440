#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <Application.h>
#include <Entry.h>
#include <MessageFilter.h>

#include "AppMessages.h"
#include "FileHandover.h"
#include "MainWinRig.h"
#include "SessionEnd.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;


std::string
write_text(const std::string& path, const std::string& text)
{
	std::ofstream(path, std::ios::binary) << text;
	return path;
}


std::string
read_text(const std::string& path)
{
	std::ifstream stream(path, std::ios::binary);
	std::stringstream text;
	text << stream.rdbuf();
	return text.str();
}


// The entries of a native list file: its lines after the header.
std::vector<std::string>
list_entries(const std::string& path)
{
	std::istringstream text(read_text(path));
	std::vector<std::string> lines;
	for (std::string line; std::getline(text, line);)
		lines.push_back(line);
	if (!lines.empty())
		lines.erase(lines.begin());
	return lines;
}


std::string
native_list(const std::string& path, const std::vector<std::string>& entries)
{
	std::string text = "TirokaList$1\n";
	for (const std::string& entry : entries)
		text += entry + "\n";
	return write_text(path, text);
}


entry_ref
ref_for(const std::string& path)
{
	entry_ref ref;
	get_ref_for_path(path.c_str(), &ref);
	return ref;
}


// Keeps the application's quit requests from ending the test's loop.
class QuitCatcher : public BMessageFilter {
public:
	QuitCatcher() : BMessageFilter(B_QUIT_REQUESTED) {}

	filter_result Filter(BMessage*, BHandler**) override
	{
		requests++;
		return B_SKIP_MESSAGE;
	}

	int requests = 0;
};


class SessionEndTest : public MainWinTest {
protected:
	std::string Song(const std::string& name)
	{
		return write_text(fMusic / name, "MThd");
	}

	TVantuSItem* Row(const std::string& path) const
	{
		TCorvanView* playlist = fWindow->PlayerView()->PlaylistView();
		for (int32 row = 0; row < playlist->FullListCountItems(); row++) {
			auto* item = static_cast<TVantuSItem*>(playlist->FullListItemAt(row));
			if (item->EntryRef().path() == path)
				return item;
		}
		return nullptr;
	}

	TempFolder fMusic;
	TempFolder fSettings;
	RigWin* fWindow = nullptr;
};

}


// The session ends right behind files handed over: they are in the saved
// copy. Changed lists go to copies named after them, never over their own
// files nor over a copy an earlier session left; a changed list inside
// another is named there by its copy.
TEST_F(SessionEndTest, ChangedListsAreKeptAsCopiesWithWhatWasHandedOverLast)
{
	const std::string recovered = fSettings / "Recovered";
	fs::create_directories(recovered);
	const std::string earlier = native_list(recovered + "/Main.lml", {"/earlier/song.mid"});
	const std::string song1 = Song("1.mid");
	const std::string song2 = Song("2.mid");
	const std::string song3 = Song("3.mid");
	const std::string song4 = Song("4.mid");
	const std::string song5 = Song("5.mid");
	const std::string sub = native_list(fMusic / "Sub.lml", {song2});
	const std::string main = native_list(fMusic / "Main.lml", {song1, sub});
	const std::string mainBefore = read_text(main);
	const std::string subBefore = read_text(sub);

	fWindow = new RigWin;
	TFileHandover handover(fWindow);
	TSessionEnd session(fWindow, recovered);
	QuitCatcher* quits = new QuitCatcher;
	be_app->Lock();
	be_app->AddCommonFilter(quits);
	be_app->Unlock();
	RunWindow(fWindow, {
		Locked(fWindow, [&]() {
			fWindow->AddHandler(&handover);
			fWindow->AddHandler(&session);
			BMessage open('olfr');
			entry_ref ref = ref_for(main);
			open.AddRef("refs", &ref);
			fWindow->PostMessage(&open);
		}),
		Drain(fWindow), Drain(fWindow), Drain(fWindow),
		Locked(fWindow, [&]() {
			TCorvanView* playlist = fWindow->PlayerView()->PlaylistView();
			ASSERT_NE(nullptr, Row(sub));
			// Rows added as a list loads them; the user's edit marks the list.
			playlist->AddMidiFile(ref_for(song3), Row(sub), -1);
			Row(sub)->ListInfo().modified = true;
			playlist->AddMidiFile(ref_for(song4), playlist->TopList(), -1);
			BMessage handed = TFileHandover::Request({song5});
			BMessenger(&handover).SendMessage(&handed);
			BMessenger(&session).SendMessage(kMsgSessionEnd);
		}),
		[&]() { return quits->requests > 0; },
		Locked(fWindow, [&]() {
			TCorvanView* playlist = fWindow->PlayerView()->PlaylistView();
			EXPECT_FALSE(playlist->TopList()->ListInfo().modified);
			EXPECT_FALSE(Row(sub)->ListInfo().modified);
			fWindow->RemoveHandler(&handover);
			fWindow->RemoveHandler(&session);
		}),
	});
	be_app->Lock();
	be_app->RemoveCommonFilter(quits);
	be_app->Unlock();
	delete quits;

	EXPECT_EQ(0, fWindow->alertsShown);
	EXPECT_EQ(mainBefore, read_text(main));
	EXPECT_EQ(subBefore, read_text(sub));
	EXPECT_EQ(std::vector<std::string>{"/earlier/song.mid"}, list_entries(earlier));
	EXPECT_EQ((std::vector<std::string>{song2, song3}), list_entries(recovered + "/Sub.lml"));
	EXPECT_EQ(recovered + "/Main (2).lml", session.RecoveredMainList());
	EXPECT_EQ((std::vector<std::string>{song1, recovered + "/Sub.lml", song4, song5}),
		list_entries(session.RecoveredMainList()));
}
