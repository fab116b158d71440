#ifndef _OUTPUT_CHAINS_H
#define _OUTPUT_CHAINS_H

#include <SupportDefs.h>

class BMessage;
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

	// Each field of `portProperties` replaces or joins the properties of
	// both ports' endpoints before they are registered (the player's icons).
	explicit TOutputChains(TSMFProducer* song, const BMessage* portProperties = NULL);
	~TOutputChains();

	TOutputChains(const TOutputChains&) = delete;
	TOutputChains& operator=(const TOutputChains&) = delete;

	// B_OK once both ports are registered and wired.
	status_t InitCheck() const { return fStatus; }

	// The filter's output endpoint, the one the devices are connected to.
	BMidiLocalProducer* Port(int32 port) const;
	TNoteOnManager* NoteManager(int32 port) const;
	TMidiFilter* Filter(int32 port) const;
	status_t Connect(int32 port, BMidiConsumer* device);

	void SetVolume(int32 percent);
	// Silences the sounding notes, then the new key applies; both between
	// two steps of the song, so no note it starts meanwhile escapes the
	// silence.
	void SetKey(int32 semitones);
	// Silences the sounding notes and moves the song to `tick`; both between
	// two steps of the song, or a note it started meanwhile would escape the
	// silence and its Note Off be skipped by the seek.
	void Seek(uint32 tick);

	// Straight to the devices on both ports, A first, past the note managers.
	void SendReset(const TSystemReset& reset);
	// A Note Off for every note still sounding, on both ports.
	void QuickAllNotesOff();
	// All Notes Off, All Sound Off and Reset All Controllers on every channel
	// of `device`, through a producer of its own ("DisconnectProducer") so
	// it reaches a device the ports are no longer connected to.
	void Mute(BMidiConsumer* device);
	// Mute for every device connected to a port.
	void MuteAll();

private:
	TSMFProducer* fSong;
	TMidiFilter* fFilters[kPortCount];
	TNoteOnManager* fManagers[kPortCount];
	BMidiLocalProducer* fMuteProducer;
	status_t fStatus;
};

#endif
