#include "IniFileSection.h"

namespace {

// Folds ASCII letters only, whatever locale the process runs in: the bytes of
// UTF-8 names never change.
char
ascii_lower(char c)
{
	return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}


bool
ini_names_equal(const char* a, const char* b)
{
	for (; *a != '\0' && *b != '\0'; a++, b++) {
		if (ascii_lower(*a) != ascii_lower(*b))
			return false;
	}
	return *a == *b;
}


TIniFileSection::TIniFileSection(const std::string& name)
	:
	fName(name),
	fNextComment(0)
{
}


TIniFilePair*
TIniFileSection::FindPair(const char* key)
{
	for (TIniFilePair& pair : fPairs) {
		if (ini_names_equal(pair.key.c_str(), key))
			return &pair;
	}
	return nullptr;
}


const TIniFilePair*
TIniFileSection::FindPair(const char* key) const
{
	return const_cast<TIniFileSection*>(this)->FindPair(key);
}


TIniFilePair*
TIniFileSection::AddPair(const std::string& key, const std::string& value)
{
	fPairs.push_back(TIniFilePair{key, value});
	return &fPairs.back();
}


bool
TIniFileSection::DeletePair(const char* key)
{
	for (auto it = fPairs.begin(); it != fPairs.end(); ++it) {
		if (ini_names_equal(it->key.c_str(), key)) {
			fPairs.erase(it);
			return true;
		}
	}
	return false;
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
