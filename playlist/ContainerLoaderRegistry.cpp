#include "ContainerLoaderRegistry.h"

#include <Directory.h>
#include <Entry.h>
#include <Message.h>
#include <Path.h>
#include <image.h>

#include <ElfExports.h>
#include <Files.h>

#include "AddOnFolders.h"
#include "CLNative100.h"

const char* const kLoaderFolderName = "Loader";

namespace {

// A misbehaving add-on must not take the program down while it is being
// registered; it is left out instead.
std::unique_ptr<TContainerLoader>
make_loader(make_container_loader_func make, const std::string& path,
	image_id image)
{
	try {
		std::unique_ptr<TContainerLoader> loader(make(path, image));
		if (loader && loader->SpecificationNumber() == kContainerLoaderSpecification)
			return loader;
	} catch (...) {
	}
	return nullptr;
}


void
add_loader_from(const BEntry& entry, TContainerLoaderList* loaders)
{
	BPath path;
	if (entry.GetPath(&path) != B_OK)
		return;
	const image_id image = load_add_on(path.Path());
	if (image < 0)
		return;
	void* symbol = nullptr;
	if (get_image_symbol(image, CONTAINER_LOADER_SYMBOL, B_SYMBOL_TYPE_TEXT,
			&symbol) == B_OK) {
		std::unique_ptr<TContainerLoader> loader = make_loader(
			reinterpret_cast<make_container_loader_func>(symbol), path.Path(),
			image);
		if (loader) {
			loaders->push_back(std::move(loader));
			return;
		}
	}
	unload_add_on(image);
}

}	// namespace


void
load_container_loader(TContainerLoaderList* loaders, const std::string& exeFolder)
{
	loaders->push_back(std::make_unique<TCLNative100>());

	for (const std::string& path : add_on_folders(exeFolder, kLoaderFolderName)) {
		BDirectory folder(path.c_str());
		if (folder.InitCheck() != B_OK)
			continue;
		// Listed by reference so that a dangling link is skipped without
		// ending the listing.
		entry_ref ref;
		while (folder.GetNextRef(&ref) == B_OK) {
			BEntry entry(&ref, true);
			if (entry.InitCheck() == B_OK)
				add_loader_from(entry, loaders);
		}
	}
}


void
unload_container_loader(TContainerLoaderList* loaders)
{
	loaders->clear();
}


TContainerLoader*
find_container_loader(const TContainerLoaderList& loaders, const entry_ref& ref,
	TSupportFmt* kind)
{
	for (const std::unique_ptr<TContainerLoader>& loader : loaders) {
		TSupportFmt answer = *kind;
		bool loadable;
		try {
			loadable = loader->IsLoadable(ref, &answer);
		} catch (...) {
			loadable = false;
		}
		if (loadable) {
			*kind = answer;
			return loader.get();
		}
	}
	return nullptr;
}


bool
is_container_loader(const char* path)
{
	// Read, not loaded: loading a dropped file to test it would run the
	// constructors of whatever library it is.
	return pelkan::elf_exports_function(path, CONTAINER_LOADER_SYMBOL);
}


status_t
container_loader_dropped(const BMessage* message)
{
	entry_ref ref;
	status_t status = message->FindRef("refs", &ref);
	if (status != B_OK)
		return status;
	BPath source(&ref);
	status = source.InitCheck();
	if (status != B_OK)
		return status;
	const std::string folder = user_add_on_folder(kLoaderFolderName);
	if (folder.empty())
		return B_ENTRY_NOT_FOUND;
	status = create_directory(folder.c_str(), 0755);
	if (status != B_OK)
		return status;
	return pelkan::copy_file(source.Path(), (folder + "/" + ref.name).c_str());
}
