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
// gives up after a few seconds (and closes a menu that opened late), so
// Go() always returns.
class PopUpActor {
public:
	PopUpActor(const std::function<void(QMenu*)>& act)
	{
		QObject::connect(&fTimer, &QTimer::timeout, [this, act]() {
			QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
			if (menu != nullptr && fTriesLeft > 0) {
				fTimer.stop();
				act(menu);
			} else if (--fTriesLeft <= 0) {
				fTimer.stop();
				ADD_FAILURE() << "the pop-up never opened";
				if (menu != nullptr)
					menu->close();
			}
		});
		fTimer.start(10);
	}

private:
	QTimer fTimer;
	int fTriesLeft = 300;
};


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
	PopUpActor actor([](QMenu* menu) { choose(menu, QStringLiteral("Sort")); });
	EXPECT_EQ(fSort, fMenu->Go(BPoint(100, 100), true));
	ASSERT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ('psrt', fRecorder->Messages()[0].what);
}


TEST_F(PopUpMenuTest, WithoutDeliveryTheChoiceIsOnlyReturned)
{
	PopUpActor actor([](QMenu* menu) { choose(menu, QStringLiteral("Delete")); });
	EXPECT_EQ(fDelete, fMenu->Go(BPoint(10, 10)));
	EXPECT_TRUE(fRecorder->StaysAt(0));
}


TEST_F(PopUpMenuTest, ClosingWithoutAChoiceReturnsNothing)
{
	PopUpActor actor([](QMenu* menu) { menu->close(); });
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
	PopUpActor actor([](QMenu* popup) { choose(popup, QStringLiteral("Second")); });
	EXPECT_EQ(second, menu->Go(BPoint(10, 10)));
	EXPECT_EQ(second, menu->FindMarked());
	EXPECT_FALSE(first->IsMarked());
	delete menu;
}

}
