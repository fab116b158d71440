#include "Launch.h"

#include <cstring>

#include <Entry.h>
#include <Path.h>
#include <Roster.h>

#include "Alerts.h"
#include "Files.h"

namespace pelkan {

namespace {

const size_t kMaxUrlLength = 255;
// The full-width letters are the program's own button label.
const char* const kFailureButton = "ＯＫ";


status_t
launch_result(status_t status)
{
	return status == B_ALREADY_RUNNING ? B_OK : status;
}


bool
report(status_t status, const char* caption, const char* failureText, const std::string& what)
{
	if (status == B_OK)
		return true;
	std::string text = failureText != NULL ? failureText : "";
	text += what;
	show_msg(caption, text.c_str(), kFailureButton, B_WARNING_ALERT);
	return false;
}

}


status_t
open_help_document(const char* file, std::string* path)
{
	BEntry entry;
	if (!get_entry(file, &entry, BaseDir_Exe, NULL))
		return B_ENTRY_NOT_FOUND;
	BPath entryPath(&entry);
	if (path != NULL && entryPath.InitCheck() == B_OK)
		*path = entryPath.Path();
	entry_ref ref;
	status_t status = entry.GetRef(&ref);
	if (status != B_OK)
		return status;
	return launch_result(be_roster->Launch(&ref));
}


status_t
open_url(const char* url)
{
	if (url == NULL || url[0] == '\0' || strlen(url) > kMaxUrlLength)
		return B_BAD_VALUE;
	const char* args[1] = {url};
	return launch_result(be_roster->Launch("text/html", 1, args));
}


bool
show_help(const char* file, const char* caption, const char* failureText)
{
	std::string path = file != NULL ? file : "";
	const status_t status = open_help_document(file, &path);
	return report(status, caption, failureText, path);
}


bool
show_url(const char* url, const char* caption, const char* failureText)
{
	return report(open_url(url), caption, failureText, url != NULL ? url : "");
}

}
