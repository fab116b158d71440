#include "StoragePrivate.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <map>
#include <pwd.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <EntryRef.h>

namespace BPrivate {

namespace {

// Bounded so a long session that visits many folders keeps a small table.
const size_t kMaxKnownNodes = 4096;
const int kMaxLinkDepth = 32;

struct KnownNodes {
	std::mutex lock;
	std::map<std::pair<dev_t, ino_t>, std::string> paths;
};

// Never destroyed: static destructors of other objects may still build refs.
KnownNodes& known_nodes()
{
	static KnownNodes* nodes = new KnownNodes;
	return *nodes;
}

std::string real_path(const std::string& path)
{
	char* resolved = realpath(path.c_str(), nullptr);
	if (resolved == nullptr)
		return std::string();
	std::string result(resolved);
	free(resolved);
	return result;
}

void split(const std::string& path, std::string* directory, std::string* leaf)
{
	size_t slash = path.rfind('/');
	*directory = slash == 0 ? std::string("/") : path.substr(0, slash);
	*leaf = path.substr(slash + 1);
}

} // namespace


std::string absolute_path(const char* path)
{
	if (path == nullptr || path[0] == '\0')
		return std::string();
	if (path[0] == '/')
		return path;
	char cwd[PATH_MAX];
	if (getcwd(cwd, sizeof(cwd)) == nullptr)
		return std::string();
	return join_path(cwd, path);
}


std::string clean_path(const std::string& absolutePath)
{
	std::vector<std::string> parts;
	size_t start = 0;
	while (start <= absolutePath.size()) {
		size_t end = absolutePath.find('/', start);
		if (end == std::string::npos)
			end = absolutePath.size();
		std::string part = absolutePath.substr(start, end - start);
		if (part == "..") {
			if (!parts.empty())
				parts.pop_back();
		} else if (!part.empty() && part != ".")
			parts.push_back(part);
		start = end + 1;
	}
	std::string result;
	for (const std::string& part : parts)
		result += "/" + part;
	return result.empty() ? std::string("/") : result;
}


std::string join_path(const std::string& directory, const std::string& leaf)
{
	if (!directory.empty() && directory.back() == '/')
		return directory + leaf;
	return directory + "/" + leaf;
}


status_t ref_for_absolute_path(const std::string& absolutePath, entry_ref* ref)
{
	if (absolutePath.empty() || absolutePath[0] != '/')
		return B_BAD_VALUE;

	std::string path = absolutePath;
	while (path.size() > 1 && path.back() == '/')
		path.pop_back();
	std::string directory;
	std::string leaf;
	split(path, &directory, &leaf);
	if (leaf.empty() || leaf == "." || leaf == "..") {
		// The entry is a folder named through "." or "..": find the real one.
		std::string resolved = real_path(path);
		path = resolved.empty() ? clean_path(path) : resolved;
		split(path, &directory, &leaf);
		// assign(): GCC 12 takes the short literal's copy for an overlap
		// (-Wrestrict) in optimised builds.
		if (leaf.empty())
			leaf.assign(1, '.');
	}

	std::string canonical = real_path(directory);
	struct stat st;
	bool found = !canonical.empty() && stat(canonical.c_str(), &st) == 0
		&& S_ISDIR(st.st_mode);
	ref->directory_path = found ? canonical : clean_path(directory);
	ref->device = found ? st.st_dev : (dev_t)-1;
	ref->directory = found ? st.st_ino : (ino_t)-1;
	ref->set_name(leaf.c_str());
	if (!found)
		return B_ENTRY_NOT_FOUND;
	remember_node_path(st.st_dev, st.st_ino, canonical);
	return B_OK;
}


status_t ref_for_absolute_path_traversed(const std::string& absolutePath,
	entry_ref* ref)
{
	status_t status = ref_for_absolute_path(absolutePath, ref);
	for (int depth = 0; status == B_OK; depth++) {
		std::string path = ref->path();
		struct stat st;
		if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
			return B_OK;
		if (depth == kMaxLinkDepth)
			return B_LINK_LIMIT;
		std::vector<char> target(st.st_size > 0 ? st.st_size + 1 : PATH_MAX);
		ssize_t length = readlink(path.c_str(), target.data(), target.size());
		if (length < 0)
			return status_from_errno(errno);
		std::string next(target.data(), std::min<size_t>(length, target.size()));
		if (next.empty() || next[0] != '/')
			next = join_path(ref->directory_path, next);
		status = ref_for_absolute_path(next, ref);
	}
	return status;
}


void remember_node_path(dev_t device, ino_t node, const std::string& path)
{
	KnownNodes& nodes = known_nodes();
	std::lock_guard<std::mutex> guard(nodes.lock);
	if (nodes.paths.size() >= kMaxKnownNodes)
		nodes.paths.clear();
	nodes.paths[{device, node}] = path;
}


std::string known_node_path(dev_t device, ino_t node)
{
	std::string path;
	{
		KnownNodes& nodes = known_nodes();
		std::lock_guard<std::mutex> guard(nodes.lock);
		auto found = nodes.paths.find({device, node});
		if (found == nodes.paths.end())
			return std::string();
		path = found->second;
	}
	struct stat st;
	if (lstat(path.c_str(), &st) != 0 || st.st_dev != device
		|| st.st_ino != node) {
		return std::string();
	}
	return path;
}

std::string home_directory()
{
	const char* home = getenv("HOME");
	if (home != nullptr && home[0] == '/')
		return home;
	long size = sysconf(_SC_GETPW_R_SIZE_MAX);
	std::vector<char> buffer(size > 0 ? size : 16384);
	passwd entry;
	passwd* found = nullptr;
	if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0
		&& found != nullptr && found->pw_dir != nullptr) {
		return found->pw_dir;
	}
	return std::string();
}


std::string xdg_directory(const char* variable, const char* fallback)
{
	const char* value = getenv(variable);
	if (value != nullptr && value[0] == '/')
		return value;
	std::string home = home_directory();
	return home.empty() ? home : join_path(home, fallback);
}

} // namespace BPrivate
