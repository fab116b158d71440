#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Entry.h>
#include <InterfaceDefs.h>
#include <Menu.h>
#include <MenuItem.h>
#include <Path.h>
#include <SeparatorItem.h>

#include "GuiTest.h"
#include "MRUF.h"

namespace {

std::vector<std::string>
paths_of(const TMRUF& list)
{
	std::vector<std::string> paths;
	for (int32 i = 0; i < list.CountMRUFs(); i++)
		paths.push_back(list.MRUFAt(i));
	return paths;
}


void
add_all(TMRUF& list, const std::vector<std::string>& paths)
{
	for (const std::string& path : paths)
		list.AddMRUF(path.c_str());
}


std::vector<std::string>
numbered(int32 count)
{
	std::vector<std::string> paths;
	for (int32 i = 0; i < count; i++)
		paths.push_back("/music/" + std::to_string(i) + ".mid");
	return paths;
}


TEST(MRUFTest, AddingKeepsNewestFirstWithinTheMaximum)
{
	struct Case {
		const char* name;
		std::vector<std::string> added;
		std::vector<std::string> expected;
	};
	const std::vector<Case> cases = {
		{"newest first", {"/a", "/b", "/c"}, {"/c", "/b", "/a"}},
		{"a listed path moves to the front without growing the list",
			{"/a", "/b", "/c", "/a"}, {"/a", "/c", "/b"}},
		{"equality is exact: case and trailing slashes count",
			{"/a", "/A", "/a/"}, {"/a/", "/A", "/a"}},
		{"an eleventh path drops the oldest", numbered(11),
			{"/music/10.mid", "/music/9.mid", "/music/8.mid", "/music/7.mid",
				"/music/6.mid", "/music/5.mid", "/music/4.mid", "/music/3.mid",
				"/music/2.mid", "/music/1.mid"}},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		TMRUF list;
		add_all(list, test.added);
		EXPECT_EQ(test.expected, paths_of(list));
	}
}


TEST(MRUFTest, MaximumIsClampedAndDropsTheOldest)
{
	TMRUF list;
	add_all(list, numbered(10));
	list.SetMaxMRUF(0);
	EXPECT_EQ(1, list.MaxMRUF());
	EXPECT_EQ(std::vector<std::string>{"/music/9.mid"}, paths_of(list));

	list.SetMaxMRUF(50);
	EXPECT_EQ(TMRUF::kMaxLimit, list.MaxMRUF());
	add_all(list, numbered(30));
	EXPECT_EQ(TMRUF::kMaxLimit, list.CountMRUFs());
	EXPECT_STREQ("/music/29.mid", list.MRUFAt(0));
	EXPECT_STREQ("/music/10.mid", list.MRUFAt(TMRUF::kMaxLimit - 1));
}


TEST(MRUFTest, RemovingHandsBackThePathOrNothing)
{
	TMRUF list;
	add_all(list, {"/a", "/b", "/c"});
	EXPECT_EQ(std::nullopt, list.RemoveMRUF(-1));
	EXPECT_EQ(std::nullopt, list.RemoveMRUF(3));
	EXPECT_EQ(std::nullopt, list.RemoveMRUF("/B"));
	EXPECT_EQ(3, list.CountMRUFs());

	EXPECT_EQ(std::optional<std::string>("/b"), list.RemoveMRUF(1));
	EXPECT_EQ(std::optional<std::string>("/c"), list.RemoveMRUF("/c"));
	EXPECT_EQ(std::vector<std::string>{"/a"}, paths_of(list));
	EXPECT_EQ(-1, list.FindMRUF("/c"));
	list.ClearMRUF();
	EXPECT_EQ(0, list.CountMRUFs());
}


TEST(MRUFTest, ArchiveKeepsTheOrderAndLoadsMergedAndTrimmed)
{
	TMRUF list;
	add_all(list, {"/old", "/mid", "/new"});
	BMessage archive;
	ASSERT_TRUE(list.Archive(&archive));
	// Oldest first in the file.
	const char* first;
	ASSERT_EQ(B_OK, archive.FindString("MRUF", 0, &first));
	EXPECT_STREQ("/old", first);

	TMRUF restored;
	restored.AddMRUF("/stale");
	ASSERT_TRUE(restored.Unarchive(archive));
	EXPECT_EQ(paths_of(list), paths_of(restored));

	// A hand-made file: duplicates, and more values than the maximum.
	BMessage crowded;
	for (const std::string& path : numbered(14))
		crowded.AddString("MRUF", path.c_str());
	crowded.AddString("MRUF", "/music/3.mid");
	TMRUF trimmed;
	ASSERT_TRUE(trimmed.Unarchive(crowded));
	EXPECT_EQ((std::vector<std::string>{"/music/3.mid", "/music/13.mid", "/music/12.mid",
		"/music/11.mid", "/music/10.mid", "/music/9.mid", "/music/8.mid", "/music/7.mid",
		"/music/6.mid", "/music/5.mid"}), paths_of(trimmed));
}


class MRUFMenuTest : public GuiTest {};


BMenuItem*
labelled(const char* label)
{
	return new BMenuItem(label, new BMessage('othr'));
}


TEST_F(MRUFMenuTest, RegenerationReplacesOnlyTheOldItems)
{
	BMenu menu("Recent");
	menu.AddItem(labelled("before 0"));
	menu.AddItem(labelled("before 1"));
	menu.AddItem(labelled("old item"));
	menu.AddItem(labelled("old item"));
	menu.AddItem(new BSeparatorItem);
	menu.AddItem(labelled("after"));

	TMRUF list;
	EXPECT_EQ(-1, list.GenerateMenu());
	list.SetTgtMenu(&menu);
	list.SetTgtBase(2);
	list.SetShowSC(true);
	list.SetSeparator("-");
	BMessage* model = new BMessage('olfr');
	model->AddBool("Mark", true);
	list.SetMessage(model);
	add_all(list, {"/music/b/two.mid", "/music/a/one.mid", "/music/c/three"});
	ASSERT_EQ(0, list.GenerateMenu());

	ASSERT_EQ(7, menu.CountItems());
	EXPECT_STREQ("before 0", menu.ItemAt(0)->Label());
	EXPECT_STREQ("before 1", menu.ItemAt(1)->Label());
	const char* const labels[] = {"0-three", "1-one.mid", "2-two.mid"};
	const char* const paths[] = {"/music/c/three", "/music/a/one.mid", "/music/b/two.mid"};
	for (int32 i = 0; i < 3; i++) {
		SCOPED_TRACE(i);
		BMenuItem* item = menu.ItemAt(2 + i);
		EXPECT_STREQ(labels[i], item->Label());
		EXPECT_STREQ(paths[i], item->ToolTip());
		uint32 modifiers = 0;
		EXPECT_EQ('0' + i, item->Shortcut(&modifiers));
		EXPECT_EQ(uint32(B_SHIFT_KEY), modifiers);
		ASSERT_NE(nullptr, item->Message());
		EXPECT_EQ(uint32('olfr'), item->Message()->what);
		bool mark = false;
		EXPECT_EQ(B_OK, item->Message()->FindBool("Mark", &mark));
		EXPECT_TRUE(mark);
		entry_ref ref;
		ASSERT_EQ(B_OK, item->Message()->FindRef("refs", &ref));
		EXPECT_STREQ(paths[i], BPath(&ref).Path());
	}
	EXPECT_NE(nullptr, dynamic_cast<BSeparatorItem*>(menu.ItemAt(5)));
	EXPECT_STREQ("after", menu.ItemAt(6)->Label());

	// Again with one path fewer: the old items go, nothing else moves.
	list.RemoveMRUF(int32(0));
	ASSERT_EQ(0, list.GenerateMenu());
	ASSERT_EQ(6, menu.CountItems());
	EXPECT_STREQ("0-one.mid", menu.ItemAt(2)->Label());
	EXPECT_NE(nullptr, dynamic_cast<BSeparatorItem*>(menu.ItemAt(4)));
}


TEST_F(MRUFMenuTest, TriggersPastNineAreLettersWithoutShortcuts)
{
	BMenu menu("Recent");
	TMRUF list;
	list.SetTgtMenu(&menu);
	list.SetTriggerBase(8);
	list.SetShowSC(true);
	add_all(list, {"/c", "/b", "/a"});
	ASSERT_EQ(0, list.GenerateMenu());
	ASSERT_EQ(3, menu.CountItems());
	const char* const labels[] = {"8・a", "9・b", "A・c"};
	const char shortcuts[] = {'8', '9', 0};
	for (int32 i = 0; i < 3; i++) {
		SCOPED_TRACE(i);
		EXPECT_STREQ(labels[i], menu.ItemAt(i)->Label());
		EXPECT_EQ(shortcuts[i], menu.ItemAt(i)->Shortcut());
	}

	list.SetShowSC(false);
	ASSERT_EQ(0, list.GenerateMenu());
	EXPECT_EQ(0, menu.ItemAt(0)->Shortcut());
}

}
