#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <Alert.h>
#include <Autolock.h>
#include <InterfaceDefs.h>
#include <Window.h>

#include "GuiTest.h"
#include "ViewTestSupport.h"

namespace {

std::string
read_file(const std::string& path)
{
	std::ifstream file(path, std::ios::binary);
	std::stringstream content;
	content << file.rdbuf();
	return content.str();
}


// Keeps the save panels the view asks its window for.
class PanelWindow : public BWindow {
public:
	PanelWindow()
		: BWindow(BRect(50, 50, 349, 449), "Playlist", B_TITLED_WINDOW, 0) {}

	void MessageReceived(BMessage* message) override
	{
		if (message->what == kMsgSavePanelRqtd)
			panels.push_back(*message);
		else
			BWindow::MessageReceived(message);
	}

	std::vector<BMessage> panels;
};


// x.lml holding a and the list y.lml holding d; y is modified.
template<class View>
class SavingTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		set_up_program_records();
		fWindow = new PanelWindow;
		fView = new View;
		fWindow->AddChild(fView);
		fLog = new RequestLog;
		fView->SetTarget(BMessenger(fLog));
		const std::string y = make_native_list(fFolder, "y.lml", {make_song(fFolder, "d.mid")});
		make_native_list(fFolder, "x.lml", {make_song(fFolder, "a.mid"), y});
		BMessage drop = refs_message({fFolder / "x.lml"});
		fView->AddListFolderFileToTopLevel(&drop);
		Y()->ListInfo().modified = true;
		Y()->UpdateText();
		fLog->Clear();
	}

	void TearDown() override
	{
		GuiTest::TearDown();
		if (fLog->Lock())
			fLog->Quit();
	}

	TVantuSItem* Y() const { return static_cast<TVantuSItem*>(fView->FullListItemAt(2)); }

	void Post(const BMessage& message)
	{
		BMessage copy(message);
		fWindow->PostMessage(&copy, fView);
	}

	// The save panel's answer to a request: the name in the test's folder.
	BMessage PanelReply(const BMessage& panel, const char* name)
	{
		BMessage reply;
		panel.FindMessage("SvPnlMsg", &reply);
		entry_ref folder = ref_for(fFolder.Path());
		reply.AddRef("directory", &folder);
		reply.AddString("name", name);
		return reply;
	}

	void Run(std::vector<Step> steps)
	{
		steps.insert(steps.begin(), [this]() {
			if (fWindow->IsHidden())
				fWindow->Show();
			return true;
		});
		bool done = false;
		steps.push_back([&done]() { return done = true; });
		RunSteps(steps);
		EXPECT_TRUE(done);
	}

	TempFolder fFolder;
	PanelWindow* fWindow;
	View* fView;
	RequestLog* fLog;
};


typedef SavingTest<ScriptedView> CorvanViewSavingTest;


TEST_F(CorvanViewSavingTest, DeleteAsksAboutModifiedListsFirst)
{
	struct {
		const char* name;
		int32 answer;
		bool deleted;
		bool written;
	} cases[] = {
		{"cancel keeps the list", 0, false, false},
		{"no deletes without saving", 1, true, false},
		{"yes saves, then the chained delete runs without asking", 2, true, true},
	};
	const std::string before = read_file(fFolder / "y.lml");
	std::vector<Step> steps;
	for (const auto& c : cases) {
		steps.push_back([this, &c, &before]() {
			BAutolock lock(fWindow);
			fView->ClearList();
			BMessage drop = refs_message({fFolder / "x.lml"});
			fView->AddListFolderFileToTopLevel(&drop);
			Y()->ListInfo().modified = true;
			fView->AddMidiFile(ref_for(fFolder / "a.mid"), Y(), -1);
			write_file(fFolder / "y.lml", before);
			fView->asked.clear();
			fView->answers = {c.answer};
			fView->Select(2, false);
			Post(BMessage(kMsgPopupDeleteFile));
			// The selection changes before the chained delete comes back.
			Post(BMessage(kMsgPopupDeselect));
			return true;
		});
		steps.push_back(Drain(fWindow));
		steps.push_back(Drain(fWindow));
		steps.push_back([this, &c, &before]() {
			SCOPED_TRACE(c.name);
			EXPECT_EQ(1u, fView->asked.size());
			EXPECT_EQ(c.deleted ? 2 : 5, fView->FullListCountItems());
			EXPECT_EQ(c.deleted ? 1 : 3, fView->Songs());
			EXPECT_EQ(c.written, read_file(fFolder / "y.lml") != before);
			return true;
		});
	}
	Run(steps);
	EXPECT_EQ("TirokaList$1\n" + fFolder / "d.mid\n" + fFolder / "a.mid\n",
		read_file(fFolder / "y.lml"));
}


TEST_F(CorvanViewSavingTest, SaveAsOffersEveryListOnceComparingWholeIds)
{
	// Lists 2 (the top list) and 23 both selected: ",2" is inside ",23".
	ASSERT_EQ(2, fView->TopList()->ListInfo().listID);
	while (fView->FindList(23) == NULL)
		fView->AddNewList(fView->TopList());
	fView->DeselectAll();
	fView->Select(0, true);
	fView->Select(fView->IndexOf(fView->FindList(23)), true);
	std::vector<int32> offered;
	Run({[this]() {
			Post(BMessage(kMsgPopupSaveListAs));
			return true;
		}, [this, &offered]() {
			if (fWindow->panels.size() <= offered.size())
				return false;
			const BMessage& panel = fWindow->panels.back();
			BMessage request;
			panel.FindMessage("SvPnlMsg", &request);
			offered.push_back(request.FindInt32("ListID"));
			const std::string name = "list" + std::to_string(offered.back());
			Post(PanelReply(panel, name.c_str()));
			return offered.size() == 2;
		}, Drain(fWindow), Drain(fWindow), [this, &offered]() {
			EXPECT_EQ((std::vector<int32>{23, 2}), offered);
			EXPECT_EQ(2u, fWindow->panels.size()) << "no third panel";
			EXPECT_TRUE(std::filesystem::exists(fFolder / "list23.lml"));
			EXPECT_TRUE(std::filesystem::exists(fFolder / "list2.lml"));
			EXPECT_STREQ("[L] list2.lml", fView->TopList()->Text());
			EXPECT_EQ("list23.lml", fView->FindList(23)->ExpFName());
			return true;
		}});
}


TEST_F(CorvanViewSavingTest, SaveOfListsThatCannotBeWrittenEndsAfterOneAlertEach)
{
	// Both lists name files in a folder that is gone.
	fView->TopList()->ListInfo().modified = true;
	std::filesystem::remove_all(fFolder.Path());
	fView->Select(0, false);
	fView->Select(2, true);
	Run({[this]() {
			Post(BMessage(kMsgPopupSaveList));
			return true;
		}, Drain(fWindow), Drain(fWindow), Drain(fWindow), [this]() {
			EXPECT_EQ((std::vector<std::string>{"リストを保存できません：\ny.lml",
				"リストを保存できません：\nx.lml"}), fView->asked);
			EXPECT_TRUE(fView->TopList()->ListInfo().modified) << "left as it was";
			return true;
		}});
}


TEST_F(CorvanViewSavingTest, EntryThatCannotReadBackIsNamedAndNothingIsWritten)
{
	const std::string before = read_file(fFolder / "y.lml");
	fView->AddMidiFile(ref_for(make_song(fFolder, "two\nlines.mid")), Y(), -1);
	fView->Select(2, false);
	Run({[this]() {
			Post(BMessage(kMsgPopupSaveList));
			return true;
		}, Drain(fWindow), Drain(fWindow), [this, &before]() {
			EXPECT_EQ(std::vector<std::string>{"リストに書けない項目があります：\n" + fFolder
				/ "two\nlines.mid"}, fView->asked);
			EXPECT_EQ(before, read_file(fFolder / "y.lml"));
			EXPECT_TRUE(Y()->ListInfo().modified);
			return true;
		}});
}


TEST_F(CorvanViewSavingTest, NameWithoutExtensionGetsItAndAsksBeforeReplacing)
{
	write_file(fFolder / "mine.lml", "TirokaList$1\nkeep\n");
	fView->answers = {0, 1};
	BMessage request(B_SAVE_REQUESTED);
	request.AddInt32("ListID", Y()->ListInfo().listID);
	BMessage panel;
	panel.AddMessage("SvPnlMsg", &request);
	Run({[this, &panel]() {
			Post(PanelReply(panel, "mine"));
			return true;
		}, Drain(fWindow), [this, &panel]() {
			EXPECT_EQ("TirokaList$1\nkeep\n", read_file(fFolder / "mine.lml")) << "declined";
			EXPECT_TRUE(Y()->ListInfo().modified);
			Post(PanelReply(panel, "mine"));
			return true;
		}, Drain(fWindow), [this]() {
			EXPECT_EQ(2u, fView->asked.size());
			EXPECT_EQ("mine.lml は既に存在します。\n置き換えますか？", fView->asked.at(0));
			EXPECT_EQ("TirokaList$1\n" + fFolder / "d.mid\n", read_file(fFolder / "mine.lml"));
			EXPECT_STREQ("[L] mine.lml", Y()->Text());
			EXPECT_TRUE(fView->TopList()->ListInfo().modified)
				<< "the parent now names another file";
			EXPECT_EQ(1u, fLog->Of(kMsgUpdateWinTitleRqtd).size());
			return true;
		}});
}


TEST_F(CorvanViewSavingTest, SavingAFolderMakesItANativeList)
{
	std::filesystem::create_directory(fFolder / "songs");
	make_song(fFolder, "songs/s.mid");
	BMessage drop = refs_message({fFolder / "songs"});
	fView->AddListFolderFileToTopLevel(&drop);
	auto* folder = static_cast<TVantuSItem*>(
		fView->FullListItemAt(fView->FullListCountItems() - 2));
	ASSERT_EQ(kSupportFolder, folder->Kind());
	fView->DeselectAll();
	fView->Select(fView->IndexOf(folder), false);
	Run({[this]() {
			Post(BMessage(kMsgPopupSaveListAs));
			return true;
		}, [this]() {
			if (fWindow->panels.empty())
				return false;
			Post(PanelReply(fWindow->panels[0], "songs.lml"));
			return true;
		}, Drain(fWindow), [this, folder]() {
			EXPECT_EQ(kSupportNative100, folder->Kind());
			EXPECT_STREQ("[L] songs.lml", folder->Text());
			EXPECT_EQ("TirokaList$1\n" + fFolder / "songs/s.mid\n",
				read_file(fFolder / "songs.lml"));
			return true;
		}});
}


TEST_F(CorvanViewSavingTest, PanelTitleSubstitutesTheNameWithoutFormatting)
{
	EXPECT_EQ("y.lml を別名で保存", fView->SavePanelTitle(Y()->ListInfo().listID));
	make_native_list(fFolder, "%n%s.lml", {});
	BMessage drop = refs_message({fFolder / "%n%s.lml"});
	fView->AddListFolderFileToTopLevel(&drop);
	const auto* hostile = static_cast<const TVantuSItem*>(
		fView->FullListItemAt(fView->FullListCountItems() - 1));
	EXPECT_EQ("%n%s.lml を別名で保存", fView->SavePanelTitle(hostile->ListInfo().listID));
}


// The real alert: the window's queued messages wait until the handler that
// asked is done.
class PlainView : public TCorvanView {
public:
	PlainView() : TCorvanView(BRect(0, 0, 299, 399), "Playlist", false) {}
};

typedef SavingTest<PlainView> CorvanViewAlertTest;


TEST_F(CorvanViewAlertTest, QueuedSaveWaitsWhileAQuestionIsOpen)
{
	fView->Select(2, false);
	BMessage save(B_SAVE_REQUESTED);
	save.AddInt32("ListID", Y()->ListInfo().listID);
	BMessage panel;
	panel.AddMessage("SvPnlMsg", &save);
	const std::string queued = fFolder / "queued.lml";
	Run({[this, &panel]() {
			Post(BMessage(kMsgPopupDeleteFile));
			Post(PanelReply(panel, "queued.lml"));
			return true;
		}, [this, &queued]() {
			BAlert* alert = NULL;
			for (int32 i = 0; alert == NULL && fApp->WindowAt(i) != NULL; i++)
				alert = dynamic_cast<BAlert*>(fApp->WindowAt(i));
			if (alert == NULL)
				return false;
			EXPECT_FALSE(std::filesystem::exists(queued)) << "dispatched inside the question";
			BMessage escape = KeyMessage(B_ESCAPE, 0);
			alert->PostMessage(&escape, alert);
			return true;
		}, [&queued]() { return std::filesystem::exists(queued); }, [this]() {
			EXPECT_EQ(4, fView->FullListCountItems()) << "cancel kept the list";
			return true;
		}});
}

}
