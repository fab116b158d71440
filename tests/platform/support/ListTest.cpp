#include <List.h>

#include <gtest/gtest.h>

namespace {

class ListTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		for (int& value : fValues)
			fList.AddItem(&value);
	}

	int fValues[3] = {10, 20, 30};
	BList fList;
};

TEST_F(ListTest, InsertsOnlyAtValidPositions)
{
	int extra = 0;
	EXPECT_FALSE(fList.AddItem(&extra, -1));
	EXPECT_FALSE(fList.AddItem(&extra, 4));
	EXPECT_EQ(fList.CountItems(), 3);

	EXPECT_TRUE(fList.AddItem(&extra, 3));
	EXPECT_EQ(fList.LastItem(), &extra);
	EXPECT_TRUE(fList.AddItem(&extra, 0));
	EXPECT_EQ(fList.FirstItem(), &extra);
	EXPECT_EQ(fList.ItemAt(1), &fValues[0]);
	EXPECT_EQ(fList.CountItems(), 5);
}

TEST_F(ListTest, OutOfRangeAnswersNull)
{
	EXPECT_EQ(fList.ItemAt(-1), nullptr);
	EXPECT_EQ(fList.ItemAt(3), nullptr);
	EXPECT_EQ(fList.RemoveItem(3), nullptr);
	EXPECT_EQ(fList.RemoveItem(-1), nullptr);
	EXPECT_EQ(fList.CountItems(), 3);

	fList.MakeEmpty();
	EXPECT_TRUE(fList.IsEmpty());
	EXPECT_EQ(fList.FirstItem(), nullptr);
	EXPECT_EQ(fList.LastItem(), nullptr);
	EXPECT_EQ(fList.ItemAt(0), nullptr);
}

TEST_F(ListTest, RemovingByItemTakesTheFirstOccurrence)
{
	fList.AddItem(&fValues[0]);
	EXPECT_TRUE(fList.RemoveItem(static_cast<void*>(&fValues[0])));
	EXPECT_EQ(fList.CountItems(), 3);
	EXPECT_EQ(fList.IndexOf(&fValues[0]), 2);
	EXPECT_TRUE(fList.HasItem(&fValues[0]));

	int absent = 0;
	EXPECT_FALSE(fList.RemoveItem(static_cast<void*>(&absent)));
	EXPECT_EQ(fList.IndexOf(&absent), -1);
	EXPECT_FALSE(fList.HasItem(&absent));

	EXPECT_EQ(fList.RemoveItem(static_cast<int32>(0)), &fValues[1]);
	EXPECT_EQ(fList.FirstItem(), &fValues[2]);
}

TEST_F(ListTest, NullIsAnOrdinaryItem)
{
	EXPECT_TRUE(fList.AddItem(NULL, 1));
	EXPECT_EQ(fList.IndexOf(NULL), 1);
	EXPECT_TRUE(fList.RemoveItem(static_cast<void*>(NULL)));
	EXPECT_EQ(fList.CountItems(), 3);
}

TEST_F(ListTest, CopiesAreIndependent)
{
	BList copy(fList);
	copy.RemoveItem(static_cast<int32>(0));
	EXPECT_EQ(fList.CountItems(), 3);
	EXPECT_EQ(copy.CountItems(), 2);
	copy = fList;
	EXPECT_EQ(copy.ItemAt(0), &fValues[0]);
}

}	// namespace
