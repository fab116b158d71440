#ifndef OUTPUT_CHAINS_H
#define OUTPUT_CHAINS_H

#include <SupportDefs.h>

class BMidiConsumer;
class BMidiLocalProducer;
class TMidiFilter;
class TNoteOnManager;
class TSMFProducer;
struct TSystemReset;

// The player's two output ports: song endpoint i -> note manager i ->
// filter i -> the registered endpoint "Vantu MIDI OUT A"/"B" -> the devices.
// The song must outlive the chains and be stopped before they go.
class TOutputChains {
public:
	static const int32 kPortCount = 2;

	explicit TOutputChains(TSMFProducer* song);
	~TOutputChains();

	TOutputChains(const TOutputChains&) = delete;
	TOutputChains& operator=(const TOutputChains&) = delete;

	// B_OK once both ports are registered and wired.
	status_t InitCheck() const { return fStatus; }

	BMidiLocalProducer* Port(int32 port) const;
	status_t Connect(int32 port, BMidiConsumer* device);

	void SetVolume(int32 percent);
	// Silences the sounding notes first, so their Note Offs leave with the
	// key they began with.
	void SetKey(int32 semitones);

	// Straight to the devices on both ports, A first, past the note managers.
	void SendReset(const TSystemReset& reset);
	// A Note Off for every note still sounding, on both ports.
	void QuickAllNotesOff();
	// All Notes Off, All Sound Off and Reset All Controllers on every channel
	// of every connected device.
	void MuteAll();

private:
	void _Mute(BMidiConsumer* device);

	TMidiFilter* fFilters[kPortCount];
	TNoteOnManager* fManagers[kPortCount];
	BMidiLocalProducer* fMuteProducer;
	status_t fStatus;
};

#endif
