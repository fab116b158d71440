#ifndef _ENTRY_H
#define _ENTRY_H

#include <sys/stat.h>

#include <EntryRef.h>
#include <StorageDefs.h>
#include <SupportDefs.h>

class BDirectory;
class BPath;

// A named place in the file system; the entry need not exist, but its folder
// must (else InitCheck() is B_ENTRY_NOT_FOUND, as on the original platform).
// Queries look at the entry itself: a symbolic link is reported as a link
// unless the entry was set with `traverse`, which resolves the whole chain.
class BEntry {
public:
							BEntry();
							BEntry(const BDirectory* dir, const char* path,
								bool traverse = false);
							BEntry(const entry_ref* ref, bool traverse = false);
							BEntry(const char* path, bool traverse = false);
							BEntry(const BEntry& entry);
	virtual					~BEntry();

			status_t		InitCheck() const;
			bool			Exists() const;

			status_t		GetStat(struct stat* st) const;
			bool			IsFile() const;
			bool			IsDirectory() const;
			bool			IsSymLink() const;
			status_t		GetNodeRef(node_ref* ref) const;

			status_t		SetTo(const BDirectory* dir, const char* path,
								bool traverse = false);
			status_t		SetTo(const entry_ref* ref, bool traverse = false);
			status_t		SetTo(const char* path, bool traverse = false);
			void			Unset();

			status_t		GetRef(entry_ref* ref) const;
			status_t		GetPath(BPath* path) const;
			status_t		GetParent(BEntry* entry) const;
			status_t		GetParent(BDirectory* dir) const;
			status_t		GetName(char* buffer) const;

			// A relative `path` is taken against the entry's own folder.
			status_t		Rename(const char* path, bool clobber = false);
			status_t		MoveTo(BDirectory* dir, const char* path = NULL,
								bool clobber = false);
			status_t		Remove();

			bool			operator==(const BEntry& item) const;
			bool			operator!=(const BEntry& item) const;
			BEntry&			operator=(const BEntry& item);

private:
			status_t		_SetToAbsolute(const std::string& path,
								bool traverse);
			status_t		_MoveToPath(const std::string& target,
								bool clobber);

			entry_ref		fRef;
			status_t		fStatus;
};

// Fills `ref` for `path` whether or not the entry exists. When its folder is
// missing the reference still carries the cleaned path (device and directory
// -1) and the result is B_ENTRY_NOT_FOUND.
status_t get_ref_for_path(const char* path, entry_ref* ref);

#endif
