#ifndef PLAYER_MESSAGES_H
#define PLAYER_MESSAGES_H

// Codes of the messages the player view handles and posts.
enum {
	// Control bar and menus.
	kMsgPlay = 'play',
	kMsgPause = 'puse',
	kMsgStop = 'stop',
	kMsgNext = 'next',
	kMsgPrev = 'prev',
	kMsgListButton = 'list',
	kMsgPlayMode = 'plmd',
	kMsgMidiOut = 'mido',
	kMsgAllNotesOff = 'alnf',
	kMsgOpenCurDoc = 'ocdc',
	// Sliders: released, and while dragged.
	kMsgVolumeChanged = 'svlc',
	kMsgKeyChanged = 'skyc',
	kMsgKeyDragged = 'skyg',
	kMsgTempoChanged = 'stpc',
	kMsgTempoDragged = 'stpg',
	kMsgPosChanged = 'spoc',
	kMsgPosDragged = 'spog',
	// The player's own timers and the engine's reports.
	kMsgSilentWaitEnded = 'slwe',
	kMsgUpdatePosRqtd = 'upsr',
	kMsgSysResetReceived = 'syrr',
	kMsgSoftSynthMade = 'ssym',
	// List commands of the File menu.
	kMsgOpenListFolderFileRqtd = 'olfr',
	kMsgAddListFolderFileRqtd = 'alfr',
	kMsgNewList = '_new',
	kMsgAddNewList = 'addn',
	kMsgSaveList = '_sav',
	kMsgSaveListAs = '_sva',
	// The last run's song made current again once the reopened list is in.
	kMsgStartUpSongRqtd = 'susr',
	// To the window.
	kMsgUpdateMenuPlayModeRqtd = 'umpr',
	kMsgUpdateMenuMidiOutRqtd = 'ummr',
	kMsgRecreateMenuMidiOutRqtd = 'rmor',
	kMsgDeskBarTitleRqtd = 'sdtr',
	kMsgRemoveRecentFileRqtd = '_rhr',
	// To the application.
	kMsgLanguageFileDropped = 'lnfd'
};

// A bool field, true in the 'olfr' and 'alfr' messages of the recent-files
// menu: only those are asked to forget their file when Control (Alt) is held.
inline constexpr char kRecentFileMark[] = "RecentFile";

// A bool field of a drop or of 'alfr': true asks the player to play the first
// song the message added (files from the command line or a second start).
inline constexpr char kPlayAddedField[] = "PlayAdded";

#endif
