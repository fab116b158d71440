#include <Resources.h>

#include <cstring>

#include <ExecutableResources.h>
#include <ResourceTable.h>

// Weak, so that executables without resources link; their table is null.
extern "C" const vantu_resource_table vantu_executable_resource_table
	__attribute__((weak));

namespace {

const vantu_resource_table kNoResources = {nullptr, 0};


const vantu_resource* find_resource(const vantu_resource_table* table,
	type_code type, int32 id, const char* name)
{
	for (size_t i = 0; i < table->count; i++) {
		const vantu_resource& entry = table->entries[i];
		if (entry.type != type)
			continue;
		if (name == nullptr ? entry.id == id
				: entry.name != nullptr && strcmp(entry.name, name) == 0) {
			return &entry;
		}
	}
	return nullptr;
}


const void* load(const vantu_resource* entry, size_t* outSize)
{
	if (entry == nullptr)
		return nullptr;
	if (outSize != nullptr)
		*outSize = entry->size;
	return entry->data;
}

} // namespace


BResources::BResources()
	:
	fTable(&kNoResources)
{
}


BResources::BResources(const vantu_resource_table* table)
	:
	fTable(table != nullptr ? table : &kNoResources)
{
}


BResources::~BResources()
{
}


const void*
BResources::LoadResource(type_code type, int32 id, size_t* outSize)
{
	return load(find_resource(fTable, type, id, nullptr), outSize);
}


const void*
BResources::LoadResource(type_code type, const char* name, size_t* outSize)
{
	if (name == nullptr)
		return nullptr;
	return load(find_resource(fTable, type, 0, name), outSize);
}


bool
BResources::HasResource(type_code type, int32 id)
{
	return find_resource(fTable, type, id, nullptr) != nullptr;
}


bool
BResources::HasResource(type_code type, const char* name)
{
	return name != nullptr && find_resource(fTable, type, 0, name) != nullptr;
}


bool
BResources::GetResourceInfo(int32 byIndex, type_code* typeFound,
	int32* idFound, const char** nameFound, size_t* lengthFound)
{
	if (byIndex < 0 || (size_t)byIndex >= fTable->count)
		return false;
	const vantu_resource& entry = fTable->entries[byIndex];
	if (typeFound != nullptr)
		*typeFound = entry.type;
	if (idFound != nullptr)
		*idFound = entry.id;
	if (nameFound != nullptr)
		*nameFound = entry.name;
	if (lengthFound != nullptr)
		*lengthFound = entry.size;
	return true;
}


BResources*
executable_resources()
{
	// Never destroyed: static destructors may still read their texts.
	static BResources* resources
		= new BResources(&vantu_executable_resource_table);
	return resources;
}
