#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AlsaEventEncoder.h"

namespace {

typedef std::vector<uchar> Bytes;
typedef std::vector<std::string> Events;

std::string
hex(const uchar* data, size_t length)
{
	std::string text;
	char byte[4];
	for (size_t i = 0; i < length; i++) {
		snprintf(byte, sizeof(byte), i == 0 ? "%02X" : " %02X", data[i]);
		text += byte;
	}
	return text;
}


std::string
describe(const snd_seq_event_t& event)
{
	const snd_seq_ev_note_t& note = event.data.note;
	const snd_seq_ev_ctrl_t& control = event.data.control;
	bool variable = snd_seq_ev_is_variable(&event);
	if (event.type != SND_SEQ_EVENT_SYSEX && variable)
		return "variable-length non-SysEx";
	auto channel = [](const char* kind, int channel, std::string rest) {
		return std::string(kind) + " " + std::to_string(channel) + " " + rest;
	};
	switch (event.type) {
		case SND_SEQ_EVENT_NOTEON:
			return channel("note-on", note.channel, std::to_string(note.note)
				+ " " + std::to_string(note.velocity));
		case SND_SEQ_EVENT_NOTEOFF:
			return channel("note-off", note.channel, std::to_string(note.note)
				+ " " + std::to_string(note.velocity));
		case SND_SEQ_EVENT_KEYPRESS:
			return channel("key-pressure", note.channel,
				std::to_string(note.note) + " "
				+ std::to_string(note.velocity));
		case SND_SEQ_EVENT_CONTROLLER:
			return channel("control", control.channel,
				std::to_string(control.param) + " "
				+ std::to_string(control.value));
		case SND_SEQ_EVENT_PGMCHANGE:
			return channel("program", control.channel,
				std::to_string(control.value));
		case SND_SEQ_EVENT_CHANPRESS:
			return channel("channel-pressure", control.channel,
				std::to_string(control.value));
		case SND_SEQ_EVENT_PITCHBEND:
			return channel("bend", control.channel,
				std::to_string(control.value));
		case SND_SEQ_EVENT_QFRAME:
			return "quarter-frame " + std::to_string(control.value);
		case SND_SEQ_EVENT_SONGPOS:
			return "song-position " + std::to_string(control.value);
		case SND_SEQ_EVENT_SONGSEL:
			return "song-select " + std::to_string(control.value);
		case SND_SEQ_EVENT_TUNE_REQUEST:
			return "tune-request";
		case SND_SEQ_EVENT_CLOCK:
			return "clock";
		case SND_SEQ_EVENT_START:
			return "start";
		case SND_SEQ_EVENT_CONTINUE:
			return "continue";
		case SND_SEQ_EVENT_STOP:
			return "stop";
		case SND_SEQ_EVENT_SENSING:
			return "active-sensing";
		case SND_SEQ_EVENT_RESET:
			return "reset";
		case SND_SEQ_EVENT_SYSEX:
			if (!variable)
				return "fixed-length SysEx";
			return "sysex " + hex(static_cast<const uchar*>(event.data.ext.ptr),
				event.data.ext.len);
		default:
			return "type " + std::to_string(event.type);
	}
}


Events
encode(AlsaEventEncoder& encoder, const Bytes& bytes, bool atomic)
{
	Events events;
	encoder.Encode(bytes.data(), bytes.size(), atomic,
		[&events](snd_seq_event_t& event) {
			events.push_back(describe(event));
		});
	return events;
}


struct MessageCase {
	Bytes bytes;
	Events events;
};

}


TEST(AlsaEventEncoderTest, EveryMessageKindBecomesItsEvent)
{
	const MessageCase cases[] = {
		{{0x90, 60, 100}, {"note-on 0 60 100"}},
		{{0x95, 60, 0}, {"note-on 5 60 0"}},
		{{0x8f, 60, 64}, {"note-off 15 60 64"}},
		{{0xa1, 60, 32}, {"key-pressure 1 60 32"}},
		{{0xb2, 7, 100}, {"control 2 7 100"}},
		{{0xc3, 5}, {"program 3 5"}},
		{{0xd4, 48}, {"channel-pressure 4 48"}},
		{{0xe0, 0x00, 0x00}, {"bend 0 -8192"}},
		{{0xe0, 0x00, 0x40}, {"bend 0 0"}},
		{{0xe1, 0x01, 0x40}, {"bend 1 1"}},
		{{0xe9, 0x7f, 0x7f}, {"bend 9 8191"}},
		{{0xf1, 0x23}, {"quarter-frame 35"}},
		{{0xf2, 0x01, 0x02}, {"song-position 257"}},
		{{0xf3, 5}, {"song-select 5"}},
		{{0xf6}, {"tune-request"}},
		{{0xf8}, {"clock"}},
		{{0xfa}, {"start"}},
		{{0xfb}, {"continue"}},
		{{0xfc}, {"stop"}},
		{{0xfe}, {"active-sensing"}},
		{{0xff}, {"reset"}},
		{{0xf0, 0x43, 0x10, 0xf7}, {"sysex F0 43 10 F7"}},
		// Two messages in one spray, the second in running status.
		{{0x90, 60, 100, 62, 0}, {"note-on 0 60 100", "note-on 0 62 0"}},
		// A real-time byte inside a System Exclusive leaves first.
		{{0xf0, 0x01, 0xf8, 0x02, 0xf7}, {"clock", "sysex F0 01 02 F7"}},
		// A status byte ends an unterminated System Exclusive.
		{{0xf0, 0x01, 0x02, 0x90, 60, 1}, {"sysex F0 01 02",
			"note-on 0 60 1"}},
		{{0xf0, 0x7e, 0x7f}, {"sysex F0 7E 7F"}},
		// The kit's tempo meta event has no wire form.
		{{0xff, 0x51, 0x03, 0x07, 0xa1, 0x20}, {}},
		// Nothing that is not a message goes out.
		{{60, 100}, {}},
		{{0xf9}, {}},
		{{0xfd}, {}},
		{{0xf4, 1, 2}, {}},
		{{0xf7}, {}},
		{{0x90, 60}, {}},
	};
	for (const MessageCase& test : cases) {
		AlsaEventEncoder encoder;
		EXPECT_EQ(test.events, encode(encoder, test.bytes, true))
			<< hex(test.bytes.data(), test.bytes.size());
	}
}


TEST(AlsaEventEncoderTest, LongSystemExclusiveLeavesInChunksThatAddUp)
{
	Bytes message = {0xf0};
	for (int i = 0; i < 598; i++)
		message.push_back(i % 128);
	message.push_back(0xf7);

	AlsaEventEncoder encoder;
	std::vector<Bytes> chunks;
	encoder.Encode(message.data(), message.size(), true,
		[&chunks](snd_seq_event_t& event) {
			ASSERT_EQ(SND_SEQ_EVENT_SYSEX, event.type);
			const uchar* data = static_cast<const uchar*>(event.data.ext.ptr);
			chunks.emplace_back(data, data + event.data.ext.len);
		});

	ASSERT_EQ(3u, chunks.size());
	EXPECT_EQ(AlsaEventEncoder::kSysExChunk, chunks[0].size());
	EXPECT_EQ(AlsaEventEncoder::kSysExChunk, chunks[1].size());
	Bytes joined;
	for (const Bytes& chunk : chunks)
		joined.insert(joined.end(), chunk.begin(), chunk.end());
	EXPECT_EQ(message, joined);
}


TEST(AlsaEventEncoderTest, PartsContinueTheStreamButWholeMessagesStandAlone)
{
	AlsaEventEncoder encoder;
	EXPECT_EQ(Events{}, encode(encoder, {0x91}, false));
	EXPECT_EQ(Events{"note-on 1 60 100"}, encode(encoder, {60, 100, 61},
		false));
	EXPECT_EQ(Events{"note-on 1 61 0"}, encode(encoder, {0}, false));
	EXPECT_EQ(Events{}, encode(encoder, {0xf0, 0x41}, false));
	EXPECT_EQ(Events{"sysex F0 41 42 F7"}, encode(encoder, {0x42, 0xf7},
		false));

	// A whole message in between drops a half-sent one.
	EXPECT_EQ(Events{}, encode(encoder, {0xb0, 7}, false));
	EXPECT_EQ(Events{"program 0 9"}, encode(encoder, {0xc0, 9}, true));
	EXPECT_EQ(Events{}, encode(encoder, {100}, false));
}
