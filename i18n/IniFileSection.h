#ifndef INI_FILE_SECTION_H
#define INI_FILE_SECTION_H

#include <string>
#include <vector>

#include "IniFilePair.h"

// One section of an INI text: its comments and its pairs, in file order.
class TIniFileSection {
public:
	explicit TIniFileSection(const std::string& name);

	const std::string& Name() const { return fName; }

	// The first pair with that key (ASCII letter case ignored), or null.
	TIniFilePair* FindPair(const char* key);
	const TIniFilePair* FindPair(const char* key) const;
	TIniFilePair* AddPair(const std::string& key, const std::string& value);
	bool DeletePair(const char* key);
	const std::vector<TIniFilePair>& Pairs() const { return fPairs; }

	void AddComment(const std::string& comment);
	const std::vector<std::string>& Comments() const { return fComments; }
	// Hands out the comments one per call; false when none is left.
	bool NextComment(std::string* comment);
	void RewindComments() { fNextComment = 0; }

private:
	std::string fName;
	std::vector<std::string> fComments;
	size_t fNextComment;
	std::vector<TIniFilePair> fPairs;
};

// ASCII case-insensitive comparison of section names and keys.
bool ini_names_equal(const char* a, const char* b);

#endif
