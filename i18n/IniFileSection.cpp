#include "IniFileSection.h"

TIniFileSection::TIniFileSection(const std::string& name)
	:
	fName(name),
	fNextComment(0)
{
}


TIniFilePair*
TIniFileSection::FindPair(std::string_view key)
{
	const TIniPairList::Handle* pair = fIndex.First(key);
	return pair == nullptr ? nullptr : &fPairs[*pair];
}


const TIniFilePair*
TIniFileSection::FindPair(std::string_view key) const
{
	return const_cast<TIniFileSection*>(this)->FindPair(key);
}


TIniFilePair*
TIniFileSection::AddPair(std::string_view key, std::string_view value,
	TIniKeeping keeping)
{
	const TIniPairList::Handle handle = fPairs.Append();
	TIniFilePair& pair = fPairs[handle];
	pair.key.Set(key, keeping);
	pair.value.Set(value, keeping);
	fIndex.Append(pair.key.View(), handle);
	return &pair;
}


bool
TIniFileSection::DeletePair(std::string_view key)
{
	const TIniPairList::Handle* found = fIndex.First(key);
	if (found == nullptr)
		return false;
	const TIniPairList::Handle pair = *found;
	fIndex.Remove(key, pair);
	fPairs.Remove(pair);
	return true;
}


void
TIniFileSection::AddComment(std::string_view comment)
{
	fComments.emplace_back(comment);
}


bool
TIniFileSection::NextComment(std::string* comment)
{
	if (fNextComment >= fComments.size())
		return false;
	*comment = fComments[fNextComment++];
	return true;
}
