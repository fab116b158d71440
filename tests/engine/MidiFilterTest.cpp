#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <List.h>
#include <MidiLocalProducer.h>
#include <MidiRecordingConsumer.h>
#include <MidiRoster.h>

#include "MidiFilter.h"

namespace {

typedef std::vector<uchar> Bytes;

const bigtime_t kStamp = 123456;


// source -> filter -> the filter's output -> recorder
class MidiFilterTest : public testing::Test {
protected:
	MidiFilterTest()
		:
		fSource(new BMidiLocalProducer("source")),
		fFilter(new TMidiFilter("Vantu MIDI OUT A")),
		fRecorder(new BMidiRecordingConsumer("device"))
	{
		EXPECT_EQ(B_OK, fSource->Connect(fFilter));
		EXPECT_EQ(B_OK, fFilter->Producer()->Connect(fRecorder));
	}

	~MidiFilterTest() override
	{
		fSource->Release();
		if (fFilter != NULL)
			fFilter->Release();
		fRecorder->Release();
	}

	void Send(const Bytes& message, bigtime_t time = kStamp)
	{
		fSource->SprayData(const_cast<uchar*>(message.data()), message.size(),
			true, time);
	}

	// The bytes of everything the filter sent, and clears the record.
	std::vector<Bytes> Sent()
	{
		std::vector<Bytes> sent;
		for (const auto& event : fRecorder->Events())
			sent.push_back(event.data);
		fRecorder->Clear();
		return sent;
	}

	BMidiLocalProducer* fSource;
	TMidiFilter* fFilter;
	BMidiRecordingConsumer* fRecorder;
};

}	// namespace


TEST_F(MidiFilterTest, StartsUnchangedAndOutputIsNamed)
{
	EXPECT_EQ(0, fFilter->Key());
	EXPECT_EQ(100, fFilter->Volume());
	EXPECT_STREQ("Vantu MIDI OUT A", fFilter->Producer()->Name());
	EXPECT_STREQ("<anonymous>", fFilter->Name());
	EXPECT_EQ(0, fFilter->SetKey(-7));
	EXPECT_EQ(0, fFilter->SetVolume(180));
	EXPECT_EQ(-7, fFilter->Key());
	EXPECT_EQ(180, fFilter->Volume());
}


TEST_F(MidiFilterTest, VolumeScalesNoteOnVelocityTruncatedAndClamped)
{
	struct Case {
		int32 volume;
		uchar velocity;
		uchar expected;
	};
	const Case cases[] = {
		{150, 100, 127},
		{50, 101, 50},
		{100, 127, 127},
		{33, 100, 33},
		{200, 63, 126},
		{200, 64, 127},
		// Silenced: neither the note nor its Note Off goes out, since
		// velocity 0 would read as a Note Off of a note that is not on.
		{0, 100, 0},
		// Beyond the slider's range: no wrap into a stray byte.
		{-100, 100, 0},
		{2000000000, 127, 127},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(testing::Message() << "volume " << test.volume
			<< ", velocity " << int(test.velocity));
		fFilter->SetVolume(test.volume);
		Send({0x93, 60, test.velocity});
		Send({0x83, 60, test.velocity});
		const std::vector<Bytes> expected = test.expected == 0
			? std::vector<Bytes>{}
			: std::vector<Bytes>{{0x93, 60, test.expected}, {0x83, 60, test.velocity}};
		EXPECT_EQ(expected, Sent());
	}
}


TEST_F(MidiFilterTest, KeyTransposesNotesWithinRangeExceptPercussion)
{
	struct Case {
		int32 key;
		uchar channel;
		uchar note;
		uchar expected;
	};
	const Case cases[] = {
		{12, 0, 120, 127},
		{-12, 0, 5, 0},
		{5, 3, 60, 65},
		{-1, 15, 60, 59},
		{12, 9, 60, 60},
		{-12, 9, 5, 5},
		{0, 0, 64, 64},
		{2000000000, 0, 1, 127},
		{-2000000000, 0, 126, 0},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(testing::Message() << "key " << test.key << ", channel "
			<< int(test.channel) << ", note " << int(test.note));
		fFilter->SetKey(test.key);
		Send({uchar(0x90 | test.channel), test.note, 90});
		Send({uchar(0x80 | test.channel), test.note, 33});
		// A Note On with velocity 0 ends the transposed note too.
		Send({uchar(0x90 | test.channel), test.note, 90});
		Send({uchar(0x90 | test.channel), test.note, 0});
		EXPECT_EQ((std::vector<Bytes>{
			{uchar(0x90 | test.channel), test.expected, 90},
			{uchar(0x80 | test.channel), test.expected, 33},
			{uchar(0x90 | test.channel), test.expected, 90},
			{uchar(0x90 | test.channel), test.expected, 0}}), Sent());
	}
}


// A note keeps the number it went out with until it ends, whatever the key
// has become meanwhile; the end of a note that does not sound goes nowhere.
TEST_F(MidiFilterTest, NotesEndWithTheNumberTheyWentOutWith)
{
	// An empty `expected`: nothing goes out.
	struct Step {
		int32 key;
		Bytes message;
		Bytes expected;
	};
	struct Case {
		const char* name;
		std::vector<Step> steps;
	};
	const Bytes gmSystemOn = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
	const Case cases[] = {
		{"Note Off after a key change", {
			{2, {0x90, 60, 100}, {0x90, 62, 100}},
			{-3, {0x80, 60, 40}, {0x80, 62, 40}},
			{-3, {0x80, 60, 40}, {}}}},
		{"the end of a note that never sounded", {
			{0, {0x80, 60, 40}, {}},
			{0, {0x90, 60, 0}, {}}}},
		{"Note On with velocity 0 after a key change", {
			{2, {0x95, 60, 100}, {0x95, 62, 100}},
			{5, {0x95, 60, 0}, {0x95, 62, 0}},
			{5, {0x95, 60, 100}, {0x95, 65, 100}},
			{5, {0x85, 60, 0}, {0x85, 65, 0}}}},
		{"a note struck again while it sounds keeps its number", {
			{2, {0x90, 60, 100}, {0x90, 62, 100}},
			{4, {0x90, 60, 90}, {0x90, 62, 90}},
			{4, {0x80, 60, 0}, {0x80, 62, 0}},
			{4, {0x80, 60, 0}, {}}}},
		{"key pressure follows the sounding note", {
			{2, {0x90, 60, 100}, {0x90, 62, 100}},
			{7, {0xA0, 60, 30}, {0xA0, 62, 30}},
			{7, {0xA0, 61, 30}, {0xA0, 61, 30}},
			{7, {0x80, 60, 0}, {0x80, 62, 0}},
			{7, {0xA0, 60, 30}, {0xA0, 60, 30}}}},
		{"clamped notes end as they went out", {
			{12, {0x90, 120, 100}, {0x90, 127, 100}},
			{12, {0x90, 125, 100}, {0x90, 127, 100}},
			{-12, {0x80, 125, 0}, {0x80, 127, 0}},
			{-12, {0x80, 120, 0}, {0x80, 127, 0}}}},
		{"All Notes Off forgets its channel only", {
			{2, {0x90, 60, 100}, {0x90, 62, 100}},
			{2, {0x91, 60, 100}, {0x91, 62, 100}},
			{0, {0xB0, 123, 0}, {0xB0, 123, 0}},
			{0, {0x80, 60, 0}, {}},
			{0, {0x81, 60, 0}, {0x81, 62, 0}}}},
		{"a system reset forgets every channel", {
			{2, {0x90, 60, 100}, {0x90, 62, 100}},
			{2, {0x9F, 61, 100}, {0x9F, 63, 100}},
			{0, gmSystemOn, gmSystemOn},
			{0, {0x80, 60, 0}, {}},
			{0, {0x8F, 61, 0}, {}}}},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		for (size_t i = 0; i < test.steps.size(); i++) {
			SCOPED_TRACE(testing::Message() << "step " << i);
			const Step& step = test.steps[i];
			fFilter->SetKey(step.key);
			Send(step.message);
			std::vector<Bytes> expected;
			if (!step.expected.empty())
				expected.push_back(step.expected);
			EXPECT_EQ(expected, Sent());
		}
	}
}


TEST_F(MidiFilterTest, OtherMessagesPassUnchangedWithTheirTimeStamp)
{
	fFilter->SetKey(7);
	fFilter->SetVolume(50);
	const std::vector<Bytes> messages = {
		{0xA2, 60, 100},
		{0xB4, 7, 100},
		{0xC5, 17},
		{0xD6, 99},
		{0xE7, 0x01, 0x40},
		{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7},
		{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7},
		{0xF2, 0x10, 0x20},
		{0xF3, 5},
		{0xF8},
		{0xFA},
	};
	for (size_t i = 0; i < messages.size(); i++)
		Send(messages[i], kStamp + i);
	std::vector<BMidiRecordingConsumer::Event> events = fRecorder->Events();
	ASSERT_EQ(messages.size(), events.size());
	for (size_t i = 0; i < messages.size(); i++) {
		SCOPED_TRACE(i);
		EXPECT_EQ(messages[i], events[i].data);
		EXPECT_EQ(kStamp + bigtime_t(i), events[i].time);
		EXPECT_EQ(fFilter->Producer()->ID(), events[i].producer);
	}
}


TEST_F(MidiFilterTest, DataBeginningWithFFNeverReachesTheOutput)
{
	fSource->SprayTempoChange(120, kStamp);
	fSource->SpraySystemRealTime(0xFF, kStamp);
	Send({0xFF, 0x2F, 0x00});
	Send({0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});
	Send({0x90, 60, 100});
	EXPECT_EQ((std::vector<Bytes>{{0x90, 60, 100}}), Sent());
}


TEST_F(MidiFilterTest, TempoChangeHookPassesOn)
{
	fFilter->TempoChange(120, kStamp);
	std::vector<BMidiRecordingConsumer::Event> events = fRecorder->Events();
	ASSERT_EQ(1u, events.size());
	EXPECT_EQ(BMidiRecordingConsumer::kTempoChange, events[0].kind);
	EXPECT_EQ((Bytes{0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}), events[0].data);
	EXPECT_EQ(kStamp, events[0].time);
}


TEST_F(MidiFilterTest, ReleasedFilterLeavesTheGraphAndTakesItsOutput)
{
	BMidiLocalProducer* output = fFilter->Producer();
	ASSERT_EQ(B_OK, output->Register());
	int32 outputID = output->ID();
	int32 filterID = fFilter->ID();

	EXPECT_EQ(B_OK, fFilter->Release());
	fFilter = NULL;
	EXPECT_EQ(NULL, BMidiRoster::FindEndpoint(outputID));
	EXPECT_EQ(NULL, BMidiRoster::FindEndpoint(filterID));
	std::unique_ptr<BList> connections(fSource->Connections());
	EXPECT_EQ(0, connections->CountItems());
	Send({0x90, 60, 100});
	EXPECT_EQ(0, fRecorder->CountEvents());
}
