#include "Pref.h"

#include <algorithm>

#include "AllOk.h"

namespace {

const int32 kLastSortKind = 2;
const int32 kAllResetBits = 15;

}

bool
TPref::Archive(BMessage* archive) const
{
	if (!TArchivable::Archive(archive))
		return false;
	// "SiBS" and "SIBS" differ only in letter case; both are stored.
	TAllOk added;
	added << archive->AddBool("ClAI", aiLearning);
	added << archive->AddBool("SiBS", silenceBetweenSongs);
	added << archive->AddBool("SSyR", sendSysResets);
	added << archive->AddInt32("ASKy", autoSortKind);
	added << archive->AddInt32("SRCb", sysResetCombination);
	added << archive->AddInt64("SIAR", silenceAfterResets);
	added << archive->AddInt64("SIBS", silenceBetweenSongsInterval);
	added << archive->AddString("VLTF", languageFile.c_str());
	added << archive->AddBool("VLTC", languageChosen);
	return added.All();
}


bool
TPref::Unarchive(const BMessage& archive)
{
	if (!TArchivable::Unarchive(archive))
		return false;
	TAllOk found;
	found << FindBool(archive, "ClAI", &aiLearning);
	found << FindBool(archive, "SiBS", &silenceBetweenSongs);
	found << FindBool(archive, "SSyR", &sendSysResets);
	found << FindInt32(archive, "ASKy", &autoSortKind);
	found << FindInt32(archive, "SRCb", &sysResetCombination);
	found << FindInt64(archive, "SIAR", &silenceAfterResets);
	found << FindInt64(archive, "SIBS", &silenceBetweenSongsInterval);
	found << FindString(archive, "VLTF", &languageFile);
	// Files written before the choice was recorded lack it: not an error.
	FindBool(archive, "VLTC", &languageChosen);
	_Clamp();
	return found.All();
}


void
TPref::_Clamp()
{
	if (autoSortKind < 0 || autoSortKind > kLastSortKind)
		autoSortKind = 0;
	sysResetCombination &= kAllResetBits;
	silenceAfterResets = std::clamp<int64>(silenceAfterResets, 0, kMaxSilenceAfterResets);
	silenceBetweenSongsInterval = std::clamp<int64>(silenceBetweenSongsInterval,
		kMinSilenceBetweenSongs, kMaxSilenceBetweenSongs);
}


pelkan::TLang
TPref::Lang() const
{
	return languageFile.empty() ? pelkan::Lang_BuiltIn : pelkan::Lang_File;
}
