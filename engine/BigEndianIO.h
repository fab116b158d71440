#ifndef _BIG_ENDIAN_IO_H
#define _BIG_ENDIAN_IO_H

#include <SupportDefs.h>

class BPositionIO;

// Read a big-endian number at the stream's position. 0, or -1 when the stream
// ends first (the number is then left untouched).
status_t get_uint32(BPositionIO* stream, uint32* number);
status_t get_uint16(BPositionIO* stream, uint16* number);

#endif
