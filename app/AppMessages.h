#ifndef APP_MESSAGES_H
#define APP_MESSAGES_H

// Codes of the messages the application handles; the menus' requests are
// in MainWinMessages.h, the player's and the playlist's reports in
// PlayerMessages.h and CorvanView.h.
enum {
	// The desktop session ends (SIGTERM, SIGINT, logging out): quit without
	// asking anything, saving the state as a normal quit does.
	kMsgSessionEnd = 'sesn',
	// Load the language the preferences name, then announce it ('_lgc').
	kMsgPrefLanguageChanged = 'plnc',
	// Something changed in a "Language" folder or in the current language file.
	kMsgNodeLanguageChanged = 'nlnc',
	// Something changed in a "Loader" folder; passed on to the main window,
	// where the playlist reloads its loaders on this code.
	kMsgLoaderFolderChanged = 'nloc',
	// A status-bar text for the main window, from the dialogs; the playlist
	// sends the same code.
	kMsgStatusTextRqtd = 'sssr',
	// The drive-letter settings window saved new settings.
	kMsgDrvCvtChanged = '_dcc'
};

#endif
