// A loader built against another version of the interface.
#include <ContainerLoader.h>

namespace {

class TSpecLoader : public TContainerLoader {
public:
	explicit TSpecLoader(const std::string& path) : TContainerLoader(path) {}

	int32 SpecificationNumber() const override { return SPECIFICATION_NUMBER; }
	bool IsLoadable(const entry_ref&, TSupportFmt*) const override { return true; }
	int32 Load(const entry_ref&, std::list<std::string>*) override { return 0; }
	std::string Name() const override { return "Spec Loader"; }
	std::string Version() const override { return "Ver 0"; }
	std::string Copyright() const override { return ""; }
	std::string Description() const override { return ""; }
};

}	// namespace


TContainerLoader*
make_container_loader(const std::string& path, image_id)
{
	return new TSpecLoader(path);
}
