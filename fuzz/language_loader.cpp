// Any language text loads or is rejected without harm, and every text it
// holds is a decoded value no longer than the line bound.
#include <cstdlib>
#include <cstring>
#include <string>

#include <DataIO.h>
#include <IniFile.h>
#include <VLT.h>

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	BMemoryIO stream(data, size);
	TIniFile ini(&stream, TVLT::kMaxLine);
	TVLT table;
	const status_t status = table.Load(&ini);
	if (status != 0 && status != -1)
		abort();
	if (status == -1 && !table.TextMap().empty())
		abort();
	for (const auto& [key, text] : table.TextMap()) {
		if (text.size() > static_cast<size_t>(TVLT::kMaxLine))
			abort();
		if (table.Text(std::string(key).c_str()) != text)
			abort();
	}
	table.Text("Menu_File");
	return 0;
}
