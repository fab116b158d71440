#ifndef VANTU_VIEW_H
#define VANTU_VIEW_H

#include <memory>
#include <string>
#include <vector>

#include <Alert.h>
#include <String.h>

#include "PKNView.h"

class BHandler;
class BMessageRunner;
class BMidiConsumer;
class BMidiLocalConsumer;
class BMidiLocalProducer;
class BScrollView;
class BSoftSynth;
class BStringView;
class TAISelector;
class TCompactSlider;
class TCorvanView;
class TNowPlaying;
class TOutputChains;
class TSMFProducer;
class TSoftSynthStarter;
class TToolBar;
class TToolButton;
class TToolTip;
class TVantuSItem;
struct entry_ref;

// The player, the main view of the main window: it owns the sequencer, the
// two output ports, the AI selector and the playlist view, runs the player
// state machine and the play modes, and shows the song title, the control
// bar, the indicators and the sliders above the playlist.
//
// Runs on its window's thread only. The play thread reaches it only by the
// song's end message, the note managers by their reset reports, the MIDI
// roster by its notifications.
//
// Its code is split by duty: VantuView.cpp (life cycle, dispatch),
// VantuViewPlayback.cpp (state machine, play modes, sliders, scoring),
// VantuViewPorts.cpp (output ports and devices), VantuViewLayout.cpp
// (controls, indicators, labels), VantuViewTitles.cpp (titles, status,
// documents), VantuViewCommands.cpp (drops, list commands, list button) and
// VantuViewNowPlaying.cpp (the desktop's media keys and "now playing").
class TVantuView : public TPKNView {
public:
	explicit TVantuView(BRect frame);
	virtual ~TVantuView();

	virtual void AttachedToWindow();
	virtual void AllAttached();
	virtual void DetachedFromWindow();
	virtual void MessageReceived(BMessage* message);
	virtual void FrameResized(float width, float height);

	// Playback.
	bool PlaySong();
	void StopSong();
	void PauseSong();
	bool ChangeSong(int32 index, bool afterSongEnd);

	// Output ports (0 = A, 1 = B).
	status_t ConnectMidiOut(int32 port, int32 consumerId);
	BMidiLocalProducer* Producer(int32 port) const;
	// Silences every device the ports feed (the All Notes Off command).
	void MuteAllMidiOut();
	// Whether the built-in soft synth is still being made: it comes a
	// little after the window, and Play waits for it.
	bool SoftSynthPending() const { return fSoftSynthStarter != nullptr; }
	// Asks about every changed list; false when the user cancelled. A save
	// that needs a panel posts `next` to `target` once it is done.
	bool AskSaveAllList(BMessage* next, BHandler* target);

	TCorvanView* PlaylistView() const { return fPlaylist; }
	int32 CurSongIdx() const { return fCurSongIdx; }
	int32 PlayMode() const { return fPlayMode; }
	const std::string& SongTitle() const { return fSongTitle; }

protected:
	// For tests: takes a prepared playlist view, which the player owns.
	TVantuView(BRect frame, TCorvanView* playlist);

	// Seams of what reaches beyond the window: the framework's modal alert,
	// and the desktop's viewer for a document (B_OK when it was started).
	virtual int32 ShowAlert(const char* text, const char* button0, const char* button1,
		alert_type type);
	virtual status_t LaunchDocument(const std::string& path);
	// Whether the user holds a button with the pointer inside `view`.
	virtual bool IsPressedInside(BView* view);
	// The built-in soft synth, registered and owned by the caller; NULL with
	// the reason in *problem where it cannot be had (no audio output, no
	// sound font). Called on a worker thread while the window runs: it may
	// touch nothing of the view or the interface.
	virtual BMidiLocalConsumer* CreateSoftSynth(std::string* problem);

private:
	// Life cycle (VantuView.cpp).
	void _Init(TCorvanView* playlist);

	// State machine and play modes (VantuViewPlayback.cpp).
	void CButtonPlayClicked();
	void CButtonNextClicked();
	void CButtonPrevClicked();
	void ChangeSongRqtd(BMessage* message);
	void CurSongIdxChanged(BMessage* message);
	void PlaySongEnded(BMessage* message);
	void SilentWaitEnded();
	void UpdatePosRqtd();
	void MItemPlayModeClicked(BMessage* message);
	void SliderVolumeChanged();
	void SliderKeyChanged();
	void SliderTempoChanged();
	void SliderPosChanged();
	void StepStateToPlay();
	void StartMidiOut();
	// "None" is -1; otherwise a song number, not yet normalised.
	int32 GetNextSongIdx(bool afterEnd);
	int32 GetPrevSongIdx();
	int32 NormalizeIdx(int32 index) const;
	void ScoreUpCurrentSong();
	void ScoreDownCurrentSong();
	void SendUpdateMenuPlayModeRqtd();

	// Output ports and devices (VantuViewPorts.cpp).
	void MItemMidiOutClicked(BMessage* message);
	void MidiEvent(BMessage* message);
	void MuteMidiOut(int32 consumerId);
	void SendUpdateMenuMidiOutRqtd(int32 port, int32 consumerId);
	void SendRecreateMenuMidiOutRqtd();
	// Controller additions.
	// A parked runner: its next message lies so far ahead that it never
	// matters, and what it sends then is ignored (see SilentWaitEnded).
	static constexpr bigtime_t kParkedInterval = 0x7fffffff;
	static constexpr bigtime_t kPosUpdateInterval = 1000000;
	// The position runner runs only while the song moves, so a stopped or
	// paused player wakes nothing.
	void _FollowPosition(bool moving);
	void _ShowPosition();
	void _StartFromRest();
	void _WaitSilence(bigtime_t interval);
	void _ParkSilence();
	void _ShowCannotPlay();
	int32 _SelectedSong() const;
	int32 _RandomOtherSong();
	int32 _AISelectOtherSong();
	void _StartDevices();
	// Takes the soft synth from its worker, waiting for it if need be, and
	// connects it; nothing when it was taken before.
	void _TakeSoftSynth();
	void _ConnectRemembered(BMidiConsumer* device);
	void _Remember(int32 port, const char* name, bool connected);
	int32 _PortOf(int32 producerId) const;

	// Controls, indicators and labels (VantuViewLayout.cpp).
	void _BuildControls();
	void CreateCtrlBar();
	void LayoutCompos();
	void UpdateCtrlBar();
	void UpdateVolumeCompo();
	void UpdateKeyCompo();
	void UpdateTempoCompo();
	void UpdatePosCompo();
	void TurnOnStrView(BStringView* view);
	void TurnHalfOnStrView(BStringView* view);
	void TurnOffStrView(BStringView* view);
	void TurnOffAllSysReset();
	// The indicator of a reset's mask bit (1 GM, 2 GS, 4 88, 8 XG).
	BStringView* SysResetView(int32 mask) const;
	void UpdatePortCompos();
	void SysResetReceived(BMessage* message);
	static void SetFontHeight(BView* view, float height);
	// The control bar's buttons, in their order on the bar.
	enum {
		kPrevButtonIndex = 0,
		kPlayButtonIndex,
		kPauseButtonIndex,
		kStopButtonIndex,
		kNextButtonIndex,
		kListButtonIndex
	};
	TToolButton* CtrlButton(int32 index) const;

	// Titles, status and documents (VantuViewTitles.cpp).
	void GetSongTitle(const entry_ref& ref);
	void ExpSongTitle();
	void ExpTitleStr(const char* text);
	void UpdateWinTitle();
	void UpdateDeskBarTitle();
	void SetStatStr(const char* text);
	void SetStatStrRqtd(BMessage* message);
	static std::string DocFileName(const std::string& songPath, int32 extension, bool upper);
	status_t OpenDoc(const std::string& songPath, int32 extension);
	bool OpenAnyDoc(const std::string& songPath);
	void MItemOpenCurDocClicked();
	void PopupOpenDocClicked();
	// One alert naming the missing document of each song.
	void _ReportMissingDocs(const std::vector<std::string>& songPaths);
	// The first "%s" of a language text replaced; the text is never a format.
	static std::string SubstituteText(const char* text, const std::string& value);

	// The desktop's media keys and "now playing" (VantuViewNowPlaying.cpp).
	void MediaRequested(BMessage* message);
	void _SeekRequested(BMessage* message);
	// Tells the desktop what the player shows now; after each message.
	void _ShowNowPlaying();

	// Drops, list commands and the list button (VantuViewCommands.cpp).
	bool SimpleData(BMessage* message);
	void RefsReceived(BMessage* message);
	void OpenListFolderFileRqtd(BMessage* message);
	void StartUpSongRqtd(BMessage* message);
	void AddListFolderFileRqtd(BMessage* message);
	// True when the message is a request to forget a recent file, which
	// was then handled.
	bool ForgetRecentFileRqtd(BMessage* message);
	void MItemNewClicked();
	void MItemAddNewClicked();
	void MItemSaveClicked();
	void MItemSaveAsClicked();
	void UpdateListExpantion();
	// Keeps the list button's state in the exit state (when detached).
	void StoreListExpantion();
	// The window's height with the playlist folded away.
	float _ControlAreaHeight() const;
	void ReopenMainList();

	// Controller (VantuViewPlayback.cpp, VantuViewPorts.cpp).
	int32 fCurSongIdx;
	int32 fPlayMode;
	bigtime_t fPlayStartTime;
	BMessageRunner* fSilenceRunner;
	BMessageRunner* fPosRunner;
	std::unique_ptr<TSMFProducer> fSequencer;
	std::unique_ptr<TOutputChains> fChains;
	std::unique_ptr<TAISelector> fAISelector;
	// Controller additions: the load serial the sequencer's end message
	// carries, so an end from a song before is told apart; the failed songs
	// in a row, so a list of unplayable songs ends; the end of the silence
	// being waited for; the devices each port is to feed, by name; the soft
	// synth, why it could not be had, and its maker while that works.
	int32 fLoadSerial;
	bool fCurSongFailed;
	int32 fFailedInRow;
	bigtime_t fSilenceUntil;
	std::vector<std::string> fRememberedOutputs[2];
	BMidiLocalConsumer* fSoftSynth;
	std::string fSoftSynthProblem;
	std::unique_ptr<TSoftSynthStarter> fSoftSynthStarter;

	// Titles (VantuViewTitles.cpp).
	std::string fSongTitle;

	// Media keys and "now playing" (VantuViewNowPlaying.cpp); made while
	// the view is in a window.
	std::unique_ptr<TNowPlaying> fNowPlaying;

	// Controls (VantuViewLayout.cpp).
	BStringView* fTitleView;
	BStringView* fPortViews[2];
	BStringView* fSysResetViews[4];
	TToolBar* fCtrlBar;
	BStringView* fVolumeLabel;
	BStringView* fKeyLabel;
	BStringView* fTempoLabel;
	BStringView* fPosLabel;
	TCompactSlider* fVolumeSlider;
	TCompactSlider* fKeySlider;
	TCompactSlider* fTempoSlider;
	TCompactSlider* fPosSlider;
	TCorvanView* fPlaylist;
	BScrollView* fScrollView;
	BStringView* fStatBar;
	std::unique_ptr<TToolTip> fTitleTip;
	int32 fLastPosShown;

	// List button and window size (VantuViewCommands.cpp).
	float fExpandedHeight;
};

#endif
