#include <AlsaSequencer.h>

#include <memory>
#include <mutex>

#include <String.h>

#include "AlsaCheck.h"
#include "AlsaSequencerBridge.h"

namespace {

std::mutex sLock;
std::unique_ptr<AlsaSequencerBridge> sBridge;

}


status_t
BPrivate::attach_alsa_sequencer(BString* failure)
{
	std::lock_guard<std::mutex> lock(sLock);
	if (sBridge != nullptr)
		return B_OK;

	auto bridge = std::make_unique<AlsaSequencerBridge>();
	status_t status = bridge->Start();
	if (status != B_OK) {
		if (failure != NULL)
			failure->SetTo(alsa_last_failure().c_str());
		return status;
	}
	sBridge = std::move(bridge);
	return B_OK;
}


void
BPrivate::detach_alsa_sequencer()
{
	std::unique_ptr<AlsaSequencerBridge> bridge;
	{
		std::lock_guard<std::mutex> lock(sLock);
		bridge.swap(sBridge);
	}
}
