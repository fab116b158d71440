#include "VantuWin.h"

#include <cstring>

#include <List.h>
#include <Menu.h>
#include <MenuItem.h>
#include <MidiConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRoster.h>

#include <MidiDevices.h>

#include "AppGlobals.h"
#include "PlayerMessages.h"
#include "VantuView.h"

namespace {

const char kLeadDigits[] = "123456789";
const int32 kLeadDigitCount = 9;
const char kAnonymous[] = "<anonymous>";

}


// One item per device in each port menu; the program's own unregistered
// endpoints (the chains' stages) are no devices.
void
TVantuWin::CreateMenuMidiOut()
{
	const std::string separator = gVLT.Text("SC_Sep");
	int32 id = 0;
	int32 listed = 0;
	while (BMidiConsumer* consumer = BMidiRoster::NextConsumer(&id)) {
		if (!consumer->IsValid() || strcmp(consumer->Name(), kAnonymous) == 0
			|| !pelkan::is_output_device(consumer)) {
			continue;
		}
		const char lead = listed < kLeadDigitCount ? kLeadDigits[listed] : '*';
		const std::string label = std::string(1, lead) + separator + consumer->Name();
		listed++;
		for (int32 port = 0; port < 2; port++) {
			if (BMessage* message = CreateMessageMidi(kMsgMidiOut, port, id))
				fPortMenus[port]->AddItem(new BMenuItem(label.c_str(), message));
		}
	}
	for (BMenu* menu : fPortMenus)
		menu->SetTargetForItems(fPlayerView);
}


void
TVantuWin::DestroyMenuMidiOut()
{
	for (BMenu* menu : fPortMenus) {
		while (BMenuItem* item = menu->RemoveItem(int32(0)))
			delete item;
	}
}


BMessage*
TVantuWin::CreateMessageMidi(uint32 what, int32 port, int32 id)
{
	BMidiEndpoint* endpoint = BMidiRoster::FindEndpoint(id);
	if (endpoint == NULL)
		return NULL;
	BMessage* message = new BMessage(what);
	message->AddInt32("MIDIPort", port);
	message->AddInt32("be:id", id);
	message->AddString("be:name", endpoint->Name());
	return message;
}


// The player connects the remembered devices itself, by name, when it is
// attached and whenever one comes back; the menus only show what is
// connected.
void
TVantuWin::ReflectExitConnection()
{
	for (int32 port = 0; port < 2; port++) {
		BMidiLocalProducer* producer = fPlayerView->Producer(port);
		for (int32 i = 0; i < fPortMenus[port]->CountItems(); i++) {
			BMenuItem* item = fPortMenus[port]->ItemAt(i);
			int32 id;
			if (item->Message() == NULL || item->Message()->FindInt32("be:id", &id) != B_OK)
				continue;
			BMidiConsumer* consumer = BMidiRoster::FindConsumer(id);
			item->SetMarked(consumer != NULL && producer->IsConnected(consumer));
		}
		_MarkPortMenu(port);
	}
}


void
TVantuWin::_MarkPortMenu(int32 port)
{
	BList* connections = fPlayerView->Producer(port)->Connections();
	const bool connected = connections != NULL && !connections->IsEmpty();
	delete connections;
	if (BMenuItem* superitem = fPortMenus[port]->Superitem())
		superitem->SetMarked(connected);
}


void
TVantuWin::UpdateMenuMidiOutRqtd(BMessage* message)
{
	int32 port;
	int32 id;
	if (message->FindInt32("MIDIPort", &port) != B_OK || port < 0 || port > 1
		|| message->FindInt32("be:id", &id) != B_OK || fPortMenus[port] == NULL) {
		return;
	}
	BMenu* menu = fPortMenus[port];
	for (int32 i = 0; i < menu->CountItems(); i++) {
		BMenuItem* item = menu->ItemAt(i);
		int32 itemId;
		if (item->Message() == NULL || item->Message()->FindInt32("be:id", &itemId) != B_OK
			|| itemId != id) {
			continue;
		}
		if (BMidiConsumer* consumer = BMidiRoster::FindConsumer(id))
			item->SetMarked(fPlayerView->Producer(port)->IsConnected(consumer));
		break;
	}
	_MarkPortMenu(port);
}


// Items of devices that are gone must not be deleted under an open menu:
// the rebuild then waits for the menus to close.
void
TVantuWin::RecreateMenuMidiOutRqtd()
{
	if (fMenusOpen) {
		fMidiOutRebuildPending = true;
		return;
	}
	DestroyMenuMidiOut();
	CreateMenuMidiOut();
	ReflectExitConnection();
}
