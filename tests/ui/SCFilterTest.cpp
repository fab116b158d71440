#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <InterfaceDefs.h>
#include <View.h>
#include <Window.h>

#include "GuiTest.h"
#include "SCFilter.h"

namespace {

// Writes down, for every message it dispatches, the handler it goes to.
class RecordingWindow : public BWindow {
public:
	RecordingWindow()
		: BWindow(BRect(50, 50, 249, 149), "Keys", B_TITLED_WINDOW, 0) {}

	void DispatchMessage(BMessage* message, BHandler* target) override
	{
		if (message->what == B_KEY_DOWN || message->what == 'othr')
			fTargets.push_back(target);
		BWindow::DispatchMessage(message, target);
	}

	std::vector<BHandler*> fTargets;
};


class SCFilterTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		fWindow = new RecordingWindow;
		fFocus = new BView(BRect(0, 0, 99, 99), "focus", B_FOLLOW_NONE, B_NAVIGABLE);
		fDialogKeys = new BHandler("dialog keys");
		fWindow->Lock();
		fWindow->AddChild(fFocus);
		fWindow->AddHandler(fDialogKeys);
		fFocus->MakeFocus(true);
		fWindow->Unlock();
		fWindow->Show();
	}

	void TearDown() override
	{
		fWindow->Lock();
		fWindow->RemoveHandler(fDialogKeys);
		fWindow->Unlock();
		delete fDialogKeys;
		GuiTest::TearDown();
	}

	// Posts each key to the focus view and answers where each went.
	std::vector<BHandler*> Route(const std::vector<BMessage>& keys)
	{
		for (const BMessage& key : keys)
			fWindow->PostMessage(const_cast<BMessage*>(&key), fFocus);
		RunSteps({Drain(fWindow)});
		fWindow->Lock();
		std::vector<BHandler*> targets = fWindow->fTargets;
		fWindow->fTargets.clear();
		fWindow->Unlock();
		return targets;
	}

	void Install(BHandler* handler)
	{
		fWindow->Lock();
		fWindow->AddCommonFilter(new pelkan::TSCFilter(handler));
		fWindow->Unlock();
	}

	RecordingWindow* fWindow = nullptr;
	BView* fFocus = nullptr;
	BHandler* fDialogKeys = nullptr;
};


struct KeyCase {
	const char* name;
	int32 rawChar;
	int32 modifiers;
	bool redirected;
};

const KeyCase kKeys[] = {
	{"Control and a letter", 'a', B_CONTROL_KEY, true},
	{"Control with Shift", 'A', B_CONTROL_KEY | B_SHIFT_KEY, true},
	{"Escape", B_ESCAPE, 0, true},
	{"Enter", B_ENTER, 0, true},
	{"a function key", B_FUNCTION_KEY, 0, true},
	{"Escape with Shift", B_ESCAPE, B_SHIFT_KEY, true},
	{"a letter", 'a', 0, false},
	{"Shift and a letter", 'A', B_SHIFT_KEY, false},
	{"Command and a letter", 'a', B_COMMAND_KEY, false},
	{"Tab", B_TAB, 0, false},
	{"Space", B_SPACE, 0, false},
	{"an arrow key", B_LEFT_ARROW, 0, false},
};


TEST_F(SCFilterTest, DialogKeysGoToTheHandlerOthersPass)
{
	Install(fDialogKeys);
	std::vector<BMessage> keys;
	for (const KeyCase& key : kKeys)
		keys.push_back(KeyMessage(key.rawChar, key.modifiers));
	keys.push_back(BMessage('othr'));

	const std::vector<BHandler*> targets = Route(keys);
	ASSERT_EQ(keys.size(), targets.size()) << "every message is dispatched";
	for (size_t i = 0; i < std::size(kKeys); i++) {
		EXPECT_EQ(kKeys[i].redirected ? fDialogKeys : static_cast<BHandler*>(fFocus), targets[i])
			<< kKeys[i].name;
	}
	EXPECT_EQ(static_cast<BHandler*>(fFocus), targets.back()) << "other messages pass";
}


TEST_F(SCFilterTest, WithoutAHandlerTheWindowTakesTheDialogKeys)
{
	Install(NULL);
	std::vector<BMessage> keys;
	for (const KeyCase& key : kKeys)
		keys.push_back(KeyMessage(key.rawChar, key.modifiers));

	const std::vector<BHandler*> targets = Route(keys);
	ASSERT_EQ(keys.size(), targets.size());
	for (size_t i = 0; i < std::size(kKeys); i++) {
		EXPECT_EQ(kKeys[i].redirected ? static_cast<BHandler*>(fWindow)
				: static_cast<BHandler*>(fFocus), targets[i])
			<< kKeys[i].name;
	}
}


TEST_F(SCFilterTest, KeysWithoutFieldsPass)
{
	Install(fDialogKeys);
	const std::vector<BHandler*> targets = Route({BMessage(B_KEY_DOWN)});
	ASSERT_EQ(1u, targets.size());
	EXPECT_EQ(static_cast<BHandler*>(fFocus), targets[0]);
}

}
