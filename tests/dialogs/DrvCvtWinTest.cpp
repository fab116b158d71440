#include <filesystem>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Alert.h>
#include <Button.h>
#include <InterfaceDefs.h>
#include <ListView.h>
#include <Menu.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <ScrollView.h>
#include <StringItem.h>
#include <StringView.h>
#include <TextControl.h>
#include <TextView.h>
#include <Window.h>

#include <DrvCvt.h>
#include <VLT.h>

#include "AppMessages.h"
#include "DrvCvtView.h"
#include "DrvCvtWin.h"
#include "GuiTest.h"
#include "TempFolder.h"

namespace {

typedef std::map<char, std::string> Table;

// Counts the messages the window sends to its target.
class Target : public BHandler {
public:
	void MessageReceived(BMessage* message) override { fCounts[message->what]++; }

	std::map<uint32, int32> fCounts;
};


// The saved table as a fresh converter reads it.
Table
saved_table()
{
	TDrvCvt converter;
	Table table;
	for (char letter = 'A'; letter <= 'Z'; letter++) {
		BString path;
		if (converter.GetBeDL(letter, &path))
			table[letter] = path.String();
	}
	return table;
}


class DrvCvtWinTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		ASSERT_EQ(B_OK, fEnglish.Load(ENGLISH_LANGUAGE_FILE));
		fApp->Lock();
		fApp->AddHandler(&fTarget);
		fApp->Unlock();
	}

	void TearDown() override
	{
		fApp->Lock();
		fApp->RemoveHandler(&fTarget);
		fApp->Unlock();
		GuiTest::TearDown();
	}

public:
	void Open(TVLT* table)
	{
		fWindow = new TDrvCvtWin(BRect(100, 100, 400, 340));
		fWindow->SetVLTRef(table);
		fWindow->SetTarget(&fTarget);
		fWindow->Show();
		fView = fWindow->DrvCvtView();
	}

	template<class Control>
	Control* Find(const char* name) const
	{
		Control* control = dynamic_cast<Control*>(fView->FindView(name));
		EXPECT_NE(nullptr, control) << name;
		return control;
	}

	BListView* List() const { return Find<BListView>("LViewTable"); }
	BTextControl* PathField() const { return Find<BTextControl>("TxtCtrlBeDL"); }
	BMenu* LetterMenu() const { return Find<BMenuField>("MFieldWinDL")->Menu(); }
	void Press(const char* button) const { Find<BButton>(button)->Invoke(); }

	// What a user does: choose the letter (its path shows), type the path,
	// press Register.
	void Register(char letter, const char* path) const
	{
		LetterMenu()->ItemAt(letter - 'A')->SetMarked(true);
		fView->MFieldWinDLChanged();
		PathField()->SetText(path);
		Press("ButtonRegist");
	}

	std::vector<std::string> Lines() const
	{
		std::vector<std::string> lines;
		BListView* list = List();
		for (int32 i = 0; i < list->CountItems(); i++)
			lines.push_back(static_cast<BStringItem*>(list->ItemAt(i))->Text());
		return lines;
	}

	void Click(int32 row) const
	{
		BMessage message(B_MOUSE_DOWN);
		message.AddPoint("where", List()->ItemFrame(row).LeftTop() + BPoint(5, 3));
		message.AddInt32("buttons", B_PRIMARY_MOUSE_BUTTON);
		message.AddInt32("clicks", 1);
		message.AddInt32("modifiers", 0);
		fWindow->PostMessage(&message, List());
	}

	Step Do(std::function<void()> action)
	{
		return [action]() {
			action();
			return true;
		};
	}

	SettingsHome fHome;
	TVLT fEnglish;
	Target fTarget;
	TDrvCvtWin* fWindow = nullptr;
	TDrvCvtView* fView = nullptr;
};


TEST_F(DrvCvtWinTest, RegisteringKeepsOneLinePerLetterInLetterOrder)
{
	Open(&fEnglish);
	std::vector<Step> steps = {Drain(fWindow), Do([&] {
		EXPECT_EQ((std::vector<std::string>{"A:  <-->  /no name", "C:  <-->  /windows"}),
			Lines()) << "the defaults, no file saved yet";
		EXPECT_STREQ("A:", LetterMenu()->FindMarked()->Label());
		EXPECT_STREQ("/no name", PathField()->Text());
		BMenuItem* item = LetterMenu()->ItemAt(2);
		item->SetMarked(true);
		item->Invoke();
	}), Drain(fWindow), Do([&] {
		EXPECT_STREQ("/windows", PathField()->Text()) << "a chosen letter shows its path";
	})};
	const std::pair<char, const char*> registrations[] = {{'Z', "/mnt/z"}, {'D', "boot/home"},
		{'B', "/floppy"}, {'D', "/mnt/d"}, {'A', ""}};
	for (const auto& [letter, path] : registrations) {
		steps.push_back(Do([this, letter, path] { Register(letter, path); }));
		steps.push_back(Drain(fWindow));
	}
	steps.insert(steps.end(), {Do([&] {
		EXPECT_EQ((std::vector<std::string>{"B:  <-->  /floppy", "C:  <-->  /windows",
			"D:  <-->  /mnt/d", "Z:  <-->  /mnt/z"}), Lines())
			<< "a relative path is rooted, a second path replaces the first, an empty "
			   "one unassigns the letter";
		Click(2);
	}), [&] { return strcmp(LetterMenu()->FindMarked()->Label(), "D:") == 0; }, Do([&] {
		EXPECT_STREQ("/mnt/d", PathField()->Text());
		Press("ButtonRemove");
	}), Drain(fWindow), Do([&] {
		EXPECT_EQ((std::vector<std::string>{"B:  <-->  /floppy", "C:  <-->  /windows",
			"Z:  <-->  /mnt/z"}), Lines());
	})});
	RunSteps(steps);
	EXPECT_FALSE(std::filesystem::exists(fHome.Folder("Shared") + "/DriveLetter.arc"))
		<< "nothing is saved before OK";
}


// OK saves even an unchanged table and tells the target; Cancel and Escape
// go back to the file. Alt+O is OK, as its label says.
TEST_F(DrvCvtWinTest, OKSavesAndCancelRereadsTheFile)
{
	struct Case {
		const char* name;
		std::function<void(DrvCvtWinTest*)> close;
		bool saves;
	};
	const Case cases[] = {
		{"the OK button", [](DrvCvtWinTest* t) { t->Press("ButtonOK"); }, true},
		{"Enter", [](DrvCvtWinTest* t) {
			BMessage key = KeyMessage(B_ENTER, 0);
			t->fWindow->PostMessage(&key, t->List());
		}, true},
		{"Alt+O", [](DrvCvtWinTest* t) {
			BMessage key = KeyMessage('o', B_CONTROL_KEY);
			t->fWindow->PostMessage(&key, t->List());
		}, true},
		{"the Cancel button", [](DrvCvtWinTest* t) { t->Press("ButtonCancel"); }, false},
		{"Escape", [](DrvCvtWinTest* t) {
			BMessage key = KeyMessage(B_ESCAPE, 0);
			t->fWindow->PostMessage(&key, t->List());
		}, false},
	};
	Open(&fEnglish);
	int32 sent = 0;
	Table before;
	std::vector<Step> steps;
	for (const Case& c : cases) {
		const char letter = static_cast<char>('E' + (&c - cases));
		const std::string path = std::string("/mnt/") + letter;
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([&, letter, path] {
			before = saved_table();
			fWindow->Lock();
			if (fWindow->IsHidden())
				fWindow->Show();
			fWindow->Unlock();
			Register(letter, path.c_str());
			c.close(this);
		}));
		steps.push_back([this] { return fWindow->IsHidden(); });
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([&, letter, path] {
			SCOPED_TRACE(c.name);
			Table expected = before;
			if (c.saves) {
				expected[letter] = path;
				sent++;
			}
			EXPECT_EQ(expected, saved_table());
			EXPECT_EQ(sent, fTarget.fCounts[kMsgDrvCvtChanged]);
			Table listed;
			for (const std::string& line : Lines())
				listed[line[0]] = line.substr(line.find('/'));
			EXPECT_EQ(expected, listed) << "the list shows the saved table";
		}));
	}
	// Nothing changed: the file is still written and the target told.
	const std::string file = fHome.Folder("Shared") + "/DriveLetter.arc";
	steps.push_back(Do([&] {
		ASSERT_TRUE(std::filesystem::remove(file));
		Press("ButtonOK");
	}));
	steps.push_back(Drain(fWindow));
	steps.push_back(Do([&] {
		EXPECT_TRUE(std::filesystem::exists(file));
		EXPECT_EQ(sent + 1, fTarget.fCounts[kMsgDrvCvtChanged]);
	}));
	RunSteps(steps);
}


TEST_F(DrvCvtWinTest, AFailedSaveIsToldAndKeepsTheWindowWithItsEdits)
{
	const std::string file = fHome.Folder("Shared") + "/DriveLetter.arc";
	Open(&fEnglish);
	std::string alertText;
	RunSteps({Drain(fWindow), Do([&] {
		// A folder where the file belongs: nothing can be renamed over it.
		std::filesystem::create_directories(file);
		Register('D', "/mnt/d");
		Press("ButtonOK");
	}), [&] {
		for (int32 i = 0; BWindow* window = be_app->WindowAt(i); i++) {
			BAlert* alert = dynamic_cast<BAlert*>(window);
			if (alert == nullptr || !alert->Lock())
				continue;
			alertText = alert->TextView()->Text();
			BMessage enter = KeyMessage(B_ENTER, 0);
			alert->PostMessage(&enter, alert);
			alert->Unlock();
			return true;
		}
		return false;
	}, [&] {
		for (int32 i = 0; BWindow* window = be_app->WindowAt(i); i++) {
			if (dynamic_cast<BAlert*>(window) != nullptr)
				return false;
		}
		return true;
	}, Drain(fWindow), Do([&] {
		EXPECT_FALSE(fWindow->IsHidden());
		EXPECT_EQ(0, fTarget.fCounts[kMsgDrvCvtChanged]);
		EXPECT_EQ("D:  <-->  /mnt/d", Lines().at(2));
		std::filesystem::remove(file);
		Press("ButtonOK");
	}), Drain(fWindow), Do([&] {
		EXPECT_TRUE(fWindow->IsHidden());
		EXPECT_EQ(1, fTarget.fCounts[kMsgDrvCvtChanged]);
		EXPECT_EQ("/mnt/d", saved_table()['D']);
	})});
	EXPECT_EQ("* Vantu MIDI *\n\nCannot save the drive letter settings:\n" + file, alertText);
}


// Long labels widen the buttons and the window instead of being cut.
TEST_F(DrvCvtWinTest, EveryLabelFits)
{
	TempFolder folder;
	const std::string longFile = folder / "Long.vlt";
	write_whole_file(longFile, "[ Informations ]\nHeader = VLT File Format 100\n"
		"Language = Long\n[ Data ]\n"
		"DLC_Description = A description far longer than the window's base width of "
		"three hundred pixels\n"
		"DLC_Button_Regist = R・Register this letter\nDLC_Button_Remove = D・Remove it\n"
		"Button_Cancel = C・Cancel everything\nButton_OK = O・OK\n");
	TVLT builtIn;
	ASSERT_EQ(B_OK, builtIn.Load(BUILTIN_LANGUAGE_FILE));
	TVLT longTexts;
	ASSERT_EQ(B_OK, longTexts.Load(longFile.c_str()));

	Open(&fEnglish);
	std::vector<Step> steps;
	for (TVLT* table : {&builtIn, &fEnglish, &longTexts}) {
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, table] {
			fWindow->Lock();
			fWindow->SetVLTRef(table);
			fWindow->Unlock();
		}));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, table, &longTexts] {
			SCOPED_TRACE(table->LanguageName());
			const BRect bounds = fView->Bounds();
			EXPECT_EQ(fWindow->Bounds(), bounds);
			BStringView* description = Find<BStringView>("StrViewDesc");
			EXPECT_GE(description->Bounds().Width(),
				description->StringWidth(description->Text()));
			EXPECT_LE(description->Frame().right, bounds.right - 10);
			for (const char* name : {"ButtonRemove", "ButtonRegist", "ButtonCancel", "ButtonOK"}) {
				BButton* button = Find<BButton>(name);
				float width = 0;
				float height = 0;
				button->GetPreferredSize(&width, &height);
				EXPECT_GE(button->Bounds().Width() + 0.5f, width) << name;
				EXPECT_LE(button->Frame().right, bounds.right - 10) << name;
			}
			EXPECT_LT(PathField()->Frame().right, Find<BButton>("ButtonRegist")->Frame().left);
			EXPECT_LT(Find<BButton>("ButtonCancel")->Frame().right,
				Find<BButton>("ButtonOK")->Frame().left);
			const float listRight = Find<BScrollView>("ScrlViewTable")->Frame().right;
			EXPECT_LE(listRight, bounds.right);
			EXPECT_GE(listRight, Find<BButton>("ButtonOK")->Frame().right);
			EXPECT_GE(bounds.Width(), 300) << "never narrower than the base layout";
			if (table == &longTexts) {
				EXPECT_GT(bounds.Width(), 400);
			}
		}));
	}
	RunSteps(steps);
}

}
