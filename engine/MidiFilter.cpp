#include "MidiFilter.h"

#include <algorithm>

#include <MidiLocalProducer.h>

namespace {

const uchar kPercussionChannel = 9;
const int64 kLargestDataByte = 127;
const uchar kMetaEvent = 0xFF;

}	// namespace


TMidiFilter::TMidiFilter(const char* outputName)
	:
	fKey(0),
	fVolume(100),
	fOutput(new BMidiLocalProducer(outputName))
{
}


TMidiFilter::~TMidiFilter()
{
	fOutput->Release();
}


status_t
TMidiFilter::SetVolume(int32 percent)
{
	fVolume.store(percent, std::memory_order_relaxed);
	return B_OK;
}


int32
TMidiFilter::Volume() const
{
	return fVolume.load(std::memory_order_relaxed);
}


status_t
TMidiFilter::SetKey(int32 semitones)
{
	fKey.store(semitones, std::memory_order_relaxed);
	return B_OK;
}


int32
TMidiFilter::Key() const
{
	return fKey.load(std::memory_order_relaxed);
}


void
TMidiFilter::Data(uchar* data, size_t length, bool atomic, bigtime_t time)
{
	// Meta events (tempo) and System Reset have no business on a device.
	if (length > 0 && data[0] == kMetaEvent)
		return;
	BMidiLocalConsumer::Data(data, length, atomic, time);
}


void
TMidiFilter::NoteOff(uchar channel, uchar note, uchar velocity,
	bigtime_t time)
{
	fOutput->SprayNoteOff(channel, _Transposed(channel, note), velocity, time);
}


void
TMidiFilter::NoteOn(uchar channel, uchar note, uchar velocity, bigtime_t time)
{
	int64 scaled = int64(velocity) * Volume() / 100;
	fOutput->SprayNoteOn(channel, _Transposed(channel, note),
		std::clamp<int64>(scaled, 0, kLargestDataByte), time);
}


void
TMidiFilter::KeyPressure(uchar channel, uchar note, uchar pressure,
	bigtime_t time)
{
	fOutput->SprayKeyPressure(channel, note, pressure, time);
}


void
TMidiFilter::ControlChange(uchar channel, uchar controlNumber,
	uchar controlValue, bigtime_t time)
{
	fOutput->SprayControlChange(channel, controlNumber, controlValue, time);
}


void
TMidiFilter::ProgramChange(uchar channel, uchar programNumber,
	bigtime_t time)
{
	fOutput->SprayProgramChange(channel, programNumber, time);
}


void
TMidiFilter::ChannelPressure(uchar channel, uchar pressure, bigtime_t time)
{
	fOutput->SprayChannelPressure(channel, pressure, time);
}


void
TMidiFilter::PitchBend(uchar channel, uchar lsb, uchar msb, bigtime_t time)
{
	fOutput->SprayPitchBend(channel, lsb, msb, time);
}


void
TMidiFilter::SystemExclusive(void* data, size_t length, bigtime_t time)
{
	fOutput->SpraySystemExclusive(data, length, time);
}


void
TMidiFilter::SystemCommon(uchar status, uchar data1, uchar data2,
	bigtime_t time)
{
	fOutput->SpraySystemCommon(status, data1, data2, time);
}


void
TMidiFilter::SystemRealTime(uchar status, bigtime_t time)
{
	fOutput->SpraySystemRealTime(status, time);
}


void
TMidiFilter::TempoChange(int32 beatsPerMinute, bigtime_t time)
{
	fOutput->SprayTempoChange(beatsPerMinute, time);
}


void
TMidiFilter::AllNotesOff(bool justChannel, bigtime_t time)
{
	BMidiLocalConsumer::AllNotesOff(justChannel, time);
}


uchar
TMidiFilter::_Transposed(uchar channel, uchar note) const
{
	if (channel == kPercussionChannel)
		return note;
	return std::clamp<int64>(int64(note) + Key(), 0, kLargestDataByte);
}
