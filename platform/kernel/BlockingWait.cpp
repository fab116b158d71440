#include <BlockingWait.h>

#include "private/ThreadRecord.h"

namespace BPrivate {

BlockingWait::BlockingWait()
	:
	fRecord(ThreadRecord::Current()),
	fPreviousState(fRecord->State())
{
	fRecord->SetState(ThreadState::kWaiting);
}

BlockingWait::~BlockingWait()
{
	fRecord->SetState(fPreviousState);
}

}	// namespace BPrivate
