#ifndef INI_FILE_PAIR_H
#define INI_FILE_PAIR_H

#include <string>

// One "key = value" line of an INI text.
struct TIniFilePair {
	std::string key;
	std::string value;
};

#endif
