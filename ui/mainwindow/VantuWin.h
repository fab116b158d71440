#ifndef VANTU_WIN_H
#define VANTU_WIN_H

#include <memory>
#include <string>

#include <Alert.h>

#include "MRUF.h"
#include "PKNWin.h"

class BFilePanel;
class BMenu;
class BMenuBar;
class TVantuView;

// The program's document window: the menu bar above the player view. It
// keeps the menus in step with what the player reports, owns the open and
// save panels and the recent files, and shows the current song in the task
// bar and the title.
//
// Runs on the GUI thread only, like every window. Menu items that go away
// (devices unplugged, a new language, recent files) are never deleted while
// one of the bar's menus is open: the rebuild waits for MenusEnded().
//
// Its code is split by duty: VantuWin.cpp (life cycle, dispatch, titles),
// VantuWinMenus.cpp (the menu bar, play modes, languages),
// VantuWinMidiOut.cpp (the output port menus), VantuWinPanels.cpp (file
// panels and their folders) and VantuWinRecent.cpp (recent files).
class TVantuWin : public TPKNWin {
public:
	explicit TVantuWin(BRect frame);
	virtual ~TVantuWin();

	virtual void MessageReceived(BMessage* message);
	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	virtual bool QuitRequested();
	virtual void Quit();
	virtual void WorkspaceActivated(int32 workspace, bool active);
	virtual void MenusBeginning();
	virtual void MenusEnded();
	using TPKNWin::SetDeskBarTitle;
	virtual bool SetDeskBarTitle();

	TVantuView* PlayerView() const { return fPlayerView; }

	// The file the recent files are kept in, in the settings folder.
	static const char* const kRecentFilesName;

protected:
	// For tests: takes a prepared player view, which the window owns.
	TVantuWin(BRect frame, TVantuView* playerView);

	// For tests: the panels, NULL until first shown.
	BFilePanel* OpenPanel() const { return fOpenPanel.get(); }
	BFilePanel* SavePanel() const { return fSavePanel.get(); }

	// The framework's modal alert; index of the button chosen.
	virtual int32 ShowAlert(const char* text, const char* button0, const char* button1);

private:
	void _Init(BRect frame, TVantuView* playerView);
	// The frame kept inside the main screen's size, whatever a settings
	// file says.
	static BRect _FitFrame(BRect frame);

	// Titles (VantuWin.cpp).
	void SetDeskBarTitle(const char* title);
	void _ShowSongInTitle();

	// Menu bar, play modes, languages (VantuWinMenus.cpp).
	void CreateMenu();
	void DestroyMenu();
	BMenu* _CreateMenuFile();
	BMenu* _CreateMenuPlay();
	BMenu* _CreateMenuMidiOut();
	BMenu* _CreateMenuTool();
	BMenu* _CreateMenuHelp();
	void UpdateMenuPlayModeRqtd(BMessage* message);
	void LanguageChanged(BMessage* message);

	// Output port menus (VantuWinMidiOut.cpp).
	void CreateMenuMidiOut();
	void DestroyMenuMidiOut();
	static BMessage* CreateMessageMidi(uint32 what, int32 port, int32 id);
	void ReflectExitConnection();
	void UpdateMenuMidiOutRqtd(BMessage* message);
	void RecreateMenuMidiOutRqtd();
	void _MarkPortMenu(int32 port);

	// File panels (VantuWinPanels.cpp).
	void MItemOpenClicked(bool forOpen);
	int32 SetOpenPanelLabelToOpen();
	int32 SetOpenPanelLabelToAdd();
	int32 SetSavePanelLabel();
	int32 _LabelPanel(BFilePanel* panel, const char* titleKey, const char* buttonKey);
	int32 SetFilePanelFolder(BFilePanel* source, BFilePanel* destination);
	int32 SetSavePanelFolder();
	int32 SetOpenPanelFolder();
	void ShowSavePanelRqtd(BMessage* message);
	void ChangeSavePanelTitleRqtd(BMessage* message);
	void FilePanelCancelled(BMessage* message);
	void SaveRequested(BMessage* message);
	void _StorePanelFolder();

	// Recent files (VantuWinRecent.cpp).
	void GenerateMenuMRUF();
	void _GenerateMenuMRUF(BMenu* menu, uint32 what);
	void MItemDelAllMRUFClicked();
	void RemoveHistoryRqtd(BMessage* message);
	void OpenListFolderFileRqtd(BMessage* message);
	// True when the message came from a recent-files item whose file is
	// gone: the entry is then forgotten and the status line says so.
	bool _ForgetMissingRecentFile(BMessage* message);
	void _LoadMRUF();

	bool fOpenPanelForOpen;
	std::unique_ptr<BFilePanel> fOpenPanel;
	std::unique_ptr<BFilePanel> fSavePanel;
	BMenu* fAddMenu;
	BMenu* fPortMenus[2];
	BMenu* fOpenMenu;
	BMenu* fPlayMenu;
	BMenuBar* fMenuBar;
	TVantuView* fPlayerView;
	TMRUF fMRUF;

	// Menus: whether one is open, and the rebuilds that wait for its end.
	bool fMenusOpen;
	bool fMidiOutRebuildPending;
	bool fRecentRebuildPending;
	std::unique_ptr<BMessage> fPendingLanguageChange;

	// The title the player gave the window, and the whole title shown with
	// the current song in front.
	std::string fTitleBase;
	std::string fTitleShown;
	std::string fSongTitle;

	static std::string sLastDeskBarTitle;
};

#endif
