#include "SessionEnd.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <AppDefs.h>
#include <Application.h>
#include <InterfaceKit.h>
#include <Messenger.h>

#include "AppMessages.h"
#include "CorvanView.h"
#include "ListRecovery.h"
#include "VantuView.h"
#include "VantuWin.h"

namespace {

const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A request handed to the window just before the session ended travels on
// by posts inside the window (the drop, the add, the player); the end goes
// round the window's queue this often, so that every such chain is done
// before the lists are saved.
const int32 kQueueRounds = 4;
const char* const kRoundField = "Round";

// The pipe the signal handler writes into: a signal handler can reach
// nothing but globals, and may call nothing but write().
int sSignalPipe[2] = {-1, -1};


void
signal_arrived(int)
{
	const int savedErrno = errno;
	const char byte = 1;
	[[maybe_unused]] const ssize_t written = write(sSignalPipe[1], &byte, 1);
	errno = savedErrno;
}

}


TSessionEnd::TSessionEnd(TVantuWin* window, std::string recoveryFolder)
	:
	BHandler("SessionEnd"),
	fWindow(window),
	fRecoveryFolder(std::move(recoveryFolder)),
	fEnding(false),
	fStopFd(-1)
{
}


TSessionEnd::~TSessionEnd()
{
	BPrivate::set_session_end_target(BMessenger(), 0);
	if (!fThread.joinable())
		return;
	for (int signal : kSignals)
		std::signal(signal, SIG_DFL);
	// One write never fills an eventfd's counter, so it cannot fail.
	const uint64_t one = 1;
	[[maybe_unused]] const ssize_t woken = write(fStopFd, &one, sizeof(one));
	fThread.join();
	close(fStopFd);
	close(sSignalPipe[0]);
	close(sSignalPipe[1]);
	sSignalPipe[0] = sSignalPipe[1] = -1;
}


void
TSessionEnd::Watch()
{
	const BMessenger self(this);
	BPrivate::set_session_end_target(self, kMsgSessionEnd);
	if (fThread.joinable() || sSignalPipe[0] >= 0)
		return;
	fStopFd = eventfd(0, EFD_CLOEXEC);
	if (fStopFd < 0 || pipe2(sSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
		return;
	fThread = std::thread(&TSessionEnd::_WatchLoop, this);
	struct sigaction action = {};
	action.sa_handler = &signal_arrived;
	sigemptyset(&action.sa_mask);
	// The handler goes after the first signal: a second one, sent because
	// the quit takes too long, ends the program the usual way.
	action.sa_flags = SA_RESTART | SA_RESETHAND;
	for (int signal : kSignals)
		sigaction(signal, &action, nullptr);
}


void
TSessionEnd::_WatchLoop()
{
	const BMessenger self(this);
	for (;;) {
		pollfd fds[2] = {{sSignalPipe[0], POLLIN, 0}, {fStopFd, POLLIN, 0}};
		if (poll(fds, 2, -1) < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		if (fds[1].revents != 0)
			return;
		char bytes[16];
		if ((fds[0].revents & POLLIN) != 0 && read(sSignalPipe[0], bytes, sizeof(bytes)) > 0)
			self.SendMessage(kMsgSessionEnd);
	}
}


void
TSessionEnd::MessageReceived(BMessage* message)
{
	if (message->what != kMsgSessionEnd) {
		BHandler::MessageReceived(message);
		return;
	}
	int32 round = 0;
	message->FindInt32(kRoundField, &round);
	if (round == 0) {
		if (fEnding)
			return;
		fEnding = true;
	}
	if (round < kQueueRounds) {
		BMessage again(kMsgSessionEnd);
		again.AddInt32(kRoundField, round + 1);
		Looper()->PostMessage(&again, this);
		return;
	}
	_End();
}


void
TSessionEnd::_End()
{
	if (fWindow != nullptr) {
		if (TVantuView* player = fWindow->PlayerView()) {
			fRecoveredMainList
				= recover_modified_lists(*player->PlaylistView(), fRecoveryFolder);
		}
	}
	// With the changed lists saved, the application's quit asks nothing and
	// the windows close as on every quit.
	be_app_messenger.SendMessage(B_QUIT_REQUESTED);
}
