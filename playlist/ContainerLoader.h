#ifndef CONTAINER_LOADER_H
#define CONTAINER_LOADER_H

// The contract between the program and every container loader add-on.
//
// An add-on is a shared library in the folder "Loader" beside the program.
// It exports one function under the plain C name make_container_loader (the
// declaration below gives it default visibility; build everything else of
// the add-on with hidden visibility). The program calls it once per
// registry build with the add-on's full path and its image id; the function
// returns a loader made with the add-on's operator new, or NULL. The program
// owns the loader and deletes it through the virtual destructor, so program
// and add-on must share one C++ runtime: build with the same compiler and
// standard library, linked dynamically (never -static-libstdc++).
//
// Everything an add-on needs from this interface is defined in this header;
// the program exports no symbols, so an add-on may call nothing of the
// program or of its platform layer. The entry_ref it is handed is plain data:
// loader_entry_path() turns it into a path for POSIX or the standard library.
//
// Only loaders whose SpecificationNumber() is 2 are registered. All calls
// come from the one thread that owns the registry, never concurrently; a
// loader must not throw. docs/loader-addons.md has the details.

#include <list>
#include <string>

#include <EntryRef.h>
#include <SupportDefs.h>

#include "SupportFmt.h"

// The interface version this header describes.
const int32 kContainerLoaderSpecification = 2;

class TContainerLoader {
public:
	explicit TContainerLoader(const std::string& path) : fPath(path) {}

	// The slot order of these operations is fixed: loaders built against an
	// older copy of this header keep working.
	virtual int32 SpecificationNumber() const
	{
		return kContainerLoaderSpecification;
	}
	virtual ~TContainerLoader() {}
	// Whether the entry is a container of this loader's format; `kind` may be
	// written even when the answer is false.
	virtual bool IsLoadable(const entry_ref& ref, TSupportFmt* kind) const = 0;
	// Appends the container's entries in container order, as written in it:
	// 0 on success, -1 when the container cannot be opened.
	virtual int32 Load(const entry_ref& ref, std::list<std::string>* paths) = 0;
	virtual std::string Name() const = 0;
	virtual std::string Version() const = 0;
	virtual std::string Copyright() const = 0;
	// May hold line breaks.
	virtual std::string Description() const = 0;

	// The add-on file this loader was made from; empty for a built-in one.
	std::string Path() const { return fPath; }

private:
	std::string fPath;
};

// The absolute path of the entry a reference names.
inline std::string
loader_entry_path(const entry_ref& ref)
{
	if (ref.name == NULL || ref.directory_path.empty())
		return std::string();
	if (ref.name[0] == '.' && ref.name[1] == '\0')
		return ref.directory_path;
	if (ref.directory_path.back() == '/')
		return ref.directory_path + ref.name;
	return ref.directory_path + "/" + ref.name;
}

#define CONTAINER_LOADER_SYMBOL "make_container_loader"

typedef TContainerLoader* (*make_container_loader_func)(const std::string& path,
	image_id image);

extern "C" __attribute__((visibility("default"))) TContainerLoader*
make_container_loader(const std::string& path, image_id image);

#endif
