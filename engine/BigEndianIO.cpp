#include "BigEndianIO.h"

#include <DataIO.h>

status_t
get_uint32(BPositionIO* stream, uint32* number)
{
	uint8 bytes[4];
	if (stream->Read(bytes, sizeof(bytes)) != (ssize_t)sizeof(bytes))
		return -1;
	*number = (uint32)bytes[0] << 24 | (uint32)bytes[1] << 16
		| (uint32)bytes[2] << 8 | bytes[3];
	return 0;
}


status_t
get_uint16(BPositionIO* stream, uint16* number)
{
	uint8 bytes[2];
	if (stream->Read(bytes, sizeof(bytes)) != (ssize_t)sizeof(bytes))
		return -1;
	*number = (uint16)(bytes[0] << 8 | bytes[1]);
	return 0;
}
