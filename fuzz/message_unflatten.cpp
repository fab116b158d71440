// Unflattening outside data must fail cleanly or give a message that
// flattens and reads back, or refuses to flatten because R5 cannot hold it.
#include <cstdlib>
#include <vector>

#include <Message.h>

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	BMessage message;
	if (message.Unflatten(reinterpret_cast<const char*>(data), size) != B_OK)
		return 0;

	// Only a Haiku native name over 255 bytes has no R5 form.
	ssize_t flatSize = message.FlattenedSize();
	if (flatSize == B_NAME_TOO_LONG)
		return 0;
	if (flatSize < 0)
		abort();
	std::vector<char> flat(flatSize);
	if (message.Flatten(flat.data(), flatSize) != B_OK)
		abort();
	BMessage copy;
	if (copy.Unflatten(flat.data(), flat.size()) != B_OK)
		abort();
	// Reading every nested message exercises the stored copies.
	char* name;
	type_code type;
	int32 count;
	for (int32 i = 0; copy.GetInfo(B_MESSAGE_TYPE, i, &name, &type, &count) == B_OK; i++) {
		for (int32 item = 0; item < count; item++) {
			BMessage nested;
			if (copy.FindMessage(name, item, &nested) != B_OK)
				abort();
		}
	}
	return 0;
}
