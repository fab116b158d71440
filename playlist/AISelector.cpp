#include "AISelector.h"

#include <algorithm>
#include <limits>
#include <random>
#include <string_view>

#include <AtomicFile.h>
#include <DataIO.h>
#include <Entry.h>
#include <Path.h>

#include "IniFile.h"
#include "IniNumberText.h"
#include "SongSource.h"

namespace {

const int32 kMaxLine = 2048;
const char* const kPrioritySection = "Priority";
const char* const kCountSection = "AutoSelectCount";
const int32 kMinPriority = 0;
const int32 kDefaultPriority = 2;
const int32 kMaxPriority = 5;


int32 clamped_priority(int64 priority)
{
	return static_cast<int32>(std::clamp<int64>(priority, kMinPriority,
		kMaxPriority));
}


// Song names are INI keys. A name the INI syntax would read back as
// something else (a section header, a comment, a key cut at '=', lost edge
// blanks, a line break) is stored quoted, with '=', '\\' and control bytes
// as \xHH. Every other name is stored as it is, as databases have always
// held them.
bool is_ini_blank(char c)
{
	return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f'
		|| c == '\r';
}


bool needs_escape(unsigned char c)
{
	return c < 0x20 || c == '\\' || c == '=';
}


bool needs_quotes(const std::string& name)
{
	if (name.empty() || name[0] == ';' || name[0] == '[' || name[0] == '"'
		|| is_ini_blank(name.front()) || is_ini_blank(name.back())) {
		return true;
	}
	return std::any_of(name.begin(), name.end(),
		[](unsigned char c) { return c < 0x20 || c == '='; });
}


enum class TLetters { kAsTheyAre, kEscaped };

// Keys compare without regard to ASCII letter case, so a name that differs
// from another one only in case is stored with its letters escaped too:
// such a key holds no letters outside escapes and meets no other key.
std::string encode_key(const std::string& name, TLetters letters)
{
	if (letters == TLetters::kAsTheyAre && !needs_quotes(name))
		return name;
	static const char kHex[] = "0123456789abcdef";
	std::string key = "\"";
	for (const char c : name) {
		const unsigned char byte = c;
		if (needs_escape(byte) || (letters == TLetters::kEscaped
				&& ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z')))) {
			key += "\\x";
			key += kHex[byte >> 4];
			key += kHex[byte & 0xf];
		} else
			key += c;
	}
	key += '"';
	return key;
}


int hex_digit(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}


std::string decode_key(std::string_view key)
{
	if (key.size() < 2 || key.front() != '"' || key.back() != '"')
		return std::string(key);
	std::string name;
	const size_t end = key.size() - 1;
	for (size_t i = 1; i < end; i++) {
		if (key[i] == '\\' && i + 3 < end && key[i + 1] == 'x'
			&& hex_digit(key[i + 2]) >= 0 && hex_digit(key[i + 3]) >= 0) {
			name += static_cast<char>(hex_digit(key[i + 2]) * 16
				+ hex_digit(key[i + 3]));
			i += 3;
		} else
			name += key[i];
	}
	return name;
}


// The decoded keys of a section with their integer values (`fallback` for
// a value that is no number), in file order.
template<typename Visit>
void read_section(TIniFile& ini, const char* section, int32 fallback,
	Visit visit)
{
	if (!ini.SectionExists(section))
		return;
	ini.ChangeSection(section);
	ini.ForEachKey([fallback, &visit](std::string_view key,
			std::string_view text) {
		const int32 value = ini_parse_integer(text,
			std::numeric_limits<int32>::min(), std::numeric_limits<int32>::max())
			.value_or(fallback);
		std::string name = decode_key(key);
		if (!name.empty())
			visit(std::move(name), value);
	});
}

} // namespace


TAISelector::TAISelector()
	:
	TAISelector(std::mt19937_64(std::random_device()()))
{
}


TAISelector::TAISelector(TRandomSource random)
	:
	fRandom(std::move(random)),
	fLoaded(false),
	fSongs(nullptr),
	fAnyNewlyMet(false),
	fMappedRevision(0),
	fMapped(false),
	fWeightsStale(true)
{
}


void
TAISelector::SetSongSource(const TSongSource* songs)
{
	fSongs = songs;
	fMapped = false;
}


status_t
TAISelector::Load(const BEntry& file)
{
	if (fLoaded)
		return B_OK;
	fLoaded = true;
	TIniFile ini(&file, B_READ_ONLY, kMaxLine);
	read_section(ini, kPrioritySection, kDefaultPriority,
		[this](std::string&& name, int32 priority) {
			fScores.insert_or_assign(std::move(name),
				TScore{clamped_priority(priority), 0});
		});
	read_section(ini, kCountSection, 0,
		[this](std::string&& name, int32 count) {
			auto found = fScores.find(name);
			if (found != fScores.end())
				found->second.count = std::max(count, 0);
		});
	fWeightsStale = true;
	return B_OK;
}


status_t
TAISelector::Save(const BEntry& file) const
{
	BPath path;
	status_t status = file.GetPath(&path);
	if (status != B_OK)
		return status;

	// Scores at the default are left out, so they come back with count 0.
	std::vector<const std::pair<const std::string, TScore>*> kept;
	kept.reserve(fScores.size());
	for (const auto& score : fScores) {
		if (score.second.priority != kDefaultPriority)
			kept.push_back(&score);
	}
	std::sort(kept.begin(), kept.end(),
		[](const auto* a, const auto* b) { return a->first < b->first; });

	BMallocIO text;
	text.SetBlockSize(1 << 16);
	{
		TIniFile ini(&text, kMaxLine);
		ini.ChangeSection(kPrioritySection);
		std::vector<std::string> keys;
		keys.reserve(kept.size());
		for (const auto* score : kept) {
			std::string key = encode_key(score->first, TLetters::kAsTheyAre);
			if (!ini.AddValue(key.c_str(), score->second.priority)) {
				key = encode_key(score->first, TLetters::kEscaped);
				ini.WriteValue(key.c_str(), score->second.priority);
			}
			keys.push_back(std::move(key));
		}
		ini.ChangeSection(kCountSection);
		for (size_t i = 0; i < kept.size(); i++) {
			if (!ini.AddValue(keys[i].c_str(), kept[i]->second.count))
				ini.WriteValue(keys[i].c_str(), kept[i]->second.count);
		}
		ini.Flush(true);
	}
	return BAtomicFile::Replace(path.Path(), text.Buffer(), text.BufferLength());
}


void
TAISelector::ChangeScore(int32 index, int32 delta)
{
	if (fSongs == nullptr || index < 0 || index >= fSongs->Songs())
		return;
	auto [score, created] = fScores.try_emplace(fSongs->SongLeafName(index),
		TScore{kDefaultPriority, 0});
	score->second.priority
		= clamped_priority(static_cast<int64>(score->second.priority) + delta);
	fWeightsStale = true;
}


int32
TAISelector::Select()
{
	const int32 songs = fSongs != nullptr ? fSongs->Songs() : 0;
	if (songs <= 0)
		return -1;
	if (!fMapped || fMappedRevision != fSongs->SongsRevision()
		|| fSongScores.size() != static_cast<size_t>(songs)) {
		_MapSongs(songs);
	}
	if (fWeightsStale)
		_Weigh();

	const uint64 position = fRandom() % fCumulative.back();
	const int32 chosen = static_cast<int32>(std::upper_bound(fCumulative.begin(),
		fCumulative.end(), position) - fCumulative.begin());
	TScore* score = fSongScores[chosen];
	if (score->count < std::numeric_limits<int32>::max())
		score->count++;

	if (fAnyNewlyMet) {
		fNewlyMet.assign(fNewlyMet.size(), false);
		fAnyNewlyMet = false;
		fWeightsStale = true;
	}
	return chosen;
}


void
TAISelector::_MapSongs(int32 songs)
{
	fSongScores.resize(songs);
	fNewlyMet.assign(songs, false);
	fAnyNewlyMet = false;
	for (int32 i = 0; i < songs; i++) {
		auto [score, created] = fScores.try_emplace(fSongs->SongLeafName(i),
			TScore{kDefaultPriority, 0});
		fSongScores[i] = &score->second;
		fNewlyMet[i] = created;
		fAnyNewlyMet = fAnyNewlyMet || created;
	}
	fMappedRevision = fSongs->SongsRevision();
	fMapped = true;
	fWeightsStale = true;
}


void
TAISelector::_Weigh()
{
	fCumulative.resize(fSongScores.size());
	uint64 total = 0;
	for (size_t i = 0; i < fSongScores.size(); i++) {
		total += fNewlyMet[i] ? uint64(1) << 1
			: uint64(1) << fSongScores[i]->priority;
		fCumulative[i] = total;
	}
	fWeightsStale = false;
}
