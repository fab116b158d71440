#ifndef _RESOURCE_TABLE_H
#define _RESOURCE_TABLE_H

// The layout of the resources a build step compiles into an executable
// (cmake/EmbedResources.cmake). The table is constant-initialised, so it is
// complete before any static constructor runs.

#include <cstddef>
#include <cstdint>

struct vantu_resource {
	uint32_t type;
	int32_t id;
	// NULL for a resource without a name.
	const char* name;
	const void* data;
	size_t size;
};

struct vantu_resource_table {
	const vantu_resource* entries;
	size_t count;
};

// Defined by the generated source of an executable with resources.
extern "C" const vantu_resource_table vantu_executable_resource_table;

#endif
