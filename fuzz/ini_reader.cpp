// Any INI text loads within its line bound and answers every typed read; when
// every line it writes back fits the bound, the written text loads to the
// same sections, comments, keys and values.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <DataIO.h>
#include <IniFile.h>
#include <List.h>

namespace {

const int32 kMaxLine = 64;


std::vector<std::string>
contents(TIniFile& ini)
{
	std::vector<std::string> result;
	BList sections;
	ini.EnumSections(&sections);
	std::vector<std::string> names;
	for (int32 i = 0; i < sections.CountItems(); i++)
		names.push_back(static_cast<const char*>(sections.ItemAt(i)));

	char text[kMaxLine + 1];
	for (const std::string& name : names) {
		ini.ChangeSection(name.c_str());
		result.push_back("[" + name);
		while (ini.ReadComment(text))
			result.push_back(";" + std::string(text));
		BList keys;
		ini.EnumKeys(&keys);
		for (int32 k = 0; k < keys.CountItems(); k++) {
			const char* key = static_cast<const char*>(keys.ItemAt(k));
			if (strlen(key) > static_cast<size_t>(kMaxLine)
				|| !ini.ReadValue(key, text)
				|| strlen(text) > static_cast<size_t>(kMaxLine)) {
				abort();
			}
			result.push_back(std::string(key) + "=" + text);
			bool flag;
			int32 number;
			int64 wide;
			float real;
			rgb_color color;
			ini.ReadValue(key, &flag);
			ini.ReadValue(key, &number);
			ini.ReadValue(key, &wide);
			ini.ReadValue(key, &real);
			ini.ReadValue(key, &color);
		}
	}
	return result;
}


bool
lines_fit(const BMallocIO& stream)
{
	const char* text = static_cast<const char*>(stream.Buffer());
	size_t lineLength = 0;
	for (size_t i = 0; i < stream.BufferLength(); i++) {
		lineLength = text[i] == '\n' ? 0 : lineLength + 1;
		if (lineLength > static_cast<size_t>(kMaxLine))
			return false;
	}
	return true;
}

}


extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	BMallocIO stream;
	stream.Write(data, size);
	TIniFile ini(&stream, kMaxLine);
	const std::vector<std::string> loaded = contents(ini);

	// The writer cuts off what the old text left after the new one.
	if (!ini.Flush(true))
		abort();
	if (!lines_fit(stream))
		return 0;
	TIniFile reloaded(&stream, kMaxLine);
	if (contents(reloaded) != loaded)
		abort();
	return 0;
}
