#ifndef PREF_WIN_RIG_H
#define PREF_WIN_RIG_H

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <Alert.h>
#include <Application.h>
#include <Button.h>
#include <CheckBox.h>
#include <Entry.h>
#include <Menu.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <RadioButton.h>
#include <TextControl.h>
#include <TextView.h>
#include <Window.h>

#include <VLT.h>

#include "AppGlobals.h"
#include "GlobalSettings.h"
#include "GuiTest.h"
#include "Pref.h"
#include "PrefView.h"
#include "PrefWin.h"
#include "TempFolder.h"

// Counts the messages the window sends to its target, keeping the last.
class PrefTarget : public BHandler {
public:
	void MessageReceived(BMessage* message) override
	{
		fCounts[message->what]++;
		fLast[message->what] = *message;
	}

	std::map<uint32, int32> fCounts;
	std::map<uint32, BMessage> fLast;
};


// The preferences window on the application of a test, with the settings
// in a temporary folder, gPref at its defaults and gVLT in the language the
// test chooses; both are put back afterwards.
class PrefWinTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		fOldPref = gPref;
		fOldVLT = gVLT;
		gPref = TPref();
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
		gPref = fOldPref;
		gVLT = fOldVLT;
	}

public:
	// The language: the built-in text for NULL, else the file.
	static void UseLanguage(const char* file)
	{
		gVLT = TVLT();
		if (file == nullptr)
			ASSERT_EQ(B_OK, gVLT.Load(nullptr, TVLT::kBuiltInTextId));
		else
			ASSERT_EQ(B_OK, gVLT.Load(file));
	}

	void Open()
	{
		fWindow = new TPrefWin(BRect(100, 100, 410, 365));
		ASSERT_EQ(B_OK, fWindow->InitCheck());
		fWindow->SetTarget(&fTarget);
		fWindow->Show();
		fView = fWindow->PrefView();
	}

	// Shows the hidden window again, as the Settings menu does.
	void Reopen()
	{
		fWindow->Appear();
	}

	template<class Control>
	Control* Find(const char* name) const
	{
		Control* control = dynamic_cast<Control*>(fView->FindView(name));
		EXPECT_NE(nullptr, control) << name;
		return control;
	}

	// What the user does to each kind of control.
	void Type(const char* field, const char* text) const
	{
		BTextControl* control = Find<BTextControl>(field);
		control->SetText(text);
		BMessage modified(*control->ModificationMessage());
		control->Invoke(&modified);
	}
	void Toggle(const char* box) const
	{
		BCheckBox* control = Find<BCheckBox>(box);
		control->SetValue(control->Value() == B_CONTROL_ON ? B_CONTROL_OFF : B_CONTROL_ON);
		control->Invoke();
	}
	void Choose(const char* radio) const
	{
		BRadioButton* control = Find<BRadioButton>(radio);
		control->SetValue(B_CONTROL_ON);
		control->Invoke();
	}
	void Press(const char* button) const { Find<BButton>(button)->Invoke(); }
	// The language menu's item of that file.
	BMenuItem* LanguageItem(const std::string& path) const
	{
		BMenu* menu = Find<BMenuField>("MFieldLanguage")->Menu();
		for (int32 i = 0; BMenuItem* item = menu->ItemAt(i); i++) {
			if (path == item->Message()->FindString("LangFileName"))
				return item;
		}
		return nullptr;
	}
	void PickLanguage(const std::string& path) const
	{
		BMenuItem* item = LanguageItem(path);
		ASSERT_NE(nullptr, item) << path;
		item->SetMarked(true);
		item->Invoke();
	}
	void Key(int32 rawChar, int32 modifiers) const
	{
		BMessage key = KeyMessage(rawChar, modifiers);
		fWindow->PostMessage(&key, fView);
	}

	// Drain() of the window open when the step runs.
	Step DrainWindow()
	{
		std::shared_ptr<Step> drain;
		return [this, drain]() mutable {
			if (drain == nullptr)
				drain = std::make_shared<Step>(Drain(fWindow));
			return (*drain)();
		};
	}

	// An action on the window's controls, with the window locked as a
	// message handler of it would have it.
	Step Do(std::function<void()> action)
	{
		return [this, action]() {
			if (fWindow != nullptr)
				fWindow->Lock();
			action();
			if (fWindow != nullptr)
				fWindow->Unlock();
			return true;
		};
	}

	// Answers the alert on screen with Enter, keeping its text.
	static Step AnswerAlert(std::string* text)
	{
		return [text]() {
			for (int32 i = 0; BWindow* window = be_app->WindowAt(i); i++) {
				BAlert* alert = dynamic_cast<BAlert*>(window);
				if (alert == nullptr || !alert->Lock())
					continue;
				*text = alert->TextView()->Text();
				BMessage enter = KeyMessage(B_ENTER, 0);
				alert->PostMessage(&enter, alert);
				alert->Unlock();
				return true;
			}
			return false;
		};
	}

	std::string PrefFile() const
	{
		return fHome.Folder(kSettingsFolderName) + "/" + kPrefsFileName;
	}

	// The preferences file as a fresh start reads it.
	TPref SavedPref() const
	{
		TPref pref;
		EXPECT_TRUE(pref.Load(BEntry(PrefFile().c_str())));
		return pref;
	}

	SettingsHome fHome;
	PrefTarget fTarget;
	TPrefWin* fWindow = nullptr;
	TPrefView* fView = nullptr;
	TPref fOldPref;
	TVLT fOldVLT;
};

#endif
