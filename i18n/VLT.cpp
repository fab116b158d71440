#include "VLT.h"

#include <atomic>
#include <cstring>
#include <vector>

#include <DataIO.h>
#include <ExecutableResources.h>
#include <File.h>
#include <List.h>
#include <Resources.h>

#include "IniFile.h"

namespace {

const char* const kHeader = "VLT File Format 100";

constinit std::atomic<TVLT::MissingKeyReporter> sMissingKeyReporter{nullptr};


// Replaces every "#<letter>" whose '#' is not the second of a "##" pair.
// A text never grows in decoding, so it is rewritten over itself: the bytes
// still to be read always lie at or after the write position.
void
decode_escape(std::string* text, char letter, char replacement)
{
	std::string& t = *text;
	size_t write = 0;
	// Length of the run of '#' that ends the decoded text so far; the
	// replacements are never '#', so this equals the run in the text being
	// scanned.
	size_t hashRun = 0;
	for (size_t read = 0; read < t.size(); read++) {
		const char c = t[read];
		if (c == '#' && read + 1 < t.size() && t[read + 1] == letter) {
			if ((hashRun + 1) % 2 == 0) {
				t[write++] = '#';
				t[write++] = letter;
			} else
				t[write++] = replacement;
			read++;
			hashRun = 0;
			continue;
		}
		t[write++] = c;
		hashRun = c == '#' ? hashRun + 1 : 0;
	}
	t.resize(write);
}


void
collapse_hash_pairs(std::string* text)
{
	std::string& t = *text;
	size_t write = 0;
	for (size_t read = 0; read < t.size(); read++) {
		t[write++] = t[read];
		if (t[read] == '#' && read + 1 < t.size() && t[read + 1] == '#')
			read++;
	}
	t.resize(write);
}

}


TVLT::TVLT()
	:
	fShowMissingKeys(false)
{
}


status_t
TVLT::Load(const char* path)
{
	TIniFile ini(path, B_READ_ONLY, kMaxLine);
	return Load(&ini);
}


status_t
TVLT::Load(BResources* resources, int32 id)
{
	if (resources == nullptr)
		resources = executable_resources();
	size_t size = 0;
	const void* data = resources->LoadResource('CSTR', id, &size);
	if (data == nullptr)
		return -1;
	BMemoryIO stream(data, size);
	TIniFile ini(&stream, kMaxLine);
	return Load(&ini);
}


status_t
TVLT::Load(TIniFile* ini)
{
	std::vector<char> value(static_cast<size_t>(ini->MaxLine()) + 1);

	ini->ChangeSection("Informations");
	if (!ini->ReadValue("Header", value.data())
		|| strcmp(value.data(), kHeader) != 0) {
		return -1;
	}
	if (ini->ReadValue("Language", value.data()))
		fLanguageName = value.data();
	if (ini->ReadValue("Writer", value.data()))
		fWriter = value.data();
	if (ini->ReadValue("SpecialThanks", value.data()))
		fSpecialThanks = value.data();

	ini->ChangeSection("Data");
	BList keys;
	ini->EnumKeys(&keys);
	for (int32 i = 0; i < keys.CountItems(); i++) {
		const char* key = static_cast<const char*>(keys.ItemAt(i));
		if (ini->ReadValue(key, value.data()))
			fTexts[key] = DecodeText(value.data());
	}
	return 0;
}


const char*
TVLT::Text(const char* key) const
{
	auto found = fTexts.find(key);
	if (found != fTexts.end())
		return found->second.c_str();
	if (fShowMissingKeys) {
		MissingKeyReporter reporter = sMissingKeyReporter.load();
		if (reporter != nullptr)
			reporter(key);
	}
	return fEmpty.c_str();
}


void
TVLT::SetMissingKeyReporter(MissingKeyReporter reporter)
{
	sMissingKeyReporter.store(reporter);
}


std::string
TVLT::DecodeText(const std::string& text)
{
	std::string decoded = text;
	if (decoded.find('#') == std::string::npos)
		return decoded;
	decode_escape(&decoded, 'n', '\n');
	decode_escape(&decoded, 't', '\t');
	decode_escape(&decoded, 's', ' ');
	collapse_hash_pairs(&decoded);
	return decoded;
}
