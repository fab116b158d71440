#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <Alert.h>
#include <Application.h>
#include <Button.h>
#include <InterfaceDefs.h>
#include <TextView.h>
#include <Window.h>

#include "../platform/kernel/Watchdog.h"
#include "Files.h"
#include "GuiTest.h"
#include "Launch.h"
#include "RosterPrivate.h"

namespace {

const uint32 kMsgLook = 'look';


// What an alert said.
struct AlertSeen {
	int32 count = 0;
	std::string text;
	alert_type type = B_EMPTY_ALERT;
	std::string button;
	bool secondButton = false;
};


// Answers each alert that comes up with the key given, writing down what it
// said. It looks while a modal alert runs its loop.
class AlertAnswerer : public BWindow {
public:
	explicit AlertAnswerer(const BMessage& key)
		: BWindow(BRect(0, 0, 19, 19), "answerer", B_TITLED_WINDOW, 0), fKey(key) {}

	void MessageReceived(BMessage* message) override
	{
		if (message->what != kMsgLook) {
			BWindow::MessageReceived(message);
			return;
		}
		for (int32 i = 0; BWindow* window = be_app->WindowAt(i); i++) {
			BAlert* alert = dynamic_cast<BAlert*>(window);
			if (alert == NULL || alert == fAnswered || !alert->Lock())
				continue;
			fSeen.count++;
			fSeen.text = alert->TextView()->Text();
			fSeen.type = alert->Type();
			fSeen.button = alert->ButtonAt(0) != NULL ? alert->ButtonAt(0)->Label() : "";
			fSeen.secondButton = alert->ButtonAt(1) != NULL;
			alert->Unlock();
			fAnswered = alert;
			alert->PostMessage(&fKey, alert);
		}
		PostMessage(kMsgLook);
	}

	AlertSeen fSeen;

private:
	BMessage fKey;
	BAlert* fAnswered = nullptr;
};


// Launches go to a recorder script instead of the desktop: it writes its
// arguments, one per line, next to itself.
class LaunchTest : public GuiTest {
protected:
	void SetUp() override
	{
		GuiTest::SetUp();
		const char* tmp = getenv("TMPDIR");
		fFolder = std::string(tmp != NULL ? tmp : "/tmp") + "/launch-XXXXXX";
		ASSERT_NE(nullptr, mkdtemp(fFolder.data()));
		fRecorder = fFolder + "/opener";
		std::ofstream script(fRecorder);
		script << "#!/bin/sh\n"
			"printf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n";
		script.close();
		ASSERT_EQ(0, chmod(fRecorder.c_str(), 0755));
		BPrivate::set_document_opener(fRecorder.c_str());
		fDocument = fFolder + "/help.html";
		std::ofstream(fDocument) << "<p>help</p>";
	}

	void TearDown() override
	{
		BPrivate::set_document_opener(NULL);
		std::filesystem::remove_all(fFolder);
		GuiTest::TearDown();
	}

	// What the recorder was given since the last call; the wait is bounded.
	std::string TakeRecorded()
	{
		const std::string path = fRecorder + ".args";
		if (!eventually([&] { return access(path.c_str(), F_OK) == 0; }))
			return "(opener never ran)";
		std::ifstream file(path);
		std::stringstream text;
		text << file.rdbuf();
		unlink(path.c_str());
		return text.str();
	}

	// Runs the call with an answerer for the alerts it brings up.
	AlertSeen Answering(const std::function<void()>& call)
	{
		AlertAnswerer* answerer = new AlertAnswerer(KeyMessage(B_ENTER, 0));
		answerer->Show();
		answerer->PostMessage(kMsgLook);
		call();
		answerer->Lock();
		const AlertSeen seen = answerer->fSeen;
		answerer->Quit();
		return seen;
	}

	std::string fFolder;
	std::string fRecorder;
	std::string fDocument;
};


std::string
help_path_in_executable_folder(const char* name)
{
	return (std::filesystem::path(pelkan::executable_path()).parent_path() / name).string();
}


TEST_F(LaunchTest, AddressesUpTo255BytesGoToTheBrowser)
{
	const std::string prefix = "https://example.org/";
	std::string fits = prefix;
	while (fits.size() + 3 <= 254)
		fits += "あ";
	fits.resize(255, 'x');
	const std::string tooLong = fits + "x";

	struct Case {
		const char* name;
		const char* url;
		status_t expected;
	};
	const Case cases[] = {
		{"an address with a query", "https://example.org/midi?a=1&b=two%20words", B_OK},
		{"255 bytes, most of them in multi-byte characters", fits.c_str(), B_OK},
		{"256 bytes are refused, not cut short", tooLong.c_str(), B_BAD_VALUE},
		{"an empty address", "", B_BAD_VALUE},
		{"no address", NULL, B_BAD_VALUE},
		{"an address that reads as an option", "--version", B_BAD_VALUE},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		EXPECT_EQ(c.expected, pelkan::open_url(c.url));
		if (c.expected == B_OK) {
			EXPECT_EQ(std::string(c.url) + "\n", TakeRecorded());
		}
	}
}


TEST_F(LaunchTest, HelpDocumentIsOpenedByItsPath)
{
	std::string path;
	EXPECT_EQ(B_OK, pelkan::open_help_document(fDocument.c_str(), &path));
	EXPECT_EQ(fDocument, path);
	EXPECT_EQ(fDocument + "\n", TakeRecorded());

	const char* missing = "no-such-help-h18.html";
	path.clear();
	EXPECT_EQ(B_ENTRY_NOT_FOUND, pelkan::open_help_document(missing, &path));
	EXPECT_EQ(help_path_in_executable_folder(missing), path)
		<< "a relative name lies in the executable's folder";
}


TEST_F(LaunchTest, FailuresAreReportedWithAWarning)
{
	const std::string tooLong = "https://example.org/" + std::string(236, 'x');
	const std::string missingOpener = fFolder + "/no-opener";
	const char* missingHelp = "no-such-help-h18.html";

	struct Case {
		const char* name;
		std::function<bool()> call;
		const char* opener;		// NULL: the recorder
		bool expected;
		std::string report;		// the alert's text; empty: no alert
	};
	const Case cases[] = {
		{"an address opened",
			[] { return pelkan::show_url("https://example.org/", "Web", "Cannot open "); },
			NULL, true, ""},
		{"an address too long",
			[&] { return pelkan::show_url(tooLong.c_str(), "Web", "Cannot open "); },
			NULL, false, "Web\n\nCannot open " + tooLong},
		{"no browser to open it",
			[] { return pelkan::show_url("https://example.org/", "Web", "Cannot open "); },
			missingOpener.c_str(), false, "Web\n\nCannot open https://example.org/"},
		{"a help document opened",
			[&] { return pelkan::show_help(fDocument.c_str(), "Help", "Missing: "); },
			NULL, true, ""},
		{"a help document missing",
			[&] { return pelkan::show_help(missingHelp, "Help", "Missing: "); },
			NULL, false, "Help\n\nMissing: " + help_path_in_executable_folder(missingHelp)},
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		BPrivate::set_document_opener(c.opener != NULL ? c.opener : fRecorder.c_str());
		bool result = !c.expected;
		const AlertSeen seen = Answering([&] { result = c.call(); });
		EXPECT_EQ(c.expected, result);
		if (c.report.empty()) {
			EXPECT_EQ(0, seen.count);
			EXPECT_NE("(opener never ran)", TakeRecorded());
			continue;
		}
		EXPECT_EQ(1, seen.count);
		EXPECT_EQ(c.report, seen.text);
		EXPECT_EQ(B_WARNING_ALERT, seen.type);
		EXPECT_EQ("ＯＫ", seen.button);
		EXPECT_FALSE(seen.secondButton);
	}
}

}
