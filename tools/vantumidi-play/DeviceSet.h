#ifndef DEVICE_SET_H
#define DEVICE_SET_H

#include <memory>
#include <string>
#include <vector>

#include <SupportDefs.h>

class BMidiConsumer;
class BMidiLocalConsumer;
class BSoftSynth;
class TDumpWriter;
class TOutputChains;
class TTimingProbe;
struct TPlayOptions;

// How the output ports are named to the user, by index.
inline constexpr char kPortLetters[] = "AB";

// The devices one run connects to the output ports, and the local ones it
// creates for that (the soft synth, the dump's consumers, the timing
// probe), which it releases when it goes. Go after the chains' song has
// stopped.
class TDeviceSet {
public:
	// What went wrong connecting, for the exit status.
	enum Failure {
		kNoFailure,
		kBadChoice,		// a device the user named does not exist
		kUnavailable	// the soft synth or the WAV file cannot be had
	};

	TDeviceSet();
	~TDeviceSet();

	TDeviceSet(const TDeviceSet&) = delete;
	TDeviceSet& operator=(const TDeviceSet&) = delete;

	// The devices for the options: the dump's consumers, the soft synth
	// rendering the WAV file, or the devices -a and -b chose (port A: the
	// soft synth by default). *problem says what failed.
	Failure Connect(const TPlayOptions& options, TOutputChains* chains,
		TDumpWriter* dumpWriter, std::string* problem);
	void AddTimingProbe(TOutputChains* chains);

	// The devices the user chose for a port (not the dump's nor the probe).
	const std::vector<BMidiConsumer*>& Chosen(int32 port) const
		{ return fChosen[port]; }
	// The first Note On a device received, by the real clock; -1 if none.
	bigtime_t FirstNoteOn() const;

	// Completes the WAV file; its first write error, B_OK without one.
	status_t Finish();

private:
	Failure _ConnectDump(TOutputChains* chains, TDumpWriter* writer);
	Failure _ConnectChosen(const TPlayOptions& options, TOutputChains* chains,
		std::string* problem);
	Failure _CreateSynth(const TPlayOptions& options, std::string* problem);
	void _Adopt(BMidiLocalConsumer* consumer);

	BSoftSynth* fSynth;
	TTimingProbe* fProbe;
	std::vector<BMidiLocalConsumer*> fOwned;
	std::vector<BMidiConsumer*> fChosen[2];
};

#endif
