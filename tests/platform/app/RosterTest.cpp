#include <Roster.h>

#include <fstream>
#include <sstream>
#include <string>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <Entry.h>
#include <EntryRef.h>

#include "../kernel/Watchdog.h"
#include "RosterPrivate.h"

namespace {

// Launches go to a recorder script instead of the desktop: it writes its
// arguments, one per line, next to itself.
class RosterTest : public testing::Test {
protected:
	void SetUp() override
	{
		const char* tmp = getenv("TMPDIR");
		fFolder = std::string(tmp != NULL ? tmp : "/tmp") + "/roster-XXXXXX";
		ASSERT_NE(mkdtemp(fFolder.data()), nullptr);
		fRecorder = fFolder + "/opener";
		std::ofstream script(fRecorder);
		script << "#!/bin/sh\n"
			"printf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n";
		script.close();
		ASSERT_EQ(chmod(fRecorder.c_str(), 0755), 0);
		BPrivate::set_document_opener(fRecorder.c_str());
	}

	void TearDown() override
	{
		BPrivate::set_document_opener(NULL);
		for (const char* leaf : {"/opener", "/opener.args", "/song.txt"})
			unlink((fFolder + leaf).c_str());
		rmdir(fFolder.c_str());
	}

	// The recorder runs detached; the wait is bounded.
	std::string RecordedArguments()
	{
		std::string path = fRecorder + ".args";
		if (!eventually([&] { return access(path.c_str(), F_OK) == 0; }))
			return "(opener never ran)";
		std::ifstream file(path);
		std::stringstream text;
		text << file.rdbuf();
		return text.str();
	}

	std::string fFolder;
	std::string fRecorder;
};


TEST_F(RosterTest, DocumentIsOpenedByPath)
{
	std::string document = fFolder + "/song.txt";
	std::ofstream(document) << "lyrics";
	entry_ref ref;
	ASSERT_EQ(get_ref_for_path(document.c_str(), &ref), B_OK);

	team_id team = 0;
	EXPECT_EQ(be_roster->Launch(&ref, NULL, &team), B_OK);
	EXPECT_EQ(team, -1);
	EXPECT_EQ(RecordedArguments(), document + "\n");
}


TEST_F(RosterTest, MissingDocumentFailsAtOnce)
{
	entry_ref ref;
	get_ref_for_path((fFolder + "/song.doc").c_str(), &ref);
	EXPECT_EQ(be_roster->Launch(&ref), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(access((fRecorder + ".args").c_str(), F_OK), -1);
}


TEST_F(RosterTest, AddressIsPassedAsOneArgument)
{
	// Shell syntax in the address stays inert: no shell sees it.
	const char* url = "http://example.com/a b;$(touch x)&c";
	const char* args[] = {url};
	EXPECT_EQ(be_roster->Launch("text/html", 1, args), B_OK);
	EXPECT_EQ(RecordedArguments(), std::string(url) + "\n");
}


TEST_F(RosterTest, UnusableArgumentsAndMissingOpenerFail)
{
	const char* option[] = {"--help"};
	EXPECT_EQ(be_roster->Launch("text/html", 1, option), B_BAD_VALUE);
	EXPECT_EQ(be_roster->Launch("text/html", 0, NULL), B_BAD_VALUE);

	BPrivate::set_document_opener((fFolder + "/no-such-opener").c_str());
	const char* url[] = {"http://example.com/"};
	EXPECT_EQ(be_roster->Launch("text/html", 1, url),
		B_LAUNCH_FAILED_APP_NOT_FOUND);
}

}
