#include "NoteOnManager.h"

#include <algorithm>

#include <Autolock.h>
#include <Message.h>
#include <MidiLocalProducer.h>

#include "MidiBytes.h"
#include "SystemResets.h"

namespace {

const uchar kReleaseVelocity = 64;

}	// namespace


TNoteOnManager::TNoteOnManager()
	:
	fLock("note on manager"),
	fOutput(new BMidiLocalProducer)
{
}


TNoteOnManager::~TNoteOnManager()
{
	fOutput->Release();
}


status_t
TNoteOnManager::Connect(BMidiConsumer* consumer)
{
	return fOutput->Connect(consumer);
}


void
TNoteOnManager::QuickAllNotesOff(bigtime_t time)
{
	BAutolock lock(fLock);
	for (int32 channel = 0; channel < kChannelCount; channel++) {
		// By index: a consumer of ours that feeds back into this stage (on
		// this thread, so through the recursive lock) may change the list.
		const std::vector<uchar>& notes = fNotes[channel];
		for (size_t i = 0; i < notes.size(); i++)
			fOutput->SprayNoteOff(channel, notes[i], kReleaseVelocity, time);
	}
	ClearAllNoteOnState();
}


void
TNoteOnManager::ClearAllNoteOnState()
{
	BAutolock lock(fLock);
	for (std::vector<uchar>& notes : fNotes)
		notes.clear();
}


void
TNoteOnManager::Data(uchar* data, size_t length, bool atomic, bigtime_t time)
{
	if (length > 0 && data[0] == kMetaEvent)
		return;
	BMidiLocalConsumer::Data(data, length, atomic, time);
}


void
TNoteOnManager::NoteOff(uchar channel, uchar note, uchar velocity,
	bigtime_t time)
{
	fOutput->SprayNoteOff(channel, note, velocity, time);
	_NoteEnded(channel, note);
}


void
TNoteOnManager::NoteOn(uchar channel, uchar note, uchar velocity,
	bigtime_t time)
{
	fOutput->SprayNoteOn(channel, note, velocity, time);
	if (velocity == 0) {
		_NoteEnded(channel, note);
		return;
	}

	// Searched under the lock too: QuickAllNotesOff may be emptying the
	// list on the window thread meanwhile.
	BAutolock lock(fLock);
	std::vector<uchar>& notes = _Notes(channel);
	if (std::find(notes.begin(), notes.end(), note) != notes.end())
		return;
#ifndef NDEBUG
	if (sBeforeRemembering != nullptr)
		sBeforeRemembering(fLock);
#endif
	notes.push_back(note);
}


void
TNoteOnManager::KeyPressure(uchar channel, uchar note, uchar pressure,
	bigtime_t time)
{
	fOutput->SprayKeyPressure(channel, note, pressure, time);
}


void
TNoteOnManager::ControlChange(uchar channel, uchar controlNumber,
	uchar controlValue, bigtime_t time)
{
	fOutput->SprayControlChange(channel, controlNumber, controlValue, time);
	if (controlNumber != kAllNotesOff)
		return;

	BAutolock lock(fLock);
	_Notes(channel).clear();
}


void
TNoteOnManager::ProgramChange(uchar channel, uchar programNumber,
	bigtime_t time)
{
	fOutput->SprayProgramChange(channel, programNumber, time);
}


void
TNoteOnManager::ChannelPressure(uchar channel, uchar pressure,
	bigtime_t time)
{
	fOutput->SprayChannelPressure(channel, pressure, time);
}


void
TNoteOnManager::PitchBend(uchar channel, uchar lsb, uchar msb,
	bigtime_t time)
{
	fOutput->SprayPitchBend(channel, lsb, msb, time);
}


void
TNoteOnManager::SystemExclusive(void* data, size_t length, bigtime_t time)
{
	fOutput->SpraySystemExclusive(data, length, time);
	int32 mask = system_reset_mask(data, length);
	if (mask == 0)
		return;

	ClearAllNoteOnState();
	_ReportReset(mask);
}


void
TNoteOnManager::SystemCommon(uchar status, uchar data1, uchar data2,
	bigtime_t time)
{
	fOutput->SpraySystemCommon(status, data1, data2, time);
}


void
TNoteOnManager::SystemRealTime(uchar status, bigtime_t time)
{
	fOutput->SpraySystemRealTime(status, time);
}


void
TNoteOnManager::TempoChange(int32 beatsPerMinute, bigtime_t time)
{
	fOutput->SprayTempoChange(beatsPerMinute, time);
}


void
TNoteOnManager::AllNotesOff(bool justChannel, bigtime_t time)
{
	BMidiLocalConsumer::AllNotesOff(justChannel, time);
}


// The kit decodes channels 0..15; a hook called directly with more is
// tracked on the channel the producer will put on the wire.
std::vector<uchar>&
TNoteOnManager::_Notes(uchar channel)
{
	return fNotes[channel % kChannelCount];
}


void
TNoteOnManager::_NoteEnded(uchar channel, uchar note)
{
	BAutolock lock(fLock);
	std::vector<uchar>& notes = _Notes(channel);
	auto found = std::find(notes.begin(), notes.end(), note);
	if (found != notes.end())
		notes.erase(found);
}


// The notice is a copy: the stored message stays the owner's, and is never
// written from a delivery thread while the owner may replace it. "SysReset"
// is set whether or not the message had the field yet.
void
TNoteOnManager::_ReportReset(int32 mask)
{
	const BMessage* model = Message();
	if (model == NULL)
		return;

	BMessage notice(*model);
	notice.RemoveName("SysReset");
	notice.AddInt32("SysReset", mask);
	Invoke(&notice);
}
