#include "CLNative100.h"

#include "LineReader.h"

const char* const TCLNative100::kHeader = "TirokaList$1";


TCLNative100::TCLNative100()
	:
	TContainerLoader(std::string())
{
}


bool
TCLNative100::IsLoadable(const entry_ref& ref, TSupportFmt* kind) const
{
	*kind = kSupportNative100;
	TLineReader reader;
	if (!reader.Open(loader_entry_path(ref)))
		return false;
	std::string line;
	reader.ReadLine(&line);
	return line == kHeader;
}


int32
TCLNative100::Load(const entry_ref& ref, std::list<std::string>* paths)
{
	TLineReader reader;
	if (!reader.Open(loader_entry_path(ref)))
		return -1;
	std::string line;
	reader.ReadLine(&line);
	while (reader.ReadLine(&line) > 0)
		paths->push_back(line);
	return 0;
}


std::string
TCLNative100::Name() const
{
	return "Container Loader Native 100";
}


std::string
TCLNative100::Version() const
{
	return "Ver 1.10";
}


std::string
TCLNative100::Copyright() const
{
	return "Copyright (C) 2025 PELKAN";
}


std::string
TCLNative100::Description() const
{
	return "Tells MIDI files in the Vantu MIDI native playlist format #100.";
}
