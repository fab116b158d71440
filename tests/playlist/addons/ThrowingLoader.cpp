// A loader that throws where the program asks it first: from the export
// itself (THROW_IN_MAKE) or from IsLoadable.
#include <stdexcept>

#include <ContainerLoader.h>

namespace {

class TThrowingLoader : public TContainerLoader {
public:
	explicit TThrowingLoader(const std::string& path) : TContainerLoader(path) {}

	bool IsLoadable(const entry_ref&, TSupportFmt*) const override
	{
		throw std::runtime_error("IsLoadable");
	}
	int32 Load(const entry_ref&, std::list<std::string>*) override { return 0; }
	std::string Name() const override { return "Throwing Loader"; }
	std::string Version() const override { return "Ver 0"; }
	std::string Copyright() const override { return ""; }
	std::string Description() const override { return ""; }
};

}	// namespace


TContainerLoader*
make_container_loader(const std::string& path, image_id)
{
#ifdef THROW_IN_MAKE
	throw std::runtime_error("make_container_loader");
#endif
	return new TThrowingLoader(path);
}
