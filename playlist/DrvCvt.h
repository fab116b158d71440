#ifndef DRV_CVT_H
#define DRV_CVT_H

#include <string>

#include <String.h>
#include <SupportDefs.h>

// Turns list entries written on Windows (C:\MIDI\a.mid, \MIDI\a.mid) into
// paths of this system through a table from drive letter to volume path,
// converting Shift-JIS names to UTF-8 on the way. The table is kept in
// "DriveLetter.arc" in the shared settings folder.
class TDrvCvt {
public:
	// Room of CvtPathWinToBe's output buffer, terminating NUL included.
	static const int32 kPathBufferSize = 2048;
	static const int32 kLetterCount = 26;

	// Sets the defaults (A "/no name", C "/windows"), then reads the saved table.
	TDrvCvt();
	virtual ~TDrvCvt();

	// Replaces the whole table by the saved one (a missing letter becomes
	// unassigned); leaves it as it is when the file cannot be read.
	status_t Load();
	// Replaces the saved table atomically.
	status_t Save() const;
	// Where the table is saved; empty when the settings folder is unknown.
	static std::string TablePath();

	// The letter is taken in either case; false for anything outside A...Z.
	// A path not beginning with "/" gets one put in front.
	bool SetBeDL(char letter, const BString& path);
	// False when the letter is outside A...Z or not assigned.
	bool GetBeDL(char letter, BString* path) const;

	// Converts one list entry; containerPath is the absolute path of the list
	// file it came from. False, with `path` not written, when the entry has no
	// drive or root form, its drive is unassigned, or the result does not fit
	// into kPathBufferSize bytes.
	bool CvtPathWinToBe(const char* entry, char* path,
		const char* containerPath) const;

private:
	static int32 _LetterIndex(char letter);

	BString fTable[kLetterCount];
};

#endif
