#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <list>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/capability.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <CLNative100.h>
#include <NativeListWriter.h>

#include "ChildProcess.h"
#include "LoaderTestSupport.h"

namespace {

const std::string kHeaderLine = "TirokaList$1\n";
const std::string kOldList = kHeaderLine + "/old/first.mid\n/old/second.mid\n";

std::string
list_text(const std::vector<std::string>& entries)
{
	std::string text = kHeaderLine;
	for (const std::string& entry : entries)
		text += entry + "\n";
	return text;
}

std::vector<std::string>
names_in(const std::string& folder)
{
	std::vector<std::string> names;
	for (const auto& entry : std::filesystem::directory_iterator(folder))
		names.push_back(entry.path().filename().string());
	return names;
}

// What a failed save must leave: the old list, byte for byte, and nothing
// else in its folder. Empty when that holds.
std::string
old_list_kept(const std::string& folder, const std::string& path)
{
	if (read_whole_file(path) != kOldList)
		return "the old list changed: " + read_whole_file(path);
	const std::vector<std::string> names = names_in(folder);
	if (names.size() != 1)
		return "the folder holds " + testing::PrintToString(names);
	return std::string();
}

// Root writes into any folder whatever its permission bits say; without
// these capabilities (per thread, and the child has one) it is refused like
// anyone else.
bool
drop_file_permission_override()
{
	__user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
	__user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
	if (syscall(SYS_capget, &header, data) != 0)
		return false;
	for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
		data[CAP_TO_INDEX(capability)].effective &= ~CAP_TO_MASK(capability);
	return syscall(SYS_capset, &header, data) == 0;
}

bool
write_text(const std::string& path, const std::string& text)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	return bool(out << text);
}

// A private mount namespace in which this process may mount: root has the
// right already; anyone else gets it inside a user namespace that maps
// their own ids.
bool
enter_private_mounts()
{
	const uid_t uid = geteuid();
	const gid_t gid = getegid();
	if (unshare(CLONE_NEWNS) != 0) {
		if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
			return false;
		write_text("/proc/self/setgroups", "deny");
		if (!write_text("/proc/self/uid_map", std::to_string(uid) + " "
					+ std::to_string(uid) + " 1")
			|| !write_text("/proc/self/gid_map", std::to_string(gid) + " "
					+ std::to_string(gid) + " 1")) {
			return false;
		}
	}
	return mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

// Mounts a fresh file system of `type` on `folder`, seen by this process
// only; a "skip: …" text when the machine allows none.
std::string
mount_private(const std::string& folder, const char* type, const char* options)
{
	if (!enter_private_mounts())
		return std::string("skip: no private mount namespace here: ")
			+ strerror(errno);
	if (mount(type, folder.c_str(), type, 0, options) != 0)
		return std::string("skip: cannot mount ") + type + ": " + strerror(errno);
	return std::string();
}

// Entries big enough to overflow every small file system of these tests.
std::vector<std::string>
many_long_entries()
{
	return std::vector<std::string>(400, "/music/" + std::string(1000, 'n'));
}

class NativeListWriterTest : public testing::Test {
protected:
	TempFolder fFolder;
	std::string fList = fFolder / "list.lml";
};

}


TEST_F(NativeListWriterTest, WritesHeaderAndEntriesThatReadBackUnchanged)
{
	const struct {
		const char* what;
		std::vector<std::string> entries;
	} cases[] = {
		{"empty list", {}},
		{"absolute UTF-8 paths", {"/home/user/曲/テスト.mid", "/a b/c.mid"}},
		{"Shift-JIS bytes", {"/music/\x83\x65\x83\x58\x83\x67.mid", "\x8b\xc8\\x.mid"}},
		{"relative entries", {"sub/a.mid", "../b.mid", "c.mid"}},
		{"Windows-style entries", {"C:\\MIDI\\b.mid", "\\\\server\\share\\c.mid"}},
		{"empty entry and blanks kept", {"", " /lead.mid", "/trail.mid "}},
		{"longest line the reader takes", {"/" + std::string(2045, 'x')}},
		{"entry that looks like the header", {"TirokaList$1"}},
	};
	TCLNative100 reader;
	for (const auto& test : cases) {
		SCOPED_TRACE(test.what);
		// A longer old list must not leave its tail behind.
		write_whole_file(fList, kOldList + std::string(5000, 'z'));
		std::string badEntry = "untouched";
		ASSERT_EQ(B_OK, write_native_list(fList.c_str(), test.entries, &badEntry));
		EXPECT_EQ("untouched", badEntry);
		EXPECT_EQ(list_text(test.entries), read_whole_file(fList));

		int32 status = -1;
		const std::list<std::string> readBack
			= load_entries(reader, fList, &status);
		EXPECT_EQ(0, status);
		EXPECT_EQ(std::list<std::string>(test.entries.begin(), test.entries.end()),
			readBack);
		EXPECT_EQ(std::vector<std::string>{"list.lml"}, names_in(fFolder.Path()));
	}
}


TEST_F(NativeListWriterTest, CreatesAMissingListWithItsFileType)
{
	const std::string path = fFolder / "no-extension";
	ASSERT_EQ(B_OK, write_native_list(path.c_str(), {"/a.mid"}, nullptr));
	EXPECT_EQ(list_text({"/a.mid"}), read_whole_file(path));

	char type[256] = {};
	const ssize_t length = getxattr(path.c_str(), "user.mime_type", type,
		sizeof(type) - 1);
	if (length < 0 && errno == ENOTSUP)
		GTEST_SKIP() << "the temporary folder keeps no attributes";
	ASSERT_GT(length, 0) << strerror(errno);
	EXPECT_STREQ(kNativeListMimeType, type);
}


TEST_F(NativeListWriterTest, RefusesEntriesThatCannotReadBackAndKeepsTheOldList)
{
	const std::string cases[] = {
		"/music/two\nlines.mid",
		"/music/carriage\rreturn.mid",
		"/music/ends-with-cr.mid\r",
		"\n",
		// The reader would split the line feed off as an empty entry.
		"/" + std::string(2046, 'x'),
		"/" + std::string(5000, 'x'),
	};
	for (const std::string& bad : cases) {
		SCOPED_TRACE(testing::PrintToString(bad.substr(0, 30)));
		write_whole_file(fList, kOldList);
		std::string badEntry;
		EXPECT_EQ(B_BAD_VALUE, write_native_list(fList.c_str(),
			{"/good/first.mid", bad, "/good/last.mid"}, &badEntry));
		EXPECT_EQ(bad, badEntry);
		EXPECT_EQ("", old_list_kept(fFolder.Path(), fList));
	}
}


TEST_F(NativeListWriterTest, RefusesAMissingPath)
{
	EXPECT_EQ(B_BAD_VALUE, write_native_list(nullptr, {"/a.mid"}, nullptr));
	EXPECT_EQ(B_BAD_VALUE, write_native_list("", {"/a.mid"}, nullptr));
}


TEST_F(NativeListWriterTest, FailedSavesLeaveTheOldListByteIdentical)
{
	const std::string folder = fFolder / "lists";
	const std::string list = folder + "/list.lml";
	const struct {
		const char* what;
		// Prepares the child's world after the old list is in place; a
		// "skip: …" text when the machine cannot.
		std::function<std::string()> prepare;
	} cases[] = {
		{"read-only folder", [&] {
			chmod(folder.c_str(), 0555);
			return drop_file_permission_override()
				? std::string() : std::string("skip: cannot drop capabilities");
		}},
		{"full small file system", [&] {
			std::string mounted = mount_private(folder, "tmpfs", "size=64k");
			if (!mounted.empty())
				return mounted;
			// The old list lives on the small file system itself.
			return write_text(list, kOldList)
				? std::string() : std::string("cannot write the old list");
		}},
		{"file size limit", [&] {
			signal(SIGXFSZ, SIG_IGN);
			const rlimit limit{16384, 16384};
			return setrlimit(RLIMIT_FSIZE, &limit) == 0
				? std::string() : std::string("skip: cannot limit file sizes");
		}},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(test.what);
		std::filesystem::remove_all(folder);
		ASSERT_TRUE(std::filesystem::create_directory(folder));
		write_whole_file(list, kOldList);
		const std::string answer = run_in_child([&] {
			const std::string prepared = test.prepare();
			if (!prepared.empty())
				return prepared;
			std::string badEntry = "untouched";
			const status_t status
				= write_native_list(list.c_str(), many_long_entries(), &badEntry);
			if (status == B_OK)
				return std::string("the save reported success");
			if (status == B_BAD_VALUE || badEntry != "untouched")
				return std::string("the save blamed an entry");
			return old_list_kept(folder, list);
		});
		chmod(folder.c_str(), 0755);
		if (is_skip(answer)) {
			std::cout << "[ SKIPPED  ] " << test.what << ": " << answer << "\n";
			continue;
		}
		EXPECT_EQ("", answer);
	}
}


TEST_F(NativeListWriterTest, FileSystemWithoutAttributesIsNoError)
{
	const std::string folder = fFolder / "ramfs";
	ASSERT_TRUE(std::filesystem::create_directory(folder));
	const std::string answer = run_in_child([&] {
		const std::string mounted = mount_private(folder, "ramfs", nullptr);
		if (!mounted.empty())
			return mounted;
		const std::string list = folder + "/list.lml";
		const status_t status = write_native_list(list.c_str(), {"/a.mid"}, nullptr);
		if (status != B_OK)
			return "the save failed: " + std::to_string(status);
		return read_whole_file(list) == list_text({"/a.mid"})
			? std::string() : std::string("wrong content: ") + read_whole_file(list);
	});
	if (is_skip(answer))
		GTEST_SKIP() << answer;
	EXPECT_EQ("", answer);
}
