#ifndef LANG_S_ITEM_H
#define LANG_S_ITEM_H

#include <string>

#include <StringItem.h>

// A row of the about window's language list: the language's name, and the
// file it is read from (empty for the built-in language).
class TLangSItem : public BStringItem {
public:
	TLangSItem(const char* languageName, const std::string& filePath);

	const std::string& FilePath() const { return fFilePath; }

private:
	std::string fFilePath;
};

#endif
