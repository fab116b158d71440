#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <View.h>
#include <Window.h>

#include "InterfaceTestSupport.h"

using namespace interface_test;

namespace {

struct FollowCase {
	const char* name;
	uint32 mode;
	BRect expected;
};


// A 100 x 50 parent grows by 20 x 10; its child sits at (10, 10, 29, 19).
const FollowCase kFollowCases[] = {
	{"left top", B_FOLLOW_LEFT | B_FOLLOW_TOP, BRect(10, 10, 29, 19)},
	{"none acts as left top", B_FOLLOW_NONE, BRect(10, 10, 29, 19)},
	{"all", B_FOLLOW_ALL, BRect(10, 10, 49, 29)},
	{"right", B_FOLLOW_RIGHT | B_FOLLOW_TOP, BRect(30, 10, 49, 19)},
	{"left right bottom", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM, BRect(10, 20, 49, 29)},
	{"left right top", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, BRect(10, 10, 49, 19)},
	{"top bottom", B_FOLLOW_LEFT | B_FOLLOW_TOP_BOTTOM, BRect(10, 10, 29, 29)},
	{"centres", B_FOLLOW_H_CENTER | B_FOLLOW_V_CENTER, BRect(20, 15, 39, 24)},
};


class FollowTest : public testing::TestWithParam<FollowCase> {
};


TEST_P(FollowTest, ChildEdgesFollowTheParentsResize)
{
	BPrivate::ensure_interface_kit();
	BView parent(BRect(0, 0, 99, 49), "parent", B_FOLLOW_NONE, 0);
	BView* child = new BView(BRect(10, 10, 29, 19), "child", GetParam().mode, 0);
	parent.AddChild(child);
	parent.ResizeBy(20, 10);
	EXPECT_EQ(child->Frame(), GetParam().expected) << GetParam().name;
	// The widget shows exactly the inclusive frame.
	EXPECT_EQ(BPrivate::view_widget(child)->geometry(), BPrivate::to_qrect(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(ResizingModes, FollowTest, testing::ValuesIn(kFollowCases));


TEST(ViewGeometryTest, ResizeFollowsThroughNestedViewsAndWindowResizes)
{
	WindowHolder window(make_window(BRect(50, 60, 249, 159)));
	BView* all = new BView(BRect(0, 0, 199, 99), "all", B_FOLLOW_ALL, 0);
	BView* bar = new BView(BRect(0, 90, 199, 99), "bar", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM, 0);
	window->AddChild(all);
	all->AddChild(bar);
	window->ResizeTo(299, 149);
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 299, 149));
	EXPECT_EQ(all->Frame(), BRect(0, 0, 299, 149));
	EXPECT_EQ(bar->Frame(), BRect(0, 140, 299, 149));
}


TEST(ViewGeometryTest, ConversionsCrossScrollingAndTheWindowFrame)
{
	WindowHolder window(make_window(BRect(50, 60, 249, 159)));
	BView* outer = new BView(BRect(10, 20, 109, 79), "outer", B_FOLLOW_NONE, 0);
	BView* inner = new BView(BRect(5, 6, 24, 25), "inner", B_FOLLOW_NONE, 0);
	window->AddChild(outer);
	outer->AddChild(inner);

	EXPECT_EQ(inner->ConvertToScreen(BPoint(1, 2)), BPoint(50 + 10 + 5 + 1, 60 + 20 + 6 + 2));
	EXPECT_EQ(inner->ConvertFromScreen(BPoint(66, 88)), BPoint(1, 2));
	EXPECT_EQ(inner->ConvertToParent(BRect(0, 0, 3, 3)), BRect(5, 6, 8, 9));

	// Scrolling the outer view moves what its children show, not their
	// frames.
	outer->ScrollTo(0, 4);
	EXPECT_EQ(outer->Bounds(), BRect(0, 4, 99, 63));
	EXPECT_EQ(inner->Frame(), BRect(5, 6, 24, 25));
	EXPECT_EQ(inner->ConvertToScreen(BPoint(1, 2)), BPoint(66, 84));
	EXPECT_EQ(inner->ConvertFromScreen(BPoint(66, 84)), BPoint(1, 2));
	EXPECT_EQ(BPrivate::view_widget(inner)->pos(), QPoint(5, 2));

	window->MoveTo(200, 150);
	EXPECT_EQ(window->Frame(), BRect(200, 150, 399, 249));
	EXPECT_EQ(window->ConvertToScreen(BPoint(0, 0)), BPoint(200, 150));
}


TEST(ViewGeometryTest, HideAndShowNest)
{
	BPrivate::ensure_interface_kit();
	BView parent(BRect(0, 0, 99, 99), "parent", B_FOLLOW_NONE, 0);
	BView* child = new BView(BRect(0, 0, 9, 9), "child", B_FOLLOW_NONE, 0);
	parent.AddChild(child);
	child->Hide();
	child->Hide();
	child->Show();
	EXPECT_TRUE(child->IsHidden());
	child->Show();
	EXPECT_FALSE(child->IsHidden(&parent));
	parent.Hide();
	EXPECT_TRUE(child->IsHidden());
	EXPECT_FALSE(child->IsHidden(&parent));
}


// Records the attachment hooks of a tree in the order they run.
class HookView : public BView {
public:
	HookView(const char* name, std::vector<std::string>* log)
		: BView(BRect(0, 0, 9, 9), name, B_FOLLOW_NONE, 0), fLog(log) {}

	void AttachedToWindow() override { _Note("attached"); }
	void AllAttached() override { _Note("all attached"); }
	void DetachedFromWindow() override { _Note("detached"); }
	void AllDetached() override { _Note("all detached"); }

private:
	void _Note(const char* hook)
	{
		fLog->push_back(std::string(hook) + " " + Name() + (Window() != NULL ? "" : " (no window)"));
	}

	std::vector<std::string>* fLog;
};


TEST(ViewGeometryTest, AttachHooksRunTopDownThenBottomUp)
{
	std::vector<std::string> log;
	WindowHolder window(make_window());
	HookView* root = new HookView("root", &log);
	HookView* child = new HookView("child", &log);
	child->AddChild(new HookView("grandchild", &log));
	root->AddChild(child);
	window->AddChild(root);
	EXPECT_EQ(log, (std::vector<std::string>{"attached root", "attached child",
		"attached grandchild", "all attached grandchild", "all attached child",
		"all attached root"}));

	log.clear();
	window->RemoveChild(root);
	EXPECT_EQ(log, (std::vector<std::string>{"detached root", "detached child",
		"detached grandchild", "all detached grandchild", "all detached child",
		"all detached root"}));
	EXPECT_EQ(root->Window(), nullptr);
	delete root;
}


TEST(ViewGeometryTest, TreeIsTheBeTreeNotQts)
{
	WindowHolder window(make_window());
	BView* a = new BView(BRect(0, 0, 9, 9), "a", B_FOLLOW_NONE, 0);
	BView* b = new BView(BRect(0, 0, 9, 9), "b", B_FOLLOW_NONE, 0);
	BView* c = new BView(BRect(0, 0, 9, 9), "c", B_FOLLOW_NONE, 0);
	window->AddChild(a);
	a->AddChild(b);
	a->AddChild(c, b);
	EXPECT_EQ(a->ChildAt(0), c);
	EXPECT_EQ(a->ChildAt(1), b);
	EXPECT_EQ(c->NextSibling(), b);
	EXPECT_EQ(b->Parent(), a);
	EXPECT_EQ(a->Parent(), nullptr);
	EXPECT_EQ(window->FindView("c"), c);
	EXPECT_EQ(b->NextHandler(), a);
	EXPECT_EQ(a->NextHandler(), window.Get());
}

}

namespace {

TEST(ViewScrollTest, ScrollListenersHearEachMoveOnce)
{
	BPrivate::ensure_interface_kit();
	BView view(BRect(0, 0, 99, 99), "list", B_FOLLOW_NONE, 0);
	std::vector<BPoint> heard;
	int owner = 0;
	BPrivate::add_scroll_listener(&view, &owner, [&heard](BPoint origin) { heard.push_back(origin); });
	view.ScrollTo(0, 24);
	view.ScrollTo(0, 24);
	view.ScrollBy(0, 12);
	BPrivate::remove_scroll_listener(&view, &owner);
	view.ScrollTo(0, 0);
	EXPECT_EQ(heard, (std::vector<BPoint>{BPoint(0, 24), BPoint(0, 36)}));
}

}
