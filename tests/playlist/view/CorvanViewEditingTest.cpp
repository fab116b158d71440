#include <gtest/gtest.h>

#include <Autolock.h>
#include <InterfaceDefs.h>
#include <MenuItem.h>
#include <MessagePrivate.h>
#include <PopUpMenu.h>
#include <Window.h>

#include "GuiTest.h"
#include "ViewTestSupport.h"

namespace {

// x.lml holding a, b, c and the list y.lml holding d, e; every row shown.
class CorvanViewEditingTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		set_up_program_records();
		fWindow = new BWindow(BRect(50, 50, 349, 449), "Playlist", B_TITLED_WINDOW, 0);
		fView = new ScriptedView;
		fWindow->AddChild(fView);
		fLog = new RequestLog;
		fView->SetTarget(BMessenger(fLog));
		auto song = [this](const char* name) { return make_song(fFolder, name); };
		const std::string y = make_native_list(fFolder, "y.lml", {song("d.mid"), song("e.mid")});
		const std::string x = make_native_list(fFolder, "x.lml",
			{song("a.mid"), song("b.mid"), song("c.mid"), y});
		BMessage drop = refs_message({x});
		fView->AddListFolderFileToTopLevel(&drop);
		fLog->Clear();
	}

	void TearDown() override
	{
		GuiTest::TearDown();
		if (fLog->Lock())
			fLog->Quit();
	}

	BPoint RowPoint(int32 row) const { return BPoint(120, row * fView->RowPitch() + 2); }

	// A press on a row as the window delivers it; the pointer is released
	// at once unless the probe says otherwise.
	void Press(int32 row, uint32 buttons, int32 clicks, int32 modifiers)
	{
		BMessage press = MouseMessage(B_MOUSE_DOWN, fView, RowPoint(row), buttons);
		press.ReplaceInt32("modifiers", modifiers);
		press.AddInt32("clicks", clicks);
		fWindow->PostMessage(&press, fView);
	}

	void Drop(int32 row)
	{
		BMessage drop(kMsgChangeSongOrderRqtd);
		BMessage::Private::SetDropInfo(drop, fView->ConvertToScreen(RowPoint(row)),
			BPoint(0, 0), false);
		fWindow->PostMessage(&drop, fView);
	}

	// Steps that run `post` with the window locked, let the window handle
	// what it posted, then run `check`.
	std::vector<Step> Phase(const std::function<void()>& post,
		const std::function<void()>& check)
	{
		return {[this, post]() {
				if (fWindow->IsHidden())
					fWindow->Show();
				BAutolock lock(fWindow);
				post();
				return true;
			}, Drain(fWindow), [check]() {
				check();
				return true;
			}};
	}

	// The application's loop runs once per test: every phase in one run.
	void Run(const std::vector<std::vector<Step>>& phases)
	{
		std::vector<Step> steps;
		for (const std::vector<Step>& phase : phases)
			steps.insert(steps.end(), phase.begin(), phase.end());
		bool done = false;
		steps.push_back([&done]() { return done = true; });
		RunSteps(steps);
		EXPECT_TRUE(done);
	}

	void Run(const std::function<void()>& post, const std::function<void()>& check)
	{
		Run({Phase(post, check)});
	}

	TempFolder fFolder;
	BWindow* fWindow;
	ScriptedView* fView;
	RequestLog* fLog;
};


TEST_F(CorvanViewEditingTest, ClicksSelectByModifiersAndDoubleClickPlays)
{
	Run([this]() {
		Press(1, B_PRIMARY_MOUSE_BUTTON, 1, 0);
		Press(3, B_PRIMARY_MOUSE_BUTTON, 1, B_COMMAND_KEY);
		Press(6, B_PRIMARY_MOUSE_BUTTON, 1, B_SHIFT_KEY);
		Press(5, B_PRIMARY_MOUSE_BUTTON, 1, B_COMMAND_KEY);
		Press(4, B_PRIMARY_MOUSE_BUTTON, 2, 0);
	}, [this]() {
		std::vector<int32> selected;
		for (int32 row = 0; row < fView->FullListCountItems(); row++) {
			if (fView->FullListItemAt(row)->IsSelected())
				selected.push_back(row);
		}
		EXPECT_EQ((std::vector<int32>{1, 3, 4, 6}), selected)
			<< "click, Ctrl toggles on, Shift extends from the anchor, Ctrl toggles off";
		const std::vector<BMessage> change = fLog->Of(kMsgChangeSongRqtd);
		ASSERT_EQ(1u, change.size());
		EXPECT_EQ(3, change[0].FindInt32("NewIdx")) << "the first song from the list down";
		EXPECT_TRUE(change[0].FindBool("PlaySong"));
	});
}


TEST_F(CorvanViewEditingTest, DraggedSongsLandAfterTheDropRowInOrder)
{
	fView->Song(0)->SetCurrent(true);
	Run({Phase([this]() {
		Press(1, B_PRIMARY_MOUSE_BUTTON, 1, 0);
		Press(3, B_PRIMARY_MOUSE_BUTTON, 1, B_COMMAND_KEY);
		Press(2, B_PRIMARY_MOUSE_BUTTON, 1, B_COMMAND_KEY);
	}, []() {}), Phase([this]() {
		// The pointer leaves a selected row with the button held: a drag of
		// the whole selection.
		fView->probe.readings = {{RowPoint(2) + BPoint(0, 40), B_PRIMARY_MOUSE_BUTTON}};
		Press(2, B_PRIMARY_MOUSE_BUTTON, 1, 0);
	}, [this]() {
		ASSERT_EQ(1u, fView->drags.size());
		std::vector<std::string> dragged;
		entry_ref ref;
		for (int32 i = 0; fView->drags[0].FindRef("refs", i, &ref) == B_OK; i++)
			dragged.push_back(ref.name);
		EXPECT_EQ((std::vector<std::string>{"a.mid", "b.mid", "c.mid"}), dragged);
	}), Phase([this]() { Drop(5); }, [this]() {
		EXPECT_EQ((std::vector<std::string>{"[L] x.lml （更新）", "  [L] y.lml （更新）",
			"    d.mid", "    a.mid", "    b.mid", "    c.mid", "    e.mid"}), labels(*fView));
		EXPECT_EQ(1, fView->CurrentSongIdx()) << "the current mark moved with its row";
		const std::vector<BMessage> changed = fLog->Of(kMsgCurSongIdxChanged);
		ASSERT_EQ(1u, changed.size());
		EXPECT_EQ(1, changed[0].FindInt32("NewIdx"));
		EXPECT_EQ(5, fView->Songs());
	})});
}


TEST_F(CorvanViewEditingTest, DropCases)
{
	struct Case {
		const char* name;
		std::vector<int32> selected;
		int32 dropRow;
		std::vector<std::string> rows;
	} cases[] = {
		{"a list dropped onto its own song stays", {4}, 6,
			{"[L] x.lml", "  a.mid", "  b.mid", "  c.mid", "  [L] y.lml （更新）", "    d.mid",
				"    e.mid"}},
		{"a selected row inside a selected list moves once, with its list", {4, 5}, 2,
			{"[L] x.lml （更新）", "  a.mid", "  b.mid", "  [L] y.lml", "    d.mid", "    e.mid",
				"  c.mid"}},
		{"below the last row is the end of the top list", {1}, 20,
			{"[L] x.lml （更新）", "  b.mid", "  c.mid", "  [L] y.lml", "    d.mid", "    e.mid",
				"  a.mid"}},
		{"onto a list is first in it", {2, 3}, 4,
			{"[L] x.lml （更新）", "  a.mid", "  [L] y.lml （更新）", "    b.mid", "    c.mid",
				"    d.mid", "    e.mid"}},
	};
	std::vector<std::vector<Step>> phases;
	for (const Case& c : cases) {
		phases.push_back(Phase([this, &c]() {
			// A fresh copy of the same rows.
			fView->ClearList();
			BMessage drop = refs_message({fFolder / "x.lml"});
			fView->AddListFolderFileToTopLevel(&drop);
			for (int32 row : c.selected)
				fView->Select(row, true);
			Drop(c.dropRow);
		}, [this, &c]() { EXPECT_EQ(c.rows, labels(*fView)) << c.name; }));
	}
	Run(phases);
}


TEST_F(CorvanViewEditingTest, DeletingCountsSongsOutAndKeepsTheTopRow)
{
	fView->Song(1)->SetCurrent(true);
	fView->Select(0, false);
	fView->Select(2, true);
	fView->defaultAnswer = 1;
	fView->TopList()->ListInfo().modified = false;
	Run([this]() {
		fWindow->PostMessage(kMsgPopupDeleteFile, fView);
	}, [this]() {
		EXPECT_EQ((std::vector<std::string>{"[L] x.lml （更新）"}), labels(*fView))
			<< "the top row is emptied, never removed, and differs from its file";
		EXPECT_EQ(0, fView->Songs());
		const std::vector<BMessage> change = fLog->Of(kMsgChangeSongRqtd);
		ASSERT_EQ(1u, change.size());
		EXPECT_EQ(1, change[0].FindInt32("NewIdx"));
		EXPECT_FALSE(change[0].FindBool("PlaySong"));
	});
}


TEST_F(CorvanViewEditingTest, SortingSortsEachSelectedListOnce)
{
	fView->Select(1, false);
	fView->Select(3, true);
	fView->Select(5, true);
	BMessage sort(kMsgPopupSort);
	sort.AddInt32("SortKey", 2);
	Run([this, &sort]() { fWindow->PostMessage(&sort, fView); }, [this]() {
		EXPECT_EQ((std::vector<std::string>{"[L] x.lml （更新）", "  [L] y.lml （更新）",
			"    e.mid", "    d.mid", "  c.mid", "  b.mid", "  a.mid"}), labels(*fView));
	});
}


TEST_F(CorvanViewEditingTest, PopupOffersListCommandsOnlyForLists)
{
	EXPECT_EQ(nullptr, fView->NewPopup()) << "nothing selected: no menu";
	auto texts = [](BPopUpMenu* menu) {
		std::vector<std::string> result;
		for (int32 i = 0; i < menu->CountItems(); i++) {
			const char* label = menu->ItemAt(i)->Label();
			result.push_back(label != NULL && label[0] != '\0' ? label : "-");
		}
		delete menu;
		return result;
	};
	fView->Select(1, false);
	EXPECT_EQ((std::vector<std::string>{"D・削除", "-", "U・ソート（昇順）", "R・ソート（降順）",
		"-", "O・ドキュメントを開く", "-", "C・選択解除"}), texts(fView->NewPopup()));
	fView->Select(4, true);
	EXPECT_EQ((std::vector<std::string>{"D・削除", "-", "L・新規リストの追加", "-",
		"S・リストの保存", "A・リストを別名で保存 ...", "-", "U・ソート（昇順）", "R・ソート（降順）",
		"-", "O・ドキュメントを開く", "-", "C・選択解除"}), texts(fView->NewPopup()));
}


TEST_F(CorvanViewEditingTest, NewListsGoUnderSelectedListsOnly)
{
	fView->Select(1, false);
	fView->Select(4, true);
	Run([this]() { fWindow->PostMessage(kMsgPopupAddNewList, fView); }, [this]() {
		EXPECT_EQ((std::vector<std::string>{"[L] x.lml", "  a.mid", "  b.mid", "  c.mid",
			"  [L] y.lml （更新）", "    d.mid", "    e.mid", "    [L] 新規リスト 2"}),
			labels(*fView));
	});
}


TEST_F(CorvanViewEditingTest, ListRowsShowTheirFullPathAsTip)
{
	EXPECT_EQ(fFolder / "x.lml", fView->ToolTipAt(RowPoint(0)));
	EXPECT_EQ(fFolder / "y.lml", fView->ToolTipAt(RowPoint(4)));
	EXPECT_EQ("", fView->ToolTipAt(RowPoint(1))) << "a song";
	EXPECT_EQ("", fView->ToolTipAt(RowPoint(30))) << "below the rows";
}


TEST_F(CorvanViewEditingTest, ScrollingToASongPutsTheRowAboveItAtTheTop)
{
	// Two rows high, exactly: the last two of the seven rows fill it.
	fWindow->ResizeTo(299, 2 * fView->RowPitch() - 1);
	fView->ScrollToSong(4);
	EXPECT_EQ(5 * fView->RowPitch(), fView->Bounds().top) << "song 4 is row 6";
	fView->ScrollToSong(0);
	EXPECT_EQ(0, fView->Bounds().top);
}


// Scrolled as far as the row above the song would leave rows above the top
// that the scroll bar cannot bring back: the list stops at its last row.
TEST_F(CorvanViewEditingTest, ScrollingToASongStopsAtTheLastRow)
{
	struct Case {
		const char* what;
		int32 rowsHigh;
		int32 topRow;
	};
	const Case cases[] = {
		{"four rows high", 4, 3},
		{"taller than its seven rows", 10, 0},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		fWindow->ResizeTo(299, c.rowsHigh * fView->RowPitch() - 1);
		fView->ScrollToSong(4);
		EXPECT_EQ(c.topRow * fView->RowPitch(), fView->Bounds().top);
	}
}

}
