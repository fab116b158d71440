#ifndef CONTAINER_LOADER_REGISTRY_H
#define CONTAINER_LOADER_REGISTRY_H

#include <memory>
#include <string>
#include <vector>

#include <SupportDefs.h>

#include "ContainerLoader.h"

class BMessage;

// A playlist view's loaders in the order they are asked: the built-in one
// first, then the add-ons in the order the "Loader" folders list them (the
// program's own, then the user's, see AddOnFolders.h).
typedef std::vector<std::unique_ptr<TContainerLoader>> TContainerLoaderList;

// The folder of loader add-ons inside the program's folder.
extern const char* const kLoaderFolderName;

// Appends the built-in loader, then one loader from every add-on in the
// folder "Loader" of exeFolder (the program's folder, ending with "/") and in
// the user's "Loader" folder.
// Files that are not loadable add-ons are skipped in silence; the images of
// registered add-ons stay loaded until the program ends.
void load_container_loader(TContainerLoaderList* loaders,
	const std::string& exeFolder);
// Deletes every loader; the add-on images stay loaded.
void unload_container_loader(TContainerLoaderList* loaders);

// The first loader that claims the entry, with the kind it reported in
// `kind`; NULL when none does.
TContainerLoader* find_container_loader(const TContainerLoaderList& loaders,
	const entry_ref& ref, TSupportFmt* kind);
// Whether the file is a shared library for this process that exports the
// loader function. The file is only read: none of its code runs.
bool is_container_loader(const char* path);
// Copies the file of the first entry in the message's "refs" into the user's
// "Loader" folder (AddOnFolders.h), creating it when it is missing: the
// program's own folder is not written to, it is usually read-only once
// installed. A file of the same name is replaced by a new file, never
// rewritten in place: its old image may still be mapped.
status_t container_loader_dropped(const BMessage* message);

#endif
