#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <SingleInstance.h>

#include "RecordingLooper.h"
#include "ScopedVariable.h"
#include "TempFolder.h"

namespace {

typedef TSingleInstance::TClaim TClaim;


std::vector<std::string>
paths_of(const BMessage& message)
{
	std::vector<std::string> paths;
	const char* path;
	for (int32 i = 0; message.FindString("path", i, &path) == B_OK; i++)
		paths.push_back(path);
	return paths;
}


int
connect_to(const std::string& path)
{
	const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
	if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
		close(fd);
		return -1;
	}
	return fd;
}


std::string
u32(uint32_t value)
{
	return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}


// A first instance serving into a recording looper, in a runtime folder of
// the test's own.
class SingleInstanceTest : public testing::Test {
protected:
	void SetUp() override
	{
		fSocketPath = fRuntime / "VantuMIDI-test.socket";
		fFirst = std::make_unique<TSingleInstance>(fSocketPath);
		ASSERT_EQ(TClaim::kFirst, fFirst->Claim({}));
		fRecorder = new RecordingLooper("first");
		fRecorder->Run();
		fFirst->Serve(BMessenger(fRecorder));
	}

	void TearDown() override
	{
		fFirst.reset();
		fRecorder->Finish();
	}

	// Sends raw bytes as a peer would and reports whether it was answered.
	bool SendRaw(const std::string& bytes)
	{
		const int fd = connect_to(fSocketPath);
		EXPECT_GE(fd, 0);
		send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
		shutdown(fd, SHUT_WR);
		char answer = 0;
		const bool answered = read(fd, &answer, 1) == 1;
		close(fd);
		return answered;
	}

	TempFolder fRuntime;
	std::string fSocketPath;
	std::unique_ptr<TSingleInstance> fFirst;
	RecordingLooper* fRecorder = nullptr;
};

}


TEST_F(SingleInstanceTest, SecondStartHandsItsPathsToTheFirst)
{
	const std::vector<std::string> paths = {"/music/a.mid", "/music/with space/b.lml"};
	{
		TSingleInstance second(fSocketPath);
		EXPECT_EQ(TClaim::kHandedOver, second.Claim(paths));
	}
	const std::vector<BMessage> got = fRecorder->Drain();
	ASSERT_EQ(1u, got.size());
	EXPECT_EQ(TSingleInstance::kMsgHandOver, got[0].what);
	EXPECT_EQ(paths, paths_of(got[0]));

	// A start with nothing to hand over still reaches the first: it raises
	// the window.
	TSingleInstance third(fSocketPath);
	EXPECT_EQ(TClaim::kHandedOver, third.Claim({}));
	const std::vector<BMessage> raised = fRecorder->Drain();
	ASSERT_EQ(1u, raised.size());
	EXPECT_TRUE(paths_of(raised[0]).empty());
	// The first's socket is still there for the next start.
	EXPECT_TRUE(std::filesystem::exists(fSocketPath));
}


TEST_F(SingleInstanceTest, BrokenPeersAreDroppedWholeAndServingGoesOn)
{
	const std::string head = "VMHO";
	const std::string good = "/music/a.mid";
	struct {
		const char* name;
		std::string bytes;
	} cases[] = {
		{"wrong magic", "XXXX" + u32(1) + u32(good.size()) + good},
		{"too many paths", head + u32(TSingleInstance::kMaxPaths + 1)},
		{"path too long", head + u32(1) + u32(TSingleInstance::kMaxPathLength + 1)},
		{"empty path", head + u32(1) + u32(0)},
		{"relative path", head + u32(1) + u32(5) + "a.mid"},
		{"NUL inside", head + u32(1) + u32(6) + std::string("/a\0mid", 6)},
		{"cut short", head + u32(2) + u32(good.size()) + good + u32(100) + "/x"},
		{"nothing", ""},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		EXPECT_FALSE(SendRaw(c.bytes));
	}
	EXPECT_TRUE(fRecorder->Drain().empty());

	EXPECT_TRUE(SendRaw(head + u32(1) + u32(good.size()) + good));
	const std::vector<BMessage> got = fRecorder->Drain();
	ASSERT_EQ(1u, got.size());
	EXPECT_EQ(std::vector<std::string>{good}, paths_of(got[0]));
}


TEST_F(SingleInstanceTest, SocketLeftByAnEndedProgramIsReplaced)
{
	const std::string stalePath = fRuntime / "VantuMIDI-stale.socket";
	{
		// Bound and closed without being removed, as after a crash.
		const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
		sockaddr_un address = {};
		address.sun_family = AF_UNIX;
		strncpy(address.sun_path, stalePath.c_str(), sizeof(address.sun_path) - 1);
		ASSERT_EQ(0, bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)));
		close(fd);
	}
	{
		TSingleInstance next(stalePath);
		EXPECT_EQ(TClaim::kFirst, next.Claim({"/music/a.mid"}));
		struct stat info;
		ASSERT_EQ(0, stat(stalePath.c_str(), &info));
		// Nobody else may connect.
		EXPECT_EQ(0u, info.st_mode & 077);
	}
	EXPECT_FALSE(std::filesystem::exists(stalePath));
}


TEST(SingleInstancePathTest, OnePerUserAndDisplay)
{
	const std::string uid = std::to_string(getuid());
	struct {
		const char* runtime;
		const char* display;
		std::string path;
	} cases[] = {
		{"/run/user/1000", ":0", "/run/user/1000/VantuMIDI-:0.socket"},
		{"/run/user/1000", ":1", "/run/user/1000/VantuMIDI-:1.socket"},
		{"/run/user/1000", "wayland-0", "/run/user/1000/VantuMIDI-wayland-0.socket"},
		{"/run/user/1000", "/run/wl/x", "/run/user/1000/VantuMIDI-_run_wl_x.socket"},
		{"/run/user/1000", "", "/run/user/1000/VantuMIDI-none.socket"},
		// Without a runtime folder (or a relative one): a folder of the
		// user's own under /tmp.
		{nullptr, ":0", "/tmp/VantuMIDI-" + uid + "/VantuMIDI-:0.socket"},
		{"relative", ":0", "/tmp/VantuMIDI-" + uid + "/VantuMIDI-:0.socket"},
	};
	for (const auto& c : cases) {
		ScopedVariable runtime("XDG_RUNTIME_DIR", c.runtime);
		EXPECT_EQ(c.path, TSingleInstance::SocketPath(c.display));
	}
}


TEST(SingleInstancePathTest, SharedFolderThatIsNotPrivateIsNotUsed)
{
	TempFolder shared;
	const std::string folder = shared / "open";
	ASSERT_EQ(0, mkdir(folder.c_str(), 0777));
	ASSERT_EQ(0, chmod(folder.c_str(), 0777));
	TSingleInstance instance(folder + "/VantuMIDI-:0.socket");
	EXPECT_EQ(TClaim::kUnavailable, instance.Claim({}));
}
