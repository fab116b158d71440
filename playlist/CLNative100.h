#ifndef CL_NATIVE_100_H
#define CL_NATIVE_100_H

#include "ContainerLoader.h"

// The built-in loader of the program's own playlist format #100: the first
// line "TirokaList$1", then one path per line.
class TCLNative100 : public TContainerLoader {
public:
	static const char* const kHeader;

	TCLNative100();

	bool IsLoadable(const entry_ref& ref, TSupportFmt* kind) const override;
	int32 Load(const entry_ref& ref, std::list<std::string>* paths) override;
	std::string Name() const override;
	std::string Version() const override;
	std::string Copyright() const override;
	std::string Description() const override;
};

#endif
