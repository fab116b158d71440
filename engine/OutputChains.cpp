#include "OutputChains.h"

#include <memory>

#include <List.h>
#include <Message.h>
#include <MidiConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiFilter.h>
#include <NoteOnManager.h>
#include <SMFProducer.h>
#include <SystemResets.h>

namespace {

const char* const kPortNames[TOutputChains::kPortCount]
	= {"Vantu MIDI OUT A", "Vantu MIDI OUT B"};
const uchar kChannelCount = 16;
const uchar kMuteControllers[] = {
	123,	// All Notes Off
	120,	// All Sound Off
	121		// Reset All Controllers
};


void
merge_properties(BMidiLocalProducer* endpoint, const BMessage& fields)
{
	BMessage properties;
	endpoint->GetProperties(&properties);
	char* name;
	type_code type;
	int32 count;
	for (int32 i = 0; fields.GetInfo(B_ANY_TYPE, i, &name, &type, &count) == B_OK; i++) {
		properties.RemoveName(name);
		for (int32 j = 0; j < count; j++) {
			const void* data;
			ssize_t size;
			if (fields.FindData(name, type, j, &data, &size) == B_OK)
				properties.AddData(name, type, data, size, false);
		}
	}
	endpoint->SetProperties(&properties);
}

}	// namespace


TOutputChains::TOutputChains(TSMFProducer* song, const BMessage* portProperties)
	:
	fSong(song),
	fMuteProducer(new BMidiLocalProducer("DisconnectProducer")),
	fStatus(B_OK)
{
	for (int32 i = 0; i < kPortCount; i++) {
		fFilters[i] = new TMidiFilter(kPortNames[i]);
		fManagers[i] = new TNoteOnManager;
		if (portProperties != NULL)
			merge_properties(fFilters[i]->Producer(), *portProperties);
		status_t status = fFilters[i]->Producer()->Register();
		if (status == B_OK)
			status = fManagers[i]->Connect(fFilters[i]);
		if (status == B_OK)
			status = song->Producer(i)->Connect(fManagers[i]);
		if (status != B_OK && fStatus == B_OK)
			fStatus = status;
	}
}


TOutputChains::~TOutputChains()
{
	for (int32 i = 0; i < kPortCount; i++) {
		fFilters[i]->Producer()->Unregister();
		fManagers[i]->Release();
		fFilters[i]->Release();
	}
	fMuteProducer->Release();
}


BMidiLocalProducer*
TOutputChains::Port(int32 port) const
{
	if (port < 0 || port >= kPortCount)
		return NULL;
	return fFilters[port]->Producer();
}


TNoteOnManager*
TOutputChains::NoteManager(int32 port) const
{
	if (port < 0 || port >= kPortCount)
		return NULL;
	return fManagers[port];
}


TMidiFilter*
TOutputChains::Filter(int32 port) const
{
	if (port < 0 || port >= kPortCount)
		return NULL;
	return fFilters[port];
}


status_t
TOutputChains::Connect(int32 port, BMidiConsumer* device)
{
	BMidiLocalProducer* producer = Port(port);
	if (producer == NULL || device == NULL)
		return B_BAD_VALUE;
	return producer->Connect(device);
}


void
TOutputChains::SetVolume(int32 percent)
{
	for (TMidiFilter* filter : fFilters)
		filter->SetVolume(percent);
}


void
TOutputChains::SetKey(int32 semitones)
{
	fSong->BetweenSteps([this, semitones] {
		for (int32 i = 0; i < kPortCount; i++) {
			fManagers[i]->QuickAllNotesOff(0);
			fFilters[i]->SetKey(semitones);
		}
	});
}


void
TOutputChains::Seek(uint32 tick)
{
	fSong->BetweenSteps([this, tick] {
		QuickAllNotesOff();
		fSong->SetCurrentTick(tick);
	});
}


void
TOutputChains::SendReset(const TSystemReset& reset)
{
	for (TMidiFilter* filter : fFilters) {
		filter->Producer()->SpraySystemExclusive(
			const_cast<uchar*>(reset.data), reset.length);
	}
}


void
TOutputChains::QuickAllNotesOff()
{
	for (TNoteOnManager* manager : fManagers)
		manager->QuickAllNotesOff(0);
}


void
TOutputChains::MuteAll()
{
	for (TMidiFilter* filter : fFilters) {
		std::unique_ptr<BList> devices(filter->Producer()->Connections());
		for (int32 i = 0; i < devices->CountItems(); i++)
			Mute(static_cast<BMidiConsumer*>(devices->ItemAt(i)));
	}
}


void
TOutputChains::Mute(BMidiConsumer* device)
{
	if (fMuteProducer->Connect(device) != B_OK)
		return;
	for (uchar channel = 0; channel < kChannelCount; channel++) {
		for (uchar controller : kMuteControllers)
			fMuteProducer->SprayControlChange(channel, controller, 0);
	}
	fMuteProducer->Disconnect(device);
}
