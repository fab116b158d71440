#ifndef FOLDER_LOADER_H
#define FOLDER_LOADER_H

#include <ContainerLoader.h>

// Lets a folder stand in the playlist like a list of its entries. It does not
// filter: which entries are songs or nested containers is the playlist's
// decision.
class TFolderLoader : public TContainerLoader {
public:
	explicit TFolderLoader(const std::string& path);

	bool IsLoadable(const entry_ref& ref, TSupportFmt* kind) const override;
	int32 Load(const entry_ref& ref, std::list<std::string>* paths) override;
	std::string Name() const override;
	std::string Version() const override;
	std::string Copyright() const override;
	std::string Description() const override;
};

#endif
