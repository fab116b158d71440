#ifndef MIDI_TEST_SUPPORT_H
#define MIDI_TEST_SUPPORT_H

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <Looper.h>
#include <Message.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>

#include "../../support/EndpointRef.h"
#include "../../support/RecordingLooper.h"

template<typename T, typename... Arguments>
EndpointRef<T>
make_endpoint(Arguments&&... arguments)
{
	return EndpointRef<T>(new T(std::forward<Arguments>(arguments)...));
}

// Writes every typed hook call as text, e.g. "NoteOn 3 60 100 @7".
class HookConsumer : public BMidiLocalConsumer {
public:
	HookConsumer(const char* name = NULL);

	std::vector<std::string> Calls() const;

	void NoteOff(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override;
	void NoteOn(uchar channel, uchar note, uchar velocity,
		bigtime_t time) override;
	void KeyPressure(uchar channel, uchar note, uchar pressure,
		bigtime_t time) override;
	void ControlChange(uchar channel, uchar controlNumber, uchar controlValue,
		bigtime_t time) override;
	void ProgramChange(uchar channel, uchar programNumber,
		bigtime_t time) override;
	void ChannelPressure(uchar channel, uchar pressure,
		bigtime_t time) override;
	void PitchBend(uchar channel, uchar lsb, uchar msb,
		bigtime_t time) override;
	void SystemExclusive(void* data, size_t length, bigtime_t time) override;
	void SystemCommon(uchar status, uchar data1, uchar data2,
		bigtime_t time) override;
	void SystemRealTime(uchar status, bigtime_t time) override;
	void TempoChange(int32 beatsPerMinute, bigtime_t time) override;

protected:
	~HookConsumer() override = default;

private:
	void _Add(const std::string& call, bigtime_t time);

	mutable std::mutex fLock;
	std::vector<std::string> fCalls;
};

std::string hex_bytes(const std::vector<uchar>& bytes);

// The shared recording looper, giving the roster's notices as text, e.g.
// "registered producer 12", "connected 12 0", "name 12 Synth", "latency 12
// 1500", "properties 12". Ids are written relative to a base, so that
// expectations do not depend on how many endpoints earlier tests made.
class NoticeLooper : public RecordingLooper {
public:
	explicit NoticeLooper(int32 idBase);

	// Waits (at most a few seconds: a watchdog) for `count` notices.
	std::vector<std::string> WaitForNotices(size_t count);
	// All notices that arrived before a marker posted now.
	std::vector<std::string> NoticesSoFar();

private:
	std::vector<std::string> _Notices();
	std::string _Describe(const BMessage* message) const;
	std::string _Id(int32 id) const;

	int32 fIdBase;
	size_t fMarkers;
};

#endif
