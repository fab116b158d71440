#include <string>

#include <gtest/gtest.h>

#include <InterfaceKit.h>

#include "GuiTest.h"
#include "WindowFunctions.h"

namespace {

class DeskbarTitleTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		BPrivate::set_task_bar_label("");
	}

	void TearDown() override
	{
		BPrivate::set_task_bar_label("");
		GuiTest::TearDown();
	}
};


TEST_F(DeskbarTitleTest, EntryAnswersOnlyToTheLabelItShows)
{
	struct Step {
		const char* name;
		const char* current;
		const char* next;
		bool renamed;
		const char* shown;
	};
	const Step steps[] = {
		{"before any label the entry is the program's", "VantuMIDI", "Song 1", true, "Song 1"},
		{"the program's name no longer matches", "VantuMIDI", "Song 2", false, "Song 1"},
		{"the label shown matches", "Song 1", "ソング 2", true, "ソング 2"},
		{"labels are compared whole", "ソング", "Song 3", false, "ソング 2"},
		{"no current label", NULL, "Song 3", false, "ソング 2"},
		{"no new label", "ソング 2", NULL, false, "ソング 2"},
		{"the same label again", "ソング 2", "ソング 2", true, "ソング 2"},
	};
	for (const Step& step : steps) {
		SCOPED_TRACE(step.name);
		EXPECT_EQ(step.renamed, pelkan::set_deskbar_title(step.current, step.next));
		EXPECT_EQ(step.shown, BPrivate::task_bar_label());
	}
}

}
