#ifndef MAIN_WIN_MESSAGES_H
#define MAIN_WIN_MESSAGES_H

// Codes of the main window's own menu commands; the commands the player
// view carries out are in PlayerMessages.h, those of the playlist in
// CorvanView.h.
enum {
	kMsgOpenPanelForOpen = '_opn',
	// Three characters: 'a', 'd', 'd' in the low bytes.
	kMsgOpenPanelForAdd = 'add',
	kMsgDeleteAllRecentFiles = '_dam',
	kMsgShowPrefs = '_prf',
	kMsgShowDrvCvtPrefs = '_dcs'
};

#endif
