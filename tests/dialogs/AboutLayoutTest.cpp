#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <Archivable.h>
#include <Message.h>
#include <Tab.h>
#include <TabView.h>

#include "GuiTest.h"
#include "ViewArchiveSource.h"

namespace {

class AboutLayoutTest : public GuiTest {};


// The views inside a tab view in the source are its tabs' views, in order,
// under their tab labels; a view without a label gives an unlabelled tab.
TEST_F(AboutLayoutTest, ChildrenOfATabViewAreItsTabsInOrder)
{
	BMessage archive;
	TViewArchiveError error;
	ASSERT_TRUE(parse_view_archive_source(
		"BView Root 0,0,99,99 {\n"
		"\tBTabView Tabs 0,5,99,90 {\n"
		"\t\tBView First 0,0,99,60 tab=\"1st\"\n"
		"\t\tBView Second 0,0,99,60 tab=\"2nd\" {\n"
		"\t\t\tBButton Inner 5,5,40,25 label=\"Inner\"\n"
		"\t\t}\n"
		"\t\tBView Third 0,0,99,60\n"
		"\t}\n"
		"}\n", &archive, &error)) << error.line << ": " << error.message;
	std::unique_ptr<BView> root(dynamic_cast<BView*>(instantiate_object(&archive)));
	ASSERT_NE(nullptr, root);
	BTabView* tabs = dynamic_cast<BTabView*>(root->FindView("Tabs"));
	ASSERT_NE(nullptr, tabs);

	std::vector<std::string> labels;
	std::vector<std::string> views;
	for (int32 i = 0; i < tabs->CountTabs(); i++) {
		labels.push_back(tabs->TabAt(i)->Label());
		views.push_back(tabs->ViewForTab(i)->Name());
	}
	EXPECT_EQ((std::vector<std::string>{"1st", "2nd", ""}), labels);
	EXPECT_EQ((std::vector<std::string>{"First", "Second", "Third"}), views);
	EXPECT_EQ(0, tabs->Selection());
	EXPECT_NE(nullptr, tabs->ViewForTab(1)->FindView("Inner"));
}

}  // namespace
