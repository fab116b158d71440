#ifndef _APPLICATION_H
#define _APPLICATION_H

#include <string>

#include <Looper.h>
#include <Messenger.h>

class BResources;
class BWindow;

// The application object: one per process, reachable as be_app. Its loop
// runs on the thread that calls Run() (the main thread), inside the GUI
// event loop once the interface layer has installed one.
class BApplication : public BLooper {
public:
	BApplication(const char* signature);
	// A second application object, or a signature that is not of the form
	// "application/…", is an error reported here and by InitCheck(); such an
	// object does not become be_app.
	BApplication(const char* signature, status_t* error);
	virtual ~BApplication();

	status_t InitCheck() const;

	// Runs the message loop on the calling thread and returns after Quit().
	virtual thread_id Run();
	// Ends Run()'s loop (after the current message when called from it); the
	// object itself stays for main() to delete.
	virtual void Quit();
	// The default asks every window and quits those that agree; false as
	// soon as one refuses.
	virtual bool QuitRequested();

	// Called when Run() starts, before any message posted after the object
	// was constructed.
	virtual void ReadyToRun();
	virtual void ArgvReceived(int32 argc, char** argv);
	virtual void RefsReceived(BMessage* message);
	virtual void AboutRequested();

	virtual void DispatchMessage(BMessage* message, BHandler* handler);

	int32 CountWindows() const;
	BWindow* WindowAt(int32 index) const;

	const char* Signature() const;

	// The resources built into the executable.
	static BResources* AppResources();

private:
	void _Init(const char* signature);
	void _ArgvReceived(BMessage* message);

	std::string fSignature;
	status_t fInitStatus;
	bool fReadyToRunCalled;
};

extern BApplication* be_app;
extern BMessenger be_app_messenger;

#endif
