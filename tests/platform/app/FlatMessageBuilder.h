#ifndef FLAT_MESSAGE_BUILDER_H
#define FLAT_MESSAGE_BUILDER_H

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <SupportDefs.h>

// Builds R5 flattened messages byte by byte, in either byte order, with every
// count and length under the test's control: the inputs our own writer never
// produces (big-endian files, corrupt sizes).
class FlatMessageBuilder {
public:
	enum { VALID = 0x01, MINI = 0x02, FIXED = 0x04, SINGLE = 0x08 };

	explicit FlatMessageBuilder(bool bigEndian = false, uint32 what = 0)
		: fBigEndian(bigEndian), fWhat(what) {}

	std::vector<char> Value16(uint16 value) const { return _Ordered(&value, 2); }
	std::vector<char> Value32(uint32 value) const { return _Ordered(&value, 4); }
	std::vector<char> Value64(uint64 value) const { return _Ordered(&value, 8); }
	std::vector<char> Float(float value) const { return _Ordered(&value, 4); }
	std::vector<char> Double(double value) const { return _Ordered(&value, 8); }

	// One variable-size item record: length, bytes, padding to 8.
	std::vector<char> Item(const std::vector<char>& bytes) const
	{
		std::vector<char> record = Value32((uint32)bytes.size());
		record.insert(record.end(), bytes.begin(), bytes.end());
		record.resize((record.size() + 7) & ~size_t(7), 0x5a);
		return record;
	}

	FlatMessageBuilder& Field(uint8 flags, uint32 type, uint32 count,
		uint32 dataLength, const std::string& name, const std::vector<char>& data)
	{
		bool mini = (flags & MINI) != 0;
		fFields.push_back((char)flags);
		_Append(fFields, Value32(type));
		if ((flags & SINGLE) == 0)
			_Append(fFields, mini ? std::vector<char>{(char)count} : Value32(count));
		_Append(fFields, mini ? std::vector<char>{(char)dataLength} : Value32(dataLength));
		fFields.push_back((char)name.size());
		fFields.insert(fFields.end(), name.begin(), name.end());
		_Append(fFields, data);
		return *this;
	}

	// A field whose data length is that of `data`.
	FlatMessageBuilder& Field(uint8 flags, uint32 type, uint32 count,
		const std::string& name, const std::vector<char>& data)
	{
		return Field(flags, type, count, (uint32)data.size(), name, data);
	}

	FlatMessageBuilder& Raw(const std::vector<char>& bytes)
	{
		_Append(fFields, bytes);
		return *this;
	}

	std::optional<uint32> sizeOverride;
	std::optional<uint32> checksumOverride;

	std::vector<char> Build() const
	{
		std::vector<char> message = Value32('FOB1');
		_Append(message, Value32(0));
		uint32 size = 17 + (uint32)fFields.size() + 1;
		_Append(message, Value32(sizeOverride.value_or(size)));
		_Append(message, Value32(fWhat));
		message.push_back(1);
		uint32 checksum = 0;
		for (int i = 8; i < 16; i += 4) {
			checksum += ((uint32)(uint8)message[i] << 24)
				| ((uint32)(uint8)message[i + 1] << 16)
				| ((uint32)(uint8)message[i + 2] << 8) | (uint8)message[i + 3];
		}
		checksum += (uint8)message[16];
		std::vector<char> stored = Value32(checksumOverride.value_or(checksum));
		std::copy(stored.begin(), stored.end(), message.begin() + 4);
		_Append(message, fFields);
		message.push_back(0);
		return message;
	}

private:
	std::vector<char> _Ordered(const void* value, size_t size) const
	{
		std::vector<char> bytes(size);
		memcpy(bytes.data(), value, size);
		if (fBigEndian)
			std::reverse(bytes.begin(), bytes.end());
		return bytes;
	}
	static void _Append(std::vector<char>& to, const std::vector<char>& bytes)
	{
		to.insert(to.end(), bytes.begin(), bytes.end());
	}

	bool fBigEndian;
	uint32 fWhat;
	std::vector<char> fFields;
};

#endif
