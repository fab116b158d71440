#include "CommandLine.h"

#include <filesystem>
#include <ostream>
#include <string_view>

#include <AddOnFolders.h>
#include <ContainerLoaderRegistry.h>
#include <Files.h>
#include <PathFunctions.h>

#include "AppConstants.h"
#include "LanguageFiles.h"

namespace {

// Exit status of a command line the program does not understand, as the
// usual command-line tools have it.
const int kUsageStatus = 2;


void
print_usage(std::ostream& stream, const std::string& program)
{
	stream << "Usage: " << program << " [OPTION]... [FILE]...\n"
		"Plays Standard MIDI Files and playlists. The files, folders and lists named\n"
		"are added to the playlist and the first song added plays; when Vantu MIDI\n"
		"is running already, they are handed to it.\n"
		"\n"
		"      --reset-preferences  start with the default preferences, written over\n"
		"                           the saved ones\n"
		"  -h, --help               show this help and exit\n"
		"      --version            show the version and exit\n"
		"      --                   take every later argument as a file\n"
		"\n"
		"Language files and loader add-ons are read from these folders:\n";
	const std::string programFolder = extract_file_path(pelkan::executable_path());
	for (const char* kind : {kLanguageFolderName, kLoaderFolderName}) {
		for (const std::string& folder : add_on_folders(programFolder, kind))
			stream << "  " << folder << "\n";
	}
}


std::string
program_name(int argc, const char* const* argv)
{
	if (argc < 1 || argv[0] == nullptr || argv[0][0] == '\0')
		return "VantuMIDI";
	return std::filesystem::path(argv[0]).filename().string();
}

}


TCommandLine
TCommandLine::Parse(int argc, const char* const* argv, const std::string& workingDir,
	std::ostream& out, std::ostream& err)
{
	TCommandLine result;
	const std::string program = program_name(argc, argv);
	bool optionsEnded = false;
	for (int i = 1; i < argc; i++) {
		const std::string_view argument = argv[i];
		// A lone "-" is a name, as with the usual tools.
		const bool option = !optionsEnded && argument.size() > 1 && argument[0] == '-';
		if (option) {
			if (argument == "--") {
				optionsEnded = true;
			} else if (argument == "--help" || argument == "-h") {
				print_usage(out, program);
				result.exitNow = true;
				result.exitStatus = 0;
				return result;
			} else if (argument == "--version") {
				out << gAppName << " " << gAppVer << "\n";
				result.exitNow = true;
				result.exitStatus = 0;
				return result;
			} else if (argument == "--reset-preferences") {
				result.resetPreferences = true;
			} else {
				err << program << ": unknown option '" << argument << "'\n";
				print_usage(err, program);
				result.exitNow = true;
				result.exitStatus = kUsageStatus;
				return result;
			}
			continue;
		}
		if (argument.empty())
			continue;
		const std::filesystem::path path
			= (std::filesystem::path(workingDir) / argument).lexically_normal();
		std::error_code error;
		if (!std::filesystem::exists(path, error)) {
			err << program << ": " << argument << ": no such file or folder; skipped\n";
			continue;
		}
		std::string absolute = path.string();
		// "dir/." normalises to "dir/"; the lists know folders without it.
		if (absolute.size() > 1 && absolute.back() == '/')
			absolute.pop_back();
		result.files.push_back(absolute);
	}
	return result;
}
