#ifndef _ATOMIC_FILE_H
#define _ATOMIC_FILE_H

#include <string>

#include <File.h>

// Replaces a file as one step: everything is written into a new file in the
// target's folder, which Commit() flushes to disk and renames over the
// target. Until then the old file is untouched; a failed write, a failed
// commit or an object dropped without Commit() removes the new file.
//
// The new file is opened for reading and writing, so it serves every writer
// of a BPositionIO. On commit it takes over the old file's permission bits
// and, for names the new file does not set itself, the old file's
// attributes, so the file's type survives a save. A symbolic link as target
// is kept: the file it leads to is replaced.
class BAtomicFile : public BFile {
public:
							BAtomicFile();
							BAtomicFile(const char* path);
							BAtomicFile(const entry_ref* ref);
							BAtomicFile(const BEntry* entry);
	virtual					~BAtomicFile();

			status_t		SetTo(const char* path);
			status_t		SetTo(const entry_ref* ref);
			status_t		SetTo(const BEntry* entry);
	// Discards what was written unless it was committed.
	virtual	void			Unset();

	virtual	ssize_t			Write(const void* buffer, size_t size);
	virtual	ssize_t			WriteAt(off_t location, const void* buffer,
								size_t size);

			// Permission bits of the new file; Commit() gives a file that
			// replaces another that file's bits instead.
			status_t		SetPermissions(mode_t permissions);

			// Fails, keeping the old file, when any write failed. The object
			// then stays open on the target (for setting its type).
			status_t		Commit();

	// The whole content of `path` replaced by `size` bytes at `data`.
	static	status_t		Replace(const char* path, const void* data,
								size_t size);

private:
							BAtomicFile(const BAtomicFile&) = delete;
			BAtomicFile&	operator=(const BAtomicFile&) = delete;

			ssize_t			_Track(ssize_t result, size_t size);
			void			_Discard();

			std::string		fTarget;
			std::string		fTemporary;
			status_t		fWriteStatus;
};

#endif
