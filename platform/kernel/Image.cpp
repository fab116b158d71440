#include <image.h>

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include "private/AddOnFile.h"

using BPrivate::AddOnFileID;

namespace {

// Open add-ons by id. Never destroyed: add-on code may still run during exit.
struct ImageRegistry {
	std::mutex lock;
	std::map<image_id, void*> handles;
	image_id nextID = 1;
};

ImageRegistry& images()
{
	static ImageRegistry* registry = new ImageRegistry;
	return *registry;
}

// The names add-ons were opened under, with the file each one mapped.
// Never destroyed, like the registry above.
struct ImageNames {
	std::recursive_mutex lock;
	std::map<std::string, AddOnFileID> files;
};

ImageNames& image_names()
{
	static ImageNames* names = new ImageNames;
	return *names;
}

// Whether dlopen(name) gives an image of `file`. The loader looks for an
// open image by name first, then by the file's device and inode, and in the
// second case adds the name to that image.
bool opens_file(const std::string& name, const AddOnFileID& file, const ImageNames& names)
{
	auto known = names.files.find(name);
	if (known != names.files.end() && known->second == file)
		return true;
	void* image = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD);
	if (image == NULL)
		return true;
	// An image open under a name of ours for another file, or opened under
	// this name by someone else, maps a file we cannot vouch for.
	link_map* map = NULL;
	const bool foundByFile = known == names.files.end()
		&& dlinfo(image, RTLD_DI_LINKMAP, &map) == 0 && name != map->l_name;
	dlclose(image);
	return foundByFile;
}

// The dynamic loader hands back the image already open under a name without
// looking at the file again, so an add-on replaced on disk (a new file
// renamed over the old one) would never be loaded before a restart. A
// replaced file is therefore opened under another name: the path with "./"
// inserted before the file name, once more for every name in use. Such a
// name leads to the same file, keeps the folder the add-on's $ORIGIN refers
// to, and shows the real path in dladdr and in backtraces. A descriptor's
// name (/proc/self/fd/N) would not do: the number is reused once the
// descriptor is closed, so a later file could be matched to an earlier
// image by name again, and it needs /proc mounted. The old image stays open
// for the ids that still use it; an unchanged file keeps its name and image.
//
// The search ends: only names recorded for other files, or opened by
// someone else under that very name, are passed over.
//
// A bare file name is made relative to the working directory, where it was
// checked, instead of being searched for in the library path.
void* open_image(const char* path, const AddOnFileID& file)
{
	const std::string given = strchr(path, '/') != NULL ? path : std::string("./") + path;
	const size_t leafStart = given.rfind('/') + 1;
	std::string folder = given.substr(0, leafStart);
	const std::string leaf = given.substr(leafStart);

	ImageNames& names = image_names();
	// Recursive: an add-on's initialisation may load another add-on.
	std::lock_guard<std::recursive_mutex> lock(names.lock);
	std::string name = given;
	while (!opens_file(name, file, names)) {
		folder += "./";
		name = folder + leaf;
	}
	// Without RTLD_GLOBAL, two add-ons exporting the same entry point (every
	// loader does) cannot see each other's symbols.
	void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
	if (handle != NULL)
		names.files[name] = file;
	return handle;
}

bool matches_type(unsigned char elfType, int32 symbolType)
{
	switch (symbolType) {
		case B_SYMBOL_TYPE_TEXT:
			return elfType == STT_FUNC || elfType == STT_GNU_IFUNC;
		case B_SYMBOL_TYPE_DATA:
			return elfType == STT_OBJECT || elfType == STT_COMMON;
		default:
			return true;
	}
}

// dlsym also searches the libraries the add-on depends on; a symbol counts
// only when the add-on itself defines it.
bool is_defined_in(void* handle, void* address, int32 symbolType)
{
	link_map* image = NULL;
	if (dlinfo(handle, RTLD_DI_LINKMAP, &image) != 0)
		return false;
	Dl_info info;
	link_map* owner = NULL;
	if (dladdr1(address, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0
		|| owner != image)
		return false;
	ElfW(Sym)* symbol = NULL;
	if (dladdr1(address, &info, reinterpret_cast<void**>(&symbol), RTLD_DL_SYMENT) == 0
		|| symbol == NULL)
		return symbolType == B_SYMBOL_TYPE_ANY;
	return matches_type(ELF64_ST_TYPE(symbol->st_info), symbolType);
}

}	// namespace

image_id load_add_on(const char* path)
{
	if (path == NULL || path[0] == '\0')
		return B_BAD_VALUE;
	AddOnFileID file;
	status_t status = BPrivate::check_add_on_file(path, &file);
	if (status != B_OK)
		return status;
	void* handle = open_image(path, file);
	if (handle == NULL)
		return B_NOT_AN_EXECUTABLE;

	ImageRegistry& registry = images();
	std::lock_guard<std::mutex> lock(registry.lock);
	image_id id = registry.nextID++;
	registry.handles.emplace(id, handle);
	return id;
}

status_t unload_add_on(image_id image)
{
	void* handle;
	{
		ImageRegistry& registry = images();
		std::lock_guard<std::mutex> lock(registry.lock);
		auto found = registry.handles.find(image);
		if (found == registry.handles.end())
			return B_BAD_IMAGE_ID;
		handle = found->second;
		registry.handles.erase(found);
	}
	return dlclose(handle) == 0 ? B_OK : B_ERROR;
}

status_t get_image_symbol(image_id image, const char* name, int32 symbolType,
	void** _address)
{
	if (name == NULL || _address == NULL)
		return B_BAD_VALUE;
	if (symbolType != B_SYMBOL_TYPE_TEXT && symbolType != B_SYMBOL_TYPE_DATA
		&& symbolType != B_SYMBOL_TYPE_ANY)
		return B_BAD_VALUE;
	// Held throughout, so that the add-on cannot be unloaded meanwhile.
	ImageRegistry& registry = images();
	std::lock_guard<std::mutex> lock(registry.lock);
	auto found = registry.handles.find(image);
	if (found == registry.handles.end())
		return B_BAD_IMAGE_ID;
	void* address = dlsym(found->second, name);
	if (address == NULL || !is_defined_in(found->second, address, symbolType))
		return B_MISSING_SYMBOL;
	*_address = address;
	return B_OK;
}
