#ifndef INI_FILE_H
#define INI_FILE_H

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <File.h>
#include <GraphicsDefs.h>
#include <Path.h>
#include <SupportDefs.h>

#include "IniFileSection.h"
#include "IniNameIndex.h"

class BDirectory;
class BEntry;
class BList;
class BPositionIO;
struct entry_ref;

// An INI text held in memory: sections of key-value pairs with comments,
// section names and keys compared without regard to ASCII letter case.
//
// `maxLine` (N) bounds every line, section name, key, value and comment to N
// bytes: longer input lines are split into N-byte lines, and longer texts
// written through the API are cut to N bytes, so a ReadValue buffer of N + 1
// bytes always suffices. A UTF-8 byte-order mark before the first line is
// skipped.
//
// Lookups of sections and keys cost constant time. Names handed out by
// EnumSections and EnumKeys stay valid while the object lives and the
// section or key exists, whatever else is written meanwhile.
//
// Write-back: an object opened on a file (path, entry, reference, folder and
// name) replaces that file as a whole, atomically, as every save of the
// program does, and only when it was opened for writing; a stream given by
// the caller is rewritten from its start and cut after the new text.
//
// Numbers are read and written in the "C" locale's form whatever locale the
// process runs in.
class TIniFile {
public:
	explicit TIniFile(int32 maxLine);
	TIniFile(BPositionIO* stream, int32 maxLine);
	TIniFile(const char* path, uint32 openMode, int32 maxLine);
	TIniFile(const BEntry* entry, uint32 openMode, int32 maxLine);
	TIniFile(const entry_ref* ref, uint32 openMode, int32 maxLine);
	TIniFile(const BDirectory* dir, const char* name, uint32 openMode,
		int32 maxLine);
	// Writes the text back when it was modified.
	virtual ~TIniFile();

	virtual void ChangeSection(const char* name);
	virtual void DeleteKey(const char* key);
	virtual void DeleteSection(const char* name);
	virtual void EnumKeys(BList* keys) const;
	virtual void EnumSections(BList* names) const;
	virtual bool Flush(bool force);
	virtual bool KeyExists(const char* key) const;
	virtual bool ReadComment(char* comment);
	virtual bool ReadValue(const char* key, char* value) const;
	virtual bool ReadValue(const char* key, bool* value) const;
	virtual bool ReadValue(const char* key, int32* value) const;
	virtual bool ReadValue(const char* key, int64* value) const;
	virtual bool ReadValue(const char* key, float* value) const;
	virtual bool ReadValue(const char* key, rgb_color* value) const;
	virtual bool SectionExists(const char* name) const;
	virtual status_t SetTo(const entry_ref* ref, uint32 openMode, int32 maxLine);
	virtual status_t SetTo(const BEntry* entry, uint32 openMode, int32 maxLine);
	virtual status_t SetTo(const char* path, uint32 openMode, int32 maxLine);
	virtual status_t SetTo(const BDirectory* dir, const char* name,
		uint32 openMode, int32 maxLine);
	virtual void SetTo(BPositionIO* stream, int32 maxLine);
	virtual void Unset();
	// Writes answer false, changing nothing, for a text the line format
	// cannot hold: a comment or value with a line break, or a key with a
	// line break or '=', or one that begins with '[' or ';'.
	virtual bool WriteComment(const char* comment);
	virtual bool WriteValue(const char* key, const char* value);
	virtual bool WriteValue(const char* key, bool value);
	virtual bool WriteValue(const char* key, int32 value);
	virtual bool WriteValue(const char* key, int64 value);
	virtual bool WriteValue(const char* key, float value);
	virtual bool WriteValue(const char* key, rgb_color value);
	// Adds a key that is not there yet in any letter case: false, changing
	// nothing, when it is (or when WriteValue would refuse it). One lookup
	// where KeyExists and WriteValue take two.
	bool AddValue(const char* key, int64 value);

	// Calls visit(key, value) for every key of the current section, as
	// EnumKeys lists them, with the value ReadValue reads for it (a key
	// repeated in any letter case reads the first one's value), without
	// copying either: both are string_views followed by a NUL byte, valid
	// as long as EnumKeys's keys are.
	template<typename Visit>
	void ForEachKey(Visit visit) const
	{
		if (fCurrent != nullptr)
			fCurrent->ForEachKey(visit);
	}

	// Inserts a section at that position of the list (-1: at the end).
	void CreateSection(const char* name, int32 index);

	int32 MaxLine() const { return fMaxLine; }
	bool IsModified() const { return fModified; }

	static const char* const kGlobalSectionName;

private:
	TIniFile(const TIniFile&) = delete;
	TIniFile& operator=(const TIniFile&) = delete;

	void _Begin(int32 maxLine);
	void _Load();
	void _AddLine(char* line, size_t length, bool ownsEnd,
		TIniFileSection** filling);
	TIniFileSection* _AppendSection(const std::string& name);
	TIniFileSection* _InsertSection(const char* name, int32 index);
	std::string _Text() const;
	bool _ReplaceFile(const std::string& text);
	bool _RewriteStream(const std::string& text);
	std::string_view _Bounded(const char* text) const;
	TIniFileSection* _FindSection(const char* name) const;
	const TIniFilePair* _FindPair(const char* key) const;

	bool fModified;
	int32 fMaxLine;
	BFile fFile;
	// Where an object opened on a file writes back.
	BPath fPath;
	// The text as loaded; the pairs of its lines refer to it.
	std::string fText;
	std::vector<std::unique_ptr<TIniFileSection>> fSections;
	TIniNameIndex<TIniFileSection*> fSectionIndex;
	BPositionIO* fStream;
	TIniFileSection* fCurrent;
};

#endif
