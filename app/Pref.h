#ifndef PREF_H
#define PREF_H

#include <string>

#include <PKNArchivable.h>
#include <Lang.h>

// The user's preferences, edited in the preferences window. A plain value:
// the window works on copies.
class TPref : public pelkan::TArchivable {
public:
	// The ranges the preferences window lets the user choose from, in
	// microseconds; a hand-edited or damaged file is brought back into them.
	static constexpr int64 kMaxSilenceAfterResets = 1000000;
	static constexpr int64 kMinSilenceBetweenSongs = 1000000;
	static constexpr int64 kMaxSilenceBetweenSongs = 5000000;

	bool Archive(BMessage* archive) const override;
	bool Unarchive(const BMessage& archive) override;

	pelkan::TLang Lang() const;

	// Keep the AI selector's database and learn while playing.
	bool aiLearning = true;
	bool silenceBetweenSongs = false;
	bool sendSysResets = false;
	// 0 none, 1 ascending by file name, 2 descending.
	int32 autoSortKind = 1;
	// Reset messages to send: 1 GM, 2 GS, 4 "88", 8 XG.
	int32 sysResetCombination = 1;
	// Microseconds.
	int64 silenceAfterResets = 300000;
	int64 silenceBetweenSongsInterval = 3000000;
	// Empty: the built-in text. A bare name lies in the "Language" folder.
	std::string languageFile = "English.vlt";
	// Whether the user picked the language. Until then the language follows
	// the desktop's locale and languageFile is left as it is.
	bool languageChosen = false;

private:
	// Brings every loaded value into the range the program can use.
	void _Clamp();
};

#endif
