#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <VLT.h>

#include "TempFolder.h"

extern char** environ;

namespace {

// Runs xmllint's HTML parser on the file: its complaints, or "" when it has
// none; "(xmllint did not run)" when it cannot be started.
std::string
html_complaints(const std::string& path)
{
	int channel[2];
	if (pipe(channel) != 0)
		return "(no pipe)";
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_adddup2(&actions, channel[1], 1);
	posix_spawn_file_actions_adddup2(&actions, channel[1], 2);
	posix_spawn_file_actions_addclose(&actions, channel[0]);
	const char* argv[] = {"xmllint", "--html", "--noout", path.c_str(), nullptr};
	pid_t child = -1;
	const int failed = posix_spawnp(&child, argv[0], &actions, nullptr,
		const_cast<char* const*>(argv), environ);
	posix_spawn_file_actions_destroy(&actions);
	close(channel[1]);
	std::string output;
	char buffer[512];
	ssize_t count;
	while ((count = read(channel[0], buffer, sizeof(buffer))) > 0
		|| (count < 0 && errno == EINTR)) {
		if (count > 0)
			output.append(buffer, static_cast<size_t>(count));
	}
	close(channel[0]);
	int status = 0;
	if (failed != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
		return "(xmllint did not run)";
	if (WEXITSTATUS(status) != 0 && output.empty())
		return "(xmllint failed)";
	return output;
}


// "N・New List" and "P・Preferences ..." name their items "New List" and
// "Preferences".
std::string
menu_label(const std::string& text)
{
	const std::string separator = "・";
	std::string label = text.substr(text.find(separator) + separator.size());
	const std::string ellipsis = " ...";
	if (label.size() > ellipsis.size()
		&& label.compare(label.size() - ellipsis.size(), ellipsis.size(), ellipsis) == 0) {
		label.resize(label.size() - ellipsis.size());
	}
	return label;
}

}	// namespace


// The help documents parse as HTML without a complaint and name every menu
// and menu item by its label in the document's language, so that a menu
// added later cannot go unexplained.
TEST(HelpDocumentTest, EachDocumentParsesAndNamesEveryMenuItem)
{
	const struct {
		const char* document;
		const char* language;
	} cases[] = {
		{HELP_FOLDER "/VantuMIDI.htm", ENGLISH_LANGUAGE_FILE},
		{HELP_FOLDER "/ja/VantuMIDI.htm", BUILTIN_LANGUAGE_FILE},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.document);
		EXPECT_EQ("", html_complaints(c.document));
		const std::string text = read_whole_file(c.document);
		EXPECT_NE(std::string::npos, text.find("<meta charset=\"utf-8\">"));
		TVLT table;
		ASSERT_EQ(B_OK, table.Load(c.language));
		int32 items = 0;
		for (const auto& [key, value] : table.TextMap()) {
			const std::string name(key);
			if (name.rfind("MItem_", 0) != 0 && name.rfind("Menu_", 0) != 0)
				continue;
			const std::string label = std::string(value).find("・") == std::string::npos
				? std::string(value) : menu_label(std::string(value));
			EXPECT_NE(std::string::npos, text.find(label)) << name << ": " << label;
			items++;
		}
		EXPECT_GE(items, 25);
	}
}
