#ifndef VLT_H
#define VLT_H

#include <unordered_map>
#include <vector>
#include <memory>
#include <string>
#include <string_view>

#include <SupportDefs.h>

class BResources;
class TIniFile;

// A language table: every text the user sees, looked up by key.
//
// Loaded from a language file or from the built-in text ('CSTR' resource),
// both INI texts with the header "VLT File Format 100" in the section
// "Informations" and the texts in the section "Data". Escapes in the texts are
// decoded when they are loaded. A table is a value; the caller loads into a
// fresh table, so a table holds one file's texts.
class TVLT {
public:
	// Keys and decoded texts, each followed by a NUL byte, kept in text
	// blocks the table shares with its copies.
	typedef std::unordered_map<std::string_view, std::string_view> TTextMap;

	// Called with the key of every missing text looked up while the
	// show-missing-keys switch is on; the windows layer points it at an alert.
	typedef void (*MissingKeyReporter)(const char* key);

	TVLT();

	status_t Load(const char* path);
	// Loads the 'CSTR' resource of that id; null resources means the
	// executable's own. -1 and no change when there is no such resource.
	status_t Load(BResources* resources, int32 id);
	// 0, or -1 when the header is missing or wrong (nothing is read then).
	status_t Load(TIniFile* ini);

	// The decoded text, valid until the table is next loaded or assigned;
	// "" for a missing key.
	const char* Text(const char* key) const;

	std::string LanguageName() const { return fLanguageName; }
	std::string SpecialThanks() const { return fSpecialThanks; }
	std::string Writer() const { return fWriter; }
	const TTextMap& TextMap() const { return fTexts; }

	void SET_SHOW_DB_INFO(bool show) { fShowMissingKeys = show; }
	static void SetMissingKeyReporter(MissingKeyReporter reporter);

	// Decodes the escapes "#n", "#t", "#s" and "##" of a stored text.
	static std::string DecodeText(const std::string& text);

	static const int32 kMaxLine = 2048;
	static const int32 kBuiltInTextId = 3000;

private:
	bool fShowMissingKeys;
	std::vector<std::shared_ptr<const std::string>> fBlocks;
	TTextMap fTexts;
	std::string fLanguageName;
	std::string fSpecialThanks;
	std::string fWriter;
};

#endif
