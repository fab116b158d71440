#ifndef RAW_LOADER_H
#define RAW_LOADER_H

#include <ContainerLoader.h>

// Lists of MIDI file names written by people or other programs: a raw list
// holds nothing but file names, a semi raw list mixes them with headers,
// titles or comments. A line counts as a file name by its ending alone.
class TRawLoader : public TContainerLoader {
public:
	// Lines 2 to this one may reveal a semi raw list.
	static const int32 kDetectionLines = 11;

	explicit TRawLoader(const std::string& path);

	bool IsLoadable(const entry_ref& ref, TSupportFmt* kind) const override;
	int32 Load(const entry_ref& ref, std::list<std::string>* paths) override;
	std::string Name() const override;
	std::string Version() const override;
	std::string Copyright() const override;
	std::string Description() const override;

	// At least three bytes, the last three "mid" in any case: no dot needed.
	bool IsMidiFileName(const std::string& text) const;
};

#endif
