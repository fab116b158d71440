#ifndef SUPPORT_FMT_H
#define SUPPORT_FMT_H

#include <SupportDefs.h>

// What a playlist row stands for. Container loaders report these values, so
// they are part of the add-on contract and never change.
enum TSupportFmt : int32 {
	kSupportMidiFile = 1000,
	// A list in a format that only some add-on loader knows.
	kSupportGeneralList = 2000,
	kSupportFolder = 2001,
	kSupportRawList = 2002,
	kSupportSemiRawList = 2003,
	kSupportNative100 = 3000
};

#endif
