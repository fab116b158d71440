#ifndef _NODE_H
#define _NODE_H

#include <string>
#include <sys/stat.h>
#include <vector>

#include <EntryRef.h>
#include <StorageDefs.h>
#include <SupportDefs.h>

class BDirectory;
class BEntry;

struct attr_info {
	uint32 type;
	off_t size;
};

// An open file-system node and its attributes.
//
// Attributes live in extended attributes of the `user.` namespace: attribute
// "X" is `user.X`, its value the type code (four bytes, big-endian, so that it
// reads as its four characters) followed by the data. The file type
// "BEOS:TYPE" is the exception: it is `user.mime_type` holding the bare MIME
// string, the shared-mime-info convention, and reads back as a
// NUL-terminated B_MIME_STRING_TYPE ('MIMS') value. A file system without
// extended attributes is not an error: reads find no attribute, writes
// answer B_UNSUPPORTED, enumeration is empty.
class BNode {
public:
							BNode();
							BNode(const entry_ref* ref);
							BNode(const BEntry* entry);
							BNode(const char* path);
							BNode(const BDirectory* dir, const char* path);
							BNode(const BNode& node);
	virtual					~BNode();

			status_t		InitCheck() const;

			status_t		SetTo(const entry_ref* ref);
			status_t		SetTo(const BEntry* entry);
			status_t		SetTo(const char* path);
			status_t		SetTo(const BDirectory* dir, const char* path);
	virtual	void			Unset();

			status_t		GetStat(struct stat* st) const;
			status_t		GetNodeRef(node_ref* ref) const;
			status_t		Sync();

			// Writing at offset 0 replaces the attribute; a later offset
			// keeps the data before it.
			ssize_t			WriteAttr(const char* name, type_code type,
								off_t offset, const void* buffer,
								size_t length);
			ssize_t			ReadAttr(const char* name, type_code type,
								off_t offset, void* buffer,
								size_t length) const;
			status_t		RemoveAttr(const char* name);
			status_t		GetAttrInfo(const char* name,
								attr_info* info) const;
			// `buffer` holds B_ATTR_NAME_LENGTH bytes; B_ENTRY_NOT_FOUND
			// after the last name.
			status_t		GetNextAttrName(char* buffer);
			status_t		RewindAttrs();

			BNode&			operator=(const BNode& node);
			bool			operator==(const BNode& node) const;
			bool			operator!=(const BNode& node) const;

protected:
			// Opens `path` (absolute) with `openFlags`; the node's recorded
			// path is that of the entry after following symbolic links.
			status_t		_SetTo(const std::string& path, int openFlags);
	static	std::string		_PathFor(const BDirectory* dir, const char* path);
			// Unsets the node, leaving `status` as its InitCheck().
			status_t		_Fail(status_t status);
			int				_Fd() const { return fFd; }
			const std::string& _Path() const { return fPath; }
			void			_SetPath(const std::string& path) { fPath = path; }

private:
	friend class BNodeInfo;

			status_t		_SetToNode(const std::string& path);
			status_t		_ReadAttr(const char* name, type_code* type,
								std::vector<char>* data) const;

			int				fFd;
			// Opened without read access (O_PATH); attributes are then
			// reached through /proc/self/fd.
			bool			fPathOnly;
			std::string		fPath;
			status_t		fStatus;
			std::vector<std::string> fAttrNames;
			size_t			fAttrIndex;
			bool			fAttrsListed;
};

#endif
