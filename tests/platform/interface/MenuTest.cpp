#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include <InterfaceDefs.h>
#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <MenuPrivate.h>
#include <MenuQt.h>
#include <SeparatorItem.h>
#include <ViewQt.h>
#include <Window.h>

#include "ControlsTestSupport.h"

using controls_test::Recorder;

namespace {

// The File menu of a small program: Open and Add are submenus that carry
// their own message and shortcut; the recent files list digits with Shift.
class MenuTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fRecorder = new Recorder;
		fMenu = new BMenu("File");
		fOpen = new BMenuItem(new BMenu("Open"), new BMessage('_opn'));
		fOpen->SetShortcut('O', 0);
		fOpen->Submenu()->AddItem(fRecent = new BMenuItem("song.mid", new BMessage('olfr'),
			'1', B_SHIFT_KEY));
		fMenu->AddItem(fOpen);
		fMenu->AddSeparatorItem();
		fMenu->AddItem(fSave = new BMenuItem("Save", new BMessage('_sav'), 'S'));
		fMenu->AddItem(fQuit = new BMenuItem("Quit", new BMessage(B_QUIT_REQUESTED), 'Q',
			B_CONTROL_KEY));
		fMenu->SetTargetForItems(fRecorder->Messenger());
		fOpen->Submenu()->SetTargetForItems(fRecorder->Messenger());
	}

	void TearDown() override
	{
		delete fMenu;
		fRecorder->Finish();
	}

	Recorder* fRecorder = nullptr;
	BMenu* fMenu = nullptr;
	BMenuItem* fOpen = nullptr;
	BMenuItem* fRecent = nullptr;
	BMenuItem* fSave = nullptr;
	BMenuItem* fQuit = nullptr;
};


TEST_F(MenuTest, ShortcutSearch)
{
	struct Case {
		const char* name;
		uint32 key;
		uint32 modifiers;
		BMenuItem* expected;
	};
	const Case cases[] = {
		{"Command+S", 's', B_COMMAND_KEY, fSave},
		{"letter case does not matter", 'S', B_COMMAND_KEY, fSave},
		{"a submenu's own item", 'o', B_COMMAND_KEY, fOpen},
		{"Command+Shift+digit, inside a submenu", '1', B_COMMAND_KEY | B_SHIFT_KEY,
			fRecent},
		{"Command+Control+Q", 'q', B_COMMAND_KEY | B_CONTROL_KEY, fQuit},
		{"Shift missing", '1', B_COMMAND_KEY, nullptr},
		{"Shift too many", 's', B_COMMAND_KEY | B_SHIFT_KEY, nullptr},
		{"Control missing", 'q', B_COMMAND_KEY, nullptr},
		{"Command missing", 's', B_CONTROL_KEY, nullptr},
		{"no such key", 'x', B_COMMAND_KEY, nullptr},
	};
	for (const Case& testCase : cases) {
		SCOPED_TRACE(testCase.name);
		EXPECT_EQ(testCase.expected, BPrivate::find_menu_shortcut(fMenu, testCase.key,
			testCase.modifiers));
	}
}


TEST_F(MenuTest, DisabledItemsAndMenusHaveNoShortcut)
{
	fSave->SetEnabled(false);
	EXPECT_EQ(nullptr, BPrivate::find_menu_shortcut(fMenu, 's', B_COMMAND_KEY));
	fOpen->Submenu()->SetEnabled(false);
	EXPECT_EQ(nullptr, BPrivate::find_menu_shortcut(fMenu, '1', B_COMMAND_KEY | B_SHIFT_KEY));
	EXPECT_FALSE(fRecent->IsEnabled());
}


TEST_F(MenuTest, SeparatorsCountAsItems)
{
	EXPECT_EQ(4, fMenu->CountItems());
	EXPECT_NE(nullptr, dynamic_cast<BSeparatorItem*>(fMenu->ItemAt(1)));
	EXPECT_EQ(fSave, fMenu->ItemAt(2));
	EXPECT_EQ(2, fMenu->IndexOf(fSave));
	EXPECT_EQ(fOpen->Submenu(), fMenu->SubmenuAt(0));
	EXPECT_EQ(fRecent, fMenu->FindItem('olfr'));
	EXPECT_EQ(fMenu, fOpen->Submenu()->Supermenu());
	EXPECT_EQ(fOpen, fOpen->Submenu()->Superitem());
}


TEST_F(MenuTest, ChosenItemsSendTheirMessageWithIndex)
{
	BPrivate::choose_menu_item(fOpen);
	BPrivate::choose_menu_item(fRecent);
	BPrivate::choose_menu_item(fSave);
	ASSERT_TRUE(fRecorder->WaitFor(3));
	const std::vector<BMessage> messages = fRecorder->Messages();
	EXPECT_EQ('_opn', messages[0].what);
	EXPECT_EQ('olfr', messages[1].what);
	EXPECT_EQ('_sav', messages[2].what);
	EXPECT_EQ(2, controls_test::int32_of(messages[2], "index"));
	void* source = nullptr;
	messages[2].FindPointer("source", &source);
	EXPECT_EQ(fSave, source);
}


TEST_F(MenuTest, MarkingFromCodeSendsNothing)
{
	fSave->SetMarked(true);
	fSave->SetLabel("Save as");
	fSave->SetEnabled(false);
	EXPECT_TRUE(fSave->IsMarked());
	EXPECT_TRUE(fRecorder->StaysAt(0));
}


TEST_F(MenuTest, RadioModeMarksTheChoiceBeforeItsMessageIsHandled)
{
	BMenu* languages = new BMenu("Language");
	languages->SetRadioMode(true);
	BMenuItem* english = new BMenuItem("English", new BMessage('plnc'));
	BMenuItem* japanese = new BMenuItem("Japanese", new BMessage('plnc'));
	languages->AddItem(english);
	languages->AddItem(japanese);
	english->SetMarked(true);
	// The handler looks at the menu when the message arrives.
	struct Reader : public BHandler {
		BMenu* menu;
		BMenuItem* marked = nullptr;
		void MessageReceived(BMessage*) override { marked = menu->FindMarked(); }
	};
	Reader* reader = new Reader;
	reader->menu = languages;
	fRecorder->Lock();
	fRecorder->AddHandler(reader);
	fRecorder->Unlock();
	languages->SetTargetForItems(reader);

	BPrivate::choose_menu_item(japanese);
	ASSERT_TRUE(controls_test::pump_until([&]() {
		fRecorder->Lock();
		const bool done = reader->marked != nullptr;
		fRecorder->Unlock();
		return done;
	}));
	EXPECT_EQ(japanese, reader->marked);
	EXPECT_FALSE(english->IsMarked());
	fRecorder->Lock();
	fRecorder->RemoveHandler(reader);
	fRecorder->Unlock();
	delete reader;
	delete languages;
}


TEST_F(MenuTest, LabelsAreLiteralAndShowTheShortcut)
{
	BMenuItem item("Rock & Roll", nullptr, 'R', B_SHIFT_KEY);
	EXPECT_EQ(QStringLiteral("Rock && Roll\tCtrl+Shift+R"), BPrivate::menu_item_text(&item));
	// Shortcuts name the keys pressed: Command is Ctrl, Control is Alt,
	// Option is Super (Qt's Meta).
	const struct {
		char shortcut;
		uint32 modifiers;
		const char* keys;
	} shortcuts[] = {
		{'o', 0, "Ctrl+O"},
		{'q', B_CONTROL_KEY, "Ctrl+Alt+Q"},
		{'1', B_OPTION_KEY, "Meta+Ctrl+1"},
	};
	for (const auto& shortcut : shortcuts) {
		BMenuItem open("Open", nullptr, shortcut.shortcut, shortcut.modifiers);
		EXPECT_EQ(QStringLiteral("Open\t") + QString::fromLatin1(shortcut.keys),
			BPrivate::menu_item_text(&open));
	}
	BMenuItem plain("A&B", nullptr);
	EXPECT_EQ(QStringLiteral("A&&B"), BPrivate::menu_item_text(&plain));
}


TEST_F(MenuTest, QtMenusFollowTheItems)
{
	fSave->SetMarked(true);
	fQuit->SetEnabled(false);
	QMenu menu;
	BMenuItem* chosen = nullptr;
	BPrivate::fill_qmenu(&menu, fMenu, [&chosen](BMenuItem* item) { chosen = item; });
	const QList<QAction*> actions = menu.actions();
	ASSERT_EQ(4, actions.size());
	EXPECT_NE(nullptr, actions[0]->menu());
	EXPECT_TRUE(actions[1]->isSeparator());
	EXPECT_TRUE(actions[2]->isChecked());
	EXPECT_FALSE(actions[3]->isEnabled());
	actions[2]->trigger();
	EXPECT_EQ(fSave, chosen);
}


// A click on Open, whose submenu lists recent files, chooses Open itself; a
// submenu without a message of its own only opens.
TEST_F(MenuTest, ClickedSuperitemWithMessageIsChosen)
{
	fMenu->AddItem(new BMenu("Recent"));
	QMenu menu;
	std::vector<BMenuItem*> chosen;
	BPrivate::fill_qmenu(&menu, fMenu, [&chosen](BMenuItem* item) { chosen.push_back(item); });
	// Filled again, as each time the menu opens: still one choice per click.
	BPrivate::fill_qmenu(&menu, fMenu, [&chosen](BMenuItem* item) { chosen.push_back(item); });
	menu.show();
	const QList<QAction*> actions = menu.actions();
	ASSERT_EQ(5, actions.size());
	auto click = [&menu](QAction* action, Qt::MouseButton button) {
		const QPointF at = menu.actionGeometry(action).center();
		QMouseEvent release(QEvent::MouseButtonRelease, at, menu.mapToGlobal(at),
			button, Qt::NoButton, Qt::NoModifier);
		QApplication::sendEvent(&menu, &release);
	};
	click(actions[4], Qt::LeftButton);
	click(actions[0], Qt::RightButton);
	EXPECT_TRUE(chosen.empty());
	EXPECT_TRUE(menu.isVisible());
	click(actions[0], Qt::LeftButton);
	EXPECT_EQ(std::vector<BMenuItem*>{fOpen}, chosen);
	EXPECT_FALSE(menu.isVisible());
}


TEST_F(MenuTest, MenuBarTitlesKeyRoutingAndHeight)
{
	BWindow* window = new BWindow(BRect(50, 50, 349, 249), "menus", B_TITLED_WINDOW, 0);
	BMenuBar* bar = new BMenuBar(BRect(0, 0, 299, 10), "MenuBar");
	const float height = bar->Bounds().Height();
	EXPECT_GT(height, 10);
	window->AddChild(bar);
	EXPECT_EQ(height, bar->Bounds().Height());
	EXPECT_EQ(bar, window->KeyMenuBar());
	bar->AddItem(fMenu);
	fMenu = new BMenu("spare");
	bar->AddItem(new BMenu("Tools & Help"));
	QMenuBar* native = static_cast<QMenuBar*>(BPrivate::native_widget(bar));
	ASSERT_TRUE(controls_test::pump_until([native]() { return native->actions().size() == 2; }));
	EXPECT_EQ(QStringLiteral("File"), native->actions()[0]->text());
	EXPECT_EQ(QStringLiteral("Tools && Help"), native->actions()[1]->text());
	bar->ItemAt(0)->SetLabel("Fichier");
	bar->ItemAt(1)->SetEnabled(false);
	ASSERT_TRUE(controls_test::pump_until([native]() {
		return native->actions().size() == 2 && native->actions()[0]->text() == "Fichier";
	}));
	EXPECT_FALSE(native->actions()[1]->isEnabled());
	// Command+S reaches the item through the window's key routing.
	window->Show();
	BMessage key(B_KEY_DOWN);
	key.AddInt32("raw_char", 's');
	key.AddInt32("modifiers", B_COMMAND_KEY);
	key.AddString("bytes", "s");
	window->PostMessage(&key);
	EXPECT_TRUE(fRecorder->WaitFor(1));
	EXPECT_EQ('_sav', fRecorder->Messages()[0].what);
	if (window->Lock())
		window->Quit();
}

}
