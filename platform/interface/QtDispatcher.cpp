#include "QtDispatcher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include <RecordedPriority.h>

#include "ServingThread.h"

namespace BPrivate {

QtDispatcher::QtDispatcher()
	:
	fGuiThread(find_thread(NULL)),
	fRunningToken(-1),
	fRunLoop(NULL)
{
	// Every window runs here; a dialog asking for its own thread's priority
	// must not change the priority of all of them.
	keep_thread_priority_recorded(fGuiThread);
	ServingThread::Default().Install([] {
		if (QCoreApplication* application = QCoreApplication::instance()) {
			QMetaObject::invokeMethod(application,
				[] { ServingThread::Default().RunPending(); }, Qt::QueuedConnection);
		}
	});
}


QtDispatcher::~QtDispatcher()
{
	ServingThread::Default().Uninstall();
}


thread_id
QtDispatcher::Attach(int32 /*looperToken*/)
{
	return fGuiThread;
}


void
QtDispatcher::Wake(int32 looperToken)
{
	QCoreApplication* application = QCoreApplication::instance();
	if (application == NULL)
		return;
	QMetaObject::invokeMethod(application,
		[this, looperToken] { _Dispatch(looperToken); }, Qt::QueuedConnection);
}


void
QtDispatcher::Detach(int32 /*looperToken*/)
{
	// DispatchPending() already answers false for a looper that quit; the
	// wakes still queued for it then do nothing.
}


void
QtDispatcher::RunUntilQuit(int32 looperToken)
{
	QEventLoop loop;
	QEventLoop* outerLoop = fRunLoop;
	const int32 outerToken = fRunningToken.exchange(looperToken);
	fRunLoop = &loop;
	// Messages posted before Run() were woken for already; this call only
	// makes sure none is missed.
	Wake(looperToken);
	loop.exec();
	fRunLoop = outerLoop;
	fRunningToken.store(outerToken);
}


void
QtDispatcher::_Dispatch(int32 looperToken)
{
	if (!LooperDispatcher::DispatchPending(looperToken)
		&& looperToken == fRunningToken.load() && fRunLoop != NULL) {
		fRunLoop->quit();
	}
}

}
