#include <functional>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

#include <MenuItem.h>
#include <PopUpMenu.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;

namespace {

// Acts on the open pop-up as soon as it is up: `act` gets it. A watchdog
// closes any menu still open after a few seconds, so Go() always returns.
void
when_popup_opens(const std::function<void(QMenu*)>& act)
{
	auto attempt = std::make_shared<std::function<void(int)>>();
	*attempt = [act, attempt](int triesLeft) {
		QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
		if (menu != nullptr && triesLeft > 0) {
			act(menu);
			return;
		}
		if (triesLeft <= 0) {
			ADD_FAILURE() << "the pop-up never opened";
			if (menu != nullptr)
				menu->close();
			return;
		}
		QTimer::singleShot(10, [attempt, triesLeft]() { (*attempt)(triesLeft - 1); });
	};
	QTimer::singleShot(0, [attempt]() { (*attempt)(300); });
}


void
choose(QMenu* menu, const QString& label)
{
	for (QAction* action : menu->actions()) {
		if (action->text() == label) {
			action->trigger();
			break;
		}
	}
	menu->close();
}


class PopUpMenuTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fRecorder = new Recorder;
		fMenu = new BPopUpMenu("actions", false, false);
		fMenu->AddItem(fDelete = new BMenuItem("Delete", new BMessage('pdlf')));
		fMenu->AddItem(fSort = new BMenuItem("Sort", new BMessage('psrt')));
		fMenu->SetTargetForItems(fRecorder->Messenger());
	}

	void TearDown() override
	{
		delete fMenu;
		fRecorder->Finish();
	}

	Recorder* fRecorder = nullptr;
	BPopUpMenu* fMenu = nullptr;
	BMenuItem* fDelete = nullptr;
	BMenuItem* fSort = nullptr;
};


TEST_F(PopUpMenuTest, GoReturnsTheChoiceAndDeliversItWhenAsked)
{
	when_popup_opens([](QMenu* menu) { choose(menu, QStringLiteral("Sort")); });
	EXPECT_EQ(fSort, fMenu->Go(BPoint(100, 100), true));
	ASSERT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ('psrt', fRecorder->Messages()[0].what);
}


TEST_F(PopUpMenuTest, WithoutDeliveryTheChoiceIsOnlyReturned)
{
	when_popup_opens([](QMenu* menu) { choose(menu, QStringLiteral("Delete")); });
	EXPECT_EQ(fDelete, fMenu->Go(BPoint(10, 10)));
	EXPECT_TRUE(fRecorder->StaysAt(0));
}


TEST_F(PopUpMenuTest, ClosingWithoutAChoiceReturnsNothing)
{
	when_popup_opens([](QMenu* menu) { menu->close(); });
	EXPECT_EQ(nullptr, fMenu->Go(BPoint(10, 10), true));
	EXPECT_TRUE(fRecorder->StaysAt(0));
}


TEST_F(PopUpMenuTest, RadioModeMarksTheChoice)
{
	BPopUpMenu* menu = new BPopUpMenu("radio");
	BMenuItem* first = new BMenuItem("First", new BMessage('frst'));
	BMenuItem* second = new BMenuItem("Second", new BMessage('scnd'));
	menu->AddItem(first);
	menu->AddItem(second);
	first->SetMarked(true);
	when_popup_opens([](QMenu* popup) { choose(popup, QStringLiteral("Second")); });
	EXPECT_EQ(second, menu->Go(BPoint(10, 10)));
	EXPECT_EQ(second, menu->FindMarked());
	EXPECT_FALSE(first->IsMarked());
	delete menu;
}

}
