#include <MidiLocalConsumer.h>

#include "MidiRegistry.h"
#include "MidiWire.h"


BMidiLocalConsumer::BMidiLocalConsumer(const char* name)
	:
	BMidiConsumer(name, true)
{
	MidiRegistry::Default().AddLocal(this);
}


BMidiLocalConsumer::~BMidiLocalConsumer()
{
}


void
BMidiLocalConsumer::SetLatency(bigtime_t latency)
{
	MidiRegistry::Default().SetLatency(this, latency);
}


int32
BMidiLocalConsumer::GetProducerID()
{
	return MidiRegistry::CurrentProducer();
}


void
BMidiLocalConsumer::SetTimeout(bigtime_t, void*)
{
}


void
BMidiLocalConsumer::Timeout(void*)
{
}


void
BMidiLocalConsumer::Data(uchar* data, size_t length, bool atomic,
	bigtime_t time)
{
	// Only a complete message can be decoded; pieces of a stream are left to
	// subclasses that override Data().
	if (!atomic || data == NULL || length == 0)
		return;

	uchar status = data[0];
	if (status >= B_SYS_EX_START) {
		_DecodeSystemMessage(data, length, time);
		return;
	}

	uchar channel = status & 0x0f;
	switch (status & 0xf0) {
		case B_NOTE_OFF:
			if (length == 3)
				NoteOff(channel, data[1], data[2], time);
			break;
		case B_NOTE_ON:
			if (length == 3)
				NoteOn(channel, data[1], data[2], time);
			break;
		case B_KEY_PRESSURE:
			if (length == 3)
				KeyPressure(channel, data[1], data[2], time);
			break;
		case B_CONTROL_CHANGE:
			if (length == 3)
				ControlChange(channel, data[1], data[2], time);
			break;
		case B_PROGRAM_CHANGE:
			if (length == 2)
				ProgramChange(channel, data[1], time);
			break;
		case B_CHANNEL_PRESSURE:
			if (length == 2)
				ChannelPressure(channel, data[1], time);
			break;
		case B_PITCH_BEND:
			if (length == 3)
				PitchBend(channel, data[1], data[2], time);
			break;
	}
}


void
BMidiLocalConsumer::NoteOff(uchar, uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::NoteOn(uchar, uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::KeyPressure(uchar, uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::ControlChange(uchar, uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::ProgramChange(uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::ChannelPressure(uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::PitchBend(uchar, uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::SystemExclusive(void*, size_t, bigtime_t)
{
}


void
BMidiLocalConsumer::SystemCommon(uchar, uchar, uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::SystemRealTime(uchar, bigtime_t)
{
}


void
BMidiLocalConsumer::TempoChange(int32, bigtime_t)
{
}


void
BMidiLocalConsumer::AllNotesOff(bool, bigtime_t)
{
}


void
BMidiLocalConsumer::_DecodeSystemMessage(uchar* data, size_t length,
	bigtime_t time)
{
	uchar status = data[0];
	switch (status) {
		case B_SYS_EX_START:
		{
			size_t bodyLength = length - 1;
			if (bodyLength > 0 && data[length - 1] == B_SYS_EX_END)
				bodyLength--;
			SystemExclusive(data + 1, bodyLength, time);
			break;
		}
		case B_TUNE_REQUEST:
			if (length == 1)
				SystemCommon(status, 0, 0, time);
			break;
		case B_MIDI_TIME_CODE:
		case B_SONG_SELECT:
			if (length == 2)
				SystemCommon(status, data[1], 0, time);
			break;
		case B_SONG_POSITION:
			if (length == 3)
				SystemCommon(status, data[1], data[2], time);
			break;
		case B_SYSTEM_RESET:
		{
			int32 beatsPerMinute;
			if (length == 1)
				SystemRealTime(status, time);
			else if (midi_wire::decode_tempo(data, length, &beatsPerMinute))
				TempoChange(beatsPerMinute, time);
			break;
		}
		default:
			if (status >= B_TIMING_CLOCK && length == 1)
				SystemRealTime(status, time);
			break;
	}
}
