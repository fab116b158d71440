#ifndef STORAGE_TEST_SUPPORT_H
#define STORAGE_TEST_SUPPORT_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <sys/xattr.h>

// A fresh folder under the temp folder, removed with everything in it.
class TempFolder {
public:
	TempFolder()
	{
		std::string pattern = (std::filesystem::temp_directory_path()
			/ "storage-test-XXXXXX").string();
		char* created = mkdtemp(pattern.data());
		// Canonical, so that paths compare with what the layer reports.
		fPath = created != nullptr
			? std::filesystem::canonical(created).string() : std::string();
	}

	~TempFolder()
	{
		std::error_code ignored;
		if (!fPath.empty()) {
			// Tests may leave read-only folders behind.
			std::filesystem::permissions(fPath,
				std::filesystem::perms::owner_all,
				std::filesystem::perm_options::add, ignored);
			std::filesystem::remove_all(fPath, ignored);
		}
	}

	const std::string& Path() const { return fPath; }
	std::string operator/(const std::string& name) const
	{
		return fPath + "/" + name;
	}

private:
	std::string fPath;
};


inline void write_file(const std::string& path, const std::string& content)
{
	std::ofstream(path, std::ios::binary) << content;
}


inline std::string read_file(const std::string& path)
{
	std::ifstream file(path, std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(file),
		std::istreambuf_iterator<char>());
}


// Whether files in `folder` take user extended attributes (tmpfs before
// Linux 6.6 and some network file systems do not).
inline bool xattrs_supported(const std::string& folder)
{
	std::string probe = folder + "/.xattr-probe";
	write_file(probe, "");
	bool supported = setxattr(probe.c_str(), "user.probe", "1", 1, 0) == 0;
	std::filesystem::remove(probe);
	return supported;
}


// Sets an environment variable for the lifetime of the object.
class ScopedEnvironment {
public:
	ScopedEnvironment(const char* name, const char* value)
		:
		fName(name)
	{
		if (const char* old = getenv(name))
			fOld = old;
		if (value != nullptr)
			setenv(name, value, 1);
		else
			unsetenv(name);
	}

	~ScopedEnvironment()
	{
		if (fOld)
			setenv(fName.c_str(), fOld->c_str(), 1);
		else
			unsetenv(fName.c_str());
	}

private:
	std::string fName;
	std::optional<std::string> fOld;
};

#endif
