#include <gtest/gtest.h>

#include <Handler.h>
#include <Message.h>
#include <NextMsg.h>

TEST(NextMsgTest, ChainsTheFollowUpAndItsTarget)
{
	BHandler target("target");
	BMessage request('save');
	request.AddInt32("ListID", 3);
	BMessage next('quit');
	next.AddString("why", "closing");
	pelkan::add_next_msg(&request, next, &target);

	BMessage chained;
	ASSERT_EQ(B_OK, request.FindMessage("_NxMsg", &chained));
	EXPECT_EQ(static_cast<uint32>('quit'), chained.what);
	EXPECT_STREQ("closing", chained.FindString("why"));
	const void* pointer = nullptr;
	ASSERT_EQ(B_OK, request.FindPointer("_NxMsgTgt", &pointer));
	EXPECT_EQ(&target, pointer);
	EXPECT_EQ(3, request.FindInt32("ListID"));
}
