#include "AboutViewLang.h"

#include <string>

#include <List.h>
#include <ListView.h>
#include <VLT.h>

#include "LangSItem.h"
#include "LanguageFiles.h"

TAboutViewLang::TAboutViewLang(BRect frame)
	:
	TAboutViewAddOn(frame, "Language")
{
}


void
TAboutViewLang::SetVLTRef(TVLT* table)
{
	TAboutViewAddOn::SetVLTRef(table);
	SetTitles("About_Win_StrView_Lang_List", "About_Win_StrView_Lang_Info");
}


void
TAboutViewLang::SetList()
{
	TLanguageFiles languages;
	get_lang_files(&languages);
	BList items(int32(languages.size()));
	for (const auto& [name, path] : languages)
		items.AddItem(new TLangSItem(name.c_str(), path));
	ListView()->AddList(&items);
}


void
TAboutViewLang::SetInfo()
{
	const TLangSItem* item = dynamic_cast<TLangSItem*>(
		ListView()->ItemAt(ListView()->CurrentSelection()));
	if (item == NULL)
		return;
	// A file that is gone or unreadable since the list was made shows
	// empty details and no texts.
	TVLT language;
	if (item->FilePath().empty())
		language.Load(NULL, TVLT::kBuiltInTextId);
	else
		language.Load(item->FilePath().c_str());
	ShowInfo({
		{"About_Win_Lang_Info_Lang_Name", language.LanguageName()},
		{"About_Win_Lang_Info_Lang_File_Name", item->FilePath()},
		{"About_Win_Lang_Info_Writer", language.Writer()},
		{"About_Win_Lang_Info_Special_Thanks", language.SpecialThanks()},
		{"About_Win_Lang_Info_Num_Texts", std::to_string(language.TextMap().size())},
	});
}


// The built-in language has no file, and no file is listed twice.
std::string
TAboutViewLang::RowIdentity(int32 row) const
{
	const TLangSItem* item = dynamic_cast<TLangSItem*>(ListView()->ItemAt(row));
	return item != NULL ? item->FilePath() : std::string();
}
