#include <gtest/gtest.h>

#include <random>

#include "ViewTestSupport.h"

namespace {

class CorvanViewNumberingTest : public testing::Test {
protected:
	void SetUp() override { set_up_program_records(); }
};


std::vector<TVantuSItem*>
lists_of(const TCorvanView& view)
{
	std::vector<TVantuSItem*> lists;
	for (int32 row = 0; row < view.FullListCountItems(); row++) {
		auto* item = static_cast<TVantuSItem*>(view.FullListItemAt(row));
		if (item->Container())
			lists.push_back(item);
	}
	return lists;
}


// The numbering by a walk of every row, as the player sees it.
void
expect_numbering_of_walk(const TCorvanView& view, const std::string& step)
{
	SCOPED_TRACE(step);
	int32 songs = 0;
	for (int32 row = 0; row < view.FullListCountItems(); row++) {
		const auto* item = static_cast<const TVantuSItem*>(view.FullListItemAt(row));
		if (item->Container()) {
			ASSERT_EQ(-1, view.SongIdx(row)) << row;
			continue;
		}
		ASSERT_EQ(songs, view.SongIdx(row)) << row;
		ASSERT_EQ(item, view.Song(songs)) << row;
		songs++;
	}
	ASSERT_EQ(songs, view.Songs());
	ASSERT_EQ(nullptr, view.Song(songs));
	ASSERT_EQ(-1, view.SongIdx(view.FullListCountItems()));
}


TEST_F(CorvanViewNumberingTest, RandomTreesAndEditsAgreeWithAWalk)
{
	std::mt19937 random(20240611);
	for (int32 tree = 0; tree < 12; tree++) {
		ScriptedView view(true);
		view.defaultAnswer = 1;
		const uint64 startRevision = view.SongsRevision();
		int32 made = 0;
		for (int32 step = 0; step < 150; step++) {
			const std::vector<TVantuSItem*> lists = lists_of(view);
			TVantuSItem* parent = lists[random() % lists.size()];
			if (random() % 5 == 0)
				view.AddNewList(parent);
			else {
				view.AddMidiFile(ref_for("/tmp/song" + std::to_string(made) + ".mid"),
					parent, made);
				made++;
			}
		}
		EXPECT_NE(startRevision, view.SongsRevision());
		expect_numbering_of_walk(view, "built");

		for (int32 edit = 0; edit < 20; edit++) {
			view.DeselectAll();
			const int32 picks = 1 + random() % 6;
			for (int32 pick = 0; pick < picks && view.CountItems() > 0; pick++)
				view.Select(random() % view.CountItems(), true);
			const std::string step = "edit " + std::to_string(edit);
			switch (random() % 4) {
				case 0:
					view.PopupDeleteFileClicked(NULL);
					break;
				case 1:
				{
					BMessage sort(kMsgPopupSort);
					sort.AddInt32("SortKey", 1 + random() % 2);
					view.PopupSortClicked(&sort);
					break;
				}
				case 2:
				{
					const std::vector<TVantuSItem*> lists = lists_of(view);
					view.Collapse(lists[random() % lists.size()]);
					break;
				}
				default:
					view.PopupAddNewListClicked();
					break;
			}
			expect_numbering_of_walk(view, step);
			ASSERT_NE(nullptr, view.TopList());
		}
	}
}

}
