#include <Application.h>

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include <strings.h>

#include <AppDefs.h>
#include <ExecutableResources.h>
#include <Message.h>

#include "ApplicationPrivate.h"
#include "LooperDispatcher.h"
#include "LooperPort.h"

BApplication* be_app = NULL;
BMessenger be_app_messenger;


namespace {

struct WindowList {
	std::mutex mutex;
	std::vector<std::pair<BWindow*, BLooper*>> windows;
};


WindowList&
window_list()
{
	// Never destroyed: windows may unregister during static destruction.
	static WindowList* list = new WindowList;
	return *list;
}


std::vector<std::pair<BWindow*, BLooper*>>
windows_snapshot()
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> guard(list.mutex);
	return list.windows;
}

}


namespace BPrivate {

void
register_window(BWindow* window, BLooper* looper)
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> guard(list.mutex);
	list.windows.emplace_back(window, looper);
}


void
unregister_window(BWindow* window)
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> guard(list.mutex);
	std::erase_if(list.windows,
		[window](const auto& entry) { return entry.first == window; });
}

}


BApplication::BApplication(const char* signature)
	:
	BLooper("application")
{
	_Init(signature);
}


BApplication::BApplication(const char* signature, status_t* error)
	:
	BLooper("application")
{
	_Init(signature);
	if (error != NULL)
		*error = fInitStatus;
}


BApplication::~BApplication()
{
	if (be_app == this) {
		be_app = NULL;
		be_app_messenger = BMessenger();
	}
}


status_t
BApplication::InitCheck() const
{
	return fInitStatus;
}


thread_id
BApplication::Run()
{
	if (fInitStatus != B_OK)
		return fInitStatus;
	if (fRunCalled)
		return B_BAD_VALUE;

	// Chosen here rather than at construction, so that the interface layer
	// may install its event loop after the application object exists.
	fDispatcher = BPrivate::main_thread_dispatcher();
	if (fDispatcher != NULL) {
		thread_id thread = BLooper::Run();
		if (thread < B_OK)
			return thread;
		fDispatcher->RunUntilQuit(fPort->Token());
	} else {
		fThread = find_thread(NULL);
		fRunCalled = true;
		fPort->SetThread(fThread);
		Unlock();
		_Loop(fPort);
	}

	if (!fStopped && fDispatcher != NULL)
		fDispatcher->Detach(fPort->Token());
	fStopped = true;
	return fThread;
}


void
BApplication::Quit()
{
	if (!Lock())
		return;
	if (fPort->IsDispatchingOnCaller())
		fTerminating = true;
	fPort->SetQuitting();
	// An outside event loop learns of the end only through a dispatch.
	if (!fTerminating && fRunCalled && fDispatcher != NULL)
		fDispatcher->Wake(fPort->Token());
	Unlock();
}


bool
BApplication::QuitRequested()
{
	for (const auto& [window, looper] : windows_snapshot()) {
		if (!looper->Lock())
			continue;
		if (!looper->QuitRequested()) {
			looper->Unlock();
			return false;
		}
		looper->Quit();
	}
	return true;
}


void
BApplication::ReadyToRun()
{
}


void
BApplication::ArgvReceived(int32 /*argc*/, char** /*argv*/)
{
}


void
BApplication::RefsReceived(BMessage* /*message*/)
{
}


void
BApplication::AboutRequested()
{
}


void
BApplication::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (handler != this) {
		BLooper::DispatchMessage(message, handler);
		return;
	}

	switch (message->what) {
		case B_READY_TO_RUN:
			if (!fReadyToRunCalled) {
				fReadyToRunCalled = true;
				ReadyToRun();
			}
			break;
		case B_ARGV_RECEIVED:
			_ArgvReceived(message);
			break;
		case B_REFS_RECEIVED:
			RefsReceived(message);
			break;
		case B_ABOUT_REQUESTED:
			AboutRequested();
			break;
		default:
			BLooper::DispatchMessage(message, handler);
			break;
	}
}


int32
BApplication::CountWindows() const
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> guard(list.mutex);
	return (int32)list.windows.size();
}


BWindow*
BApplication::WindowAt(int32 index) const
{
	WindowList& list = window_list();
	std::lock_guard<std::mutex> guard(list.mutex);
	if (index < 0 || index >= (int32)list.windows.size())
		return NULL;
	return list.windows[index].first;
}


BResources*
BApplication::AppResources()
{
	return executable_resources();
}


const char*
BApplication::Signature() const
{
	return fSignature.c_str();
}


void
BApplication::_Init(const char* signature)
{
	fInitStatus = B_OK;
	fReadyToRunCalled = false;
	fDeleteOnQuit = false;

	static const char kPrefix[] = "application/";
	if (signature == NULL
		|| strncasecmp(signature, kPrefix, sizeof(kPrefix) - 1) != 0) {
		fInitStatus = B_BAD_VALUE;
		return;
	}
	fSignature = signature;
	if (be_app != NULL) {
		fInitStatus = B_ALREADY_RUNNING;
		return;
	}

	be_app = this;
	be_app_messenger = BMessenger(NULL, this);
	PostMessage(B_READY_TO_RUN);
}


void
BApplication::_ArgvReceived(BMessage* message)
{
	std::vector<char*> argv;
	const char* argument;
	for (int32 i = 0; message->FindString("argv", i, &argument) == B_OK; i++)
		argv.push_back(const_cast<char*>(argument));
	argv.push_back(NULL);
	ArgvReceived((int32)argv.size() - 1, argv.data());
}
