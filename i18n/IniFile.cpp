#include "IniFile.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include <DataIO.h>
#include <Directory.h>
#include <Entry.h>
#include <List.h>

const char* const TIniFile::kGlobalSectionName = "_TIniF_GlobalSec";

namespace {

bool
is_space(char c)
{
	return isspace(static_cast<unsigned char>(c)) != 0;
}


std::string
trimmed(const std::string& text, std::string::size_type begin = 0,
	std::string::size_type end = std::string::npos)
{
	if (end > text.size())
		end = text.size();
	while (begin < end && is_space(text[begin]))
		begin++;
	while (end > begin && is_space(text[end - 1]))
		end--;
	return text.substr(begin, end - begin);
}


// Reads the stream in blocks and hands out lines of at most maxLine bytes.
class LineReader {
public:
	LineReader(BPositionIO* stream, int32 maxLine)
		: fStream(stream), fMaxLine(static_cast<size_t>(maxLine)),
		  fStart(0), fEnd(0) {}

	// False when the stream yields no byte any more.
	bool Next(std::string* line)
	{
		line->clear();
		bool gotByte = false;
		while (line->size() < fMaxLine) {
			if (fStart == fEnd && !_Fill())
				break;
			gotByte = true;
			const char c = fBuffer[fStart++];
			if (c == '\n')
				break;
			line->push_back(c);
		}
		// The line is a zero-terminated text: an embedded NUL ends it.
		std::string::size_type nul = line->find('\0');
		if (nul != std::string::npos)
			line->resize(nul);
		if (!line->empty() && line->back() == '\r')
			line->pop_back();
		return gotByte;
	}

private:
	bool _Fill()
	{
		ssize_t got = fStream->Read(fBuffer, sizeof(fBuffer));
		if (got <= 0)
			return false;
		fStart = 0;
		fEnd = static_cast<size_t>(got);
		return true;
	}

	BPositionIO* fStream;
	size_t fMaxLine;
	char fBuffer[4096];
	size_t fStart;
	size_t fEnd;
};


// A decimal integer clamped to [low, high]; false when the text holds none.
bool
parse_integer(const char* text, int64 low, int64 high, int64* value,
	const char** end = nullptr)
{
	char* stop = nullptr;
	long long parsed = strtoll(text, &stop, 10);
	if (stop == text)
		return false;
	if (parsed < low)
		parsed = low;
	if (parsed > high)
		parsed = high;
	*value = parsed;
	if (end != nullptr)
		*end = stop;
	return true;
}


// A value of the integer type's range, or nothing when the text holds none.
template<typename Integer>
std::optional<Integer>
integer_value(const std::string& text)
{
	int64 number;
	if (!parse_integer(text.c_str(), std::numeric_limits<Integer>::min(),
			std::numeric_limits<Integer>::max(), &number))
		return std::nullopt;
	return static_cast<Integer>(number);
}

}


TIniFile::TIniFile(int32 maxLine)
	:
	fModified(false),
	fMaxLine(maxLine),
	fStream(nullptr),
	fCurrent(nullptr)
{
}


TIniFile::TIniFile(BPositionIO* stream, int32 maxLine)
	:
	TIniFile(maxLine)
{
	SetTo(stream, maxLine);
}


TIniFile::TIniFile(const char* path, uint32 openMode, int32 maxLine)
	:
	TIniFile(maxLine)
{
	SetTo(path, openMode, maxLine);
}


TIniFile::TIniFile(const BEntry* entry, uint32 openMode, int32 maxLine)
	:
	TIniFile(maxLine)
{
	SetTo(entry, openMode, maxLine);
}


TIniFile::TIniFile(const entry_ref* ref, uint32 openMode, int32 maxLine)
	:
	TIniFile(maxLine)
{
	SetTo(ref, openMode, maxLine);
}


TIniFile::TIniFile(const BDirectory* dir, const char* name, uint32 openMode,
	int32 maxLine)
	:
	TIniFile(maxLine)
{
	SetTo(dir, name, openMode, maxLine);
}


TIniFile::~TIniFile()
{
	Flush(false);
}


void
TIniFile::ChangeSection(const char* name)
{
	TIniFileSection* section = _FindSection(name);
	// Looking at a section is no change of the text: a section created here
	// is written only after something is written into it or elsewhere.
	if (section == nullptr)
		section = _InsertSection(name, -1);
	fCurrent = section;
	fCurrent->RewindComments();
}


void
TIniFile::CreateSection(const char* name, int32 index)
{
	_InsertSection(name, index);
	fModified = true;
}


void
TIniFile::DeleteKey(const char* key)
{
	if (fCurrent != nullptr && fCurrent->DeletePair(key))
		fModified = true;
}


void
TIniFile::DeleteSection(const char* name)
{
	for (size_t i = 1; i < fSections.size(); i++) {
		if (!ini_names_equal(fSections[i]->Name().c_str(), name))
			continue;
		if (fCurrent == fSections[i].get())
			fCurrent = fSections.front().get();
		fSections.erase(fSections.begin() + i);
		fModified = true;
		return;
	}
}


void
TIniFile::EnumKeys(BList* keys) const
{
	if (fCurrent == nullptr)
		return;
	for (const TIniFilePair& pair : fCurrent->Pairs())
		keys->AddItem(const_cast<char*>(pair.key.c_str()));
}


void
TIniFile::EnumSections(BList* names) const
{
	for (const auto& section : fSections)
		names->AddItem(const_cast<char*>(section->Name().c_str()));
}


bool
TIniFile::Flush(bool force)
{
	if (fStream == nullptr)
		return false;
	if (!fModified && !force)
		return true;

	std::string text;
	for (const auto& section : fSections) {
		if (section.get() != fSections.front().get())
			text += "[ " + section->Name() + " ]\n";
		for (const std::string& comment : section->Comments())
			text += "; " + comment + "\n";
		for (const TIniFilePair& pair : section->Pairs())
			text += pair.key + " = " + pair.value + "\n";
		text += "\n";
	}

	if (fStream->Seek(0, SEEK_SET) < 0)
		return false;
	ssize_t written = fStream->Write(text.data(), text.size());
	if (written < 0 || static_cast<size_t>(written) != text.size())
		return false;
	fModified = false;
	return true;
}


bool
TIniFile::KeyExists(const char* key) const
{
	return _FindPair(key) != nullptr;
}


bool
TIniFile::ReadComment(char* comment)
{
	std::string text;
	if (fCurrent == nullptr || !fCurrent->NextComment(&text))
		return false;
	memcpy(comment, text.c_str(), text.size() + 1);
	return true;
}


bool
TIniFile::ReadValue(const char* key, char* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	memcpy(value, pair->value.c_str(), pair->value.size() + 1);
	return true;
}


bool
TIniFile::ReadValue(const char* key, bool* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	if (std::optional<int64> number = integer_value<int64>(pair->value))
		*value = *number != 0;
	return true;
}


bool
TIniFile::ReadValue(const char* key, int32* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	if (std::optional<int32> number = integer_value<int32>(pair->value))
		*value = *number;
	return true;
}


bool
TIniFile::ReadValue(const char* key, int64* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	if (std::optional<int64> number = integer_value<int64>(pair->value))
		*value = *number;
	return true;
}


bool
TIniFile::ReadValue(const char* key, float* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	char* stop = nullptr;
	float number = strtof(pair->value.c_str(), &stop);
	if (stop != pair->value.c_str())
		*value = number;
	return true;
}


bool
TIniFile::ReadValue(const char* key, rgb_color* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	uint8* components[] = {&value->red, &value->green, &value->blue,
		&value->alpha};
	const char* text = pair->value.c_str();
	for (uint8* component : components) {
		int64 number;
		if (!parse_integer(text, std::numeric_limits<int64>::min(),
				std::numeric_limits<int64>::max(), &number, &text)) {
			break;
		}
		*component = static_cast<uint8>(number);
	}
	return true;
}


bool
TIniFile::SectionExists(const char* name) const
{
	return _FindSection(name) != nullptr;
}


status_t
TIniFile::SetTo(const entry_ref* ref, uint32 openMode, int32 maxLine)
{
	Unset();
	status_t status = fFile.SetTo(ref, openMode);
	fStream = &fFile;
	_Begin(maxLine);
	return status;
}


status_t
TIniFile::SetTo(const BEntry* entry, uint32 openMode, int32 maxLine)
{
	Unset();
	status_t status = fFile.SetTo(entry, openMode);
	fStream = &fFile;
	_Begin(maxLine);
	return status;
}


status_t
TIniFile::SetTo(const char* path, uint32 openMode, int32 maxLine)
{
	Unset();
	status_t status = fFile.SetTo(path, openMode);
	fStream = &fFile;
	_Begin(maxLine);
	return status;
}


status_t
TIniFile::SetTo(const BDirectory* dir, const char* name, uint32 openMode,
	int32 maxLine)
{
	Unset();
	status_t status = fFile.SetTo(dir, name, openMode);
	fStream = &fFile;
	_Begin(maxLine);
	return status;
}


void
TIniFile::SetTo(BPositionIO* stream, int32 maxLine)
{
	Unset();
	fStream = stream;
	_Begin(maxLine);
}


void
TIniFile::Unset()
{
	fSections.clear();
	fCurrent = nullptr;
	fFile.Unset();
	fStream = nullptr;
}


void
TIniFile::WriteComment(const char* comment)
{
	if (fCurrent == nullptr)
		return;
	fCurrent->AddComment(_Bounded(comment));
	fModified = true;
}


void
TIniFile::WriteValue(const char* key, const char* value)
{
	if (fCurrent == nullptr)
		return;
	TIniFilePair* pair = fCurrent->FindPair(key);
	if (pair == nullptr)
		pair = fCurrent->AddPair(_Bounded(key), std::string());
	pair->value = _Bounded(value);
	fModified = true;
}


void
TIniFile::WriteValue(const char* key, bool value)
{
	WriteValue(key, value ? "1" : "0");
}


void
TIniFile::WriteValue(const char* key, int32 value)
{
	WriteValue(key, static_cast<int64>(value));
}


void
TIniFile::WriteValue(const char* key, int64 value)
{
	char text[32];
	snprintf(text, sizeof(text), "%" PRId64, value);
	WriteValue(key, text);
}


void
TIniFile::WriteValue(const char* key, float value)
{
	char text[64];
	snprintf(text, sizeof(text), "%g", static_cast<double>(value));
	WriteValue(key, text);
}


void
TIniFile::WriteValue(const char* key, rgb_color value)
{
	char text[32];
	snprintf(text, sizeof(text), "%u %u %u %u", value.red, value.green,
		value.blue, value.alpha);
	WriteValue(key, text);
}


void
TIniFile::_Begin(int32 maxLine)
{
	fModified = false;
	fMaxLine = maxLine > 0 ? maxLine : 1;
	_Load();
	fCurrent = fSections.front().get();
}


void
TIniFile::_Load()
{
	fSections.push_back(std::make_unique<TIniFileSection>(kGlobalSectionName));
	TIniFileSection* filling = fSections.front().get();
	if (fStream == nullptr || fStream->Seek(0, SEEK_SET) < 0)
		return;

	LineReader reader(fStream, fMaxLine);
	std::string line;
	while (reader.Next(&line))
		_AddLine(line, &filling);
}


void
TIniFile::_AddLine(const std::string& line, TIniFileSection** filling)
{
	std::string::size_type start = 0;
	while (start < line.size() && is_space(line[start]))
		start++;
	if (start == line.size())
		return;

	switch (line[start]) {
		case ';':
			(*filling)->AddComment(trimmed(line, start + 1));
			break;
		case '[':
		{
			std::string::size_type close = line.find(']', start + 1);
			fSections.push_back(std::make_unique<TIniFileSection>(
				trimmed(line, start + 1, close)));
			*filling = fSections.back().get();
			break;
		}
		default:
		{
			std::string::size_type equals = line.find('=', start);
			if (equals == std::string::npos)
				(*filling)->AddPair(std::string(), trimmed(line, start));
			else {
				(*filling)->AddPair(trimmed(line, start, equals),
					trimmed(line, equals + 1));
			}
			break;
		}
	}
}


TIniFileSection*
TIniFile::_InsertSection(const char* name, int32 index)
{
	auto section = std::make_unique<TIniFileSection>(_Bounded(name));
	TIniFileSection* inserted = section.get();
	// The global section stays first.
	if (index < 1 || static_cast<size_t>(index) >= fSections.size())
		fSections.push_back(std::move(section));
	else
		fSections.insert(fSections.begin() + index, std::move(section));
	return inserted;
}


std::string
TIniFile::_Bounded(const char* text) const
{
	const size_t length = strnlen(text, static_cast<size_t>(fMaxLine));
	return std::string(text, length);
}


TIniFileSection*
TIniFile::_FindSection(const char* name) const
{
	for (const auto& section : fSections) {
		if (ini_names_equal(section->Name().c_str(), name))
			return section.get();
	}
	return nullptr;
}


const TIniFilePair*
TIniFile::_FindPair(const char* key) const
{
	return fCurrent == nullptr ? nullptr : fCurrent->FindPair(key);
}
