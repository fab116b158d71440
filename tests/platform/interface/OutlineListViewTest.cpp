#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <OutlineListView.h>
#include <StringItem.h>
#include <Window.h>

#include "ControlsTestSupport.h"

namespace {

// Rows of a fixed height, as the playlist's items are.
class Row : public BStringItem {
public:
	Row(const char* text) : BStringItem(text) {}
	void Update(BView*, const BFont*) override { SetHeight(12.0f); }
};


int
by_text_descending(const BListItem* a, const BListItem* b)
{
	return -strcmp(static_cast<const BStringItem*>(a)->Text(),
		static_cast<const BStringItem*>(b)->Text());
}


// A tree built in a list that is in no window:
//   A (A1, A2 (A2a), A3), B (B1), C
class OutlineListViewTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fList = std::make_unique<BOutlineListView>(BRect(0, 0, 199, 299), "list",
			B_MULTIPLE_SELECTION_LIST);
		Add("A", nullptr);
		Add("A1", "A");
		Add("A2", "A");
		Add("A2a", "A2");
		Add("B", nullptr);
		Add("B1", "B");
		Add("C", nullptr);
		// Added last, still the last child of A: after A2's subtree.
		Add("A3", "A");
	}

	void TearDown() override
	{
		fList->MakeEmpty();
		fList.reset();
	}

	void Add(const char* text, const char* parent)
	{
		fItems.push_back(std::make_unique<Row>(text));
		ASSERT_TRUE(fList->AddUnder(fItems.back().get(), parent != nullptr ? Item(parent) : nullptr));
	}

	BListItem* Item(const char* text) const
	{
		for (const auto& item : fItems) {
			if (strcmp(item->Text(), text) == 0)
				return item.get();
		}
		return nullptr;
	}

	static std::string Text(const BListItem* item)
	{
		return item != nullptr ? static_cast<const BStringItem*>(item)->Text() : "(none)";
	}

	std::string FullList() const
	{
		std::string texts;
		for (int32 i = 0; i < fList->FullListCountItems(); i++)
			texts += Text(fList->FullListItemAt(i)) + " ";
		return texts;
	}

	std::string Rows() const
	{
		std::string texts;
		for (int32 i = 0; i < fList->CountItems(); i++)
			texts += Text(fList->ItemAt(i)) + " ";
		return texts;
	}

	std::unique_ptr<BOutlineListView> fList;
	std::vector<std::unique_ptr<Row>> fItems;
};


TEST_F(OutlineListViewTest, AddUnderAppendsTheLastChild)
{
	EXPECT_EQ("A A1 A2 A2a A3 B B1 C ", FullList());
	EXPECT_EQ(FullList(), Rows());
	EXPECT_EQ(2u, Item("A2a")->OutlineLevel());
	EXPECT_EQ(1u, Item("A3")->OutlineLevel());
	EXPECT_EQ(8, fList->FullListCountItems());
	EXPECT_EQ(4, fList->FullListIndexOf(Item("A3")));
}


TEST_F(OutlineListViewTest, SuperitemsAndChildren)
{
	EXPECT_EQ(Item("A2"), fList->Superitem(Item("A2a")));
	EXPECT_EQ(Item("A"), fList->Superitem(Item("A3")));
	EXPECT_EQ(nullptr, fList->Superitem(Item("B")));

	EXPECT_EQ(3, fList->CountItemsUnder(Item("A"), true));
	EXPECT_EQ(4, fList->CountItemsUnder(Item("A"), false));
	EXPECT_EQ(0, fList->CountItemsUnder(Item("C"), true));
	EXPECT_EQ(3, fList->CountItemsUnder(nullptr, true));
	EXPECT_EQ(8, fList->CountItemsUnder(nullptr, false));

	EXPECT_EQ("A3", Text(fList->ItemUnderAt(Item("A"), true, 2)));
	EXPECT_EQ("A2a", Text(fList->ItemUnderAt(Item("A"), false, 2)));
	EXPECT_EQ("C", Text(fList->ItemUnderAt(nullptr, true, 2)));
	EXPECT_EQ(nullptr, fList->ItemUnderAt(Item("A"), true, 3));
}


TEST_F(OutlineListViewTest, SortingMovesWholeSubtrees)
{
	fList->SortItemsUnder(Item("A"), true, by_text_descending);
	EXPECT_EQ("A A3 A2 A2a A1 B B1 C ", FullList());
	EXPECT_EQ(FullList(), Rows());

	fList->SortItemsUnder(nullptr, true, by_text_descending);
	EXPECT_EQ("C B B1 A A3 A2 A2a A1 ", FullList());
	EXPECT_EQ(FullList(), Rows());
	EXPECT_EQ(Item("A"), fList->Superitem(Item("A1")));
}


TEST_F(OutlineListViewTest, SortingEveryLevel)
{
	Add("A2b", "A2");
	fList->SortItemsUnder(nullptr, false, by_text_descending);
	EXPECT_EQ("C B B1 A A3 A2 A2b A2a A1 ", FullList());
}


TEST_F(OutlineListViewTest, CollapseHidesRowsButNotTheFullList)
{
	fList->Collapse(Item("A"));
	EXPECT_FALSE(Item("A")->IsExpanded());
	EXPECT_EQ("A B B1 C ", Rows());
	EXPECT_EQ(8, fList->FullListCountItems());
	EXPECT_EQ(Item("B"), fList->ItemAt(1));
	EXPECT_EQ(Item("A1"), fList->FullListItemAt(1));

	// A collapsed subtree stays collapsed inside an expanded parent.
	fList->Collapse(Item("A2"));
	fList->Expand(Item("A"));
	EXPECT_EQ("A A1 A2 A3 B B1 C ", Rows());

	// Items added under a collapsed item are not shown.
	Add("A2b", "A2");
	EXPECT_EQ("A A1 A2 A3 B B1 C ", Rows());
	fList->Expand(Item("A2"));
	EXPECT_EQ("A A1 A2 A2a A2b A3 B B1 C ", Rows());
}


TEST_F(OutlineListViewTest, RemovingAnItemTakesItsSubtreeAndDeletesNothing)
{
	ASSERT_TRUE(fList->RemoveItem(Item("A2")));
	EXPECT_EQ("A A1 A3 B B1 C ", FullList());
	EXPECT_EQ(FullList(), Rows());
	EXPECT_EQ(2, fList->CountItemsUnder(Item("A"), true));
	EXPECT_EQ(-1, fList->FullListIndexOf(Item("A2a")));
	// The removed items are still usable (the fixture deletes them).
	EXPECT_STREQ("A2a", static_cast<BStringItem*>(Item("A2a"))->Text());
	EXPECT_EQ(Item("B"), fList->RemoveItem(3));
}


TEST_F(OutlineListViewTest, MultipleSelectionInRowOrder)
{
	fList->Select(5);
	fList->Select(1, true);
	fList->Select(3, true);
	EXPECT_EQ(1, fList->CurrentSelection(0));
	EXPECT_EQ(3, fList->CurrentSelection(1));
	EXPECT_EQ(5, fList->CurrentSelection(2));
	EXPECT_EQ(-1, fList->CurrentSelection(3));

	// Sorting keeps the selected items selected wherever they go.
	fList->SortItemsUnder(Item("A"), true, by_text_descending);
	EXPECT_TRUE(Item("A1")->IsSelected());
	EXPECT_TRUE(Item("A2a")->IsSelected());
	EXPECT_TRUE(Item("B")->IsSelected());
	EXPECT_EQ(4, fList->CurrentSelection(1)) << Rows();

	// Rows hidden by a collapse are no longer selected.
	fList->Collapse(Item("A"));
	EXPECT_FALSE(Item("A1")->IsSelected());
	EXPECT_EQ(1, fList->CurrentSelection(0));
	EXPECT_EQ(-1, fList->CurrentSelection(1));
	EXPECT_EQ(5, fList->FullListCurrentSelection(0));
}


TEST_F(OutlineListViewTest, RowsAreTheirHeightPlusOnePixelApart)
{
	EXPECT_EQ(12.0f, Item("A")->Height());
	EXPECT_EQ(BRect(0, 13, 199, 25), fList->ItemFrame(1));
	EXPECT_EQ(2, fList->IndexOf(BPoint(5, 26)));
	EXPECT_EQ(1, fList->IndexOf(BPoint(5, 25.5f)));
}


TEST_F(OutlineListViewTest, AnItemAddedAboveDeeperItemsTakesThemAsItsSubtree)
{
	// X goes between A1 and A2 at the top level: A2, A2a and A3 now follow
	// it at deeper levels, so they hang under it, and X being collapsed
	// hides them.
	fItems.push_back(std::make_unique<Row>("X"));
	BListItem* x = fItems.back().get();
	x->SetExpanded(false);
	ASSERT_TRUE(fList->AddItem(x, 2));
	EXPECT_EQ("A A1 X A2 A2a A3 B B1 C ", FullList());
	EXPECT_EQ("A A1 X B B1 C ", Rows());
	EXPECT_EQ(x, fList->Superitem(Item("A2")));
	EXPECT_EQ(Item("A2"), fList->Superitem(Item("A2a")));
	EXPECT_EQ(x, fList->Superitem(Item("A3")));
	EXPECT_EQ(2, fList->CountItemsUnder(x, true));

	fList->Expand(x);
	EXPECT_EQ(FullList(), Rows());
	EXPECT_FALSE(fList->AddItem(x, 0)) << "an item is in a list once";
}


TEST_F(OutlineListViewTest, FramesFollowCollapseExpandAndHeights)
{
	fList->Collapse(Item("A"));
	EXPECT_EQ(BRect(0, 13, 199, 25), fList->ItemFrame(1));
	EXPECT_EQ(Item("B1"), fList->ItemAt(fList->IndexOf(BPoint(5, 26))));
	fList->Expand(Item("A"));
	EXPECT_EQ(BRect(0, 65, 199, 77), fList->ItemFrame(5));

	Item("A1")->SetHeight(20.0f);
	EXPECT_EQ(BRect(0, 13, 199, 33), fList->ItemFrame(1));
	EXPECT_EQ(BRect(0, 34, 199, 46), fList->ItemFrame(2));
	EXPECT_EQ(2, fList->IndexOf(BPoint(5, 34)));
	EXPECT_EQ(-1, fList->IndexOf(BPoint(5, 8 * 13 + 8)));
}



// Paints its row as the program's rows do: sets the low colour to its own
// background, the selection colour when selected, and leaves it set.
class ColouredRow : public BListItem {
public:
	ColouredRow(uint32 level) : BListItem(level) {}
	void Update(BView*, const BFont*) override { SetHeight(12.0f); }
	void DrawItem(BView* owner, BRect frame, bool) override
	{
		owner->SetLowColor(IsSelected() ? kSelected : kRow);
		owner->FillRect(frame, B_SOLID_LOW);
	}

	static constexpr rgb_color kSelected = {60, 90, 220, 255};
	static constexpr rgb_color kRow = {250, 250, 240, 255};
};


TEST(OutlineListDrawing, EachRowPaintsItsIndentInTheListsColour)
{
	controls_test::init_gui();
	interface_test::WindowHolder window(interface_test::make_window(BRect(50, 50, 249, 149)));
	BOutlineListView* list = new BOutlineListView(BRect(0, 0, 199, 99), "list");
	const rgb_color background = make_color(255, 255, 255);
	std::vector<std::unique_ptr<ColouredRow>> rows;
	// A folder, then four songs in it (one indent level).
	for (uint32 level : {0, 1, 1, 1, 1}) {
		rows.push_back(std::make_unique<ColouredRow>(level));
		list->AddItem(rows.back().get());
	}
	window->AddChild(list);
	interface_test::show_and_settle(window.Get());
	window->Lock();
	list->Select(2);
	window->Unlock();

	// The indent of a level-1 row is 24 pixels wide; the item draws right
	// of it. Two paints: the colour an item left set must not reach the
	// next row nor the next paint.
	for (int paint = 0; paint < 2; paint++) {
		window->Lock();
		list->Invalidate();
		window->Unlock();
		const QImage image = interface_test::grab(list);
		for (int32 row = 1; row < 5; row++) {
			const int y = row * 13 + 6;
			EXPECT_EQ(background, interface_test::pixel(image, 4, y))
				<< "indent of row " << row << ", paint " << paint;
			EXPECT_EQ(row == 2 ? ColouredRow::kSelected : ColouredRow::kRow,
				interface_test::pixel(image, 40, y))
				<< "row " << row << ", paint " << paint;
		}
	}
	window->Lock();
	list->MakeEmpty();
	window->Unlock();
}

}


namespace {

// The program deletes items and lists in either order, as on the original
// platform; neither may touch the other afterwards.
TEST(ListLifetimeTest, ItemsAndListsMayEachGoFirst)
{
	for (const bool outline : {false, true}) {
		SCOPED_TRACE(outline ? "outline list" : "plain list");
		auto make = [outline]() -> BListView* {
			return outline ? new BOutlineListView(BRect(0, 0, 99, 99), "outline")
				: new BListView(BRect(0, 0, 99, 99), "list");
		};

		BListView* first = make();
		for (int i = 0; i < 3; i++)
			first->AddItem(new BStringItem("gone first"));
		for (int32 i = first->CountItems() - 1; i >= 0; i--)
			delete first->ItemAt(i);
		delete first;

		std::vector<std::unique_ptr<BStringItem>> items;
		BListView* second = make();
		for (int i = 0; i < 3; i++) {
			items.push_back(std::make_unique<BStringItem>("outlives its list"));
			second->AddItem(items.back().get());
		}
		delete second;
		items[1]->SetHeight(20);

		std::unique_ptr<BListView> third(make());
		EXPECT_TRUE(third->AddItem(items[1].get()));
		EXPECT_EQ(0, third->IndexOf(items[1].get()));
		third->MakeEmpty();
	}
}

}
