#include "IniFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include <AtomicFile.h>
#include <DataIO.h>
#include <Directory.h>
#include <Entry.h>
#include <List.h>

#include "IniNumberText.h"

const char* const TIniFile::kGlobalSectionName = "_TIniF_GlobalSec";

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";
const size_t kByteOrderMarkSize = sizeof(kByteOrderMark) - 1;


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


// A value of the integer type's range, or nothing when the text holds none.
template<typename Integer>
std::optional<Integer>
integer_value(const std::string& text)
{
	std::optional<int64> number = ini_parse_integer(text,
		std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
	if (!number)
		return std::nullopt;
	return static_cast<Integer>(*number);
}


// Where the text of a stream begins: after a byte-order mark, which editors
// on Windows put before the first line of a UTF-8 text.
off_t
text_start(BPositionIO* stream)
{
	char head[kByteOrderMarkSize];
	if (stream->ReadAt(0, head, sizeof(head)) == sizeof(head)
		&& memcmp(head, kByteOrderMark, sizeof(head)) == 0) {
		return kByteOrderMarkSize;
	}
	return 0;
}


// Texts the line format cannot hold are refused rather than escaped: every
// byte of a line is taken literally (language texts carry "#n" escapes of
// their own, playlists Windows paths with backslashes), so any escape would
// change what existing files mean.
bool
holds_line_break(std::string_view text)
{
	return text.find_first_of("\r\n") != std::string_view::npos;
}


// A key that reads back as itself: not split at an '=' and not taken for a
// section header or a comment.
bool
is_storable_key(std::string_view key)
{
	if (holds_line_break(key) || key.find('=') != std::string_view::npos)
		return false;
	auto first = std::find_if_not(key.begin(), key.end(), is_space);
	return first == key.end() || (*first != '[' && *first != ';');
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
	if (fSections.empty())
		return;
	TIniFileSection* const global = fSections.front().get();
	TIniFileSection* const* found = fSectionIndex.FirstAccepted(name,
		[global](TIniFileSection* section) { return section != global; });
	if (found == nullptr)
		return;
	TIniFileSection* section = *found;
	if (fCurrent == section)
		fCurrent = global;
	fSectionIndex.Remove(section->Name(), section);
	fSections.erase(std::find_if(fSections.begin(), fSections.end(),
		[section](const auto& owned) { return owned.get() == section; }));
	fModified = true;
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
	const std::string text = _Text();
	const bool written = fStream == &fFile ? _ReplaceFile(text)
		: _RewriteStream(text);
	if (written)
		fModified = false;
	return written;
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
	if (std::optional<float> number = ini_parse_float(pair->value))
		*value = *number;
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
	std::string_view text = pair->value;
	for (uint8* component : components) {
		size_t end = 0;
		std::optional<int64> number = ini_parse_integer(text,
			std::numeric_limits<int64>::min(), std::numeric_limits<int64>::max(),
			&end);
		if (!number)
			break;
		*component = static_cast<uint8>(*number);
		text.remove_prefix(end);
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
	fPath.SetTo(ref);
	fStream = &fFile;
	_Begin(maxLine);
	return status;
}


status_t
TIniFile::SetTo(const BEntry* entry, uint32 openMode, int32 maxLine)
{
	Unset();
	status_t status = fFile.SetTo(entry, openMode);
	fPath.SetTo(entry);
	fStream = &fFile;
	_Begin(maxLine);
	return status;
}


status_t
TIniFile::SetTo(const char* path, uint32 openMode, int32 maxLine)
{
	Unset();
	status_t status = fFile.SetTo(path, openMode);
	fPath.SetTo(path);
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
	fPath.SetTo(dir, name);
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
	fSectionIndex.Clear();
	fSections.clear();
	fCurrent = nullptr;
	fFile.Unset();
	fPath.Unset();
	fStream = nullptr;
}


bool
TIniFile::WriteComment(const char* comment)
{
	const std::string text = _Bounded(comment);
	if (fCurrent == nullptr || holds_line_break(text))
		return false;
	fCurrent->AddComment(text);
	fModified = true;
	return true;
}


bool
TIniFile::WriteValue(const char* key, const char* value)
{
	const std::string keyText = _Bounded(key);
	const std::string valueText = _Bounded(value);
	if (fCurrent == nullptr || !is_storable_key(keyText)
		|| holds_line_break(valueText)) {
		return false;
	}
	TIniFilePair* pair = fCurrent->FindPair(keyText.c_str());
	if (pair == nullptr)
		pair = fCurrent->AddPair(keyText, std::string());
	pair->value = valueText;
	fModified = true;
	return true;
}


bool
TIniFile::WriteValue(const char* key, bool value)
{
	return WriteValue(key, value ? "1" : "0");
}


bool
TIniFile::WriteValue(const char* key, int32 value)
{
	return WriteValue(key, static_cast<int64>(value));
}


bool
TIniFile::WriteValue(const char* key, int64 value)
{
	return WriteValue(key, ini_integer_text(value).c_str());
}


bool
TIniFile::WriteValue(const char* key, float value)
{
	return WriteValue(key, ini_float_text(value).c_str());
}


bool
TIniFile::WriteValue(const char* key, rgb_color value)
{
	const std::string text = ini_integer_text(value.red) + " "
		+ ini_integer_text(value.green) + " " + ini_integer_text(value.blue)
		+ " " + ini_integer_text(value.alpha);
	return WriteValue(key, text.c_str());
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
	TIniFileSection* filling = _AppendSection(kGlobalSectionName);
	if (fStream == nullptr || fStream->Seek(text_start(fStream), SEEK_SET) < 0)
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
			*filling = _AppendSection(trimmed(line, start + 1, close));
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
TIniFile::_AppendSection(const std::string& name)
{
	fSections.push_back(std::make_unique<TIniFileSection>(name));
	TIniFileSection* appended = fSections.back().get();
	fSectionIndex.Append(appended->Name(), appended);
	return appended;
}


TIniFileSection*
TIniFile::_InsertSection(const char* name, int32 index)
{
	const std::string bounded = _Bounded(name);
	// The global section stays first.
	if (index < 1 || static_cast<size_t>(index) >= fSections.size())
		return _AppendSection(bounded);

	// Lookups find the first section of a name in list order, so the index
	// learns how many of that name stand before the new one.
	const auto position = fSections.begin() + index;
	const size_t rank = static_cast<size_t>(std::count_if(fSections.begin(),
		position, [&bounded](const auto& section) {
			return ini_names_equal(section->Name(), bounded);
		}));
	TIniFileSection* inserted = fSections.insert(position,
		std::make_unique<TIniFileSection>(bounded))->get();
	fSectionIndex.Insert(inserted->Name(), inserted, rank);
	return inserted;
}


std::string
TIniFile::_Text() const
{
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
	// A first key that begins with the bytes of a byte-order mark gets a
	// mark of its own before it, which the reader skips, so that it keeps
	// them.
	if (text.compare(0, kByteOrderMarkSize, kByteOrderMark) == 0)
		text.insert(0, kByteOrderMark);
	return text;
}


// The file is replaced as a whole, as every file the program writes: a
// shorter text leaves no tail of the old one behind, and a failed write
// leaves the old file as it was. A file opened for reading only is never
// written.
bool
TIniFile::_ReplaceFile(const std::string& text)
{
	if (fFile.InitCheck() != B_OK || !fFile.IsWritable()
		|| fPath.InitCheck() != B_OK) {
		return false;
	}
	BAtomicFile file(fPath.Path());
	if (file.InitCheck() != B_OK)
		return false;
	file.Write(text.data(), text.size());
	if (file.Commit() != B_OK)
		return false;
	// The old file is gone; a later write-back replaces the new one.
	fFile = file;
	return true;
}


// A stream of the caller's is rewritten in place, and what a longer old
// text left after the new one is cut off.
bool
TIniFile::_RewriteStream(const std::string& text)
{
	if (fStream->Seek(0, SEEK_SET) < 0)
		return false;
	ssize_t written = fStream->Write(text.data(), text.size());
	if (written < 0 || static_cast<size_t>(written) != text.size())
		return false;
	off_t size = 0;
	if (fStream->GetSize(&size) == B_OK && size > static_cast<off_t>(text.size()))
		return fStream->SetSize(static_cast<off_t>(text.size())) == B_OK;
	return true;
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
	TIniFileSection* const* section = fSectionIndex.First(name);
	return section == nullptr ? nullptr : *section;
}


const TIniFilePair*
TIniFile::_FindPair(const char* key) const
{
	return fCurrent == nullptr ? nullptr : fCurrent->FindPair(key);
}
