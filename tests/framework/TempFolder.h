#ifndef TEMP_FOLDER_H
#define TEMP_FOLDER_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempFolder {
public:
	TempFolder()
	{
		std::string pattern = (std::filesystem::temp_directory_path()
			/ "vantu-test-XXXXXX").string();
		fPath = mkdtemp(pattern.data());
	}
	~TempFolder()
	{
		std::error_code ignored;
		std::filesystem::remove_all(fPath, ignored);
	}
	TempFolder(const TempFolder&) = delete;
	TempFolder& operator=(const TempFolder&) = delete;

	const std::string& Path() const { return fPath; }
	std::string operator/(const std::string& name) const { return fPath + "/" + name; }

private:
	std::string fPath;
};

// Points the user's settings folder at a temporary folder for one test and
// puts the previous value back afterwards.
class SettingsHome {
public:
	SettingsHome()
	{
		const char* previous = getenv("XDG_CONFIG_HOME");
		fHadPrevious = previous != nullptr;
		if (fHadPrevious)
			fPrevious = previous;
		setenv("XDG_CONFIG_HOME", fFolder.Path().c_str(), 1);
	}
	~SettingsHome()
	{
		if (fHadPrevious)
			setenv("XDG_CONFIG_HOME", fPrevious.c_str(), 1);
		else
			unsetenv("XDG_CONFIG_HOME");
	}

	// The program's folder inside the settings folder.
	std::string Folder(const std::string& sub) const
	{
		return fFolder.Path() + "/PELKAN/" + sub;
	}

private:
	TempFolder fFolder;
	std::string fPrevious;
	bool fHadPrevious;
};

inline std::string
read_whole_file(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(in),
		std::istreambuf_iterator<char>());
}

inline void
write_whole_file(const std::string& path, const std::string& content)
{
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out << content;
}

#endif
