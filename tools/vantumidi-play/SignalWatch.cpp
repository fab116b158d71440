#include "SignalWatch.h"

#include <sys/signalfd.h>
#include <unistd.h>

namespace {

const int kWatched[] = {SIGINT, SIGTERM, SIGHUP};

}	// namespace


TSignalWatch::TSignalWatch()
	:
	fDescriptor(-1),
	fReceived(0)
{
	sigset_t set;
	sigemptyset(&set);
	for (int signal : kWatched)
		sigaddset(&set, signal);
	sigset_t previous;
	if (pthread_sigmask(SIG_BLOCK, &set, &previous) != 0)
		return;
	fDescriptor = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
	if (fDescriptor < 0)
		pthread_sigmask(SIG_SETMASK, &previous, NULL);
}


TSignalWatch::~TSignalWatch()
{
	if (fDescriptor >= 0)
		close(fDescriptor);
}


int
TSignalWatch::Received()
{
	signalfd_siginfo info;
	while (fDescriptor >= 0 && fReceived == 0
		&& read(fDescriptor, &info, sizeof(info)) == (ssize_t)sizeof(info))
		fReceived = info.ssi_signo;
	return fReceived;
}
