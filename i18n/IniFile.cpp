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


// The text between begin and end without white space at either edge.
std::string_view
trimmed(std::string_view line, size_t begin, size_t end = std::string_view::npos)
{
	end = std::min(end, line.size());
	while (begin < end && is_space(line[begin]))
		begin++;
	while (end > begin && is_space(line[end - 1]))
		end--;
	return line.substr(begin, end - begin);
}


// The rest of the stream from where it stands, read in as few calls as its
// size allows.
std::string
read_rest(BPositionIO* stream)
{
	std::string text;
	off_t size = 0;
	const off_t position = stream->Position();
	// One byte more than the rest, so that the read that finds the end needs
	// no larger buffer.
	if (stream->GetSize(&size) == B_OK && position >= 0 && size > position)
		text.reserve(static_cast<size_t>(size - position) + 1);
	const size_t kBlockSize = 1 << 16;
	size_t used = 0;
	for (;;) {
		if (text.capacity() == used)
			text.reserve(used + kBlockSize);
		text.resize(text.capacity());
		const ssize_t got = stream->Read(text.data() + used, text.size() - used);
		if (got <= 0)
			break;
		used += static_cast<size_t>(got);
	}
	text.resize(used);
	return text;
}


// A value of the integer type's range, or nothing when the text holds none.
template<typename Integer>
std::optional<Integer>
integer_value(std::string_view text)
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
	fCurrent->ForEachPair([keys](const TIniFilePair& pair) {
		keys->AddItem(const_cast<char*>(pair.key.CString()));
	});
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
	memcpy(value, pair->value.CString(), pair->value.View().size() + 1);
	return true;
}


bool
TIniFile::ReadValue(const char* key, bool* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	if (std::optional<int64> number = integer_value<int64>(pair->value.View()))
		*value = *number != 0;
	return true;
}


bool
TIniFile::ReadValue(const char* key, int32* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	if (std::optional<int32> number = integer_value<int32>(pair->value.View()))
		*value = *number;
	return true;
}


bool
TIniFile::ReadValue(const char* key, int64* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	if (std::optional<int64> number = integer_value<int64>(pair->value.View()))
		*value = *number;
	return true;
}


bool
TIniFile::ReadValue(const char* key, float* value) const
{
	const TIniFilePair* pair = _FindPair(key);
	if (pair == nullptr)
		return false;
	if (std::optional<float> number = ini_parse_float(pair->value.View()))
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
	std::string_view text = pair->value.View();
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
	std::string().swap(fText);
	fCurrent = nullptr;
	fFile.Unset();
	fPath.Unset();
	fStream = nullptr;
}


bool
TIniFile::WriteComment(const char* comment)
{
	const std::string_view text = _Bounded(comment);
	if (fCurrent == nullptr || holds_line_break(text))
		return false;
	fCurrent->AddComment(text);
	fModified = true;
	return true;
}


bool
TIniFile::WriteValue(const char* key, const char* value)
{
	const std::string_view keyText = _Bounded(key);
	const std::string_view valueText = _Bounded(value);
	if (fCurrent == nullptr || !is_storable_key(keyText)
		|| holds_line_break(valueText)) {
		return false;
	}
	TIniFilePair* pair = fCurrent->FindPair(keyText);
	if (pair == nullptr)
		fCurrent->AddPair(keyText, valueText, TIniKeeping::kCopy);
	else
		pair->value.Set(valueText, TIniKeeping::kCopy);
	fModified = true;
	return true;
}


bool
TIniFile::AddValue(const char* key, int64 value)
{
	const std::string_view keyText = _Bounded(key);
	if (fCurrent == nullptr || !is_storable_key(keyText)
		|| fCurrent->FindPair(keyText) != nullptr) {
		return false;
	}
	fCurrent->AddPair(keyText, ini_integer_text(value), TIniKeeping::kCopy);
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

	// The whole text is read at once and stays: the keys and values of its
	// pairs are parts of it, each ended by a NUL written over the byte after
	// it.
	fText = read_rest(fStream);
	char* const text = fText.data();
	const size_t size = fText.size();
	const size_t maxLine = static_cast<size_t>(fMaxLine);
	size_t at = 0;
	while (at < size) {
		char* const begin = text + at;
		const size_t limit = std::min(size - at, maxLine);
		char* end = static_cast<char*>(memchr(begin, '\n', limit));
		// A line ended by a line break owns the byte after its text; one cut
		// at the bound does not, unless it is the last (the string's own
		// NUL follows it).
		bool ownsEnd = true;
		if (end != nullptr)
			at = static_cast<size_t>(end - text) + 1;
		else {
			end = begin + limit;
			at += limit;
			ownsEnd = at == size;
		}
		// The line is a zero-terminated text: an embedded NUL ends it.
		if (char* nul = static_cast<char*>(memchr(begin, '\0',
				static_cast<size_t>(end - begin)))) {
			end = nul;
			ownsEnd = true;
		}
		if (end > begin && end[-1] == '\r') {
			end--;
			ownsEnd = true;
		}
		_AddLine(begin, static_cast<size_t>(end - begin), ownsEnd, &filling);
	}
}


// `line` may be changed: the bytes after its key and value become NULs.
// The byte after the line is changed too when the line owns it.
void
TIniFile::_AddLine(char* line, size_t length, bool ownsEnd,
	TIniFileSection** filling)
{
	const std::string_view text(line, length);
	size_t start = 0;
	while (start < length && is_space(line[start]))
		start++;
	if (start == length)
		return;

	switch (line[start]) {
		case ';':
			(*filling)->AddComment(trimmed(text, start + 1));
			break;
		case '[':
		{
			const size_t close = text.find(']', start + 1);
			*filling = _AppendSection(std::string(trimmed(text, start + 1,
				close)));
			break;
		}
		default:
		{
			const size_t equals = text.find('=', start);
			const std::string_view key = equals == std::string_view::npos
				? std::string_view() : trimmed(text, start, equals);
			const std::string_view value = trimmed(text,
				equals == std::string_view::npos ? start : equals + 1);
			// A key ends before the '=' of its line; only a value can end
			// where the line does.
			const bool valueEndsLine = value.data() + value.size()
				== line + length;
			if (valueEndsLine && !ownsEnd) {
				(*filling)->AddPair(key, value, TIniKeeping::kCopy);
				break;
			}
			line[value.data() + value.size() - line] = '\0';
			if (equals != std::string_view::npos)
				line[key.data() + key.size() - line] = '\0';
			(*filling)->AddPair(equals == std::string_view::npos ? "" : key,
				value, TIniKeeping::kRefer);
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
	const std::string bounded(_Bounded(name));
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
			text.append("[ ").append(section->Name()).append(" ]\n");
		for (const std::string& comment : section->Comments())
			text.append("; ").append(comment).append("\n");
		section->ForEachPair([&text](const TIniFilePair& pair) {
			text.append(pair.key.View()).append(" = ")
				.append(pair.value.View()).append("\n");
		});
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


std::string_view
TIniFile::_Bounded(const char* text) const
{
	return std::string_view(text, strnlen(text, static_cast<size_t>(fMaxLine)));
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
