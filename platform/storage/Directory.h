#ifndef _DIRECTORY_H
#define _DIRECTORY_H

#include <string>
#include <vector>

#include <Node.h>

class BEntry;
class BFile;

// An open folder. Its listing is read once, when the folder is set or
// rewound, and handed out sorted by name in byte order, as the original file
// system did; "." and ".." are never part of it.
class BDirectory : public BNode {
public:
							BDirectory();
							BDirectory(const BDirectory& dir);
							BDirectory(const entry_ref* ref);
							BDirectory(const BEntry* entry);
							BDirectory(const char* path);
							BDirectory(const BDirectory* dir, const char* path);
	virtual					~BDirectory();

			status_t		SetTo(const entry_ref* ref);
			status_t		SetTo(const BEntry* entry);
			status_t		SetTo(const char* path);
			status_t		SetTo(const BDirectory* dir, const char* path);
	virtual	void			Unset();

			status_t		GetEntry(BEntry* entry) const;
			bool			IsRootDirectory() const;

			// `path` is relative to this folder, or absolute.
			status_t		FindEntry(const char* path, BEntry* entry,
								bool traverse = false) const;
			bool			Contains(const char* path,
								int32 nodeFlags = B_ANY_NODE) const;
			bool			Contains(const BEntry* entry,
								int32 nodeFlags = B_ANY_NODE) const;

			// B_ENTRY_NOT_FOUND after the last entry.
			status_t		GetNextEntry(BEntry* entry, bool traverse = false);
			status_t		GetNextRef(entry_ref* ref);
			status_t		Rewind();
			// Counts a fresh listing and rewinds, as the original did.
			int32			CountEntries();

			status_t		CreateDirectory(const char* path,
								BDirectory* dir);
			status_t		CreateFile(const char* path, BFile* file,
								bool failIfExists = false);

			BDirectory&		operator=(const BDirectory& dir);

private:
			status_t		_ReadListing();
			std::string		_PathOf(const char* path) const;

			dev_t			fDevice;
			ino_t			fNode;
			std::vector<std::string> fNames;
			size_t			fNextIndex;
};

// Creates the folder and every missing folder above it (mode masked by the
// umask). An existing folder is success; a file in the way is an error.
status_t create_directory(const char* path, mode_t mode);

#endif
