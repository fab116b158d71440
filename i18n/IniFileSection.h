#ifndef INI_FILE_SECTION_H
#define INI_FILE_SECTION_H

#include <list>
#include <string>
#include <vector>

#include "IniFilePair.h"
#include "IniNameIndex.h"

// One section of an INI text: its comments and its pairs, in file order.
//
// Pairs live in list nodes, so the key and value of a pair stay where they
// are while other pairs are added or deleted (keys handed out by
// TIniFile::EnumKeys rely on this). Keys are found through a hash index.
class TIniFileSection {
public:
	typedef std::list<TIniFilePair> TPairList;

	explicit TIniFileSection(const std::string& name);
	TIniFileSection(const TIniFileSection&) = delete;
	TIniFileSection& operator=(const TIniFileSection&) = delete;

	const std::string& Name() const { return fName; }

	// The first pair with that key (ASCII letter case ignored), or null.
	TIniFilePair* FindPair(const char* key);
	const TIniFilePair* FindPair(const char* key) const;
	TIniFilePair* AddPair(std::string key, std::string value);
	// Deletes the first pair with that key.
	bool DeletePair(const char* key);
	const TPairList& Pairs() const { return fPairs; }

	void AddComment(const std::string& comment);
	const std::vector<std::string>& Comments() const { return fComments; }
	// Hands out the comments one per call; false when none is left.
	bool NextComment(std::string* comment);
	void RewindComments() { fNextComment = 0; }

private:
	std::string fName;
	std::vector<std::string> fComments;
	size_t fNextComment;
	TPairList fPairs;
	TIniNameIndex<TPairList::iterator> fIndex;
};

#endif
