#include <gtest/gtest.h>

#include <vector>

#include <Message.h>
#include <View.h>

#include "InterfaceTestSupport.h"

namespace {

TEST(ViewArchiveTest, NestedViewsSurviveAFlattenedRoundTrip)
{
	BPrivate::ensure_interface_kit();
	BView root(BRect(0, 0, 320, 450), "PrefView", B_FOLLOW_ALL, B_WILL_DRAW);
	root.SetViewColor(make_color(216, 216, 216));
	BView* box = new BView(BRect(10, 10, 200, 100), "Box", B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW | B_NAVIGABLE);
	box->AddChild(new BView(BRect(5, 5, 50, 20), "Inner", B_FOLLOW_RIGHT, 0));
	root.AddChild(box);
	BView* hidden = new BView(BRect(0, 200, 320, 201), "Line", B_FOLLOW_LEFT_RIGHT, 0);
	hidden->Hide();
	root.AddChild(hidden);

	BMessage archive;
	ASSERT_EQ(root.Archive(&archive), B_OK);
	std::vector<char> flat(archive.FlattenedSize());
	ASSERT_EQ(archive.Flatten(flat.data(), flat.size()), B_OK);
	BMessage restored;
	ASSERT_EQ(restored.Unflatten(flat.data(), flat.size()), B_OK);

	BArchivable* object = instantiate_object(&restored);
	BView* copy = dynamic_cast<BView*>(object);
	ASSERT_NE(copy, nullptr);
	EXPECT_STREQ(copy->Name(), "PrefView");
	EXPECT_EQ(copy->Frame(), BRect(0, 0, 320, 450));
	EXPECT_EQ(copy->ResizingMode(), (uint32)B_FOLLOW_ALL);
	EXPECT_EQ(copy->ViewColor(), make_color(216, 216, 216));
	ASSERT_EQ(copy->CountChildren(), 2);
	BView* copiedBox = copy->FindView("Box");
	ASSERT_NE(copiedBox, nullptr);
	EXPECT_EQ(copiedBox->Parent(), copy);
	EXPECT_EQ(copiedBox->Frame(), BRect(10, 10, 200, 100));
	EXPECT_EQ(copiedBox->Flags(), (uint32)(B_WILL_DRAW | B_NAVIGABLE));
	BView* inner = copy->FindView("Inner");
	ASSERT_NE(inner, nullptr);
	EXPECT_EQ(inner->Parent(), copiedBox);
	EXPECT_EQ(inner->ResizingMode(), (uint32)B_FOLLOW_RIGHT);
	EXPECT_TRUE(copy->FindView("Line")->IsHidden());

	// A shallow archive leaves the children out.
	BMessage shallow;
	ASSERT_EQ(root.Archive(&shallow, false), B_OK);
	EXPECT_FALSE(shallow.HasMessage("_views"));
	delete copy;
}


TEST(ViewArchiveTest, ArchiveOfAnotherClassIsNotAView)
{
	BMessage archive;
	archive.AddString("class", "TNoSuchView");
	EXPECT_EQ(instantiate_object(&archive), nullptr);
	BMessage notView;
	notView.AddString("class", "BView");
	EXPECT_EQ(BView::Instantiate(&archive), nullptr);
	BArchivable* plain = BView::Instantiate(&notView);
	EXPECT_NE(plain, nullptr);
	delete plain;
}

}
