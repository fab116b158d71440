#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempFolder.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// This binary's environment without the variables that name folders.
std::vector<std::string>
environment_without_folders()
{
	std::vector<std::string> kept;
	for (char** variable = environ; *variable != nullptr; variable++) {
		const std::string entry = *variable;
		if (entry.rfind("HOME=", 0) != 0 && entry.rfind("XDG_", 0) != 0
			&& entry.rfind("TMPDIR=", 0) != 0)
			kept.push_back(entry);
	}
	return kept;
}


bool
is_empty_folder(const std::string& path)
{
	return fs::is_directory(path) && fs::is_empty(path);
}

}	// namespace


// Started by hand, with the user's HOME and no XDG folders, the binary
// constructs its process-wide records (which open their settings folders)
// and runs tests without creating anything in the user's home, and removes
// its own temporary home when it ends.
TEST(TestHomeTest, ABinaryStartedByHandLeavesTheUsersHomeAlone)
{
	TempFolder userHome;
	TempFolder temporary;
	std::vector<std::string> environment = environment_without_folders();
	environment.push_back("HOME=" + userHome.Path());
	environment.push_back("TMPDIR=" + temporary.Path());
	std::vector<char*> envp;
	for (std::string& entry : environment)
		envp.push_back(entry.data());
	envp.push_back(nullptr);

	const std::string self = fs::read_symlink("/proc/self/exe");
	std::string filter = "--gtest_filter=GlobalSettingsTest.*";
	char* argv[] = {const_cast<char*>(self.c_str()), filter.data(), nullptr};
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
	pid_t child = -1;
	ASSERT_EQ(0, posix_spawn(&child, self.c_str(), &actions, nullptr, argv, envp.data()));
	posix_spawn_file_actions_destroy(&actions);
	int status = 0;
	ASSERT_EQ(child, waitpid(child, &status, 0));

	EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
	EXPECT_TRUE(is_empty_folder(userHome.Path()));
	EXPECT_TRUE(is_empty_folder(temporary.Path()));
}


// Inside the binary the home and the XDG folders are temporary ones that
// already exist.
TEST(TestHomeTest, HomeAndXdgFoldersAreTemporary)
{
	const std::string home = getenv("HOME");
	EXPECT_NE(std::string::npos, home.find("/vantu-test-home-")) << home;
	EXPECT_TRUE(fs::is_directory(home));
	for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME",
			"XDG_STATE_HOME", "XDG_CACHE_HOME"}) {
		const char* folder = getenv(variable);
		ASSERT_NE(nullptr, folder) << variable;
		EXPECT_EQ(0u, std::string(folder).rfind(home + "/", 0)) << variable;
		EXPECT_TRUE(fs::is_directory(folder)) << variable;
	}
}
