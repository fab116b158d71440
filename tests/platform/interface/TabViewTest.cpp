#include <gtest/gtest.h>

#include <QTabBar>

#include <Tab.h>
#include <TabView.h>
#include <ViewQt.h>
#include <Window.h>

#include "ControlsTestSupport.h"

namespace {

// Counts its attachments, as views that put off work until shown do.
class Page : public BView {
public:
	Page(const char* name) : BView(BRect(0, 0, 99, 99), name, B_FOLLOW_ALL, 0) {}
	void AttachedToWindow() override
	{
		attached++;
		BView::AttachedToWindow();
	}
	void AllAttached() override
	{
		allAttached++;
		BView::AllAttached();
	}
	int attached = 0;
	int allAttached = 0;
};


class TabViewTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fWindow = new BWindow(BRect(50, 50, 369, 449), "about", B_TITLED_WINDOW, 0);
		fTabs = new BTabView(BRect(0, 5, 320, 400), "TabViewAbout");
		for (int i = 0; i < 3; i++) {
			fPages[i] = new Page(i == 0 ? "about" : i == 1 ? "lang" : "loader");
			fTabs->AddTab(fPages[i]);
		}
		fWindow->AddChild(fTabs);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
	}

	BWindow* fWindow = nullptr;
	BTabView* fTabs = nullptr;
	Page* fPages[3] = {};
};


TEST_F(TabViewTest, OnlyTheSelectedTabsViewIsInTheWindow)
{
	EXPECT_EQ(3, fTabs->CountTabs());
	EXPECT_EQ(0, fTabs->Selection());
	EXPECT_EQ(fWindow, fPages[0]->Window());
	EXPECT_EQ(nullptr, fPages[1]->Window());
	EXPECT_EQ(nullptr, fPages[2]->Window());
	EXPECT_EQ(1, fPages[0]->attached);
	EXPECT_EQ(0, fPages[1]->attached);

	fWindow->Lock();
	fTabs->Select(2);
	fWindow->Unlock();
	EXPECT_EQ(nullptr, fPages[0]->Window());
	EXPECT_EQ(fWindow, fPages[2]->Window());
	EXPECT_EQ(1, fPages[2]->attached);
	EXPECT_EQ(1, fPages[2]->allAttached);
	EXPECT_TRUE(fTabs->TabAt(2)->IsSelected());
	EXPECT_FALSE(fTabs->TabAt(0)->IsSelected());
}


TEST_F(TabViewTest, ClickingATabSelectsIt)
{
	static_cast<QTabBar*>(BPrivate::native_widget(fTabs))->setCurrentIndex(1);
	controls_test::settle();
	EXPECT_EQ(1, fTabs->Selection());
	EXPECT_EQ(fWindow, fPages[1]->Window());
}


TEST_F(TabViewTest, ContentSitsBelowTheTabs)
{
	EXPECT_GT(fTabs->TabHeight(), 10);
	EXPECT_EQ(fTabs->TabHeight(), fTabs->ContainerView()->Frame().top);
	EXPECT_EQ(fTabs->ContainerView(), fPages[0]->Parent());
}


TEST_F(TabViewTest, SetViewReplacesThePlaceholder)
{
	Page* real = new Page("real");
	fWindow->Lock();
	fTabs->TabAt(0)->SetView(real);
	fTabs->TabAt(1)->SetLabel("Language");
	fWindow->Unlock();
	EXPECT_EQ(real, fTabs->ViewForTab(0));
	EXPECT_EQ(fWindow, real->Window());
	EXPECT_STREQ("Language", fTabs->TabAt(1)->Label());
	EXPECT_EQ(QStringLiteral("Language"),
		static_cast<QTabBar*>(BPrivate::native_widget(fTabs))->tabText(1));
}


TEST_F(TabViewTest, ArchiveKeepsTabsAndViews)
{
	BTabView original(BRect(0, 0, 200, 200), "TabViewAbout");
	const char* names[] = {"about", "lang", "loader"};
	for (const char* name : names)
		original.AddTab(new BView(BRect(0, 0, 50, 50), name, B_FOLLOW_ALL, 0));
	original.TabAt(2)->SetLabel("Loader");
	original.Select(1);
	BMessage archive;
	ASSERT_EQ(B_OK, original.Archive(&archive));
	BTabView* copy = dynamic_cast<BTabView*>(instantiate_object(&archive));
	ASSERT_NE(nullptr, copy);
	EXPECT_EQ(3, copy->CountTabs());
	EXPECT_EQ(1, copy->Selection());
	EXPECT_STREQ("Loader", copy->TabAt(2)->Label());
	ASSERT_NE(nullptr, copy->ViewForTab(2));
	EXPECT_STREQ("loader", copy->ViewForTab(2)->Name());
	delete copy;
}

}
