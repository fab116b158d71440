#include <MessageRunner.h>

#include <Message.h>

#include "RunnerService.h"

using BPrivate::RunnerService;

BMessageRunner::BMessageRunner(BMessenger target, const BMessage* message,
	bigtime_t interval, int32 count)
{
	_Init(target, message, interval, count, BMessenger());
}


BMessageRunner::BMessageRunner(BMessenger target, const BMessage* message,
	bigtime_t interval, int32 count, BMessenger replyTo)
{
	_Init(target, message, interval, count, replyTo);
}


BMessageRunner::~BMessageRunner()
{
	if (fInitStatus == B_OK)
		RunnerService::Default().Remove(fToken);
}


status_t
BMessageRunner::InitCheck() const
{
	return fInitStatus;
}


status_t
BMessageRunner::SetInterval(bigtime_t interval)
{
	if (fInitStatus != B_OK)
		return fInitStatus;
	return RunnerService::Default().SetInterval(fToken, interval);
}


status_t
BMessageRunner::SetCount(int32 count)
{
	if (fInitStatus != B_OK)
		return fInitStatus;
	return RunnerService::Default().SetCount(fToken, count);
}


status_t
BMessageRunner::GetInfo(bigtime_t* interval, int32* count) const
{
	if (fInitStatus != B_OK)
		return fInitStatus;
	return RunnerService::Default().GetInfo(fToken, interval, count);
}


void
BMessageRunner::_Init(BMessenger target, const BMessage* message,
	bigtime_t interval, int32 count, BMessenger replyTo)
{
	fToken = -1;
	if (message == NULL || interval <= 0 || count == 0 || count < -1) {
		fInitStatus = B_BAD_VALUE;
		return;
	}
	const int32 token = RunnerService::Default().Add(target, *message,
		replyTo, interval, count);
	fInitStatus = token < 0 ? token : B_OK;
	fToken = token;
}
