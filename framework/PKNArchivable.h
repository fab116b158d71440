#ifndef PKN_ARCHIVABLE_H
#define PKN_ARCHIVABLE_H

#include <string>

#include <Message.h>
#include <SupportDefs.h>

class BEntry;

namespace pelkan {

// Base of every settings record stored as one flattened message in a file of
// its own. A record adds its fields in Archive and reads them back in
// Unarchive through the defaulting finders, so a field missing from an older
// or newer file simply keeps its default.
class TArchivable {
public:
	virtual ~TArchivable();

	virtual bool Archive(BMessage* archive) const;
	virtual bool Unarchive(const BMessage& archive);

	// Reads and unarchives the file; false when it cannot be opened or
	// unflattened (no field changes then) or when Unarchive reports false.
	bool Load(const BEntry& entry);
	// Archives into a fresh message and replaces the file with it atomically:
	// on any failure the previous file stays as it was.
	bool Save(const BEntry& entry) const;

	// Defaulting finders: the out value is written only on success; the
	// result is the platform status of the find.
	status_t FindBool(const BMessage& archive, const char* name, bool* value) const;
	status_t FindBool(const BMessage& archive, const char* name, int32 index,
		bool* value) const;
	status_t FindInt32(const BMessage& archive, const char* name, int32* value) const;
	status_t FindInt32(const BMessage& archive, const char* name, int32 index,
		int32* value) const;
	status_t FindInt64(const BMessage& archive, const char* name, int64* value) const;
	status_t FindInt64(const BMessage& archive, const char* name, int32 index,
		int64* value) const;
	status_t FindFloat(const BMessage& archive, const char* name, float* value) const;
	status_t FindFloat(const BMessage& archive, const char* name, int32 index,
		float* value) const;
	status_t FindDouble(const BMessage& archive, const char* name,
		double* value) const;
	status_t FindDouble(const BMessage& archive, const char* name, int32 index,
		double* value) const;
	status_t FindString(const BMessage& archive, const char* name,
		std::string* value) const;
	status_t FindString(const BMessage& archive, const char* name, int32 index,
		std::string* value) const;
	// The pointer is into the message's storage, valid while it lives.
	status_t FindString(const BMessage& archive, const char* name,
		const char** value) const;
	status_t FindString(const BMessage& archive, const char* name, int32 index,
		const char** value) const;
	status_t FindRect(const BMessage& archive, const char* name, BRect* value) const;
	status_t FindRect(const BMessage& archive, const char* name, int32 index,
		BRect* value) const;
	status_t FindRef(const BMessage& archive, const char* name,
		entry_ref* value) const;
	status_t FindRef(const BMessage& archive, const char* name, int32 index,
		entry_ref* value) const;
	status_t FindMessage(const BMessage& archive, const char* name,
		BMessage* value) const;
	status_t FindMessage(const BMessage& archive, const char* name, int32 index,
		BMessage* value) const;
	status_t FindData(const BMessage& archive, const char* name, type_code type,
		const void** data, ssize_t* size) const;
	status_t FindData(const BMessage& archive, const char* name, type_code type,
		int32 index, const void** data, ssize_t* size) const;
};

}

#endif
