#ifndef _NOTE_ON_MANAGER_H
#define _NOTE_ON_MANAGER_H

#include <vector>

#include <Invoker.h>
#include <Locker.h>
#include <MidiLocalConsumer.h>

class BMidiLocalProducer;

// The first stage of an output port: passes every message on unchanged and
// remembers which notes sound, so that the player can silence exactly those
// (QuickAllNotesOff). A system reset in the stream silences everything on
// the device and is reported by invoking the message, whose int32
// "SysReset" then holds the reset's mask bit.
//
// The hooks run on the delivery threads, QuickAllNotesOff and
// ClearAllNoteOnState on the window thread; the lock serialises them. The
// message and target are read by the delivery threads unguarded, so they
// are set while nothing is being sent to the manager.
class TNoteOnManager : public BMidiLocalConsumer, public BInvoker {
public:
	TNoteOnManager();

	status_t Connect(BMidiConsumer* consumer);

	// Sends a Note Off (velocity 64) for every sounding note, channel by
	// channel in the order the notes began, and forgets them.
	void QuickAllNotesOff(bigtime_t time);
	void ClearAllNoteOnState();

	void Data(uchar* data, size_t length, bool atomic,
		bigtime_t time) override;
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
	void AllNotesOff(bool justChannel, bigtime_t time) override;

#ifndef NDEBUG
	// Debug builds only: when set, NoteOn calls it after finding a note
	// missing from the table and before remembering it, with the table's
	// lock, so that a test can check what another thread may do meanwhile.
	static inline void (*sBeforeRemembering)(BLocker& tableLock) = nullptr;
#endif

protected:
	// Released like every endpoint; by then the kit has disconnected it, so
	// no delivery reaches a manager being destroyed.
	~TNoteOnManager() override;

private:
	static const int32 kChannelCount = 16;

	std::vector<uchar>& _Notes(uchar channel);
	void _NoteEnded(uchar channel, uchar note);
	void _ReportReset(int32 mask);

	BLocker fLock;
	std::vector<uchar> fNotes[kChannelCount];
	BMidiLocalProducer* const fOutput;
};

#endif
