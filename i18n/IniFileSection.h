#ifndef INI_FILE_SECTION_H
#define INI_FILE_SECTION_H

#include <string>
#include <string_view>
#include <vector>

#include "IniFilePair.h"
#include "IniNameIndex.h"
#include "IniPairList.h"

// One section of an INI text: its comments and its pairs, in file order.
//
// The key and value of a pair stay where they are while other pairs are
// added or deleted (keys handed out by TIniFile::EnumKeys rely on this). Keys
// are found through a hash index.
class TIniFileSection {
public:
	explicit TIniFileSection(const std::string& name);
	TIniFileSection(const TIniFileSection&) = delete;
	TIniFileSection& operator=(const TIniFileSection&) = delete;

	const std::string& Name() const { return fName; }

	// The first pair with that key (ASCII letter case ignored), or null.
	TIniFilePair* FindPair(std::string_view key);
	const TIniFilePair* FindPair(std::string_view key) const;
	TIniFilePair* AddPair(std::string_view key, std::string_view value,
		TIniKeeping keeping);
	// Deletes the first pair with that key.
	bool DeletePair(std::string_view key);
	// Calls visit(pair) for every pair in file order.
	template<typename Visit>
	void ForEachPair(Visit visit) const { fPairs.ForEach(visit); }
	// Calls visit(key, value) for every pair in file order, with the value
	// that FindPair finds for its key: that of the first pair of the key.
	template<typename Visit>
	void ForEachKey(Visit visit) const
	{
		const bool repeats = fIndex.HasRepeats();
		fPairs.ForEach([this, repeats, &visit](const TIniFilePair& pair) {
			const TIniFilePair& first = repeats
				? *FindPair(pair.key.View()) : pair;
			visit(pair.key.View(), first.value.View());
		});
	}

	void AddComment(std::string_view comment);
	const std::vector<std::string>& Comments() const { return fComments; }
	// Hands out the comments one per call; false when none is left.
	bool NextComment(std::string* comment);
	void RewindComments() { fNextComment = 0; }

private:
	std::string fName;
	std::vector<std::string> fComments;
	size_t fNextComment;
	TIniPairList fPairs;
	TIniNameIndex<TIniPairList::Handle> fIndex;
};

#endif
