#ifndef _PATH_H
#define _PATH_H

#include <string>

#include <EntryRef.h>
#include <StorageDefs.h>
#include <SupportDefs.h>

class BDirectory;
class BEntry;

// An absolute path held as text. Relative paths are taken against the working
// folder; "//", "." and ".." are folded away. Normalising additionally
// resolves the folder's symbolic links and then requires the folder to exist.
class BPath {
public:
							BPath();
							BPath(const BPath& path);
							BPath(const entry_ref* ref);
							BPath(const BEntry* entry);
							BPath(const char* dir, const char* leaf = NULL,
								bool normalize = false);
							BPath(const BDirectory* dir, const char* leaf,
								bool normalize = false);
	virtual					~BPath();

			status_t		InitCheck() const;

			status_t		SetTo(const entry_ref* ref);
			status_t		SetTo(const BEntry* entry);
			status_t		SetTo(const char* path, const char* leaf = NULL,
								bool normalize = false);
			status_t		SetTo(const BDirectory* dir, const char* leaf = NULL,
								bool normalize = false);
			void			Unset();

			status_t		Append(const char* path, bool normalize = false);

			const char*		Path() const;
			const char*		Leaf() const;
			status_t		GetParent(BPath* path) const;

			bool			operator==(const BPath& item) const;
			bool			operator==(const char* path) const;
			bool			operator!=(const BPath& item) const;
			bool			operator!=(const char* path) const;
			BPath&			operator=(const BPath& item);
			BPath&			operator=(const char* path);

private:
			status_t		_SetToAbsolute(const std::string& path,
								bool normalize);

			std::string		fPath;
			status_t		fStatus;
};

#endif
