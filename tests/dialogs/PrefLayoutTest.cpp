#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Box.h>
#include <StringView.h>

#include "PKNApp.h"
#include "PrefWinRig.h"
#include "ToolTip.h"

namespace {

// Whether the two frames share more than an edge.
bool
overlap(BRect a, BRect b)
{
	return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}


// Every view lies inside its parent, apart from its siblings, and is wide
// enough for its text.
void
expect_laid_out(BView* parent)
{
	const BRect bounds = parent->Bounds();
	for (int32 i = 0; BView* child = parent->ChildAt(i); i++) {
		SCOPED_TRACE(child->Name() != NULL ? child->Name() : "(unnamed)");
		const BRect frame = child->Frame();
		EXPECT_TRUE(frame.left >= 0 && frame.top >= 0 && frame.right <= bounds.right
			&& frame.bottom <= bounds.bottom) << "outside " << parent->Name();
		for (int32 j = i + 1; BView* sibling = parent->ChildAt(j); j++)
			EXPECT_FALSE(overlap(frame, sibling->Frame())) << "overlaps " << sibling->Name();

		const float width = frame.Width();
		if (BButton* button = dynamic_cast<BButton*>(child)) {
			float preferred = 0;
			float height = 0;
			button->GetPreferredSize(&preferred, &height);
			EXPECT_GE(width + 0.5f, preferred);
		} else if (BTextControl* field = dynamic_cast<BTextControl*>(child)) {
			EXPECT_GE(field->Divider(), field->StringWidth(field->Label()));
			EXPECT_GE(width - field->Divider(), 40);
			const BRect entry = field->TextView()->Frame();
			EXPECT_EQ(field->Divider(), entry.left);
			EXPECT_EQ(field->Bounds().right, entry.right) << "the entry ends with its field";
		} else if (BControl* control = dynamic_cast<BControl*>(child)) {
			EXPECT_GE(width, control->StringWidth(control->Label()));
		} else if (BStringView* text = dynamic_cast<BStringView*>(child)) {
			EXPECT_GE(width, text->StringWidth(text->Text()));
		} else if (BMenuField* field = dynamic_cast<BMenuField*>(child)) {
			EXPECT_GE(field->Divider(), field->StringWidth(field->Label()));
		} else if (BBox* box = dynamic_cast<BBox*>(child)) {
			if (box->Label() != NULL) {
				EXPECT_GE(width, box->StringWidth(box->Label()));
			}
			expect_laid_out(box);
		}
	}
}


TToolTip*
find_tool_tip(BWindow* window, const char* name)
{
	for (int32 i = 0; BHandler* handler = window->HandlerAt(i); i++) {
		TToolTip* tip = dynamic_cast<TToolTip*>(handler);
		if (tip != nullptr && handler->Name() != NULL && strcmp(handler->Name(), name) == 0)
			return tip;
	}
	return nullptr;
}


// Each language's labels fit: nothing is cut or overlaps, the unit texts
// follow their numbers, and the window widens for long texts and narrows
// again for short ones.
TEST_F(PrefWinTest, EveryLanguageFits)
{
	TempFolder folder;
	const std::string longFile = folder / "Long.vlt";
	write_whole_file(longFile, "[ Informations ]\nHeader = VLT File Format 100\n"
		"Language = Long\n[ Data ]\n"
		"CBox_Send_Sys_Resets = S - Send the MIDI system resets chosen below before every "
		"song\n"
		"TxtCtrl_Silence_Interval_After_Sys_Resets = A - After sending them, wait for#s\n"
		"StrView_Silence_Interval_After_Sys_Resets = #smilliseconds before playing\n"
		"CBox_Silence_Between_Songs = B - Between two songs of the list, wait#s\n"
		"StrView_Silence_Interval_Between_Songs = #sseconds of silence\n"
		"Box_Auto_Sort = How lists are sorted when they are opened from a file or folder\n"
		"RButton_Auto_Sort_None = N - Leave the order as it is\n"
		"RButton_Auto_Sort_Up = U - Sort by file name, ascending order\n"
		"RButton_Auto_Sort_Down = D - Sort by file name, descending order\n"
		"MField_Language = L - Language of the program's windows\n"
		"Button_Cancel = C・Cancel every change\nButton_OK = O・Keep the changes\n");
	const char* const languages[] = {nullptr, ENGLISH_LANGUAGE_FILE, longFile.c_str(),
		nullptr};
	UseLanguage(nullptr);
	Open();
	const float baseWidth = fWindow->Bounds().Width();
	std::vector<Step> steps;
	for (const char* language : languages) {
		steps.push_back(Do([this, language] {
			UseLanguage(language);
			fWindow->PostMessage(kMsgLanguageChanged);
		}));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, language, baseWidth, &longFile] {
			SCOPED_TRACE(language != nullptr ? language : "built-in");
			EXPECT_EQ(fWindow->Bounds(), fView->Bounds());
			expect_laid_out(fView);
			for (const char* line : {"SilenceIntervalAfterSysResets",
					"SilenceIntervalBetweenSongs"}) {
				const BRect field = Find<BTextControl>(("TxtCtrl" + std::string(line)).c_str())
					->Frame();
				const BRect unit = Find<BStringView>(("StrView" + std::string(line)).c_str())
					->Frame();
				EXPECT_GE(unit.left, field.right) << line;
				EXPECT_NEAR((unit.top + unit.bottom) / 2, (field.top + field.bottom) / 2, 1)
					<< line << ": the unit stands on the number's line";
			}
			EXPECT_GE(Find<BTextControl>("TxtCtrlSilenceIntervalBetweenSongs")->Frame().left,
				Find<BCheckBox>("CBoxSilenceBetweenSongs")->Frame().right);
			if (language != nullptr && longFile == language) {
				EXPECT_GT(fWindow->Bounds().Width(), baseWidth + 100);
			} else if (language == nullptr) {
				EXPECT_EQ(baseWidth, fWindow->Bounds().Width());
			}
			EXPECT_STREQ(gVLT.Text("Pref_Win_Title"), fWindow->Title());
		}));
	}
	RunSteps(steps);
}


// The tips of the number fields show their ranges, in the language's words.
TEST_F(PrefWinTest, TheRangeTipsFollowTheLanguage)
{
	UseLanguage(nullptr);
	Open();
	auto expect_tips = [this](const char* milliseconds, const char* seconds) {
		TToolTip* after = find_tool_tip(fWindow, "ToolTipSilenceIntervalAfterSysResets");
		TToolTip* between = find_tool_tip(fWindow, "ToolTipSilenceIntervalBetweenSongs");
		ASSERT_NE(nullptr, after);
		ASSERT_NE(nullptr, between);
		EXPECT_STREQ(milliseconds, after->Tip());
		EXPECT_STREQ(seconds, between->Tip());
		EXPECT_EQ(Find<BTextControl>("TxtCtrlSilenceIntervalAfterSysResets")->TextView(),
			after->Target());
		EXPECT_EQ(Find<BTextControl>("TxtCtrlSilenceIntervalBetweenSongs")->TextView(),
			between->Target());
		EXPECT_EQ(1000000, after->DelayTime());
		EXPECT_EQ(3000000, after->ShowTime());
	};
	RunSteps({Drain(fWindow), Do([&] {
		expect_tips("0 ～ 1000", "1 ～ 5");
		UseLanguage(ENGLISH_LANGUAGE_FILE);
		fWindow->PostMessage(kMsgLanguageChanged);
	}), Drain(fWindow), Do([&] {
		expect_tips("0 - 1000", "1 - 5");
	})});
}

}	// namespace
