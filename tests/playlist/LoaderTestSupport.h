#ifndef LOADER_TEST_SUPPORT_H
#define LOADER_TEST_SUPPORT_H

#include <list>
#include <memory>
#include <string>

#include <Entry.h>
#include <image.h>

#include <ContainerLoader.h>

#include "TempFolder.h"

// A loader made by a real add-on library, as the registry makes it; the
// image stays loaded, as the registry's do.
inline std::unique_ptr<TContainerLoader>
make_loader_from(const char* file)
{
	const image_id image = load_add_on(file);
	if (image < 0)
		return nullptr;
	void* symbol = nullptr;
	if (get_image_symbol(image, CONTAINER_LOADER_SYMBOL, B_SYMBOL_TYPE_TEXT,
			&symbol) != B_OK)
		return nullptr;
	return std::unique_ptr<TContainerLoader>(
		reinterpret_cast<make_container_loader_func>(symbol)(file, image));
}

inline entry_ref
ref_for(const std::string& path)
{
	entry_ref ref;
	get_ref_for_path(path.c_str(), &ref);
	return ref;
}

// The kind stays this value when a loader does not write it.
const TSupportFmt kUnwrittenKind = static_cast<TSupportFmt>(-7);

struct Detection {
	bool loadable;
	TSupportFmt kind;
};

inline Detection
detect(const TContainerLoader& loader, const std::string& path)
{
	Detection result{false, kUnwrittenKind};
	result.loadable = loader.IsLoadable(ref_for(path), &result.kind);
	return result;
}

inline std::list<std::string>
load_entries(TContainerLoader& loader, const std::string& path, int32* status)
{
	std::list<std::string> entries;
	*status = loader.Load(ref_for(path), &entries);
	return entries;
}

#endif
