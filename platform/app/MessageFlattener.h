#ifndef _MESSAGE_FLATTENER_H
#define _MESSAGE_FLATTENER_H

#include <vector>

#include <SupportDefs.h>

namespace BPrivate {

class MessageField;

// Writes a message in the BeOS R5 flattened format ('FOB1', little-endian),
// using the one-byte "mini" count and length wherever both fit, as R5 did,
// so that R5 and Haiku load our files and R5 reproduces them byte for byte.
class MessageFlattener {
public:
	MessageFlattener(uint32 what, const std::vector<MessageField>& fields);

	// B_BAD_VALUE when the message outgrows the format's 32-bit sizes.
	ssize_t FlattenedSize() const;
	// `buffer` holds at least FlattenedSize() bytes.
	void WriteTo(char* buffer) const;

private:
	uint32 fWhat;
	const std::vector<MessageField>& fFields;
};

}

#endif
