#ifndef PLAYER_H
#define PLAYER_H

#include <map>
#include <string>

#include <OutputChains.h>
#include <SupportDefs.h>

#include "PlayOptions.h"
#include "ProgressLine.h"

class BMessage;
class BMidiConsumer;
class TDumpWriter;
class TMessageInbox;
class TSignalWatch;
class TSMFProducer;

// Plays the files one after another as the program's player does: the gap
// between songs, the chosen system resets each followed by its quiet, then
// the song; the notes still sounding are ended after each song. A signal
// stops the song and silences every device.
class TPlayer {
public:
	TPlayer(const TPlayOptions& options, TSMFProducer* song,
		TOutputChains* chains, TMessageInbox* inbox, TSignalWatch* signals);

	// --dump: the writer's origin follows each song's start.
	void SetDumpWriter(TDumpWriter* writer) { fDumpWriter = writer; }
	// A device the user chose; its loss is reported.
	void WatchDevice(int32 port, BMidiConsumer* device);

	// The exit status: kExitOK, kExitFailure when a file did not load or the
	// devices went away, kExitSignalBase + the signal that ended the run.
	int PlayAll();

private:
	enum Outcome {
		kEnded,
		kInterrupted,
		kDevicesLost
	};

	bool _Load(const std::string& path);
	bool _Wait(bigtime_t duration);
	bool _SendResets();
	Outcome _PlaySong(int32 index);
	// False when the last device went away.
	bool _DeviceEvent(const BMessage& message);
	void _ShowProgress(int32 index, bigtime_t start);
	bool _Interrupted();

	const TPlayOptions& fOptions;
	const bool fVirtualTime;
	TSMFProducer* fSong;
	TOutputChains* fChains;
	TMessageInbox* fInbox;
	TSignalWatch* fSignals;
	TDumpWriter* fDumpWriter;
	TProgressLine fProgress;
	std::string fTitle;
	// The chosen devices by port, roster id and name.
	std::map<int32, std::string> fDevices[TOutputChains::kPortCount];
};

#endif
