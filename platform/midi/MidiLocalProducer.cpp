#include <MidiLocalProducer.h>

#include <cstring>
#include <vector>

#include "MidiRegistry.h"
#include "MidiWire.h"

namespace {

const uchar kDataMask = 0x7f;
const uchar kChannelMask = 0x0f;

}


BMidiLocalProducer::BMidiLocalProducer(const char* name)
	:
	BMidiProducer(name, true)
{
	MidiRegistry::Default().AddLocal(this);
}


BMidiLocalProducer::~BMidiLocalProducer()
{
}


void
BMidiLocalProducer::Connected(BMidiConsumer*)
{
}


void
BMidiLocalProducer::Disconnected(BMidiConsumer*)
{
}


void
BMidiLocalProducer::SprayData(void* data, size_t length, bool atomic,
	bigtime_t time) const
{
	_Spray(static_cast<const uchar*>(data), length, atomic, time);
}


void
BMidiLocalProducer::SprayNoteOff(uchar channel, uchar note, uchar velocity,
	bigtime_t time) const
{
	_SprayChannelMessage(B_NOTE_OFF, channel, note, velocity, 3, time);
}


void
BMidiLocalProducer::SprayNoteOn(uchar channel, uchar note, uchar velocity,
	bigtime_t time) const
{
	_SprayChannelMessage(B_NOTE_ON, channel, note, velocity, 3, time);
}


void
BMidiLocalProducer::SprayKeyPressure(uchar channel, uchar note,
	uchar pressure, bigtime_t time) const
{
	_SprayChannelMessage(B_KEY_PRESSURE, channel, note, pressure, 3, time);
}


void
BMidiLocalProducer::SprayControlChange(uchar channel, uchar controlNumber,
	uchar controlValue, bigtime_t time) const
{
	_SprayChannelMessage(B_CONTROL_CHANGE, channel, controlNumber,
		controlValue, 3, time);
}


void
BMidiLocalProducer::SprayProgramChange(uchar channel, uchar programNumber,
	bigtime_t time) const
{
	_SprayChannelMessage(B_PROGRAM_CHANGE, channel, programNumber, 0, 2, time);
}


void
BMidiLocalProducer::SprayChannelPressure(uchar channel, uchar pressure,
	bigtime_t time) const
{
	_SprayChannelMessage(B_CHANNEL_PRESSURE, channel, pressure, 0, 2, time);
}


void
BMidiLocalProducer::SprayPitchBend(uchar channel, uchar lsb, uchar msb,
	bigtime_t time) const
{
	_SprayChannelMessage(B_PITCH_BEND, channel, lsb, msb, 3, time);
}


void
BMidiLocalProducer::SpraySystemExclusive(void* data, size_t length,
	bigtime_t time) const
{
	if (data == NULL && length > 0)
		return;

	const uchar* body = static_cast<const uchar*>(data);
	bool terminated = length > 0 && body[length - 1] == B_SYS_EX_END;
	std::vector<uchar> message(length + (terminated ? 1 : 2));
	message[0] = B_SYS_EX_START;
	if (length > 0)
		memcpy(message.data() + 1, body, length);
	message.back() = B_SYS_EX_END;
	_Spray(message.data(), message.size(), true, time);
}


void
BMidiLocalProducer::SpraySystemCommon(uchar status, uchar data1, uchar data2,
	bigtime_t time) const
{
	size_t length;
	switch (status) {
		case B_TUNE_REQUEST:
			length = 1;
			break;
		case B_MIDI_TIME_CODE:
		case B_SONG_SELECT:
			length = 2;
			break;
		case B_SONG_POSITION:
			length = 3;
			break;
		default:
			return;
	}
	const uchar message[3] = {status, uchar(data1 & kDataMask),
		uchar(data2 & kDataMask)};
	_Spray(message, length, true, time);
}


void
BMidiLocalProducer::SpraySystemRealTime(uchar status, bigtime_t time) const
{
	if (status < B_TIMING_CLOCK)
		return;
	_Spray(&status, 1, true, time);
}


void
BMidiLocalProducer::SprayTempoChange(int32 beatsPerMinute,
	bigtime_t time) const
{
	uchar message[midi_wire::kTempoLength];
	if (midi_wire::encode_tempo(beatsPerMinute, message))
		_Spray(message, sizeof(message), true, time);
}


void
BMidiLocalProducer::_SprayChannelMessage(uchar kind, uchar channel,
	uchar data1, uchar data2, size_t length, bigtime_t time) const
{
	const uchar message[3] = {uchar(kind | (channel & kChannelMask)),
		uchar(data1 & kDataMask), uchar(data2 & kDataMask)};
	_Spray(message, length, true, time);
}


void
BMidiLocalProducer::_Spray(const uchar* data, size_t length, bool atomic,
	bigtime_t time) const
{
	MidiRegistry::Default().Spray(this, data, length, atomic, time);
}
