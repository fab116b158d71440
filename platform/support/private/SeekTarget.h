#ifndef _SUPPORT_PRIVATE_SEEK_TARGET_H
#define _SUPPORT_PRIVATE_SEEK_TARGET_H

#include <cstdio>

#include <SupportDefs.h>

namespace BPrivate {

// The position a Seek lands on, or B_BAD_VALUE for an unknown mode, a
// position before the start or one that overflows. Positions past the end
// are allowed; reading there yields nothing.
inline off_t seek_target(off_t offset, uint32 seekMode, off_t current, off_t size)
{
	off_t base;
	switch (seekMode) {
		case SEEK_SET:
			base = 0;
			break;
		case SEEK_CUR:
			base = current;
			break;
		case SEEK_END:
			base = size;
			break;
		default:
			return B_BAD_VALUE;
	}
	off_t target;
	if (__builtin_add_overflow(base, offset, &target) || target < 0)
		return B_BAD_VALUE;
	return target;
}

}	// namespace BPrivate

#endif
