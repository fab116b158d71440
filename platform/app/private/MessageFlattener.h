#ifndef _MESSAGE_FLATTENER_H
#define _MESSAGE_FLATTENER_H

#include <SupportDefs.h>

namespace BPrivate {

class MessageFieldTable;

// Writes a message in the BeOS R5 flattened format ('FOB1', little-endian),
// using the one-byte "mini" count and length wherever both fit, as R5 did,
// so that R5 and Haiku load our files and R5 reproduces them byte for byte.
class MessageFlattener {
public:
	MessageFlattener(uint32 what, const MessageFieldTable& fields);

	// B_BAD_VALUE when the message outgrows the format's 32-bit sizes,
	// B_NAME_TOO_LONG for a field name over 255 bytes (which only a Haiku
	// native message can bring).
	ssize_t FlattenedSize() const;
	// `buffer` holds at least FlattenedSize() bytes.
	void WriteTo(char* buffer) const;

private:
	uint32 fWhat;
	const MessageFieldTable& fFields;
};

}

#endif
