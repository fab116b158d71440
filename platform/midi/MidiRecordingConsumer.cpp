#include <MidiRecordingConsumer.h>

#include <chrono>

#include <OS.h>

namespace {

// The event whose bytes the base Data() is decoding in this thread; the typed
// hook it calls fills in the kind.
thread_local BMidiRecordingConsumer::Event* sDecoding = NULL;

}


BMidiRecordingConsumer::BMidiRecordingConsumer(const char* name)
	:
	BMidiLocalConsumer(name)
{
}


BMidiRecordingConsumer::~BMidiRecordingConsumer()
{
}


int32
BMidiRecordingConsumer::CountEvents() const
{
	std::lock_guard<std::mutex> lock(fLock);
	return fEvents.size();
}


bool
BMidiRecordingConsumer::EventAt(int32 index, Event* event) const
{
	std::lock_guard<std::mutex> lock(fLock);
	if (index < 0 || size_t(index) >= fEvents.size() || event == NULL)
		return false;
	*event = fEvents[index];
	return true;
}


std::vector<BMidiRecordingConsumer::Event>
BMidiRecordingConsumer::Events() const
{
	std::lock_guard<std::mutex> lock(fLock);
	return fEvents;
}


void
BMidiRecordingConsumer::Clear()
{
	std::lock_guard<std::mutex> lock(fLock);
	fEvents.clear();
}


bool
BMidiRecordingConsumer::WaitForEvents(int32 count, bigtime_t timeout) const
{
	std::unique_lock<std::mutex> lock(fLock);
	return fRecorded.wait_for(lock, std::chrono::microseconds(timeout),
		[this, count] { return fEvents.size() >= size_t(count); });
}


void
BMidiRecordingConsumer::Data(uchar* data, size_t length, bool atomic,
	bigtime_t time)
{
	Event event{std::vector<uchar>(data, data + length), atomic, kUndecoded,
		time, system_time(), GetProducerID()};
	Event* outer = sDecoding;
	sDecoding = &event;
	BMidiLocalConsumer::Data(data, length, atomic, time);
	sDecoding = outer;

	std::lock_guard<std::mutex> lock(fLock);
	fEvents.push_back(std::move(event));
	fRecorded.notify_all();
}


void
BMidiRecordingConsumer::NoteOff(uchar, uchar, uchar, bigtime_t)
{
	_Decoded(kNoteOff);
}


void
BMidiRecordingConsumer::NoteOn(uchar, uchar, uchar, bigtime_t)
{
	_Decoded(kNoteOn);
}


void
BMidiRecordingConsumer::KeyPressure(uchar, uchar, uchar, bigtime_t)
{
	_Decoded(kKeyPressure);
}


void
BMidiRecordingConsumer::ControlChange(uchar, uchar, uchar, bigtime_t)
{
	_Decoded(kControlChange);
}


void
BMidiRecordingConsumer::ProgramChange(uchar, uchar, bigtime_t)
{
	_Decoded(kProgramChange);
}


void
BMidiRecordingConsumer::ChannelPressure(uchar, uchar, bigtime_t)
{
	_Decoded(kChannelPressure);
}


void
BMidiRecordingConsumer::PitchBend(uchar, uchar, uchar, bigtime_t)
{
	_Decoded(kPitchBend);
}


void
BMidiRecordingConsumer::SystemExclusive(void*, size_t, bigtime_t)
{
	_Decoded(kSystemExclusive);
}


void
BMidiRecordingConsumer::SystemCommon(uchar, uchar, uchar, bigtime_t)
{
	_Decoded(kSystemCommon);
}


void
BMidiRecordingConsumer::SystemRealTime(uchar, bigtime_t)
{
	_Decoded(kSystemRealTime);
}


void
BMidiRecordingConsumer::TempoChange(int32, bigtime_t)
{
	_Decoded(kTempoChange);
}


void
BMidiRecordingConsumer::_Decoded(Kind kind)
{
	if (sDecoding != NULL)
		sDecoding->kind = kind;
}
