#include "DrvCvt.h"

#include <cstring>
#include <string>
#include <vector>

#include <Charset.h>
#include <Entry.h>
#include <File.h>
#include <Files.h>
#include <Message.h>
#include <Path.h>
#include <UTF8.h>

#include <AtomicWrite.h>

namespace {

const char* const kTableFile = "DriveLetter.arc";
const char* const kTableFolder = "Shared";


bool
get_table_entry(BEntry* entry)
{
	return pelkan::get_entry(kTableFile, entry, pelkan::BaseDir_Settings,
		kTableFolder);
}


std::string
letter_name(int32 index)
{
	return std::string(1, static_cast<char>('A' + index));
}


// Shift-JIS text as UTF-8; the text itself when the converter fails. A byte
// that is no part of a Shift-JIS character becomes the substitute character,
// also a lead byte whose second byte was cut off at the end of the name,
// which the converter leaves unconsumed as the start of a character still
// to come.
std::string
sjis_to_utf8(const std::string& text)
{
	// Half-width katakana grow from one byte to three.
	std::vector<char> converted(text.size() * 3 + 1);
	std::string result;
	size_t done = 0;
	while (done < text.size()) {
		int32 sourceLength = static_cast<int32>(text.size() - done);
		int32 convertedLength = static_cast<int32>(converted.size());
		int32 state = 0;
		if (convert_to_utf8(B_SJIS_CONVERSION, text.data() + done, &sourceLength,
				converted.data(), &convertedLength, &state, B_SUBSTITUTE) != B_OK) {
			return text;
		}
		result.append(converted.data(), static_cast<size_t>(convertedLength));
		done += static_cast<size_t>(sourceLength);
		if (sourceLength == 0) {
			result.push_back(B_SUBSTITUTE);
			done++;
		}
	}
	return result;
}
}


TDrvCvt::TDrvCvt()
{
	fTable[0] = "/no name";
	fTable[2] = "/windows";
	Load();
}


TDrvCvt::~TDrvCvt()
{
}


status_t
TDrvCvt::Load()
{
	BEntry entry;
	if (!get_table_entry(&entry))
		return B_ERROR;
	BFile file(&entry, B_READ_ONLY);
	status_t status = file.InitCheck();
	if (status != B_OK)
		return status;
	BMessage table;
	status = table.Unflatten(&file);
	if (status != B_OK)
		return status;

	for (int32 i = 0; i < kLetterCount; i++) {
		const char* path = nullptr;
		if (table.FindString(letter_name(i).c_str(), &path) == B_OK)
			SetBeDL(static_cast<char>('A' + i), BString(path));
		else
			fTable[i] = "";
	}
	return B_OK;
}


status_t
TDrvCvt::Save() const
{
	BEntry entry;
	if (!get_table_entry(&entry))
		return B_ERROR;
	BMessage table;
	for (int32 i = 0; i < kLetterCount; i++) {
		status_t status = table.AddString(letter_name(i).c_str(), fTable[i]);
		if (status != B_OK)
			return status;
	}
	return pelkan::write_message_atomically(entry, table);
}


std::string
TDrvCvt::TablePath()
{
	BEntry entry;
	BPath path;
	if (!get_table_entry(&entry) || entry.GetPath(&path) != B_OK)
		return std::string();
	return path.Path();
}


bool
TDrvCvt::SetBeDL(char letter, const BString& path)
{
	int32 index = _LetterIndex(letter);
	if (index < 0)
		return false;
	if (path.Length() > 0 && path[0] != '/') {
		BString rooted("/");
		rooted += path;
		fTable[index] = rooted;
	} else
		fTable[index] = path;
	return true;
}


bool
TDrvCvt::GetBeDL(char letter, BString* path) const
{
	int32 index = _LetterIndex(letter);
	if (index < 0 || fTable[index].Length() == 0)
		return false;
	*path = fTable[index];
	return true;
}


bool
TDrvCvt::CvtPathWinToBe(const char* entry, char* path,
	const char* containerPath) const
{
	// The entry is converted before its backslashes are: the second byte of
	// many Shift-JIS characters (表, ソ, 能 ...) is 0x5c, the backslash.
	std::string source = entry;
	if (pelkan::detect_charset(source.c_str()) == B_SJIS_CONVERSION)
		source = sjis_to_utf8(source);

	std::string converted;
	if (source.size() >= 2 && source[1] == ':') {
		BString volume;
		if (!GetBeDL(source[0], &volume))
			return false;
		converted = std::string(volume.String()) + source.substr(2);
	} else if (!source.empty() && source[0] == '\\') {
		const std::string container = containerPath != nullptr ? containerPath : "";
		if (container.empty())
			return false;
		converted = container.substr(0, container.find('/', 1)) + source;
	} else
		return false;

	for (char& c : converted) {
		if (c == '\\')
			c = '/';
	}
	if (!converted.empty() && converted.back() == '\r')
		converted.pop_back();

	if (converted.size() + 1 > static_cast<size_t>(kPathBufferSize))
		return false;
	memcpy(path, converted.c_str(), converted.size() + 1);
	return true;
}


int32
TDrvCvt::_LetterIndex(char letter)
{
	if (letter >= 'a' && letter <= 'z')
		return letter - 'a';
	if (letter >= 'A' && letter <= 'Z')
		return letter - 'A';
	return -1;
}
