#include "Player.h"

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/stat.h>

#include <File.h>
#include <Message.h>
#include <MidiConsumer.h>
#include <MidiDefs.h>
#include <MidiLocalProducer.h>
#include <OS.h>
#include <SMFProducer.h>
#include <SongEndCode.h>
#include <SystemResets.h>
#include <TitleText.h>

#include "DeviceSet.h"
#include "DumpWriter.h"
#include "ExitStatus.h"
#include "MessageInbox.h"
#include "Problem.h"
#include "SignalWatch.h"

namespace {

const int kProgressInterval = 250;


// How long the start sequence keeps quiet after the resets it sends.
bigtime_t
reset_silence(const TPlayOptions& options)
{
	bigtime_t total = 0;
	for (const TSystemReset* reset : kSystemResets) {
		if ((options.resetMask & reset->mask) != 0)
			total += options.resetSilence;
	}
	return total;
}

}	// namespace


TPlayer::TPlayer(const TPlayOptions& options, TSMFProducer* song,
	TOutputChains* chains, TMessageInbox* inbox, TSignalWatch* signals)
	:
	fOptions(options),
	fVirtualTime(options.VirtualTime()),
	fSong(song),
	fChains(chains),
	fInbox(inbox),
	fSignals(signals),
	fDumpWriter(NULL),
	fProgress(stderr, !options.dump)
{
}


void
TPlayer::WatchDevice(int32 port, BMidiConsumer* device)
{
	fDevices[port][device->ID()] = device->Name();
}


int
TPlayer::PlayAll()
{
	int status = kExitOK;
	bool songPlayed = false;
	const int32 count = fOptions.files.size();
	for (int32 index = 0; index < count; index++) {
		if (_Interrupted())
			break;
		if (!_Load(fOptions.files[index])) {
			status = kExitFailure;
			continue;
		}
		if (songPlayed && fOptions.gap > 0 && !_Wait(fOptions.gap))
			break;

		// The song's time starts when its play thread does, after the
		// resets and their quiet.
		if (fDumpWriter != NULL)
			fDumpWriter->SetOrigin(system_time() + reset_silence(fOptions));
		if (!_SendResets())
			break;
		Outcome outcome = _PlaySong(index);
		songPlayed = true;
		if (outcome == kInterrupted)
			break;
		if (outcome == kDevicesLost) {
			fProgress.Clear();
			report_problem("no output device left; stopping");
			return kExitFailure;
		}
	}

	int signal = fSignals->Received();
	if (signal != 0) {
		fSong->Stop();
		fChains->QuickAllNotesOff();
		fChains->MuteAll();
		fProgress.Clear();
		report_problem(std::string("interrupted (") + strsignal(signal)
			+ "); every device was silenced");
		status = kExitSignalBase + signal;
	}
	if (fDumpWriter != NULL && !fDumpWriter->Flush() && status == kExitOK)
		status = kExitFailure;
	return status;
}


bool
TPlayer::_Load(const std::string& path)
{
	std::string reason;
	struct stat info;
	if (stat(path.c_str(), &info) != 0)
		reason = strerror(errno);
	else if (S_ISDIR(info.st_mode))
		reason = "is a folder, not a file";
	else {
		BFile file(path.c_str(), B_READ_ONLY);
		if (file.InitCheck() == B_PERMISSION_DENIED)
			reason = strerror(EACCES);
		else if (file.InitCheck() != B_OK)
			reason = "cannot be opened";
		else if (fSong->SetTo(&file) != 0)
			reason = "not a Standard MIDI File, or damaged";
	}
	if (!reason.empty()) {
		fSong->Unset();
		fProgress.Clear();
		report_problem(path + ": " + reason);
		return false;
	}
	std::string rawTitle;
	fTitle = pelkan::song_title(
		fSong->GetTitle(&rawTitle) == 0 ? &rawTitle : NULL, path);
	return true;
}


bool
TPlayer::_Wait(bigtime_t duration)
{
	bigtime_t deadline = system_time() + duration;
	if (fVirtualTime) {
		snooze_until(deadline, B_SYSTEM_TIMEBASE);
		return !_Interrupted();
	}
	for (;;) {
		bigtime_t now = system_time();
		if (now >= deadline)
			return true;
		pollfd signal = {fSignals->FileDescriptor(), POLLIN, 0};
		poll(&signal, 1, (deadline - now + 999) / 1000);
		if (_Interrupted())
			return false;
	}
}


bool
TPlayer::_SendResets()
{
	for (const TSystemReset* reset : kSystemResets) {
		if ((fOptions.resetMask & reset->mask) == 0)
			continue;
		fChains->SendReset(*reset);
		if (fOptions.resetSilence > 0 && !_Wait(fOptions.resetSilence))
			return false;
	}
	return true;
}


TPlayer::Outcome
TPlayer::_PlaySong(int32 index)
{
	bigtime_t start = system_time();
	if (fDumpWriter != NULL)
		fDumpWriter->SetOrigin(start);
	fSong->Play();

	Outcome outcome = kEnded;
	bool playing = true;
	while (playing) {
		pollfd inputs[2] = {
			{fSignals->FileDescriptor(), POLLIN, 0},
			{fInbox->FileDescriptor(), POLLIN, 0}
		};
		poll(inputs, 2, fProgress.IsShown() ? kProgressInterval : -1);
		if (_Interrupted())
			return kInterrupted;
		BMessage message;
		while (fInbox->Take(&message)) {
			if (message.what == kMsgSongEnded)
				playing = false;
			else if (message.what == B_MIDI_EVENT && !_DeviceEvent(message)) {
				playing = false;
				outcome = kDevicesLost;
			}
		}
		_ShowProgress(index, start);
	}

	fProgress.Finish();
	fSong->Stop();
	fChains->QuickAllNotesOff();
	return outcome;
}


bool
TPlayer::_DeviceEvent(const BMessage& message)
{
	int32 op;
	if (message.FindInt32("be:op", &op) != B_OK)
		return true;
	int32 device = 0;
	if (op == B_MIDI_UNREGISTERED)
		message.FindInt32("be:id", &device);
	else if (op == B_MIDI_DISCONNECTED)
		message.FindInt32("be:consumer", &device);
	else
		return true;

	bool removed = false;
	bool anyLeft = false;
	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		auto found = fDevices[port].find(device);
		int32 producer;
		if (found != fDevices[port].end() && (op == B_MIDI_UNREGISTERED
				|| (message.FindInt32("be:producer", &producer) == B_OK
					&& producer == fChains->Port(port)->ID()))) {
			fProgress.Clear();
			report_problem("device \"" + found->second + "\" on port "
				+ kPortLetters[port] + " went away");
			fDevices[port].erase(found);
			removed = true;
		}
		anyLeft = anyLeft || !fDevices[port].empty();
	}
	return !removed || anyLeft;
}


void
TPlayer::_ShowProgress(int32 index, bigtime_t start)
{
	if (!fProgress.IsShown())
		return;
	TProgress progress;
	progress.title = fTitle;
	progress.songNumber = index + 1;
	progress.songCount = fOptions.files.size();
	progress.elapsed = system_time() - start;
	uint32 length = fSong->CountTicks();
	progress.percent = length == 0
		? 100 : (int32)((uint64)fSong->CurrentTick() * 100 / length);
	progress.beatsPerMinute = fSong->Tempo() == 0
		? 0 : (int32)(60000000 / fSong->Tempo());
	progress.tempoRate = fSong->TempoRate();
	fProgress.Show(progress);
}


bool
TPlayer::_Interrupted()
{
	return fSignals->Received() != 0;
}
