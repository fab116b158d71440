#include <image.h>

#include <map>
#include <mutex>

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include "private/AddOnFile.h"

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
	status_t status = BPrivate::check_add_on_file(path);
	if (status != B_OK)
		return status;
	// Without RTLD_GLOBAL, two add-ons exporting the same entry point (every
	// loader does) cannot see each other's symbols.
	void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
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
