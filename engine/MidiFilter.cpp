#include "MidiFilter.h"

#include <algorithm>

#include <MidiLocalProducer.h>

#include "MidiBytes.h"
#include "SystemResets.h"

namespace {

const uchar kPercussionChannel = 9;
const int64 kLargestDataByte = 127;

}	// namespace


TMidiFilter::TMidiFilter(const char* outputName)
	:
	fSounding(),
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
	uchar sent;
	if (_NoteEnded(channel, note, &sent))
		fOutput->SprayNoteOff(channel, sent, velocity, time);
}


void
TMidiFilter::NoteOn(uchar channel, uchar note, uchar velocity, bigtime_t time)
{
	const int64 scaled = std::clamp<int64>(int64(velocity) * Volume() / 100, 0,
		kLargestDataByte);
	uchar sent;
	if (velocity == 0) {
		if (!_NoteEnded(channel, note, &sent))
			return;
	} else if (scaled == 0) {
		// Silenced by the volume: velocity 0 would tell the device to end
		// the note, and the note is not remembered, so its Note Off is
		// dropped as well.
		return;
	} else {
		// A note struck again while it sounds keeps its number, so that its
		// one Note Off ends it.
		uint8_t entry = 0;
		sent = _Transposed(channel, note);
		if (!_Sounding(channel, note).compare_exchange_strong(entry, sent + 1))
			sent = entry - 1;
	}
	fOutput->SprayNoteOn(channel, sent, scaled, time);
}


void
TMidiFilter::KeyPressure(uchar channel, uchar note, uchar pressure,
	bigtime_t time)
{
	// Pressure belongs to the note that sounds; on a note that does not, it
	// has nothing to follow and passes as it came.
	uint8_t entry = _Sounding(channel, note).load();
	fOutput->SprayKeyPressure(channel, entry != 0 ? entry - 1 : note,
		pressure, time);
}


void
TMidiFilter::ControlChange(uchar channel, uchar controlNumber,
	uchar controlValue, bigtime_t time)
{
	if (controlNumber == kAllNotesOff)
		_ForgetChannel(channel);
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
	// A system reset silences the whole device.
	if (system_reset_mask(data, length) != 0) {
		for (uchar channel = 0; channel < kChannelCount; channel++)
			_ForgetChannel(channel);
	}
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


std::atomic<uint8_t>&
TMidiFilter::_Sounding(uchar channel, uchar note)
{
	return fSounding[channel % kChannelCount][note % kNoteCount];
}


bool
TMidiFilter::_NoteEnded(uchar channel, uchar note, uchar* sent)
{
	uint8_t entry = _Sounding(channel, note).exchange(0);
	*sent = entry - 1;
	return entry != 0;
}


void
TMidiFilter::_ForgetChannel(uchar channel)
{
	for (std::atomic<uint8_t>& entry : fSounding[channel % kChannelCount])
		entry.store(0);
}
