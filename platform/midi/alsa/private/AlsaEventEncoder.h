#ifndef _ALSA_EVENT_ENCODER_H
#define _ALSA_EVENT_ENCODER_H

#include <alsa/asoundlib.h>

#include <functional>
#include <vector>

#include <SupportDefs.h>

// Turns the MIDI bytes a producer sprays into sequencer events. Whole
// messages (atomic) stand alone; parts (not atomic) continue what came before
// on the same stream, with running status. Pitch bend becomes ALSA's signed
// value, Note On with velocity 0 stays a Note On, and System Exclusive goes
// out in pieces of at most kSysExChunk bytes, F0 in the first and F7 in the
// last, since the sequencer's pool takes no message of any size. The kit's
// tempo meta event (FF 51 …) has no wire form and is dropped, as are bytes
// that belong to no message.
class AlsaEventEncoder {
public:
	static constexpr size_t kSysExChunk = 256;

	// Gets each event with type and data set, no addresses; a System
	// Exclusive event points into the encoder, valid during the call.
	typedef std::function<void(snd_seq_event_t& event)> Sink;

	AlsaEventEncoder();

	void Encode(const uchar* data, size_t length, bool atomic,
		const Sink& sink);
	void Reset();

private:
	void _Byte(uchar byte, const Sink& sink);
	void _Message(const Sink& sink);
	void _FlushSysEx(const Sink& sink);
	static void _RealTime(uchar status, const Sink& sink);

	uchar fStatus;
	uchar fData[2];
	size_t fCount;
	bool fInSysEx;
	std::vector<uchar> fSysEx;
};

#endif
