#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include <MenuField.h>
#include <MenuItem.h>
#include <MenuPrivate.h>
#include <PopUpMenu.h>
#include <ViewQt.h>
#include <Window.h>

#include "ControlsTestSupport.h"

namespace {

// A window that counts the messages it gets itself.
class CountingWindow : public BWindow {
public:
	CountingWindow() : BWindow(BRect(50, 50, 349, 149), "field", B_TITLED_WINDOW, 0) {}
	void MessageReceived(BMessage* message) override
	{
		if (message->what == 'drvs') {
			received++;
			markedWhenHandled = static_cast<BMenuField*>(FindView("drives"))
				->Menu()->FindMarkedIndex();
			return;
		}
		BWindow::MessageReceived(message);
	}
	int received = 0;
	int32 markedWhenHandled = -1;
};


class MenuFieldTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fWindow = new CountingWindow;
		BPopUpMenu* menu = new BPopUpMenu("PopMenu");
		menu->AddItem(new BMenuItem("A:", new BMessage('drvs')));
		menu->AddItem(new BMenuItem("B & C:", new BMessage('drvs')));
		menu->ItemAt(0)->SetMarked(true);
		fField = new BMenuField(BRect(10, 10, 200, 32), "drives", "Drive", menu);
		fWindow->AddChild(fField);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
	}

	QPushButton* Button() const
	{
		return BPrivate::native_widget(fField)->findChild<QPushButton*>();
	}

	CountingWindow* fWindow = nullptr;
	BMenuField* fField = nullptr;
};


TEST_F(MenuFieldTest, TheButtonShowsTheMarkedItem)
{
	EXPECT_EQ(QStringLiteral("A:"), Button()->text());
	fWindow->Lock();
	fField->Menu()->ItemAt(1)->SetMarked(true);
	fWindow->Unlock();
	EXPECT_EQ(QStringLiteral("B && C:"), Button()->text());
	EXPECT_STREQ("B & C:", fField->MenuItem()->Label());
	controls_test::settle();
	EXPECT_EQ(0, fWindow->received) << "marking from code sends nothing";
}


TEST_F(MenuFieldTest, AChoiceIsMarkedBeforeTheWindowHandlesIt)
{
	BPrivate::choose_menu_item(fField->Menu()->ItemAt(1));
	ASSERT_TRUE(controls_test::pump_until([this]() { return fWindow->received == 1; }));
	EXPECT_EQ(1, fWindow->markedWhenHandled);
	EXPECT_EQ(QStringLiteral("B && C:"), Button()->text());
}


TEST_F(MenuFieldTest, DividerZeroHidesTheLabel)
{
	fWindow->Lock();
	fField->SetDivider(0);
	fWindow->Unlock();
	EXPECT_EQ(0, fField->Divider());
	EXPECT_FALSE(BPrivate::native_widget(fField)->findChild<QLabel*>()->isVisible());
	EXPECT_EQ(0, Button()->x());
}


TEST_F(MenuFieldTest, ArchiveKeepsLabelDividerAndItems)
{
	fWindow->Lock();
	fField->SetDivider(40);
	BMessage archive;
	ASSERT_EQ(B_OK, fField->Archive(&archive));
	fWindow->Unlock();
	BMenuField* copy = dynamic_cast<BMenuField*>(instantiate_object(&archive));
	ASSERT_NE(nullptr, copy);
	EXPECT_STREQ("Drive", copy->Label());
	EXPECT_EQ(40, copy->Divider());
	ASSERT_EQ(2, copy->Menu()->CountItems());
	EXPECT_EQ(0, copy->Menu()->FindMarkedIndex());
	EXPECT_TRUE(copy->Menu()->IsRadioMode());
	delete copy;
}

}
