#ifndef _NODE_INFO_H
#define _NODE_INFO_H

#include <MimeType.h>
#include <Node.h>

// A node's file type. The type is the "BEOS:TYPE" attribute (the
// `user.mime_type` extended attribute); a file without one is typed by its
// name's extension (types installed with BMimeType, then a built-in table:
// ".mid", ".midi", ".kar", ".smf" are "audio/x-midi"), a folder is
// "application/x-vnd.Be-directory".
class BNodeInfo {
public:
							BNodeInfo();
							BNodeInfo(BNode* node);
	virtual					~BNodeInfo();

			status_t		SetTo(BNode* node);
			status_t		InitCheck() const;

			// `type` holds B_MIME_TYPE_LENGTH bytes; B_ENTRY_NOT_FOUND when
			// nothing tells the type.
			status_t		GetType(char* type) const;
			// NULL removes the type. Without extended attributes the result
			// is B_UNSUPPORTED and nothing else happens.
			status_t		SetType(const char* type);

private:
							BNodeInfo(const BNodeInfo&) = delete;
			BNodeInfo&		operator=(const BNodeInfo&) = delete;

			BNode*			fNode;
			status_t		fStatus;
};

#endif
