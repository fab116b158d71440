#ifndef _RESOURCES_H
#define _RESOURCES_H

#include <SupportDefs.h>

struct vantu_resource_table;

// Typed data identified by an id and, optionally, a name. On this system the
// resources are those compiled into the executable (see
// executable_resources()); a default-constructed object holds none. Data
// returned belongs to the object.
class BResources {
public:
							BResources();
	virtual					~BResources();

			const void*		LoadResource(type_code type, int32 id,
								size_t* outSize);
			const void*		LoadResource(type_code type, const char* name,
								size_t* outSize);

			bool			HasResource(type_code type, int32 id);
			bool			HasResource(type_code type, const char* name);

			bool			GetResourceInfo(int32 byIndex,
								type_code* typeFound, int32* idFound,
								const char** nameFound, size_t* lengthFound);

private:
	friend BResources* executable_resources();

							BResources(const vantu_resource_table* table);
							BResources(const BResources&) = delete;
			BResources&		operator=(const BResources&) = delete;

			const vantu_resource_table* fTable;
};

#endif
