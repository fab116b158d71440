#include "IniFileSection.h"

TIniFileSection::TIniFileSection(const std::string& name)
	:
	fName(name),
	fNextComment(0)
{
}


TIniFilePair*
TIniFileSection::FindPair(const char* key)
{
	const TPairList::iterator* pair = fIndex.First(key);
	return pair == nullptr ? nullptr : &**pair;
}


const TIniFilePair*
TIniFileSection::FindPair(const char* key) const
{
	return const_cast<TIniFileSection*>(this)->FindPair(key);
}


TIniFilePair*
TIniFileSection::AddPair(std::string key, std::string value)
{
	fPairs.push_back(TIniFilePair{std::move(key), std::move(value)});
	fIndex.Append(fPairs.back().key, std::prev(fPairs.end()));
	return &fPairs.back();
}


bool
TIniFileSection::DeletePair(const char* key)
{
	const TPairList::iterator* found = fIndex.First(key);
	if (found == nullptr)
		return false;
	const TPairList::iterator pair = *found;
	fIndex.Remove(key, pair);
	fPairs.erase(pair);
	return true;
}


void
TIniFileSection::AddComment(const std::string& comment)
{
	fComments.push_back(comment);
}


bool
TIniFileSection::NextComment(std::string* comment)
{
	if (fNextComment >= fComments.size())
		return false;
	*comment = fComments[fNextComment++];
	return true;
}
