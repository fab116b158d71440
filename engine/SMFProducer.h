#ifndef _SMF_PRODUCER_H
#define _SMF_PRODUCER_H

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <Invoker.h>
#include <SupportDefs.h>

class BMidiLocalProducer;
class BPositionIO;
struct entry_ref;
class TPlayThread;
class TSMFTrack;

// One song read from a Standard MIDI File, and its sequencer: a play thread
// sends the events on two output endpoints at their deadlines and posts the
// invoker's message when the song has ended.
//
// Every call but those of the play thread comes from one owner thread.
class TSMFProducer : public BInvoker {
public:
	TSMFProducer();
	~TSMFProducer() override;

	TSMFProducer(const TSMFProducer&) = delete;
	TSMFProducer& operator=(const TSMFProducer&) = delete;

	status_t SetTo(const entry_ref* ref);
	status_t SetTo(BPositionIO* stream);
	void Unset();

	uint32 CountTicks() const;
	status_t GetTitle(std::string* title) const;
	int16 Division() const { return fDivision; }
	// Microseconds per quarter note in force; the play thread changes it.
	uint32 Tempo() const { return fTempo; }
	int32 CountTracks() const { return fTracks.size(); }
	const TSMFTrack* TrackAt(int32 index) const;

	// Starts the song, or continues it after Pause. A stopped song starts
	// from its beginning as it was loaded: tempo and output ports too.
	status_t Play();
	// Returns once the play thread stands still, without waiting for the
	// next event: its sleep is cut short and the rest of the gap is kept
	// for Play.
	status_t Pause();
	// Ends the play thread; once Stop returns nothing more is sent.
	status_t Stop();
	bool IsPlaying() const;

	// The next step plays `tick`, at once: the gaps count from the seek,
	// also when it came while paused. Nothing is sent for the skipped
	// events, but the tempo and the tracks' ports become what they set.
	// -1 without a play thread.
	status_t SetCurrentTick(uint32 tick);
	uint32 CurrentTick() const;

	// Runs `action` on the calling thread while the play thread is between
	// two steps, so that nothing the song sends falls inside it: whatever
	// `action` sends, and a seek it makes, come between whole steps.
	void BetweenSteps(const std::function<void()>& action);

	int32 TempoRate() const { return fTempoRate; }
	// Percent; kept within 1..kMaxTempoRate so a gap stays finite and positive.
	void SetTempoRate(int32 percent);

	BMidiLocalProducer* Producer(int32 index) const;

	static constexpr int32 kMaxTempoRate = 10000;

private:
	friend class TPlayThread;
	friend class TSMFTrack;

	void _SetTempo(uint32 tempo) { fTempo = tempo; }
	// Set by a seek, cleared by the step that plays its tick: the play
	// thread then stops waiting out the old gap.
	bool _SeekPending() const { return fSeekPending; }

	// Moves every track's cursor to `tick` and takes the tempo and ports in
	// force there, as if the song had played up to it.
	void _MoveTracks(uint32 tick);
	// The play thread's side: sends the events of its current tick and moves
	// it to the next event's tick; false when no track has one.
	bool _Step(TPlayThread* thread, uint32* wait);
	bigtime_t _TicksToTime(uint32 ticks) const;

	int16 fDivision;
	std::atomic<uint32> fTempo;
	uint32 fSongLength;
	std::vector<std::unique_ptr<TSMFTrack>> fTracks;

	std::atomic<int32> fTempoRate;
	BMidiLocalProducer* fProducers[2];
	std::unique_ptr<TPlayThread> fPlayThread;

	// Guards the tracks' cursors, their output ports, the play thread's
	// current tick and the pending seek, so a seek never lands in the middle
	// of a step. A step sends while holding it; deliveries run in the
	// sending thread, so holding it also keeps every message of a step
	// away. Recursive so that BetweenSteps' action may seek.
	std::recursive_mutex fCursorLock;
	std::atomic<bool> fSeekPending;
};

#endif
