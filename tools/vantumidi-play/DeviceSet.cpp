#include "DeviceSet.h"

#include <MidiDevices.h>
#include <MidiLocalConsumer.h>
#include <OutputChains.h>
#include <SoftSynth.h>
#include <SoftSynthCreation.h>

#include "DumpConsumer.h"
#include "OutputDevices.h"
#include "PlayOptions.h"
#include "TimingProbe.h"


TDeviceSet::TDeviceSet()
	:
	fSynth(NULL),
	fProbe(NULL)
{
}


TDeviceSet::~TDeviceSet()
{
	for (BMidiLocalConsumer* consumer : fOwned)
		consumer->Release();
}


TDeviceSet::Failure
TDeviceSet::Connect(const TPlayOptions& options, TOutputChains* chains,
	TDumpWriter* dumpWriter, std::string* problem)
{
	if (options.dump)
		return _ConnectDump(chains, dumpWriter);
	return _ConnectChosen(options, chains, problem);
}


void
TDeviceSet::AddTimingProbe(TOutputChains* chains)
{
	if (fProbe != NULL)
		return;
	fProbe = new TTimingProbe;
	_Adopt(fProbe);
	for (int32 port = 0; port < TOutputChains::kPortCount; port++)
		chains->Connect(port, fProbe);
}


bigtime_t
TDeviceSet::FirstNoteOn() const
{
	return fProbe != NULL ? fProbe->FirstNoteOn() : -1;
}


status_t
TDeviceSet::Finish()
{
	return fSynth != NULL ? fSynth->Finish() : B_OK;
}


TDeviceSet::Failure
TDeviceSet::_ConnectDump(TOutputChains* chains, TDumpWriter* writer)
{
	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		TDumpConsumer* consumer = new TDumpConsumer(kPortLetters[port], writer);
		_Adopt(consumer);
		chains->Connect(port, consumer);
	}
	return kNoFailure;
}


TDeviceSet::Failure
TDeviceSet::_ConnectChosen(const TPlayOptions& options, TOutputChains* chains,
	std::string* problem)
{
	// Rendering into a file only makes sense through the soft synth, and a
	// port without a choice renders nothing.
	const bool rendering = !options.wavPath.empty();
	const char* const defaults[TOutputChains::kPortCount]
		= {BSoftSynth::kName, kNoDevice};

	std::string specs[TOutputChains::kPortCount];
	BMidiConsumer* devices[TOutputChains::kPortCount] = {NULL, NULL};
	bool needsSynth = false;
	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		const std::string& spec = specs[port] = options.devices[port].empty()
			? defaults[port] : options.devices[port];
		if (spec == kNoDevice)
			continue;
		if (pelkan::names_soft_synth(spec)) {
			needsSynth = true;
			continue;
		}
		if (rendering) {
			*problem = std::string("--wav renders through the soft synth; -")
				+ char('a' + port) + " can only be \"synth\" or \"none\"";
			return kBadChoice;
		}
		devices[port] = pelkan::find_output_device(spec);
		if (devices[port] == NULL) {
			*problem = "no output device \"" + spec + "\" (see -l)";
			return kBadChoice;
		}
	}
	if (!needsSynth && devices[0] == NULL && devices[1] == NULL) {
		*problem = "no output device: both ports are set to \"none\"";
		return kBadChoice;
	}
	if (needsSynth) {
		Failure failure = _CreateSynth(options, problem);
		if (failure != kNoFailure)
			return failure;
	}

	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		BMidiConsumer* device
			= pelkan::names_soft_synth(specs[port]) ? fSynth : devices[port];
		if (device == NULL)
			continue;
		if (chains->Connect(port, device) != B_OK) {
			*problem = std::string("cannot connect \"") + device->Name()
				+ "\" to port " + kPortLetters[port];
			return kUnavailable;
		}
		fChosen[port].push_back(device);
	}
	return kNoFailure;
}


TDeviceSet::Failure
TDeviceSet::_CreateSynth(const TPlayOptions& options, std::string* problem)
{
	// Without --wav the synth plays in real time, to the audio output or to
	// the file the environment names.
	const std::string wavPath = options.wavPath.empty()
		? pelkan::soft_synth_wav_from_environment() : options.wavPath;
	std::string reason;
	status_t status;
	fSynth = pelkan::create_soft_synth(options.soundFont, wavPath, &reason,
		&status);
	if (fSynth == NULL) {
		*problem = "the soft synth cannot start: " + reason;
		if (status == B_ERROR && wavPath.empty())
			*problem += " Try --wav OUT.wav.";
		return kUnavailable;
	}
	_Adopt(fSynth);
	return kNoFailure;
}


void
TDeviceSet::_Adopt(BMidiLocalConsumer* consumer)
{
	fOwned.push_back(consumer);
}
