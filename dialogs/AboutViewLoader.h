#ifndef ABOUT_VIEW_LOADER_H
#define ABOUT_VIEW_LOADER_H

#include <ContainerLoaderRegistry.h>

#include "AboutViewAddOn.h"

// The about window's Loader tab: the built-in loader and every loader
// add-on of the program's and the user's folders, with the details of the
// selected one. It loads its own loaders, apart from the player's, each
// time the list is made.
class TAboutViewLoader : public TAboutViewAddOn {
public:
	explicit TAboutViewLoader(BRect frame);
	virtual ~TAboutViewLoader();

	virtual void SetVLTRef(TVLT* table);
	virtual void SetList();
	virtual void SetInfo();
	virtual std::string RowIdentity(int32 row) const;

private:
	TContainerLoaderList fLoaders;
};

#endif
