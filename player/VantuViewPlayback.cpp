#include "VantuView.h"

#include <algorithm>
#include <cstdlib>

#include <MessageRunner.h>
#include <OS.h>
#include <Window.h>

#include "AISelector.h"
#include "AppGlobals.h"
#include "CompactSlider.h"
#include "CorvanView.h"
#include "NowPlaying.h"
#include "OutputChains.h"
#include "PlayerMessages.h"
#include "SMFProducer.h"
#include "SongEndCode.h"
#include "SystemResets.h"

namespace {

// A song skipped within this time of its start loses a point.
const bigtime_t kQuickSkipTime = 9999999;

enum {
	kModeSeq = 0,
	kModeSeqRep = 1,
	kModeMono = 2,
	kModeMonoRep = 3,
	kModeRandom = 4,
	kModeAIRandom = 5
};


bool
starting(TTirokaState state)
{
	return state >= TS_StartSilence && state <= TS_StartXG;
}

}	// namespace


bool
TVantuView::PlaySong()
{
	// The list may have lost its songs while a start sequence waited.
	if (fPlaylist->Songs() == 0) {
		StopSong();
		return false;
	}
	const TTirokaState state = gAppPrivacy.State();
	if (state == TS_Stopped || starting(state)) {
		StepStateToPlay();
		if (gAppPrivacy.State() == TS_Playing)
			StartMidiOut();
	}
	UpdateCtrlBar();
	return true;
}


// One call goes as far as it can without waiting: a step whose reset is not
// chosen, or that has no silence after it, falls through to the next.
void
TVantuView::StepStateToPlay()
{
	// A song started before the soft synth was ready (Play at once, or a
	// file named on the command line) waits for it, so its first notes and
	// resets sound there too.
	_TakeSoftSynth();
	TTirokaState state = gAppPrivacy.State();
	if (state == TS_Stopped) {
		gAppPrivacy.SetState(TS_StartSilence);
		if (gPref.silenceBetweenSongs && gPref.silenceBetweenSongsInterval > 0) {
			_WaitSilence(gPref.silenceBetweenSongsInterval);
			return;
		}
		state = TS_StartSilence;
	}
	while (starting(state)) {
		if (state == TS_StartXG) {
			gAppPrivacy.SetState(TS_Playing);
			return;
		}
		const TSystemReset& reset = *kSystemResets[state - TS_StartSilence];
		state = TTirokaState(state + 1);
		gAppPrivacy.SetState(state);
		if (!gPref.sendSysResets || (gPref.sysResetCombination & reset.mask) == 0)
			continue;
		TurnHalfOnStrView(SysResetView(reset.mask));
		fChains->SendReset(reset);
		if (gPref.silenceAfterResets > 0) {
			_WaitSilence(gPref.silenceAfterResets);
			return;
		}
	}
}


void
TVantuView::StartMidiOut()
{
	fSequencer->Play();
	fPlayStartTime = system_time();
	_FollowPosition(true);
}


void
TVantuView::_FollowPosition(bool moving)
{
	if (fPosRunner != NULL)
		fPosRunner->SetInterval(moving ? kPosUpdateInterval : kParkedInterval);
	if (!moving)
		_ShowPosition();
}


void
TVantuView::_WaitSilence(bigtime_t interval)
{
	fSilenceUntil = system_time() + interval;
	if (fSilenceRunner == NULL || fSilenceRunner->SetInterval(interval) != B_OK) {
		// Without its runner the wait could never end.
		fSilenceUntil = system_time();
		if (Window() != NULL)
			Window()->PostMessage(kMsgSilentWaitEnded, this);
	}
}


void
TVantuView::_ParkSilence()
{
	fSilenceUntil = B_INFINITE_TIMEOUT;
	if (fSilenceRunner != NULL)
		fSilenceRunner->SetInterval(kParkedInterval);
}


// A message the runner sent before it was re-armed, or while parked, may
// still be queued: only the end of the wait now running counts.
void
TVantuView::SilentWaitEnded()
{
	if (system_time() < fSilenceUntil)
		return;
	_ParkSilence();
	if (starting(gAppPrivacy.State()))
		PlaySong();
}


void
TVantuView::PauseSong()
{
	switch (gAppPrivacy.State()) {
		case TS_Playing:
			fSequencer->Pause();
			fChains->QuickAllNotesOff();
			gAppPrivacy.SetState(TS_Paused);
			_FollowPosition(false);
			break;
		case TS_Paused:
			StartMidiOut();
			gAppPrivacy.SetState(TS_Playing);
			break;
		default:
			break;
	}
	UpdateCtrlBar();
}


void
TVantuView::StopSong()
{
	if (gAppPrivacy.State() != TS_Stopped) {
		fSequencer->Stop();
		fChains->QuickAllNotesOff();
		fSequencer->Unset();
		gAppPrivacy.SetState(TS_Stopped);
		_FollowPosition(false);
	}
	UpdateCtrlBar();
}


bool
TVantuView::ChangeSong(int32 index, bool afterSongEnd)
{
	fSequencer->Stop();
	fChains->QuickAllNotesOff();
	fSequencer->Unset();
	_FollowPosition(false);
	// Every mark goes, so that one row at most carries it whatever the list
	// did with its rows meanwhile.
	for (int32 marked; (marked = fPlaylist->CurrentSongIdx()) >= 0;)
		fPlaylist->Song(marked)->SetCurrent(false);

	fCurSongIdx = NormalizeIdx(index);
	TVantuSItem* song = fPlaylist->Song(fCurSongIdx);
	if (song == NULL) {
		fCurSongIdx = 0;
		fSongTitle.clear();
		ExpSongTitle();
		// Nothing is loaded, so nothing can be playing or paused.
		if (gAppPrivacy.State() != TS_Stopped) {
			gAppPrivacy.SetState(TS_Stopped);
			UpdateCtrlBar();
		}
		fPlaylist->Invalidate();
		UpdateDeskBarTitle();
		return false;
	}

	// A file that does not load plays whatever was read of it, normally
	// nothing, and so ends at once.
	const status_t loaded = fSequencer->SetTo(&song->EntryRef());
	fCurSongFailed = loaded != B_OK || fSequencer->CountTicks() == 0;
	// No play thread runs now, so the invoker's message may change.
	BMessage* ended = new BMessage(kMsgSongEnded);
	ended->AddInt32("LoadSerial", ++fLoadSerial);
	fSequencer->SetMessage(ended);
	GetSongTitle(song->EntryRef());

	song->SetCurrent(true);
	fPlaylist->Invalidate();
	ExpSongTitle();
	TurnOffAllSysReset();

	bool result = true;
	const TTirokaState state = gAppPrivacy.State();
	if (state == TS_Playing || starting(state)) {
		// The silence between songs comes only after a song that ended.
		gAppPrivacy.SetState(afterSongEnd ? TS_Stopped : TS_StartSilence);
		result = PlaySong();
	}
	UpdateDeskBarTitle();
	return result;
}


void
TVantuView::_StartFromRest()
{
	if (fPlaylist->Song(fCurSongIdx) == NULL)
		return;
	gAppPrivacy.SetState(TS_StartSilence);
	PlaySong();
}


// A container row counts as no selection: only a song can be played.
int32
TVantuView::_SelectedSong() const
{
	if (fPlaylist->CountSelections() == 0)
		return -1;
	return fPlaylist->SongIdx(fPlaylist->FirstSelection());
}


void
TVantuView::CButtonPlayClicked()
{
	fFailedInRow = 0;
	const int32 selected = _SelectedSong();
	const TTirokaState state = gAppPrivacy.State();
	if (state == TS_Stopped) {
		if (selected >= 0) {
			ChangeSong(selected, false);
			ScoreUpCurrentSong();
		} else
			ChangeSong(fCurSongIdx, false);
		_StartFromRest();
	} else if (state == TS_Playing || starting(state)) {
		if (selected >= 0 && selected != fPlaylist->CurrentSongIdx())
			ChangeSong(selected, false);
	} else if (state == TS_Paused)
		PauseSong();
	fPlaylist->DeselectAll();
}


void
TVantuView::CButtonNextClicked()
{
	const int32 index = GetNextSongIdx(false);
	if (index < 0)
		return;
	fFailedInRow = 0;
	ScoreDownCurrentSong();
	ExpTitleStr(gVLT.Text("Title_Str_Please_Wait"));
	ChangeSong(NormalizeIdx(index), false);
	fPlaylist->DeselectAll();
}


void
TVantuView::CButtonPrevClicked()
{
	const int32 index = GetPrevSongIdx();
	if (index < 0)
		return;
	fFailedInRow = 0;
	ExpTitleStr(gVLT.Text("Title_Str_Please_Wait"));
	ChangeSong(NormalizeIdx(index), false);
	fPlaylist->DeselectAll();
}


// The song asked for is compared with the row that carries the current
// mark: after an edit the current index may name another song, and a
// deleted current song has no mark at all.
void
TVantuView::ChangeSongRqtd(BMessage* message)
{
	ExpTitleStr(gVLT.Text("Title_Str_Please_Wait"));
	int32 index = 0;
	message->FindInt32("NewIdx", &index);
	index = NormalizeIdx(index);
	bool play = false;
	message->FindBool("PlaySong", &play);
	if (gAppPrivacy.State() != TS_Stopped && index == fPlaylist->CurrentSongIdx()) {
		ExpSongTitle();
		return;
	}
	fFailedInRow = 0;
	ScoreDownCurrentSong();
	if (play)
		StopSong();
	ChangeSong(index, false);
	if (play) {
		ScoreUpCurrentSong();
		_StartFromRest();
		fPlaylist->DeselectAll();
	}
}


void
TVantuView::CurSongIdxChanged(BMessage* message)
{
	int32 index;
	if (message->FindInt32("NewIdx", &index) == B_OK && index != -1)
		fCurSongIdx = index;
	ExpSongTitle();
}


void
TVantuView::_ShowCannotPlay()
{
	const TVantuSItem* song = fPlaylist->Song(fCurSongIdx);
	std::string text = song != NULL && song->EntryRef().name != NULL
		? song->EntryRef().name : "";
	text += gVLT.Text("Stat_Str_Cannot_Play");
	SetStatStr(text.c_str());
}


// Only the end of the song now loaded counts, and only while it plays or is
// paused: an end posted just before a song change or a stop is stale.
void
TVantuView::PlaySongEnded(BMessage* message)
{
	const TTirokaState state = gAppPrivacy.State();
	int32 serial;
	if (message->FindInt32("LoadSerial", &serial) != B_OK || serial != fLoadSerial
		|| (state != TS_Playing && state != TS_Paused)) {
		return;
	}
	// Repeating modes would go round a list of unplayable songs for ever.
	fFailedInRow = fCurSongFailed ? fFailedInRow + 1 : 0;
	if (fFailedInRow >= fPlaylist->Songs()) {
		fFailedInRow = 0;
		StopSong();
		_ShowCannotPlay();
		return;
	}
	const int32 index = GetNextSongIdx(true);
	if (index < 0) {
		StopSong();
		return;
	}
	ChangeSong(NormalizeIdx(index), true);
	fPlaylist->ScrollToSong(fCurSongIdx);
}


int32
TVantuView::NormalizeIdx(int32 index) const
{
	const int32 songs = fPlaylist->Songs();
	if (index < 0)
		return songs - 1;
	if (index >= songs)
		return 0;
	return index;
}


int32
TVantuView::GetNextSongIdx(bool afterEnd)
{
	const int32 songs = fPlaylist->Songs();
	if (songs == 0)
		return -1;
	const bool last = fCurSongIdx >= songs - 1;
	switch (fPlayMode) {
		case kModeSeq:
			return last ? -1 : fCurSongIdx + 1;
		case kModeSeqRep:
			return fCurSongIdx + 1;
		case kModeMono:
			return afterEnd || last ? -1 : fCurSongIdx + 1;
		case kModeMonoRep:
			return afterEnd ? fCurSongIdx : fCurSongIdx + 1;
		case kModeRandom:
			return _RandomOtherSong();
		case kModeAIRandom:
			return _AISelectOtherSong();
	}
	return -1;
}


int32
TVantuView::GetPrevSongIdx()
{
	const int32 songs = fPlaylist->Songs();
	if (songs == 0)
		return -1;
	switch (fPlayMode) {
		case kModeSeq:
		case kModeMono:
			return fCurSongIdx <= 0 ? -1 : fCurSongIdx - 1;
		case kModeSeqRep:
		case kModeMonoRep:
			// Wrapped here: -1 would read as no song.
			return NormalizeIdx(fCurSongIdx - 1);
		case kModeRandom:
			return _RandomOtherSong();
		case kModeAIRandom:
			return _AISelectOtherSong();
	}
	return -1;
}


int32
TVantuView::_RandomOtherSong()
{
	const int32 songs = fPlaylist->Songs();
	int32 index;
	do
		index = std::rand() % songs;
	while (songs > 1 && index == fCurSongIdx);
	return index;
}


int32
TVantuView::_AISelectOtherSong()
{
	const int32 songs = fPlaylist->Songs();
	int32 index;
	do
		index = fAISelector->Select();
	while (songs > 1 && index == fCurSongIdx);
	return index;
}


void
TVantuView::ScoreUpCurrentSong()
{
	if (gPref.aiLearning && fPlaylist->Song(fCurSongIdx) != NULL)
		fAISelector->ChangeScore(fCurSongIdx, 1);
}


void
TVantuView::ScoreDownCurrentSong()
{
	if (!gPref.aiLearning || gAppPrivacy.State() == TS_Stopped
		|| fPlaylist->Song(fCurSongIdx) == NULL
		|| system_time() - fPlayStartTime > kQuickSkipTime) {
		return;
	}
	fAISelector->ChangeScore(fCurSongIdx, -1);
}


void
TVantuView::MItemPlayModeClicked(BMessage* message)
{
	int32 mode;
	if (message->FindInt32("PlayMode", &mode) != B_OK || mode < kModeSeq
		|| mode > kModeAIRandom) {
		return;
	}
	fPlayMode = mode;
	if (mode == kModeMonoRep)
		ScoreUpCurrentSong();
	SendUpdateMenuPlayModeRqtd();
}


void
TVantuView::SendUpdateMenuPlayModeRqtd()
{
	if (Window() == NULL)
		return;
	BMessage message(kMsgUpdateMenuPlayModeRqtd);
	message.AddInt32("PlayMode", fPlayMode);
	Window()->PostMessage(&message);
}


void
TVantuView::SliderVolumeChanged()
{
	fChains->SetVolume(fVolumeSlider->Value());
	UpdateVolumeCompo();
}


void
TVantuView::SliderKeyChanged()
{
	fChains->SetKey(fKeySlider->Value());
	UpdateKeyCompo();
}


void
TVantuView::SliderTempoChanged()
{
	fSequencer->SetTempoRate(fTempoSlider->Value());
	UpdateTempoCompo();
}


// A stopped song has no position: the next position update moves the
// slider back.
void
TVantuView::SliderPosChanged()
{
	if (gAppPrivacy.State() != TS_Stopped) {
		const uint64 tick = uint64(fSequencer->CountTicks()) * fPosSlider->Value() / 100;
		fChains->Seek(uint32(tick));
		if (fNowPlaying != nullptr)
			fNowPlaying->SongJumped(uint32(tick));
	}
	UpdatePosCompo();
}


void
TVantuView::UpdatePosRqtd()
{
	if (!IsPressedInside(fPosSlider))
		_ShowPosition();
}


void
TVantuView::_ShowPosition()
{
	const uint64 length = fSequencer->CountTicks();
	const uint64 position = length == 0
		? 0 : std::min<uint64>(100, uint64(fSequencer->CurrentTick()) * 100 / length);
	fPosSlider->SetValue(int32(position));
	UpdatePosCompo();
}


bool
TVantuView::IsPressedInside(BView* view)
{
	if (view == NULL || view->Window() == NULL)
		return false;
	BPoint where;
	uint32 buttons = 0;
	view->GetMouse(&where, &buttons, false);
	return buttons != 0 && view->Bounds().Contains(where);
}
