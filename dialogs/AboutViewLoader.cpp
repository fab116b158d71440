#include "AboutViewLoader.h"

#include <List.h>
#include <ListView.h>
#include <StringItem.h>

#include "AppGlobals.h"

TAboutViewLoader::TAboutViewLoader(BRect frame)
	:
	TAboutViewAddOn(frame, "Loader")
{
}


TAboutViewLoader::~TAboutViewLoader()
{
	unload_container_loader(&fLoaders);
}


void
TAboutViewLoader::SetVLTRef(TVLT* table)
{
	TAboutViewAddOn::SetVLTRef(table);
	SetTitles("About_Win_StrView_Loader_List", "About_Win_StrView_Loader_Info");
}


void
TAboutViewLoader::SetList()
{
	unload_container_loader(&fLoaders);
	load_container_loader(&fLoaders, gAppPrivacy.ExePath());
	BList items(int32(fLoaders.size()));
	for (const std::unique_ptr<TContainerLoader>& loader : fLoaders)
		items.AddItem(new BStringItem(loader->Name().c_str()));
	ListView()->AddList(&items);
}


void
TAboutViewLoader::SetInfo()
{
	const int32 selection = ListView()->CurrentSelection();
	if (selection < 0 || selection >= int32(fLoaders.size()))
		return;
	const TContainerLoader& loader = *fLoaders[selection];
	ShowInfo({
		{"About_Win_Loader_Info_Loader_Name", loader.Name()},
		{"About_Win_Loader_Info_Version", loader.Version()},
		{"About_Win_Loader_Info_File_Name", loader.Path()},
		{"About_Win_Loader_Info_Copyright", loader.Copyright()},
		{"About_Win_Loader_Info_Description", loader.Description()},
	});
}


// An add-on by its file; the built-in loaders, which have none, by name.
std::string
TAboutViewLoader::RowIdentity(int32 row) const
{
	if (row < 0 || row >= int32(fLoaders.size()))
		return std::string();
	const TContainerLoader& loader = *fLoaders[row];
	return loader.Path().empty() ? loader.Name() : loader.Path();
}
