#include "AlsaEventEncoder.h"

#include <MidiDefs.h>

namespace {

const uchar kMetaEvent = B_SYSTEM_RESET;
const int kPitchBendCenter = 8192;


bool
is_status(uchar byte)
{
	return (byte & 0x80) != 0;
}


// Data bytes a message with this status carries; -1 for none defined.
int
data_length(uchar status)
{
	switch (status & 0xf0) {
		case B_PROGRAM_CHANGE:
		case B_CHANNEL_PRESSURE:
			return 1;
		case 0xf0:
			break;
		default:
			return 2;
	}
	switch (status) {
		case B_MIDI_TIME_CODE:
		case B_SONG_SELECT:
			return 1;
		case B_SONG_POSITION:
			return 2;
		case B_TUNE_REQUEST:
			return 0;
		default:
			return -1;
	}
}


snd_seq_event_t
new_event(snd_seq_event_type_t type)
{
	snd_seq_event_t event;
	snd_seq_ev_clear(&event);
	event.type = type;
	return event;
}

}


AlsaEventEncoder::AlsaEventEncoder()
{
	Reset();
}


void
AlsaEventEncoder::Encode(const uchar* data, size_t length, bool atomic,
	const Sink& sink)
{
	if (length == 0)
		return;
	if (atomic) {
		if (data[0] == kMetaEvent && length > 1)
			return;
		Reset();
	}

	for (size_t i = 0; i < length; i++)
		_Byte(data[i], sink);

	if (atomic) {
		// A whole message never leaves half a System Exclusive behind for
		// the next one.
		if (fInSysEx)
			_FlushSysEx(sink);
		Reset();
	}
}


void
AlsaEventEncoder::Reset()
{
	fStatus = 0;
	fCount = 0;
	fInSysEx = false;
	fSysEx.clear();
}


void
AlsaEventEncoder::_Byte(uchar byte, const Sink& sink)
{
	if (byte >= B_TIMING_CLOCK) {
		_RealTime(byte, sink);
		return;
	}

	if (fInSysEx) {
		if (!is_status(byte) || byte == B_SYS_EX_END) {
			fSysEx.push_back(byte);
			if (byte == B_SYS_EX_END) {
				_FlushSysEx(sink);
				fInSysEx = false;
			} else if (fSysEx.size() == kSysExChunk)
				_FlushSysEx(sink);
			return;
		}
		// Any other status byte ends the System Exclusive, as on the wire.
		_FlushSysEx(sink);
		fInSysEx = false;
	}

	if (byte == B_SYS_EX_START) {
		fStatus = 0;
		fInSysEx = true;
		fSysEx.assign(1, byte);
		return;
	}

	if (is_status(byte)) {
		fCount = 0;
		fStatus = data_length(byte) >= 0 ? byte : 0;
		if (fStatus != 0 && data_length(fStatus) == 0) {
			_Message(sink);
			fStatus = 0;
		}
		return;
	}

	if (fStatus == 0)
		return;
	fData[fCount++] = byte;
	if (fCount < size_t(data_length(fStatus)))
		return;
	_Message(sink);
	fCount = 0;
	// Running status belongs to channel messages only.
	if (fStatus >= 0xf0)
		fStatus = 0;
}


void
AlsaEventEncoder::_Message(const Sink& sink)
{
	uchar channel = fStatus & 0x0f;
	snd_seq_event_t event;
	switch (fStatus & 0xf0) {
		case B_NOTE_OFF:
			event = new_event(SND_SEQ_EVENT_NOTEOFF);
			break;
		case B_NOTE_ON:
			event = new_event(SND_SEQ_EVENT_NOTEON);
			break;
		case B_KEY_PRESSURE:
			event = new_event(SND_SEQ_EVENT_KEYPRESS);
			break;
		case B_CONTROL_CHANGE:
			event = new_event(SND_SEQ_EVENT_CONTROLLER);
			event.data.control.channel = channel;
			event.data.control.param = fData[0];
			event.data.control.value = fData[1];
			sink(event);
			return;
		case B_PROGRAM_CHANGE:
			event = new_event(SND_SEQ_EVENT_PGMCHANGE);
			event.data.control.channel = channel;
			event.data.control.value = fData[0];
			sink(event);
			return;
		case B_CHANNEL_PRESSURE:
			event = new_event(SND_SEQ_EVENT_CHANPRESS);
			event.data.control.channel = channel;
			event.data.control.value = fData[0];
			sink(event);
			return;
		case B_PITCH_BEND:
			event = new_event(SND_SEQ_EVENT_PITCHBEND);
			event.data.control.channel = channel;
			event.data.control.value
				= (fData[1] << 7 | fData[0]) - kPitchBendCenter;
			sink(event);
			return;
		default:
			switch (fStatus) {
				case B_MIDI_TIME_CODE:
					event = new_event(SND_SEQ_EVENT_QFRAME);
					event.data.control.value = fData[0];
					break;
				case B_SONG_POSITION:
					event = new_event(SND_SEQ_EVENT_SONGPOS);
					event.data.control.value = fData[1] << 7 | fData[0];
					break;
				case B_SONG_SELECT:
					event = new_event(SND_SEQ_EVENT_SONGSEL);
					event.data.control.value = fData[0];
					break;
				default:
					event = new_event(SND_SEQ_EVENT_TUNE_REQUEST);
					break;
			}
			sink(event);
			return;
	}
	event.data.note.channel = channel;
	event.data.note.note = fData[0];
	event.data.note.velocity = fData[1];
	sink(event);
}


void
AlsaEventEncoder::_FlushSysEx(const Sink& sink)
{
	if (fSysEx.empty())
		return;
	snd_seq_event_t event = new_event(SND_SEQ_EVENT_SYSEX);
	snd_seq_ev_set_sysex(&event, fSysEx.size(), fSysEx.data());
	sink(event);
	fSysEx.clear();
}


void
AlsaEventEncoder::_RealTime(uchar status, const Sink& sink)
{
	snd_seq_event_type_t type;
	switch (status) {
		case B_TIMING_CLOCK:
			type = SND_SEQ_EVENT_CLOCK;
			break;
		case B_START:
			type = SND_SEQ_EVENT_START;
			break;
		case B_CONTINUE:
			type = SND_SEQ_EVENT_CONTINUE;
			break;
		case B_STOP:
			type = SND_SEQ_EVENT_STOP;
			break;
		case B_ACTIVE_SENSING:
			type = SND_SEQ_EVENT_SENSING;
			break;
		case B_SYSTEM_RESET:
			type = SND_SEQ_EVENT_RESET;
			break;
		default:
			return;
	}
	snd_seq_event_t event = new_event(type);
	sink(event);
}
