#include <gtest/gtest.h>

#include <OutlineListView.h>

#include "ViewTestSupport.h"

namespace {

class VantuSItemTest : public testing::Test {
protected:
	void SetUp() override { set_up_program_records(); }
};


TEST_F(VantuSItemTest, LabelsShowMarkNameAndModifiedText)
{
	TempFolder folder;
	const entry_ref ref = ref_for(make_song(folder, "b.lml"));
	struct {
		TSupportFmt kind;
		bool container;
		const char* label;
	} cases[] = {
		{kSupportMidiFile, false, "b.lml"},
		{kSupportGeneralList, true, "[G] b.lml"},
		{kSupportFolder, true, "[F] b.lml"},
		{kSupportRawList, true, "[R] b.lml"},
		{kSupportSemiRawList, true, "[S] b.lml"},
		{kSupportNative100, true, "[L] b.lml"},
		{static_cast<TSupportFmt>(4711), true, "b.lml"},
	};
	for (const auto& c : cases) {
		TVantuSItem item(ref, c.kind);
		EXPECT_EQ(c.label, std::string(item.Text())) << c.kind;
		EXPECT_EQ(c.container, item.Container()) << c.kind;
		EXPECT_EQ(-1, item.MagicNum());
		EXPECT_FALSE(item.Current());
	}
}


TEST_F(VantuSItemTest, KindChangeShowsItsMarkOnlyAfterTheLabelIsRebuilt)
{
	TVantuSItem item(ref_for("/tmp/a.mid"), kSupportMidiFile);
	item.SetKind(kSupportNative100);
	EXPECT_TRUE(item.Container());
	EXPECT_STREQ("a.mid", item.Text());
	item.UpdateText();
	EXPECT_STREQ("[L] a.mid", item.Text());
}


TEST_F(VantuSItemTest, UnnamedListIsLabelledFromItsNumberAndModifiedMark)
{
	TVantuSItem item(entry_ref(), kSupportNative100);
	item.ListInfo().unnamed = true;
	item.ListInfo().newListNum = 3;
	item.ListInfo().modified = true;
	item.UpdateText();
	EXPECT_EQ("[L] 新規リスト 3 （更新）", std::string(item.Text()));
	EXPECT_EQ("新規リスト 3", item.ExpFName());

	// Saved, it takes the file's name and loses the number.
	item.ListInfo() = TListInfo();
	item.SetEntryRef(ref_for("/tmp/saved.lml"));
	item.UpdateText();
	EXPECT_STREQ("[L] saved.lml", item.Text());
}


TEST_F(VantuSItemTest, CopyKeepsEverythingTheRowKnows)
{
	TVantuSItem item(ref_for("/tmp/x.lml"), kSupportFolder);
	item.SetMagicNum(7);
	item.SetCurrent(true);
	item.ListInfo().listID = 9;
	item.ListInfo().modified = true;
	item.UpdateText();
	item.SetExpanded(false);
	const TVantuSItem copy(item);
	EXPECT_EQ(item.EntryRef(), copy.EntryRef());
	EXPECT_EQ(kSupportFolder, copy.Kind());
	EXPECT_TRUE(copy.Container());
	EXPECT_TRUE(copy.Current());
	EXPECT_EQ(7, copy.MagicNum());
	EXPECT_EQ(9, copy.ListInfo().listID);
	EXPECT_TRUE(copy.ListInfo().modified);
	EXPECT_FALSE(copy.IsExpanded());
	EXPECT_STREQ(item.Text(), copy.Text());
}


TEST_F(VantuSItemTest, KindTextsNameTheListKindsTheTitleShows)
{
	EXPECT_STREQ("List_Kind_Folder", kind_text_key(kSupportFolder));
	EXPECT_STREQ("List_Kind_Raw", kind_text_key(kSupportRawList));
	EXPECT_STREQ("List_Kind_Semi_Raw", kind_text_key(kSupportSemiRawList));
	EXPECT_STREQ("List_Kind_General", kind_text_key(kSupportGeneralList));
	EXPECT_EQ(nullptr, kind_text_key(kSupportNative100));
	EXPECT_EQ(nullptr, kind_text_key(kSupportMidiFile));
}


TEST_F(VantuSItemTest, SortByMagicNumberRestoresContainerOrderAfterNameSort)
{
	BOutlineListView list(BRect(0, 0, 99, 99), "list");
	TVantuSItem parent(entry_ref(), kSupportNative100);
	list.AddItem(&parent);
	const char* names[] = {"c.mid", "a.mid", "B.mid", "b.mid"};
	std::vector<std::unique_ptr<TVantuSItem>> songs;
	for (int32 i = 0; i < 4; i++) {
		songs.emplace_back(new TVantuSItem(ref_for(std::string("/tmp/") + names[i]),
			kSupportMidiFile));
		songs.back()->SetMagicNum(i);
		list.AddUnder(songs.back().get(), &parent);
	}
	auto order = [&list]() {
		std::string text;
		for (int32 i = 1; i < list.FullListCountItems(); i++)
			text += static_cast<TVantuSItem*>(list.FullListItemAt(i))->Text() + std::string(" ");
		return text;
	};
	list.SortItemsUnder(&parent, true, compare_func_by_file_name_up);
	EXPECT_EQ("B.mid a.mid b.mid c.mid ", order()) << "byte order";
	list.SortItemsUnder(&parent, true, compare_func_by_file_name_down);
	EXPECT_EQ("c.mid b.mid a.mid B.mid ", order());
	list.SortItemsUnder(&parent, true, compare_func_by_magic_num_up);
	EXPECT_EQ("c.mid a.mid B.mid b.mid ", order());
	list.MakeEmpty();
}

}
