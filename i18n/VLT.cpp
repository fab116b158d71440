#include "VLT.h"

#include <atomic>
#include <cstring>
#include <vector>

#include <DataIO.h>
#include <ExecutableResources.h>
#include <File.h>
#include <Resources.h>

#include "IniFile.h"

namespace {

const char* const kHeader = "VLT File Format 100";

constinit std::atomic<TVLT::MissingKeyReporter> sMissingKeyReporter{nullptr};


// Replaces every "#<letter>" whose '#' is not the second of a "##" pair in
// the `size` bytes at `text`, and answers their new size. A text never grows
// in decoding, so it is rewritten over itself: the bytes still to be read
// always lie at or after the write position.
size_t
decode_escape(char* text, size_t size, char letter, char replacement)
{
	size_t write = 0;
	// Length of the run of '#' that ends the decoded text so far; the
	// replacements are never '#', so this equals the run in the text being
	// scanned.
	size_t hashRun = 0;
	for (size_t read = 0; read < size; read++) {
		const char c = text[read];
		if (c == '#' && read + 1 < size && text[read + 1] == letter) {
			if ((hashRun + 1) % 2 == 0) {
				text[write++] = '#';
				text[write++] = letter;
			} else
				text[write++] = replacement;
			read++;
			hashRun = 0;
			continue;
		}
		text[write++] = c;
		hashRun = c == '#' ? hashRun + 1 : 0;
	}
	return write;
}


size_t
collapse_hash_pairs(char* text, size_t size)
{
	size_t write = 0;
	for (size_t read = 0; read < size; read++) {
		text[write++] = text[read];
		if (text[read] == '#' && read + 1 < size && text[read + 1] == '#')
			read++;
	}
	return write;
}


// Decodes the `size` bytes at `text` in place; answers their new size.
size_t
decode_text(char* text, size_t size)
{
	if (memchr(text, '#', size) == nullptr)
		return size;
	size = decode_escape(text, size, 'n', '\n');
	size = decode_escape(text, size, 't', '\t');
	size = decode_escape(text, size, 's', ' ');
	return collapse_hash_pairs(text, size);
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
	// Every key and text goes into one block: "key\0text\0" after each
	// other. Their places are noted as offsets while the block still grows.
	struct Place {
		size_t key;
		size_t keySize;
		size_t text;
		size_t textSize;
	};
	std::vector<Place> places;
	auto block = std::make_shared<std::string>();
	ini->ForEachKey([&places, &block](std::string_view key,
			std::string_view text) {
		Place place;
		place.key = block->size();
		place.keySize = key.size();
		block->append(key.data(), key.size() + 1);
		place.text = block->size();
		block->append(text.data(), text.size() + 1);
		place.textSize = decode_text(block->data() + place.text, text.size());
		(*block)[place.text + place.textSize] = '\0';
		places.push_back(place);
	});
	fTexts.reserve(fTexts.size() + places.size());
	for (const Place& place : places) {
		fTexts.insert_or_assign(
			std::string_view(block->data() + place.key, place.keySize),
			std::string_view(block->data() + place.text, place.textSize));
	}
	fBlocks.push_back(std::move(block));
	return 0;
}


const char*
TVLT::Text(const char* key) const
{
	auto found = fTexts.find(key);
	if (found != fTexts.end())
		return found->second.data();
	if (fShowMissingKeys) {
		MissingKeyReporter reporter = sMissingKeyReporter.load();
		if (reporter != nullptr)
			reporter(key);
	}
	return "";
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
	decoded.resize(decode_text(decoded.data(), decoded.size()));
	return decoded;
}
