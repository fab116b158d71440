#ifndef INI_FILE_PAIR_H
#define INI_FILE_PAIR_H

#include "IniText.h"

// One "key = value" line of an INI text.
struct TIniFilePair {
	TIniText key;
	TIniText value;
};

#endif
