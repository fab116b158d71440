#ifndef VANTU_APP_H
#define VANTU_APP_H

#include <memory>
#include <string>

#include <PKNApp.h>
#include <Rect.h>

class BWindow;
class TAboutWin;
class TDrvCvtWin;
class TNodeMonitorHandler;
class TPrefWin;
class TVantuWin;

// The application: loads the language before any window exists, registers
// the playlist type after a version change, creates and shows the main
// window, watches the add-on folders, relays messages between the windows
// and closes everything in a fixed order.
//
// Runs on the GUI thread only; main() loads the settings before creating it
// and saves the exit state after deleting it.
//
// Its code is split by duty: VantuApp.cpp (life cycle, dispatch, the type)
// and VantuAppLanguage.cpp (languages and folder watching).
class TVantuApp : public TPKNApp {
public:
	TVantuApp();
	virtual ~TVantuApp();

	virtual void MessageReceived(BMessage* message);
	// The main window decides: it asks about unsaved lists.
	virtual bool QuitRequested();
	// Closes every window, the main window last, then ends the loop. What
	// the windows store while closing is in the records when Run() returns.
	virtual void Quit();

	TVantuWin* MainWindow() const { return fMainWindow; }

	// Posts a copy of the message to the window under its lock; a null
	// window is skipped.
	void TransferMessage(BMessage* message, BWindow* window);

	// Languages and folder watching (VantuAppLanguage.cpp).
	void LoadLanguage();
	virtual void LanguageChanged(BMessage* message);
	void LanguageFileDropped(BMessage* message);
	void PrefLanguageChanged();
	void NodeLanguageChanged();
	void SetNodeMonitorLanguage();
	void SetNodeMonitorLoader();
	// The language file in use; empty for the built-in text.
	std::string LanguageFileInUse() const { return fLanguageFileInUse; }

	void InstallPlayListMime();

	// The dialogs, made on first use and kept: a second request brings the
	// same window up where the user left it.
	void MItemPrefClicked();
	void MItemDrvCvtSettingClicked();
	virtual void AboutRequested();
	// The help document beside the program, in Japanese while the language
	// in use is Japanese, and the web page, in the desktop's browser.
	virtual void MItemHelpClicked();
	virtual void MItemAuthorWebClicked();

	TPrefWin* PrefWindow() const { return fPrefWindow; }
	TAboutWin* AboutWindow() const { return fAboutWindow; }
	TDrvCvtWin* DrvCvtWindow() const { return fDrvCvtWindow; }

	// The file type of the program's playlists.
	static const char* const kPlayListMimeType;

protected:
	// What reaches beyond the application, replaced by tests. It is an
	// object of its own because the constructor already needs it, when
	// virtual methods of a derived class cannot be reached yet.
	class TOutside {
	public:
		virtual ~TOutside();
		// The framework's modal alert.
		virtual void ShowAlert(const char* caption, const char* text, const char* button);
	};
	// Takes ownership of outside.
	explicit TVantuApp(TOutside* outside);

private:
	// Quits the window under its lock and clears the field; a window that
	// cannot be locked keeps its field.
	template<class Window>
	static void _CloseWindow(Window** window);

	std::unique_ptr<TOutside> fOutside;
	TVantuWin* fMainWindow;
	TNodeMonitorHandler* fLanguageHandler;
	TNodeMonitorHandler* fLoaderHandler;
	// The rectangle of a new dialog: the main window's frame, 20 lower.
	BRect _DialogFrame() const;
	// Tells of a dialog that could not be built and clears its field, so
	// that the next request tries again; false when it failed.
	template<class Window>
	bool _CheckDialog(Window** window, const char* errorKey);
	// Gives the about window the program's details and the language table.
	void _SetAboutInfo();
	// Tells the user that a document or page could not be opened.
	void _ReportOpenFailure(status_t status, const char* failureText,
		const std::string& what);

	// Opened on first use and kept.
	TPrefWin* fPrefWindow;
	TAboutWin* fAboutWindow;
	TDrvCvtWin* fDrvCvtWindow;
	std::string fLanguageFileInUse;
};

#endif
