#include <EntryRef.h>

#include <cstdlib>
#include <cstring>

#include "StoragePrivate.h"

entry_ref::entry_ref()
	:
	device((dev_t)-1),
	directory((ino_t)-1),
	name(nullptr)
{
}


entry_ref::entry_ref(dev_t device, ino_t directory, const char* name)
	:
	device(device),
	directory(directory),
	name(nullptr),
	directory_path(BPrivate::known_node_path(device, directory))
{
	set_name(name);
}


entry_ref::entry_ref(const entry_ref& other)
	:
	device(other.device),
	directory(other.directory),
	name(nullptr),
	directory_path(other.directory_path)
{
	set_name(other.name);
}


entry_ref&
entry_ref::operator=(const entry_ref& other)
{
	if (this != &other) {
		device = other.device;
		directory = other.directory;
		directory_path = other.directory_path;
		set_name(other.name);
	}
	return *this;
}


entry_ref::~entry_ref()
{
	free(name);
}


status_t
entry_ref::set_name(const char* newName)
{
	char* copy = nullptr;
	if (newName != nullptr) {
		copy = strdup(newName);
		if (copy == nullptr)
			return B_NO_MEMORY;
	}
	free(name);
	name = copy;
	return B_OK;
}


bool
entry_ref::operator==(const entry_ref& other) const
{
	bool sameName = name == other.name
		|| (name != nullptr && other.name != nullptr
			&& strcmp(name, other.name) == 0);
	if (!sameName)
		return false;
	if (device != (dev_t)-1 || other.device != (dev_t)-1)
		return device == other.device && directory == other.directory;
	return directory_path == other.directory_path;
}


bool
entry_ref::operator!=(const entry_ref& other) const
{
	return !(*this == other);
}


std::string
entry_ref::path() const
{
	if (name == nullptr || directory_path.empty())
		return std::string();
	if (strcmp(name, ".") == 0)
		return directory_path;
	return BPrivate::join_path(directory_path, name);
}


node_ref::node_ref()
	:
	device((dev_t)-1),
	node((ino_t)-1)
{
}


node_ref::node_ref(dev_t device, ino_t node)
	:
	device(device),
	node(node),
	path(BPrivate::known_node_path(device, node))
{
}


bool
node_ref::operator==(const node_ref& other) const
{
	return device == other.device && node == other.node;
}


bool
node_ref::operator!=(const node_ref& other) const
{
	return !(*this == other);
}
