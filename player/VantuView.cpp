#include "VantuView.h"

#include <algorithm>

#include <AppDefs.h>
#include <Entry.h>
#include <MessageRunner.h>
#include <MidiLocalConsumer.h>
#include <MidiRoster.h>
#include <Messenger.h>
#include <Window.h>

#include <Files.h>

#include "AISelector.h"
#include "AppGlobals.h"
#include "CorvanView.h"
#include "EndpointIcons.h"
#include "GlobalSettings.h"
#include "NoteOnManager.h"
#include "NowPlaying.h"
#include "OutputChains.h"
#include "PlayerMessages.h"
#include "SMFProducer.h"
#include "SoftSynthStarter.h"
#include "SongEndCode.h"
#include "ToolTip.h"

namespace {

const char* const kAIDatabaseFileName = "VantuMIDI_AIDatabase.dat";
const int32 kLastPlayMode = 5;


bool
ai_database_entry(BEntry* entry)
{
	return pelkan::get_entry(kAIDatabaseFileName, entry, pelkan::BaseDir_Settings,
		kSettingsFolderName);
}

}	// namespace


TVantuView::TVantuView(BRect frame)
	:
	TPKNView(frame, "VantuView", B_FOLLOW_ALL, B_WILL_DRAW | B_FRAME_EVENTS)
{
	_Init(NULL);
}


TVantuView::TVantuView(BRect frame, TCorvanView* playlist)
	:
	TPKNView(frame, "VantuView", B_FOLLOW_ALL, B_WILL_DRAW | B_FRAME_EVENTS)
{
	_Init(playlist);
}


// The playlist given (tests) or NULL: _BuildControls makes the visible
// playlist view when none was given.
void
TVantuView::_Init(TCorvanView* playlist)
{
	fCurSongIdx = gExitState.curSongIdx;
	fPlayMode = std::clamp<int32>(gExitState.playMode, 0, kLastPlayMode);
	fPlayStartTime = 0;
	fSilenceRunner = NULL;
	fPosRunner = NULL;
	fLoadSerial = 0;
	fCurSongFailed = false;
	fFailedInRow = 0;
	fSilenceUntil = B_INFINITE_TIMEOUT;
	fSoftSynth = NULL;
	for (int32 port = 0; port < TOutputChains::kPortCount; port++)
		fRememberedOutputs[port] = gExitState.connectedOutputs[port];

	fTitleView = NULL;
	fPortViews[0] = fPortViews[1] = NULL;
	std::fill(std::begin(fSysResetViews), std::end(fSysResetViews), nullptr);
	fCtrlBar = NULL;
	fVolumeLabel = fKeyLabel = fTempoLabel = fPosLabel = NULL;
	fVolumeSlider = fKeySlider = fTempoSlider = fPosSlider = NULL;
	fPlaylist = playlist;
	fScrollView = NULL;
	fStatBar = NULL;
	fLastPosShown = -1;
	fExpandedHeight = gExitState.expandedHeight;

	fAISelector = std::make_unique<TAISelector>();
	fSequencer = std::make_unique<TSMFProducer>();
	fSequencer->SetMessage(new BMessage(kMsgSongEnded));
	const BMessage icons = pelkan::endpoint_icon_properties();
	fChains = std::make_unique<TOutputChains>(fSequencer.get(), &icons);
	for (int32 port = 0; port < TOutputChains::kPortCount; port++)
		fChains->NoteManager(port)->SetMessage(new BMessage(kMsgSysResetReceived));

	_BuildControls();
	fAISelector->SetSongSource(fPlaylist);
	if (gPref.aiLearning) {
		BEntry entry;
		if (ai_database_entry(&entry))
			fAISelector->Load(entry);
	}
}


TVantuView::~TVantuView()
{
	gExitState.curSongIdx = fCurSongIdx;
	gExitState.expandedHeight = fExpandedHeight;
	gExitState.playMode = fPlayMode;
	const TVantuSItem* mainList = fPlaylist != NULL ? fPlaylist->TopList() : NULL;
	gExitState.mainListFile = mainList != NULL && !mainList->ListInfo().unnamed
		? mainList->EntryRef().path() : "";
	for (int32 port = 0; port < TOutputChains::kPortCount; port++)
		gExitState.connectedOutputs[port] = fRememberedOutputs[port];

	// Local deliveries are synchronous and remote ones leave at once, so the
	// devices have heard the silence when MuteAll returns: no wait is needed
	// before the ports go.
	fSequencer->Stop();
	fChains->QuickAllNotesOff();
	fChains->MuteAll();
	fChains.reset();
	fSequencer.reset();
	if (fSoftSynth != NULL)
		fSoftSynth->Release();

	if (gPref.aiLearning) {
		BEntry entry;
		if (ai_database_entry(&entry))
			fAISelector->Save(entry);
	}
}


void
TVantuView::AttachedToWindow()
{
	TPKNView::AttachedToWindow();
	const BMessenger self(this);
	BMessage silence(kMsgSilentWaitEnded);
	fSilenceRunner = new BMessageRunner(self, &silence, kParkedInterval);
	BMessage position(kMsgUpdatePosRqtd);
	fPosRunner = new BMessageRunner(self, &position, kParkedInterval);
	fSilenceUntil = B_INFINITE_TIMEOUT;

	// Set while nothing plays: the play thread and the delivery threads
	// read them unguarded.
	fSequencer->SetTarget(this);
	for (int32 port = 0; port < TOutputChains::kPortCount; port++)
		fChains->NoteManager(port)->SetTarget(this);
	SendUpdateMenuPlayModeRqtd();
	BMidiRoster::StartWatching(&self);
	fNowPlaying = std::make_unique<TNowPlaying>(self);
}


void
TVantuView::AllAttached()
{
	TPKNView::AllAttached();
	LayoutCompos();
	_StartDevices();
	ChangeSong(NormalizeIdx(fCurSongIdx), false);
	TurnOffAllSysReset();
	UpdatePortCompos();
	UpdateWinTitle();
	UpdateDeskBarTitle();
	ReopenMainList();
	_ShowNowPlaying();
}


void
TVantuView::DetachedFromWindow()
{
	BMidiRoster::StopWatching();
	fNowPlaying.reset();
	// The maker calls into this view: it must be done before the view is
	// torn down, and a synth it made too late is released.
	fSoftSynthStarter.reset();
	delete fSilenceRunner;
	fSilenceRunner = NULL;
	delete fPosRunner;
	fPosRunner = NULL;
	StoreListExpantion();
	TPKNView::DetachedFromWindow();
}


void
TVantuView::MessageReceived(BMessage* message)
{
	switch (message->what) {
		// Playback.
		case kMsgPlay:
			CButtonPlayClicked();
			break;
		case kMsgPause:
			PauseSong();
			break;
		case kMsgStop:
			StopSong();
			fPlaylist->DeselectAll();
			break;
		case kMsgNext:
			CButtonNextClicked();
			break;
		case kMsgPrev:
			CButtonPrevClicked();
			break;
		case kMsgChangeSongRqtd:
			ChangeSongRqtd(message);
			break;
		case kMsgStartUpSongRqtd:
			StartUpSongRqtd(message);
			break;
		case kMsgCurSongIdxChanged:
			CurSongIdxChanged(message);
			break;
		case kMsgSongEnded:
			PlaySongEnded(message);
			break;
		case kMsgSilentWaitEnded:
			SilentWaitEnded();
			break;
		case kMsgSysResetReceived:
			SysResetReceived(message);
			break;
		case kMsgSoftSynthMade:
			_TakeSoftSynth();
			break;
		case kMsgUpdatePosRqtd:
			UpdatePosRqtd();
			break;
		case kMsgPlayMode:
			MItemPlayModeClicked(message);
			break;

		// Output ports.
		case kMsgMidiOut:
			MItemMidiOutClicked(message);
			break;
		case B_MIDI_EVENT:
			MidiEvent(message);
			break;
		case kMsgAllNotesOff:
			MuteAllMidiOut();
			break;

		// Sliders.
		case kMsgVolumeChanged:
			SliderVolumeChanged();
			break;
		case kMsgKeyChanged:
			SliderKeyChanged();
			break;
		case kMsgKeyDragged:
			UpdateKeyCompo();
			break;
		case kMsgTempoChanged:
			SliderTempoChanged();
			break;
		case kMsgTempoDragged:
			UpdateTempoCompo();
			break;
		case kMsgPosChanged:
			SliderPosChanged();
			break;
		case kMsgPosDragged:
			UpdatePosCompo();
			break;

		// Lists, documents, titles and status.
		case kMsgOpenListFolderFileRqtd:
			OpenListFolderFileRqtd(message);
			break;
		case kMsgAddListFolderFileRqtd:
			AddListFolderFileRqtd(message);
			break;
		case kMsgNewList:
			MItemNewClicked();
			break;
		case kMsgAddNewList:
			MItemAddNewClicked();
			break;
		case kMsgSaveList:
			MItemSaveClicked();
			break;
		case kMsgSaveListAs:
			MItemSaveAsClicked();
			break;
		case B_SAVE_REQUESTED:
		case kMsgNodeLoaderChanged:
			fPlaylist->MessageReceived(message);
			break;
		case kMsgLanguageChanged:
			UpdateWinTitle();
			SendUpdateMenuPlayModeRqtd();
			fPlaylist->MessageReceived(message);
			break;
		case kMsgOpenCurDoc:
			MItemOpenCurDocClicked();
			break;
		case kMsgOpenDocument:
			PopupOpenDocClicked();
			break;
		case kMsgListButton:
			UpdateListExpantion();
			break;
		case kMsgUpdateWinTitleRqtd:
			UpdateWinTitle();
			break;
		case kMsgExpStatBarRqtd:
			SetStatStrRqtd(message);
			break;
		case B_SIMPLE_DATA:
			if (!SimpleData(message))
				TPKNView::MessageReceived(message);
			break;
		case B_REFS_RECEIVED:
			RefsReceived(message);
			break;

		// The desktop's media keys and "now playing" widgets.
		case B_MEDIA_PLAY_REQUESTED:
		case B_MEDIA_PAUSE_REQUESTED:
		case B_MEDIA_PLAY_PAUSE_REQUESTED:
		case B_MEDIA_STOP_REQUESTED:
		case B_MEDIA_NEXT_REQUESTED:
		case B_MEDIA_PREVIOUS_REQUESTED:
		case B_MEDIA_RAISE_REQUESTED:
		case B_MEDIA_SEEK_REQUESTED:
		case B_MEDIA_SET_POSITION_REQUESTED:
			MediaRequested(message);
			break;

		default:
			TPKNView::MessageReceived(message);
			break;
	}
	_ShowNowPlaying();
}
