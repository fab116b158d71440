#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include <Entry.h>
#include <Files.h>
#include <InterfaceKit.h>
#include <Messenger.h>
#include <Path.h>

#include "AppGlobals.h"
#include "CommandLine.h"
#include "FileHandover.h"
#include "FirstStart.h"
#include "GlobalSettings.h"
#include "SessionEnd.h"
#include "SingleInstance.h"
#include "VantuApp.h"
#include "VantuWin.h"

namespace {

std::string
working_folder()
{
	char buffer[4096];
	return getcwd(buffer, sizeof(buffer)) != nullptr ? buffer : "/";
}


// Where the changed lists go when the session ends without a question.
std::string
recovery_folder()
{
	BEntry entry;
	if (!pelkan::get_entry("Recovered", &entry, pelkan::BaseDir_Settings,
			kSettingsFolderName)) {
		return "";
	}
	BPath path;
	return entry.GetPath(&path) == B_OK ? path.Path() : "";
}

}


int
main(int argc, char** argv)
{
	const TCommandLine commandLine
		= TCommandLine::Parse(argc, argv, working_folder(), std::cout, std::cerr);
	if (commandLine.exitNow)
		return commandLine.exitStatus;

	gAppPrivacy.AnaExePath(argv[0]);

	// A second start hands its files over before it opens anything, so that
	// it never loads or writes the settings the first one works with.
	TSingleInstance instance(
		TSingleInstance::SocketPath(TSingleInstance::CurrentDisplay()));
	switch (instance.Claim(commandLine.files)) {
		case TSingleInstance::TClaim::kHandedOver:
			if (commandLine.resetPreferences) {
				std::cerr << "VantuMIDI: --reset-preferences ignored: Vantu MIDI is"
					" running already; quit it first\n";
			}
			return 0;
		case TSingleInstance::TClaim::kRefused:
			std::cerr << "VantuMIDI: Vantu MIDI is running but does not answer\n";
			return 1;
		case TSingleInstance::TClaim::kFirst:
		case TSingleInstance::TClaim::kUnavailable:
			break;
	}

	// Qt sees none of the program's arguments: a file named like one of its
	// options must not change how it starts. Without a display it ends the
	// process here, before any setting is read or written.
	int kitArgc = 1;
	BPrivate::init_interface_kit(kitArgc, argv);

	const bool firstStart = is_first_start();
	if (commandLine.resetPreferences)
		save_pref(true);
	else
		load_global();

	TVantuApp* application = new TVantuApp;
	TVantuWin* window = application->MainWindow();
	// Both live in the main window's looper, where the files go and where
	// the lists are; the window drops them when it goes.
	TFileHandover handover(window);
	TSessionEnd sessionEnd(window, recovery_folder());
	if (window->Lock()) {
		window->AddHandler(&handover);
		window->AddHandler(&sessionEnd);
		window->Unlock();
	}
	sessionEnd.Watch();
	std::vector<std::string> files = commandLine.files;
	if (files.empty() && firstStart)
		files = demo_songs(gAppPrivacy.ExePath());
	if (!files.empty()) {
		BMessage request = TFileHandover::Request(files);
		BMessenger(&handover).SendMessage(&request);
	}
	// Handovers queue behind this start's own files.
	instance.Serve(BMessenger(&handover));

	application->Run();

	instance.StopServing();
	delete application;
	// The windows stored their part while closing; a session that ended
	// without a question kept the changed main list as a recovered copy.
	if (!sessionEnd.RecoveredMainList().empty())
		gExitState.mainListFile = sessionEnd.RecoveredMainList();
	save_exit_state();
	BPrivate::shutdown_interface_kit();
	return 0;
}
