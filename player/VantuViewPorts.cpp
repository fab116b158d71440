#include "VantuView.h"

#include <algorithm>
#include <cstring>

#include <Message.h>
#include <Messenger.h>
#include <MidiConsumer.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRoster.h>
#include <SoftSynth.h>
#include <Window.h>

#include <MidiDevices.h>
#include <SoftSynthCreation.h>

#include "OutputChains.h"
#include "PlayerMessages.h"
#include "SoftSynthStarter.h"

namespace {

// The device of exactly that name: remembered names are roster names, never
// ids nor a user's spelling.
BMidiConsumer*
find_device_named(const std::string& name)
{
	int32 id = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (pelkan::is_output_device(consumer) && name == consumer->Name()) {
			return consumer;
		}
	}
	return NULL;
}

}	// namespace


status_t
TVantuView::ConnectMidiOut(int32 port, int32 consumerId)
{
	BMidiConsumer* device = BMidiRoster::FindConsumer(consumerId);
	if (device == NULL || fChains->Connect(port, device) != B_OK)
		return -1;
	_Remember(port, device->Name(), true);
	return 0;
}


BMidiLocalProducer*
TVantuView::Producer(int32 port) const
{
	return fChains->Port(port);
}


void
TVantuView::MuteAllMidiOut()
{
	fChains->MuteAll();
}


void
TVantuView::MuteMidiOut(int32 consumerId)
{
	if (BMidiConsumer* device = BMidiRoster::FindConsumer(consumerId))
		fChains->Mute(device);
}


// The soft synth is made on a worker, so the window shows without waiting
// for its sound font; it is connected when it comes (_TakeSoftSynth).
void
TVantuView::_StartDevices()
{
	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		for (const std::string& name : fRememberedOutputs[port]) {
			if (BMidiConsumer* device = find_device_named(name))
				fChains->Connect(port, device);
		}
	}
	if (fSoftSynth != NULL) {
		if (fRememberedOutputs[0].empty())
			fChains->Connect(0, fSoftSynth);
	} else if (fSoftSynthProblem.empty() && fSoftSynthStarter == nullptr) {
		fSoftSynthStarter = std::make_unique<TSoftSynthStarter>(
			[this](std::string* problem) { return CreateSoftSynth(problem); },
			BMessenger(this), kMsgSoftSynthMade);
	}
}


// Connected to the ports that remember it, and port A falls back to it when
// it remembers nothing; the menus are rebuilt to list it.
void
TVantuView::_TakeSoftSynth()
{
	if (fSoftSynthStarter == nullptr)
		return;
	fSoftSynth = fSoftSynthStarter->Take(&fSoftSynthProblem);
	fSoftSynthStarter.reset();
	if (fSoftSynth == NULL) {
		if (!fSoftSynthProblem.empty())
			SetStatStr(fSoftSynthProblem.c_str());
		return;
	}
	_ConnectRemembered(fSoftSynth);
	if (fRememberedOutputs[0].empty())
		fChains->Connect(0, fSoftSynth);
	UpdatePortCompos();
	SendRecreateMenuMidiOutRqtd();
}


void
TVantuView::_ConnectRemembered(BMidiConsumer* device)
{
	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		const std::vector<std::string>& names = fRememberedOutputs[port];
		if (std::find(names.begin(), names.end(), device->Name()) != names.end()
			&& !Producer(port)->IsConnected(device)) {
			fChains->Connect(port, device);
		}
	}
}


void
TVantuView::_Remember(int32 port, const char* name, bool connected)
{
	std::vector<std::string>& names = fRememberedOutputs[port];
	auto found = std::find(names.begin(), names.end(), name);
	if (connected && found == names.end())
		names.push_back(name);
	else if (!connected && found != names.end())
		names.erase(found);
}


int32
TVantuView::_PortOf(int32 producerId) const
{
	for (int32 port = 0; port < TOutputChains::kPortCount; port++) {
		if (Producer(port)->ID() == producerId)
			return port;
	}
	return -1;
}


void
TVantuView::MItemMidiOutClicked(BMessage* message)
{
	int32 port;
	int32 id;
	if (message->FindInt32("MIDIPort", &port) != B_OK || port < 0
		|| port >= TOutputChains::kPortCount
		|| message->FindInt32("be:id", &id) != B_OK) {
		return;
	}
	BMidiConsumer* device = BMidiRoster::FindConsumer(id);
	if (device == NULL)
		return;
	BMidiLocalProducer* producer = Producer(port);
	if (!producer->IsConnected(device)) {
		fChains->Connect(port, device);
		_Remember(port, device->Name(), true);
	} else {
		producer->Disconnect(device);
		_Remember(port, device->Name(), false);
		fChains->Mute(device);
	}
	UpdatePortCompos();
	SendUpdateMenuMidiOutRqtd(port, id);
}


// A device that goes stays remembered: when one of that name registers
// again it is connected again. Only the user's ticks change what a port
// remembers.
void
TVantuView::MidiEvent(BMessage* message)
{
	int32 op;
	if (message->FindInt32("be:op", &op) != B_OK)
		return;
	int32 consumer = 0;
	int32 producer = 0;
	message->FindInt32("be:consumer", &consumer);
	message->FindInt32("be:producer", &producer);
	const int32 port = _PortOf(producer);
	switch (op) {
		case B_MIDI_REGISTERED:
		{
			int32 id;
			const char* type;
			if (message->FindInt32("be:id", &id) == B_OK
				&& message->FindString("be:type", &type) == B_OK
				&& strcmp(type, "consumer") == 0) {
				if (BMidiConsumer* device = BMidiRoster::FindConsumer(id))
					_ConnectRemembered(device);
			}
			SendRecreateMenuMidiOutRqtd();
			break;
		}
		case B_MIDI_UNREGISTERED:
		{
			int32 id;
			if (message->FindInt32("be:id", &id) == B_OK)
				MuteMidiOut(id);
			SendRecreateMenuMidiOutRqtd();
			break;
		}
		case B_MIDI_CONNECTED:
			if (port >= 0) {
				UpdatePortCompos();
				SendUpdateMenuMidiOutRqtd(port, consumer);
			}
			break;
		case B_MIDI_DISCONNECTED:
			if (port >= 0) {
				MuteMidiOut(consumer);
				UpdatePortCompos();
				SendUpdateMenuMidiOutRqtd(port, consumer);
			}
			break;
		case B_MIDI_CHANGED_NAME:
			SendRecreateMenuMidiOutRqtd();
			break;
		default:
			break;
	}
}


void
TVantuView::SendUpdateMenuMidiOutRqtd(int32 port, int32 consumerId)
{
	if (Window() == NULL)
		return;
	BMessage message(kMsgUpdateMenuMidiOutRqtd);
	message.AddInt32("MIDIPort", port);
	message.AddInt32("be:id", consumerId);
	Window()->PostMessage(&message);
}


void
TVantuView::SendRecreateMenuMidiOutRqtd()
{
	if (Window() != NULL)
		Window()->PostMessage(kMsgRecreateMenuMidiOutRqtd);
}


BMidiLocalConsumer*
TVantuView::CreateSoftSynth(std::string* problem)
{
	return pelkan::create_soft_synth("", pelkan::soft_synth_wav_from_environment(),
		problem);
}
