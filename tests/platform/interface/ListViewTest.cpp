#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QImage>

#include <List.h>
#include <ListView.h>
#include <ScrollBar.h>
#include <ScrollView.h>
#include <StringItem.h>
#include <Window.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;
using controls_test::int32_of;

namespace {

const uint32 kSelection = 'tblc';
const uint32 kInvocation = 'invk';
const rgb_color kMarker = make_color(10, 200, 30);


// Paints its row in a colour of its own: shows that the list draws items
// through DrawItem.
class MarkedRow : public BStringItem {
public:
	MarkedRow(uint8 shade) : BStringItem("row"), fShade(shade) {}
	void Update(BView*, const BFont*) override { SetHeight(12.0f); }
	void DrawItem(BView* owner, BRect frame, bool) override
	{
		owner->SetHighColor(Colour(fShade));
		owner->FillRect(frame);
	}
	static rgb_color Colour(uint8 shade) { return make_color(kMarker.red, kMarker.green, shade); }

private:
	uint8 fShade;
};


class ListViewTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fRecorder = new Recorder;
		fWindow = new BWindow(BRect(50, 50, 249, 249), "list", B_TITLED_WINDOW, 0);
		fList = new BListView(BRect(0, 0, 180, 120), "list", B_MULTIPLE_SELECTION_LIST,
			B_FOLLOW_ALL);
		fScroll = new BScrollView("scroll", fList, B_FOLLOW_ALL, 0, false, true);
		fWindow->AddChild(fScroll);
		for (int i = 0; i < 20; i++) {
			fItems.push_back(std::make_unique<MarkedRow>(uint8(i * 10)));
			fList->AddItem(fItems.back().get());
		}
		fList->SetSelectionMessage(new BMessage(kSelection));
		fList->SetInvocationMessage(new BMessage(kInvocation));
		fList->SetTarget(fRecorder->Messenger());
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
		fRecorder->Finish();
	}

	void Click(int32 row, int32 clicks = 1, int32 modifiers = 0)
	{
		BMessage message(B_MOUSE_DOWN);
		message.AddPoint("where", BPoint(20, row * 13 + 6));
		message.AddInt32("buttons", 1);
		message.AddInt32("clicks", clicks);
		message.AddInt32("modifiers", modifiers);
		fWindow->PostMessage(&message, fList);
		controls_test::settle();
	}

	BWindow* fWindow = nullptr;
	BListView* fList = nullptr;
	BScrollView* fScroll = nullptr;
	Recorder* fRecorder = nullptr;
	std::vector<std::unique_ptr<MarkedRow>> fItems;
};


TEST_F(ListViewTest, SelectingFromCodeSendsNothing)
{
	fWindow->Lock();
	fList->Select(2);
	fList->Select(4, 6, true);
	fList->Deselect(5);
	fList->DeselectAll();
	fList->Select(1);
	fWindow->Unlock();
	EXPECT_TRUE(fRecorder->StaysAt(0));
	EXPECT_EQ(1, fList->CurrentSelection());
}


TEST_F(ListViewTest, BatchesKeepSelectionAndRows)
{
	std::vector<std::unique_ptr<MarkedRow>> more;
	BList batch;
	for (int i = 0; i < 3; i++) {
		more.push_back(std::make_unique<MarkedRow>(uint8(i)));
		batch.AddItem(more.back().get());
	}
	fWindow->Lock();
	fList->Select(1);
	fList->Select(5, true);
	ASSERT_TRUE(fList->AddList(&batch, 2));
	EXPECT_EQ(23, fList->CountItems());
	EXPECT_EQ(1, fList->CurrentSelection(0));
	EXPECT_EQ(8, fList->CurrentSelection(1));
	EXPECT_EQ(3, fList->IndexOf(more[1].get()));
	EXPECT_EQ(fItems[5].get(), fList->ItemAt(8));
	EXPECT_EQ(BRect(0, 8 * 13, 180, 8 * 13 + 12), fList->ItemFrame(8));

	// Items already in a list leave the list as it was.
	EXPECT_FALSE(fList->AddList(&batch, 0));
	EXPECT_EQ(23, fList->CountItems());

	ASSERT_TRUE(fList->RemoveItems(1, 4));
	EXPECT_EQ(4, fList->CurrentSelection(0));
	EXPECT_EQ(-1, fList->CurrentSelection(1));
	EXPECT_FALSE(fItems[1]->IsSelected());
	EXPECT_EQ(-1, fList->IndexOf(more[1].get()));
	EXPECT_FALSE(fList->HasItem(more[2].get()));
	EXPECT_EQ(4, fList->IndexOf(fItems[5].get()));
	fWindow->Unlock();
}


TEST_F(ListViewTest, ClicksSelectAndSendTheSelectionMessage)
{
	Click(3);
	Click(6, 1, B_SHIFT_KEY);
	ASSERT_TRUE(fRecorder->WaitFor(2));
	const std::vector<BMessage> messages = fRecorder->Messages();
	EXPECT_EQ(kSelection, messages[0].what);
	EXPECT_EQ(3, int32_of(messages[0], "index"));
	EXPECT_EQ(3, int32_of(messages[1], "index", 0));
	EXPECT_EQ(6, int32_of(messages[1], "index", 3));
	for (int32 row = 3; row <= 6; row++)
		EXPECT_TRUE(fList->IsItemSelected(row)) << row;

	// A click on an already selected single row changes nothing.
	Click(8);
	Click(8);
	ASSERT_TRUE(fRecorder->WaitFor(3));
	EXPECT_TRUE(fRecorder->StaysAt(3));
}


TEST_F(ListViewTest, DoubleClickInvokes)
{
	Click(2);
	Click(2, 2);
	ASSERT_TRUE(fRecorder->WaitFor(2));
	const BMessage invocation = fRecorder->Messages()[1];
	EXPECT_EQ(kInvocation, invocation.what);
	EXPECT_EQ(2, int32_of(invocation, "index"));
}


TEST_F(ListViewTest, ItemsDrawThemselvesInTheirRows)
{
	QImage image = interface_test::grab(fList);
	EXPECT_EQ(MarkedRow::Colour(0), interface_test::pixel(image, 10, 0));
	EXPECT_EQ(MarkedRow::Colour(50), interface_test::pixel(image, 10, 13 * 5 + 12));

	// Scrolled by two rows, the third row is at the top.
	fWindow->Lock();
	fList->ScrollTo(0, 26);
	fWindow->Unlock();
	image = interface_test::grab(fList);
	EXPECT_EQ(MarkedRow::Colour(20), interface_test::pixel(image, 10, 0));
	EXPECT_EQ(MarkedRow::Colour(70), interface_test::pixel(image, 10, 13 * 5 + 12));
}


TEST_F(ListViewTest, TheScrollBarCoversTheRows)
{
	BScrollBar* bar = fScroll->ScrollBar(B_VERTICAL);
	ASSERT_NE(nullptr, bar);
	EXPECT_EQ(fScroll, fList->Parent());
	float min;
	float max;
	bar->GetRange(&min, &max);
	EXPECT_EQ(0, min);
	EXPECT_EQ(20 * 13 - 121, max);

	fWindow->Lock();
	fList->Select(19);
	fList->ScrollToSelection();
	fWindow->Unlock();
	EXPECT_EQ(max, fList->Bounds().top);
	EXPECT_EQ(max, bar->Value());
	fWindow->Lock();
	bar->SetValue(13);
	fWindow->Unlock();
	EXPECT_EQ(13, fList->Bounds().top);
	EXPECT_TRUE(fRecorder->StaysAt(0));
}

}


// A list scrolled to its end and then made taller keeps its last row at the
// bottom, or shows its first row again once every row fits: rows above the
// top that the scroll bar can no longer reach were lost to the user.
TEST_F(ListViewTest, AListMadeTallerScrollsBackIntoItsRows)
{
	struct Case {
		const char* what;
		float windowHeight;
		float top;
	};
	const Case cases[] = {
		{"taller, still scrolling", 249, 20 * 13 - 171},
		{"taller than its rows", 399, 0},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		fWindow->Lock();
		fWindow->ResizeTo(199, 199);
		fList->Select(19);
		fList->ScrollToSelection();
		fWindow->ResizeTo(199, c.windowHeight);
		fWindow->Unlock();
		controls_test::settle();
		EXPECT_EQ(c.top, fList->Bounds().top);
		EXPECT_EQ(c.top, fScroll->ScrollBar(B_VERTICAL)->Value());
		const QImage image = interface_test::grab(fList);
		EXPECT_EQ(MarkedRow::Colour(uint8(int(c.top) / 13 * 10)), interface_test::pixel(image, 10, 0));
	}
}
