#ifndef _MESSAGE_UNFLATTENER_H
#define _MESSAGE_UNFLATTENER_H

#include <vector>

#include <SupportDefs.h>

namespace BPrivate {

class MessageField;
class MessageFieldTable;

// Reads one flattened message: BeOS R5 ('FOB1') written in either byte
// order, or Haiku native ('1FMH', little-endian). Dano's 'FOB2' and kernel
// messages are refused with B_NOT_A_MESSAGE.
//
// The input is outside data: every size and count is checked against the
// bytes that remain before anything is read or allocated, the R5 checksum and
// total size must be exact, and nesting is limited. Corrupt content gives
// B_BAD_DATA. Nested messages are checked as they are read and kept in the
// R5 form our writer produces, so that a message read from any format
// flattens to R5 all the way down; only one that R5 cannot express (a
// Haiku native message with a name over 255 bytes) keeps its own form.
//
// Haiku native messages may have names of any length; such a message reads,
// but does not flatten (R5 has one byte for the name length).
class MessageUnflattener {
public:
	// How many bytes from the start of a message tell its total size, judged
	// by its first four bytes; B_NOT_A_MESSAGE for an unknown magic.
	static ssize_t SizePrefixLength(const char* magic);
	// The total size told by the first SizePrefixLength() bytes.
	static ssize_t MessageSize(const char* prefix);

	// `depth` is how many messages hold this one.
	MessageUnflattener(const char* buffer, size_t size, int32 depth = 0);

	// Reads the message at the start of the buffer; bytes after it are not
	// looked at. On failure the outputs are untouched.
	status_t Unflatten(uint32* what, MessageFieldTable* fields);

private:
	status_t _UnflattenR5(bool swapped, uint32* what, MessageFieldTable* fields);
	status_t _UnflattenHaiku(uint32* what, MessageFieldTable* fields);
	// NULL for a name that cannot be used.
	MessageField* _AddField(MessageFieldTable& fields, const char* name,
		size_t nameLength, type_code type, bool fixedSize);
	status_t _AddItem(MessageField& field, const char* item, size_t size,
		bool swapped);

	const char* fBuffer;
	size_t fSize;
	int32 fDepth;
	std::vector<char> fScratch;
};

}

#endif
