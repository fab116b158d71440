#ifndef _SMF_TRACK_H
#define _SMF_TRACK_H

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <SupportDefs.h>

class BPositionIO;
class TSMFProducer;

// One track chunk of a Standard MIDI File: its body exactly as stored, an
// index of its events by absolute tick, and the cursor of the next event to
// send. The index and the status runs point into the body, so they live and
// die with it.
class TSMFTrack {
public:
	// Where an event starts: the byte after its delta-time (its status byte,
	// or its first data byte when it relies on running status).
	struct Event {
		uint32 tick;
		uint32 position;
	};

	explicit TSMFTrack(TSMFProducer* owner);
	~TSMFTrack();

	TSMFTrack(const TSMFTrack&) = delete;
	TSMFTrack& operator=(const TSMFTrack&) = delete;

	status_t SetTo(BPositionIO* stream);

	// The tick of the last indexed event, 0 for a track without events.
	uint32 CountTicks() const;
	status_t GetTrackName(std::string* name) const;

	// Sends every event from the cursor on whose tick is at most `tick`.
	void Spray(uint32 tick);
	// Ticks from `tick` to the first later event, 0xFFFFFFFF when none.
	uint32 WaitTick(uint32 tick) const;
	// Moves the cursor to the first event at or after `tick`, and takes the
	// output port the skipped events left: the port a track plays on never
	// depends on where it played before.
	void SetCurrentTick(uint32 tick);
	// The last Set Tempo before the cursor and its tick; false when none.
	bool TempoBeforeCursor(uint32* tick, uint32* tempo) const;
	// Every Set Tempo event of the track in order: its tick and tempo.
	std::vector<std::pair<uint32, uint32>> TempoChanges() const;

	int32 OutputPort() const { return fOutputPort; }

	size_t CountEvents() const { return fEvents.size(); }
	const Event& EventAt(size_t index) const { return fEvents[index]; }
	// The status that applies to the event at `position` in the body.
	uint8 StatusAt(uint32 position) const;
	uint32 Length() const { return fLength; }
	const uint8* Data() const { return fData.get(); }

private:
	// From this position on, events stored without a status byte take
	// `status`. One entry per change rather than per event keeps the table
	// small for files that lean on running status.
	struct StatusRun {
		uint32 position;
		uint8 status;
	};
	// A port or Set Tempo meta event: its place in the index and its value.
	struct Setting {
		size_t event;
		uint32 value;
	};
	struct WalkedEvent;

	void CreateDataMap();
	template<typename Visitor> void _Walk(Visitor&& visit) const;
	// Reads one variable-length number; false, with nothing consumed, when
	// it would run past the body.
	bool GetVNum(uint32* position, uint32* value) const;
	// Indexes the event at `index` if it is a port or Set Tempo event; in
	// index order, so the settings stay sorted.
	void _AddSetting(size_t index);
	// The meta event starting at `position` (its FF): type and data; false
	// for any other event.
	bool _Meta(uint32 position, uint8* type, const uint8** data,
		uint32* length) const;
	void _SprayEvent(const Event& event);
	// The last setting before the cursor, NULL when none.
	const Setting* _SettingBeforeCursor(
		const std::vector<Setting>& settings) const;

	TSMFProducer* fOwner;
	std::unique_ptr<uint8[]> fData;
	uint32 fLength;
	std::vector<Event> fEvents;
	std::vector<StatusRun> fStatusRuns;
	std::vector<Setting> fPortSettings;
	std::vector<Setting> fTempoSettings;
	// Body position of the first complete Sequence/Track Name event.
	uint32 fTrackNamePosition;
	size_t fCurrentEvent;
	int32 fOutputPort;
};

#endif
