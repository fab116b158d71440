#include "AppPrivacy.h"

#include <Files.h>
#include <PathFunctions.h>

TAppPrivacy::TAppPrivacy()
	:
	fState(TS_Stopped)
{
}


void
TAppPrivacy::AnaExePath(const char* argv0)
{
	fExeName = extract_file_name(argv0 != nullptr ? argv0 : "");
	std::string image = pelkan::executable_path();
	fExePath = extract_file_path(image.empty() && argv0 != nullptr
		? std::string(argv0) : image);
}
