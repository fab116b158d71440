#include "SMFProducer.h"

#include <algorithm>
#include <cstring>

#include <DataIO.h>
#include <File.h>
#include <MidiLocalProducer.h>

#include "BigEndianIO.h"
#include "PlayThread.h"
#include "SMFTrack.h"

namespace {

const uint32 kDefaultTempo = 500000;

}	// namespace


TSMFProducer::TSMFProducer()
	:
	fDivision(0),
	fTempo(kDefaultTempo),
	fSongLength(0),
	fTempoRate(100),
	fProducers{new BMidiLocalProducer("SMFProducer_0"),
		new BMidiLocalProducer("SMFProducer_1")},
	fSeekPending(false)
{
}


TSMFProducer::~TSMFProducer()
{
	Unset();
	for (BMidiLocalProducer* producer : fProducers)
		producer->Release();
}


status_t
TSMFProducer::SetTo(const entry_ref* ref)
{
	BFile file(ref, B_READ_ONLY);
	status_t status = file.InitCheck();
	if (status != B_OK)
		return status;
	return SetTo(&file);
}


status_t
TSMFProducer::SetTo(BPositionIO* stream)
{
	Unset();
	fTempo = kDefaultTempo;
	fSongLength = 0;

	char chunkType[4];
	if (stream->Read(chunkType, sizeof(chunkType)) != (ssize_t)sizeof(chunkType)
		|| memcmp(chunkType, "MThd", sizeof(chunkType)) != 0)
		return -1;

	uint32 headerLength = 0;
	uint16 format = 0;
	uint16 trackCount = 0;
	uint16 division = 0;
	get_uint32(stream, &headerLength);
	get_uint16(stream, &format);
	get_uint16(stream, &trackCount);
	if (format > 1)
		return -1;
	if (format == 0 && trackCount > 0)
		trackCount = 1;
	get_uint16(stream, &division);
	fDivision = (int16)division;
	// Negative is SMPTE time; 0 would make every gap a division by zero.
	if (fDivision <= 0)
		return -1;
	if (headerLength > 6)
		stream->Seek(headerLength - 6, SEEK_CUR);

	for (uint16 i = 0; i < trackCount; i++) {
		auto track = std::make_unique<TSMFTrack>(this);
		if (track->SetTo(stream) != 0)
			return -1;
		fTracks.push_back(std::move(track));
	}
	for (const auto& track : fTracks)
		fSongLength = std::max(fSongLength, track->CountTicks());
	return 0;
}


void
TSMFProducer::Unset()
{
	Stop();
	fTracks.clear();
}


uint32
TSMFProducer::CountTicks() const
{
	return fSongLength;
}


status_t
TSMFProducer::GetTitle(std::string* title) const
{
	for (const auto& track : fTracks) {
		if (track->GetTrackName(title) == 0)
			return 0;
	}
	return -1;
}


const TSMFTrack*
TSMFProducer::TrackAt(int32 index) const
{
	if (index < 0 || index >= CountTracks())
		return NULL;
	return fTracks[index].get();
}


status_t
TSMFProducer::Play()
{
	if (fPlayThread == NULL) {
		// A stopped song plays again from its beginning, not from where the
		// tracks' cursors, the tempo and the port events left it.
		_MoveTracks(0);
		fSeekPending = false;
		fPlayThread = std::make_unique<TPlayThread>(this);
	}
	// A resume given to a running thread would be kept for its next
	// suspension and make the next Pause pass by.
	if (fPlayThread->IsSuspended())
		fPlayThread->Resume();
	return 0;
}


status_t
TSMFProducer::Pause()
{
	if (fPlayThread != NULL && !fPlayThread->IsTerminated())
		fPlayThread->Hold();
	return 0;
}


status_t
TSMFProducer::Stop()
{
	fPlayThread.reset();
	return 0;
}


bool
TSMFProducer::IsPlaying() const
{
	return fPlayThread != NULL && !fPlayThread->IsTerminated()
		&& !fPlayThread->IsSuspended();
}


status_t
TSMFProducer::SetCurrentTick(uint32 tick)
{
	if (fPlayThread == NULL)
		return -1;
	{
		std::lock_guard<std::recursive_mutex> lock(fCursorLock);
		_MoveTracks(tick);
		fPlayThread->SetCurrentTick(tick);
		fSeekPending = true;
	}
	fPlayThread->Wake();
	return 0;
}


uint32
TSMFProducer::CurrentTick() const
{
	return fPlayThread != NULL ? fPlayThread->CurrentTick() : 0;
}


void
TSMFProducer::BetweenSteps(const std::function<void()>& action)
{
	std::lock_guard<std::recursive_mutex> lock(fCursorLock);
	action();
}


void
TSMFProducer::SetTempoRate(int32 percent)
{
	fTempoRate = std::clamp<int32>(percent, 1, kMaxTempoRate);
}


BMidiLocalProducer*
TSMFProducer::Producer(int32 index) const
{
	if (index < 0 || index > 1)
		return NULL;
	return fProducers[index];
}


void
TSMFProducer::_MoveTracks(uint32 tick)
{
	uint32 tempo = kDefaultTempo;
	uint32 tempoTick = 0;
	bool tempoSet = false;
	for (const auto& track : fTracks) {
		track->SetCurrentTick(tick);
		// Equal ticks play in track order: a later track's setting wins.
		uint32 settingTick;
		uint32 setting;
		if (track->TempoBeforeCursor(&settingTick, &setting)
			&& (!tempoSet || settingTick >= tempoTick)) {
			tempo = setting;
			tempoTick = settingTick;
			tempoSet = true;
		}
	}
	fTempo = tempo;
}


bool
TSMFProducer::_Step(TPlayThread* thread, uint32* wait)
{
	std::lock_guard<std::recursive_mutex> lock(fCursorLock);
	fSeekPending = false;
	uint32 tick = thread->CurrentTick();
	for (const auto& track : fTracks)
		track->Spray(tick);
	// WaitTick's "none" is also a real gap of 0xFFFFFFFF ticks, so whether
	// any event is left is asked separately.
	bool eventsLeft = false;
	uint32 next = UINT32_MAX;
	for (const auto& track : fTracks) {
		if (track->CountTicks() > tick) {
			eventsLeft = true;
			next = std::min(next, track->WaitTick(tick));
		}
	}
	if (!eventsLeft)
		return false;
	thread->SetCurrentTick(tick + next);
	*wait = next;
	return true;
}


bigtime_t
TSMFProducer::_TicksToTime(uint32 ticks) const
{
	// Both products fit: ticks, a 24-bit tempo and 100 stay below 2^63, and
	// the rate is bounded so the divisor stays within 32 bits.
	uint64 scaled = (uint64)ticks * fTempo * 100;
	uint32 divisor = (uint32)(uint16)fDivision * (uint32)fTempoRate;
	return (int64)scaled / (int64)divisor;
}
