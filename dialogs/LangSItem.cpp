#include "LangSItem.h"

TLangSItem::TLangSItem(const char* languageName, const std::string& filePath)
	:
	BStringItem(languageName, 0, true),
	fFilePath(filePath)
{
}
