#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <AppDefs.h>
#include <Entry.h>
#include <Looper.h>
#include <Message.h>
#include <Messenger.h>
#include <NodeMonitor.h>

#include "../../support/RecordingLooper.h"
#include "StorageTestSupport.h"

namespace {

// The shared recording looper, for node monitor notices.
class Receiver : public RecordingLooper {
public:
	Receiver()
		:
		RecordingLooper("node monitor receiver")
	{
	}

	// The notices so far once there are at least `count`; fails the test
	// after the watchdog instead of hanging.
	std::vector<BMessage> WaitFor(size_t count)
	{
		EXPECT_TRUE(Log().WaitForCountOf(B_NODE_MONITOR, count))
			<< "not all of " << count << " notices arrived";
		std::vector<BMessage> notices = Log().Messages();
		std::erase_if(notices,
			[](const BMessage& message) { return message.what != B_NODE_MONITOR; });
		return notices;
	}
};


struct Notice {
	int32 opcode;
	std::string name;

	bool operator==(const Notice& other) const
	{
		return opcode == other.opcode && name == other.name;
	}
};


std::ostream& operator<<(std::ostream& out, const Notice& notice)
{
	return out << "{" << notice.opcode << ", \"" << notice.name << "\"}";
}


std::vector<Notice> notices(const std::vector<BMessage>& messages)
{
	std::vector<Notice> result;
	for (const BMessage& message : messages) {
		const char* name = message.FindString("name");
		result.push_back({message.FindInt32("opcode"), name ? name : ""});
	}
	return result;
}


class NodeMonitorTest : public testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_FALSE(fTemp.Path().empty());
		mkdir((fTemp / "watched").c_str(), 0755);
		mkdir((fTemp / "other").c_str(), 0755);
		write_file(fTemp / "watched/existing", "x");
		fReceiver = new Receiver;
		fReceiver->Run();
		fTarget = BMessenger(fReceiver);
	}

	void TearDown() override
	{
		stop_watching(fTarget);
		if (fReceiver->Lock())
			fReceiver->Quit();
	}

	node_ref Node(const std::string& name)
	{
		node_ref node;
		EXPECT_EQ(B_OK, BEntry((fTemp / name).c_str()).GetNodeRef(&node));
		return node;
	}

	status_t Watch(const std::string& name, uint32 flags)
	{
		node_ref node = Node(name);
		return watch_node(&node, flags, fTarget);
	}

	TempFolder fTemp;
	Receiver* fReceiver = nullptr;
	BMessenger fTarget;
};

} // namespace


TEST_F(NodeMonitorTest, FolderReportsEntriesCreatedMovedAndRemoved)
{
	ASSERT_EQ(B_OK, Watch("watched", B_WATCH_DIRECTORY));
	write_file(fTemp / "watched/a", "content");
	rename((fTemp / "watched/a").c_str(), (fTemp / "watched/b").c_str());
	rename((fTemp / "watched/b").c_str(), (fTemp / "other/c").c_str());
	rename((fTemp / "other/c").c_str(), (fTemp / "watched/d").c_str());
	unlink((fTemp / "watched/d").c_str());

	std::vector<BMessage> messages = fReceiver->WaitFor(5);
	EXPECT_EQ((std::vector<Notice>{{B_ENTRY_CREATED, "a"}, {B_ENTRY_MOVED, "b"},
		{B_ENTRY_MOVED, "b"}, {B_ENTRY_MOVED, "d"}, {B_ENTRY_REMOVED, "d"}}),
		notices(messages));
	ASSERT_EQ(5u, messages.size());

	node_ref folder = Node("watched");
	EXPECT_EQ((int64)folder.node, messages[0].FindInt64("directory"));
	EXPECT_EQ((int32)folder.device, messages[0].FindInt32("device"));
	EXPECT_STREQ("a", messages[1].FindString("from name"));
	EXPECT_EQ((int64)folder.node, messages[1].FindInt64("from directory"));
	EXPECT_EQ((int64)folder.node, messages[1].FindInt64("to directory"));
	EXPECT_EQ(-1, messages[2].FindInt64("to directory"));
	EXPECT_EQ(-1, messages[3].FindInt64("from directory"));
}


TEST_F(NodeMonitorTest, WritesInsideAWatchedFolderStayQuiet)
{
	if (!xattrs_supported(fTemp.Path()))
		GTEST_SKIP() << "the temp folder's file system refuses user xattrs";
	ASSERT_EQ(B_OK, Watch("watched", B_WATCH_ALL));
	std::string existing = fTemp / "watched/existing";
	for (int i = 0; i < 50; i++) {
		int fd = open(existing.c_str(), O_WRONLY | O_APPEND);
		ASSERT_EQ(1, write(fd, "y", 1));
		close(fd);
	}
	chmod(existing.c_str(), 0600);
	setxattr(existing.c_str(), "user.mime_type", "text/plain", 10, 0);
	write_file(fTemp / "watched/sentinel", "");

	// Notices keep their order, so the sentinel's comes after any other.
	EXPECT_EQ((std::vector<Notice>{{B_ENTRY_CREATED, "sentinel"}}),
		notices(fReceiver->WaitFor(1)));
}


TEST_F(NodeMonitorTest, WatchedFileReportsStatAndAttributeChanges)
{
	// One change at a time: inotify merges a repeated event nobody has read.
	std::string file = fTemp / "watched/existing";
	ASSERT_EQ(B_OK, Watch("watched/existing", B_WATCH_STAT | B_WATCH_ATTR));
	write_file(file, "rewritten");
	std::vector<BMessage> messages = fReceiver->WaitFor(1);
	ASSERT_EQ(1u, messages.size());
	EXPECT_EQ((int64)Node("watched/existing").node, messages[0].FindInt64("node"));
	chmod(file.c_str(), 0600);
	std::vector<Notice> expected = {{B_STAT_CHANGED, ""}, {B_STAT_CHANGED, ""}};
	EXPECT_EQ(expected, notices(fReceiver->WaitFor(2)));

	if (!xattrs_supported(fTemp.Path()))
		GTEST_SKIP() << "the temp folder's file system refuses user xattrs";
	ASSERT_EQ(0, setxattr(file.c_str(), "user.mime_type", "text/plain", 10, 0));
	expected.push_back({B_ATTR_CHANGED, ""});
	EXPECT_EQ(expected, notices(fReceiver->WaitFor(3)));
}


TEST_F(NodeMonitorTest, NameWatchReportsTheNodeItself)
{
	ASSERT_EQ(B_OK, Watch("watched/existing", B_WATCH_NAME));
	ASSERT_EQ(B_OK, Watch("other", B_WATCH_NAME));
	rename((fTemp / "watched/existing").c_str(), (fTemp / "watched/moved").c_str());
	rmdir((fTemp / "other").c_str());
	std::vector<Notice> received = notices(fReceiver->WaitFor(2));
	EXPECT_EQ((std::vector<Notice>{{B_ENTRY_MOVED, "existing"},
		{B_ENTRY_REMOVED, "other"}}), received);
}


TEST_F(NodeMonitorTest, StopWatchingEndsEveryWatchOfTheTarget)
{
	ASSERT_EQ(B_OK, Watch("watched", B_WATCH_DIRECTORY));
	ASSERT_EQ(B_OK, stop_watching(fReceiver));
	ASSERT_EQ(B_OK, Watch("other", B_WATCH_DIRECTORY));
	ASSERT_EQ(B_OK, Watch("watched", B_WATCH_DIRECTORY));
	ASSERT_EQ(B_OK, Watch("watched", B_STOP_WATCHING));
	EXPECT_EQ(B_BAD_VALUE, Watch("watched", B_STOP_WATCHING));
	write_file(fTemp / "watched/ignored", "");
	write_file(fTemp / "other/seen", "");
	EXPECT_EQ((std::vector<Notice>{{B_ENTRY_CREATED, "seen"}}),
		notices(fReceiver->WaitFor(1)));
}


TEST_F(NodeMonitorTest, UnreachableNodesAreNotWatched)
{
	node_ref missing = Node("watched/existing");
	unlink((fTemp / "watched/existing").c_str());
	EXPECT_EQ(B_ENTRY_NOT_FOUND, watch_node(&missing, B_WATCH_ALL, fTarget));

	node_ref unknown(12345, 67890);
	EXPECT_EQ(B_ENTRY_NOT_FOUND, watch_node(&unknown, B_WATCH_ALL, fTarget));
	node_ref folder = Node("watched");
	EXPECT_EQ(B_BAD_VALUE, watch_node(&folder, B_WATCH_ALL, BMessenger()));
	EXPECT_EQ(B_BAD_VALUE, watch_node(nullptr, B_WATCH_ALL, fTarget));
	EXPECT_EQ(B_BAD_VALUE, watch_node(&folder, 0x100, fTarget));

	// A node_ref rebuilt from numbers finds the folder again.
	node_ref rebuilt(folder.device, folder.node);
	EXPECT_EQ(B_OK, watch_node(&rebuilt, B_WATCH_DIRECTORY, fReceiver));
	write_file(fTemp / "watched/new", "");
	EXPECT_EQ((std::vector<Notice>{{B_ENTRY_CREATED, "new"}}),
		notices(fReceiver->WaitFor(1)));
}
