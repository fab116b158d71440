#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <Button.h>
#include <CheckBox.h>
#include <ListView.h>
#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <StringItem.h>
#include <TextControl.h>

#include "GuiTest.h"
#include "PKNDlgView.h"
#include "PKNDlgWin.h"
#include "QtLookup.h"

// Real Qt keys and clicks, mapped by meaning: Ctrl is the Command key (menu
// shortcuts, text editing, toggling a row), Alt is the Control key (the
// dialogs' letter accelerators).

namespace {

const uint32 kMsgCancel = 'canc';
const uint32 kMsgVerbose = 'verb';
const uint32 kMsgOk = 'ok__';
const uint32 kMsgOpen = 'open';
const uint32 kMsgQuit = 'quit';


struct Key {
	Qt::Key key;
	Qt::KeyboardModifiers modifiers;
	const char* text;
};

const Key kCtrlA = {Qt::Key_A, Qt::ControlModifier, "\x01"};
const Key kCtrlC = {Qt::Key_C, Qt::ControlModifier, "\x03"};
const Key kCtrlV = {Qt::Key_V, Qt::ControlModifier, "\x16"};
const Key kCtrlX = {Qt::Key_X, Qt::ControlModifier, "\x18"};
const Key kCtrlZ = {Qt::Key_Z, Qt::ControlModifier, "\x1a"};


void
press(QWidget* widget, const Key& key)
{
	QKeyEvent down(QEvent::KeyPress, key.key, key.modifiers, QString::fromLatin1(key.text));
	QCoreApplication::sendEvent(widget, &down);
	QKeyEvent up(QEvent::KeyRelease, key.key, key.modifiers, QString::fromLatin1(key.text));
	QCoreApplication::sendEvent(widget, &up);
}


// Counts the messages its controls and menus send it.
template<class Window>
class Counting : public Window {
public:
	using Window::Window;

	void MessageReceived(BMessage* message) override
	{
		fCounts[message->what]++;
		Window::MessageReceived(message);
	}

	int32 Count(uint32 what) { return fCounts[what]; }

private:
	std::map<uint32, int32> fCounts;
};


class ModifierKeysTest : public GuiTest {
protected:
	std::string LockedText(BTextControl* control)
	{
		control->Window()->Lock();
		const std::string text = control->Text();
		control->Window()->Unlock();
		return text;
	}
};


TEST_F(ModifierKeysTest, CtrlEditsTheFocusedFieldAndAltPressesTheDialogsControls)
{
	auto* dialog = new Counting<TPKNDlgWin>(BRect(50, 50, 349, 199), "Modifier dialog",
		B_TITLED_WINDOW, B_NOT_RESIZABLE, B_CURRENT_WORKSPACE);
	TPKNDlgView* view = new TPKNDlgView(BRect(0, 0, 299, 149), "dialog", B_FOLLOW_ALL,
		B_WILL_DRAW);
	dialog->AddMainChild(view);
	BTextControl* text = new BTextControl(BRect(10, 10, 280, 30), "name", "Name", "hello",
		NULL);
	// Every letter of Ctrl+A/C/V/X/Z is an accelerator here.
	BButton* cancel = new BButton(BRect(10, 100, 90, 125), "cancel", "C・Cancel",
		new BMessage(kMsgCancel));
	BButton* ok = new BButton(BRect(200, 100, 280, 125), "ok", "OK", new BMessage(kMsgOk));
	BCheckBox* verbose = new BCheckBox(BRect(10, 40, 280, 60), "verbose", "V - verbose",
		new BMessage(kMsgVerbose));
	BCheckBox* all = new BCheckBox(BRect(10, 65, 140, 85), "all", "A - all",
		new BMessage('all_'));
	BButton* extract = new BButton(BRect(100, 100, 190, 125), "x", "X - extract",
		new BMessage('extr'));
	BButton* zoom = new BButton(BRect(150, 65, 280, 85), "z", "Z - zoom", new BMessage('zoom'));
	for (BView* child : std::vector<BView*>{text, verbose, all, zoom, cancel, extract, ok})
		view->AddChild(child);
	dialog->SetDefaultButton(ok);
	dialog->Show();

	QLineEdit* field = nullptr;
	auto type = [&](std::vector<Key> keys) {
		return [&, keys] {
			for (const Key& key : keys)
				press(field, key);
			return true;
		};
	};
	std::string afterCut;
	std::string clipboard;
	std::string undone;
	int32 pressedByEditing = 0;
	int32 checkedByEditing = 0;
	RunSteps({
		Drain(dialog),
		[&] {
			QWidget* top = top_level_widget(dialog);
			field = top != nullptr ? top->findChild<QLineEdit*>() : nullptr;
			if (field == nullptr)
				return false;
			dialog->Lock();
			text->MakeFocus(true);
			dialog->Unlock();
			return true;
		},
		type({kCtrlA, kCtrlC, kCtrlV, kCtrlV, kCtrlA, kCtrlX}),
		Drain(dialog),
		[&] {
			afterCut = LockedText(text);
			clipboard = QGuiApplication::clipboard()->text().toStdString();
			return true;
		},
		type({kCtrlZ}),
		Drain(dialog),
		[&] {
			undone = LockedText(text);
			for (uint32 what : {kMsgCancel, kMsgVerbose, kMsgOk, (uint32)'all_',
					(uint32)'extr', (uint32)'zoom'}) {
				pressedByEditing += dialog->Count(what);
			}
			checkedByEditing = verbose->Value() + all->Value();
			return true;
		},
		type({{Qt::Key_C, Qt::AltModifier, "c"}, {Qt::Key_V, Qt::AltModifier, "v"}}),
		[&] { return dialog->Count(kMsgVerbose) > 0; },
		type({{Qt::Key_Return, Qt::NoModifier, "\r"}}),
		[&] { return dialog->Count(kMsgOk) > 0; },
		Drain(dialog),
	});
	EXPECT_EQ("", afterCut);
	EXPECT_EQ("hellohello", clipboard);
	EXPECT_EQ("hellohello", undone);
	EXPECT_EQ(0, pressedByEditing) << "no control pressed by an editing key";
	EXPECT_EQ(0, checkedByEditing);

	EXPECT_EQ(1, dialog->Count(kMsgCancel));
	EXPECT_EQ(1, dialog->Count(kMsgVerbose));
	EXPECT_EQ(1, verbose->Value());
	EXPECT_EQ(1, dialog->Count(kMsgOk)) << "Enter keeps its dialog meaning";
	EXPECT_EQ("hellohello", LockedText(text)) << "accelerators type nothing";
}


TEST_F(ModifierKeysTest, MenuShortcutsAreOnCtrl)
{
	auto* window = new Counting<BWindow>(BRect(50, 50, 249, 149), "Modifier menus",
		B_TITLED_WINDOW, 0);
	BMenuBar* bar = new BMenuBar(BRect(0, 0, 199, 19), "bar");
	BMenu* file = new BMenu("File");
	file->AddItem(new BMenuItem("Open", new BMessage(kMsgOpen), 'O'));
	file->AddItem(new BMenuItem("Quit", new BMessage(kMsgQuit), 'Q'));
	bar->AddItem(file);
	window->AddChild(bar);
	window->Show();

	const struct {
		Key key;
		uint32 chosen;
	} cases[] = {
		{{Qt::Key_O, Qt::ControlModifier, "\x0f"}, kMsgOpen},
		{{Qt::Key_O, Qt::AltModifier, "o"}, 0},
		{{Qt::Key_Q, Qt::MetaModifier, "q"}, 0},
		{{Qt::Key_Q, Qt::ControlModifier, "\x11"}, kMsgQuit},
	};
	std::vector<Step> steps{Drain(window)};
	std::vector<std::pair<int32, int32>> counts;
	for (const auto& test : cases) {
		steps.push_back([&, key = test.key] {
			QWidget* top = top_level_widget(window);
			if (top == nullptr)
				return false;
			press(top, key);
			return true;
		});
		// The chosen item posts its message while the key is dispatched.
		steps.push_back(Drain(window));
		steps.push_back(Drain(window));
		steps.push_back([&] {
			counts.emplace_back(window->Count(kMsgOpen), window->Count(kMsgQuit));
			return true;
		});
	}
	RunSteps(steps);

	ASSERT_EQ(std::size(cases), counts.size());
	std::pair<int32, int32> expected;
	for (size_t i = 0; i < counts.size(); i++) {
		expected.first += cases[i].chosen == kMsgOpen ? 1 : 0;
		expected.second += cases[i].chosen == kMsgQuit ? 1 : 0;
		EXPECT_EQ(expected, counts[i]) << i << ": " << cases[i].key.text;
	}
}


TEST_F(ModifierKeysTest, CtrlClickTogglesAListRow)
{
	BWindow* window = new BWindow(BRect(50, 50, 249, 249), "Modifier list", B_TITLED_WINDOW,
		0);
	BListView* list = new BListView(BRect(0, 0, 199, 199), "list",
		B_MULTIPLE_SELECTION_LIST);
	for (const char* label : {"one", "two", "three"})
		list->AddItem(new BStringItem(label));
	window->AddChild(list);
	window->Show();

	auto click = [&](int32 row, Qt::KeyboardModifiers modifiers) {
		return [&, row, modifiers] {
			window->Lock();
			const BRect frame = list->ItemFrame(row);
			const BPoint screen = list->ConvertToScreen(BPoint(frame.left + 5,
				(frame.top + frame.bottom) / 2));
			window->Unlock();
			QWidget* widget = widget_at(window, screen);
			if (widget == nullptr)
				return false;
			const QPointF global(screen.x, screen.y);
			QMouseEvent down(QEvent::MouseButtonPress, widget->mapFromGlobal(global), global,
				Qt::LeftButton, Qt::LeftButton, modifiers);
			QCoreApplication::sendEvent(widget, &down);
			QMouseEvent up(QEvent::MouseButtonRelease, widget->mapFromGlobal(global), global,
				Qt::LeftButton, Qt::NoButton, modifiers);
			QCoreApplication::sendEvent(widget, &up);
			return true;
		};
	};
	auto selection = [&] {
		std::vector<int32> rows;
		window->Lock();
		for (int32 i = 0; i < list->CountItems(); i++) {
			if (list->IsItemSelected(i))
				rows.push_back(i);
		}
		window->Unlock();
		return rows;
	};
	// Clicks far enough apart in place never make a double click.
	std::vector<std::vector<int32>> seen;
	auto note = [&] { seen.push_back(selection()); return true; };
	RunSteps({
		Drain(window),
		click(0, Qt::NoModifier), Drain(window), note,
		click(2, Qt::ControlModifier), Drain(window), note,
		click(0, Qt::ControlModifier), Drain(window), note,
		click(1, Qt::NoModifier), Drain(window), note,
		// Alt is the Control key: window managers take Alt+click, so it toggles nothing.
		click(2, Qt::AltModifier), Drain(window), note,
	});
	EXPECT_EQ((std::vector<std::vector<int32>>{{0}, {0, 2}, {2}, {1}, {2}}), seen);

	// The items are the test's, as on the original platform.
	window->Lock();
	while (BListItem* item = list->RemoveItem((int32)0))
		delete item;
	window->Unlock();
}

}
