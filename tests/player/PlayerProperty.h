#ifndef PLAYER_PROPERTY_H
#define PLAYER_PROPERTY_H

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <MidiLocalProducer.h>
#include <SystemResets.h>

#include "CompactSlider.h"
#include "PlayerDriver.h"

// What a device has heard, read as it comes: which notes sound on each
// channel. A Note Off for a note that does not sound is a fault, unless an
// All Notes Off, All Sound Off or system reset silenced the note before
// (the song's own Note Off may follow), or the device joined while notes
// of the port sounded (it missed their Note Ons).
class HeardNotes {
public:
	explicit HeardNotes(bool joinedLate) { _Silence(joinedLate); }

	void Read(BMidiRecordingConsumer* device, std::vector<std::string>* faults)
	{
		for (const auto& event : device->Events())
			_Hear(event.data, device->Name(), faults);
		device->Clear();
	}

	// Connected again after a while away.
	void Rejoined() { _Silence(true); }

	void CheckSilent(const char* name, std::vector<std::string>* faults) const
	{
		for (int channel = 0; channel < 16; channel++) {
			for (int note = 0; note < 128; note++) {
				if (fSounding[channel][note]) {
					std::ostringstream text;
					text << name << ": note " << note << " on channel " << channel
						<< " left sounding";
					faults->push_back(text.str());
				}
			}
		}
	}

private:
	void _Silence(bool noteOffsMayFollow)
	{
		for (int channel = 0; channel < 16; channel++)
			_SilenceChannel(channel, noteOffsMayFollow);
	}

	void _SilenceChannel(int channel, bool noteOffsMayFollow)
	{
		for (int note = 0; note < 128; note++) {
			fExcused[channel][note] = noteOffsMayFollow
				|| fExcused[channel][note] || fSounding[channel][note];
			fSounding[channel][note] = false;
		}
	}

	void _Hear(const std::vector<uchar>& data, const char* name,
		std::vector<std::string>* faults)
	{
		if (data.empty())
			return;
		const int kind = data[0] & 0xF0;
		const int channel = data[0] & 0x0F;
		if (data[0] == 0xF0) {
			if (system_reset_mask(data.data() + 1, data.size() - 1) != 0)
				_Silence(false);
			return;
		}
		if (data.size() < 3)
			return;
		const int note = data[1];
		if (kind == 0x90 && data[2] != 0) {
			fSounding[channel][note] = true;
			fExcused[channel][note] = false;
		} else if (kind == 0x80 || kind == 0x90) {
			if (fSounding[channel][note])
				fSounding[channel][note] = false;
			else if (fExcused[channel][note])
				fExcused[channel][note] = false;
			else {
				std::ostringstream text;
				text << name << ": Note Off for note " << note << " on channel " << channel
					<< ", which was not on";
				faults->push_back(text.str());
			}
		} else if (kind == 0xB0 && (data[1] == 123 || data[1] == 120))
			_SilenceChannel(channel, false);
	}

	bool fSounding[16][128] = {};
	bool fExcused[16][128] = {};
};


// Random use of the player against recording devices on both ports: the
// test runs seeded sequences, the fuzz target sequences from its input.
// Drive it from the window's thread with the stepped clock installed.
class PlayerProperty {
public:
	explicit PlayerProperty(PlayerDriver& driver)
		:
		fDriver(driver)
	{
		_MakeSongs();
		fDeviceA = _AddDevice("Property A");
		fDeviceB = _AddDevice("Property B");
		fRoamer = _AddDevice("Property Roamer");
		gExitState.connectedOutputs[0] = {"Property A", "Property Roamer"};
		gExitState.connectedOutputs[1] = {"Property B"};
		fDriver.Open({});
		fHeard.assign(3, HeardNotes(false));
	}

	~PlayerProperty()
	{
		for (BMidiRecordingConsumer* device : {fDeviceA, fDeviceB, fRoamer}) {
			if (device != NULL) {
				device->Unregister();
				device->Release();
			}
		}
	}

	// Plays one sequence; the faults found, none when the player held.
	std::vector<std::string> Run(const uint8_t* actions, size_t size)
	{
		fFaults.clear();
		const uint8_t setup = size > 0 ? actions[0] : 0;
		_Begin(setup);
		for (size_t at = 1; at + 1 < size && fFaults.empty(); at += 2)
			_Act(actions[at], actions[at + 1]);
		if (fFaults.empty())
			_End();
		return fFaults;
	}

private:
	enum {
		kPlay, kPause, kStop, kSeek, kKey, kKeyDrag, kTempo, kVolume, kNext, kPrev,
		kWait, kToggleB, kRoam, kMode, kDelete, kAdd, kNew, kRequest, kAllOff,
		kActionCount
	};

	BMidiRecordingConsumer* _AddDevice(const char* name)
	{
		BMidiRecordingConsumer* device = new BMidiRecordingConsumer(name);
		device->Register();
		return device;
	}

	// Songs with notes on two channels of each port, none struck again
	// while it sounds, and one file that is no song.
	void _MakeSongs()
	{
		std::mt19937 random(1);
		for (int song = 0; song < 6; song++) {
			const uint32 length = 200 + 100 * song;
			std::vector<std::vector<PlayerDriver::Note>> tracks(2);
			for (auto& track : tracks) {
				uint32 free[2][4] = {};
				for (int n = 0; n < 12; n++) {
					const uint8 channel = random() % 2;
					const uint8 key = random() % 4;
					const uint32 start = std::max<uint32>(free[channel][key],
						random() % length);
					if (start + 10 >= length)
						continue;
					const uint32 end = std::min<uint32>(length, start + 10 + random() % 300);
					track.push_back({start, end, uint8(60 + key), channel});
					free[channel][key] = end + 1;
				}
			}
			fSongs.push_back(fDriver.MakeSongOnPorts(
				"song" + std::to_string(song) + ".mid", tracks, length));
		}
		fSongs.push_back(fDriver.WriteFile("broken.mid", {'M', 'T', 'h', 'd', 0}));
	}

	// Every sequence starts from the same player, so that its seed alone
	// repeats it.
	void _Begin(uint8_t setup)
	{
		std::srand(setup);
		fDriver.fWindow->posted.clear();
		fDriver.Post(kMsgStop);
		BMessage mode(kMsgPlayMode);
		mode.AddInt32("PlayMode", 0);
		fDriver.Post(mode);
		_Slide("SliderKey", 0, kMsgKeyChanged);
		_Slide("SliderTempo", 100, kMsgTempoChanged);
		_Slide("SliderVolume", 100, kMsgVolumeChanged);
		if (!fDriver.fView->Producer(1)->IsConnected(fDeviceB))
			_ToggleB();
		if (fRoamer == NULL)
			_Roam();
		gPref.silenceBetweenSongs = (setup & 1) != 0;
		gPref.silenceBetweenSongsInterval = 200000;
		gPref.sendSysResets = (setup & 2) != 0;
		gPref.sysResetCombination = 1 + (setup >> 4);
		gPref.silenceAfterResets = (setup & 4) != 0 ? 50000 : 0;
		{
			BAutolock lock(fDriver.fWindow);
			fDriver.fPlaylist->ClearList();
		}
		fDriver.Pump();
		std::vector<std::string> songs;
		for (int n = 0; n < 2 + (setup >> 3) % 4; n++)
			songs.push_back(fSongs[(setup + n) % fSongs.size()]);
		fDriver.AddSongs(songs);
		_Check();
	}

	void _Act(uint8_t action, uint8_t value)
	{
		PlayerDriver& d = fDriver;
		switch (action % kActionCount) {
			case kPlay:
				d.Post(kMsgPlay);
				break;
			case kPause:
				d.Post(kMsgPause);
				break;
			case kStop:
				d.Post(kMsgStop);
				break;
			case kSeek:
				_Slide("SliderPos", value % 101, kMsgPosChanged);
				break;
			case kKey:
				_Slide("SliderKey", value % 25 - 12, kMsgKeyChanged);
				break;
			case kKeyDrag:
				_Slide("SliderKey", value % 25 - 12, kMsgKeyDragged);
				break;
			case kTempo:
				_Slide("SliderTempo", 30 + value % 271, kMsgTempoChanged);
				break;
			case kVolume:
				_Slide("SliderVolume", value % 201, kMsgVolumeChanged);
				break;
			case kNext:
				d.Post(kMsgNext);
				break;
			case kPrev:
				d.Post(kMsgPrev);
				break;
			case kWait:
				d.Advance(bigtime_t(value) * 5000);
				break;
			case kToggleB:
				_ToggleB();
				break;
			case kRoam:
				_Roam();
				break;
			case kMode:
			{
				BMessage message(kMsgPlayMode);
				message.AddInt32("PlayMode", value % 6);
				d.Post(message);
				break;
			}
			case kDelete:
				_Delete(value);
				break;
			case kAdd:
				d.AddSongs({fSongs[value % fSongs.size()]});
				break;
			case kNew:
				d.Post(kMsgNewList);
				break;
			case kRequest:
			{
				BMessage message(kMsgChangeSongRqtd);
				message.AddInt32("NewIdx", value % 8 - 1);
				message.AddBool("PlaySong", (value & 0x80) != 0);
				d.Post(message);
				break;
			}
			case kAllOff:
				d.Post(kMsgAllNotesOff);
				break;
		}
		_Check();
	}

	void _Slide(const char* name, int32 value, uint32 what)
	{
		TCompactSlider* slider
			= dynamic_cast<TCompactSlider*>(fDriver.fView->FindView(name));
		{
			BAutolock lock(fDriver.fWindow);
			slider->SetValue(value);
		}
		fDriver.Post(what);
	}

	void _ToggleB()
	{
		const bool wasConnected = fDriver.fView->Producer(1)->IsConnected(fDeviceB);
		_ReadHeard();
		BMessage message(kMsgMidiOut);
		message.AddInt32("MIDIPort", 1);
		message.AddInt32("be:id", fDeviceB->ID());
		fDriver.Post(message);
		if (!wasConnected)
			fHeard[1].Rejoined();
	}

	// The roaming device is unplugged, or a new one of its name plugged in.
	void _Roam()
	{
		_ReadHeard();
		if (fRoamer != NULL) {
			fRoamer->Unregister();
			fRoamer->Release();
			fRoamer = NULL;
			return;
		}
		fRoamer = _AddDevice("Property Roamer");
		fHeard[2] = HeardNotes(true);
		if (!fDriver.PumpUntil([this]() {
				return fDriver.fView->Producer(0)->IsConnected(fRoamer);
			})) {
			fFaults.push_back("the roaming device was not connected again");
		}
	}

	void _Delete(uint8_t value)
	{
		TCorvanView* list = fDriver.fPlaylist;
		{
			BAutolock lock(fDriver.fWindow);
			if (list->FullListCountItems() < 2)
				return;
			list->DeselectAll();
			list->Select(1 + value % (list->FullListCountItems() - 1));
			list->PopupDeleteFileClicked(NULL);
		}
		fDriver.Pump();
	}

	void _ReadHeard()
	{
		fDriver.Quiet();
		BMidiRecordingConsumer* devices[3] = {fDeviceA, fDeviceB, fRoamer};
		for (int i = 0; i < 3; i++) {
			if (devices[i] != NULL)
				fHeard[i].Read(devices[i], &fFaults);
		}
	}

	void _Check()
	{
		_ReadHeard();
		const TTirokaState state = gAppPrivacy.State();
		const int32 marked = fDriver.MarkedRows();
		std::ostringstream text;
		if (state < TS_Stopped || state > TS_StartXG)
			text << "state " << state << " is no state";
		else if (fDriver.fPlaylist->Songs() == 0 && state != TS_Stopped)
			text << "state " << state << " without songs";
		else if (marked > 1)
			text << marked << " rows marked current";
		else if (state != TS_Stopped && marked != 1)
			text << "state " << state << " without a current song";
		else if (marked == 1
			&& fDriver.fPlaylist->CurrentSongIdx() != fDriver.fView->CurSongIdx()) {
			text << "current song " << fDriver.fView->CurSongIdx() << " but row of song "
				<< fDriver.fPlaylist->CurrentSongIdx() << " marked";
		}
		if (!text.str().empty())
			fFaults.push_back(text.str());
	}

	// A start sequence finishes within its silences (200 ms between songs,
	// 50 ms after each of four resets), even when songs that cannot be
	// played follow each other until the player gives up on them; after
	// Stop nothing sounds anywhere.
	void _End()
	{
		const bigtime_t longest = (fDriver.fPlaylist->Songs() + 2) * 400000;
		for (bigtime_t waited = 0; waited <= longest && _Starting(); waited += 10000)
			fDriver.Advance(10000);
		if (_Starting()) {
			fFaults.push_back("the start sequence stuck in state "
				+ std::to_string(gAppPrivacy.State()));
		}
		_Check();
		fDriver.Post(kMsgStop);
		_ReadHeard();
		BMidiRecordingConsumer* devices[3] = {fDeviceA, fDeviceB, fRoamer};
		for (int i = 0; i < 3; i++) {
			if (devices[i] != NULL)
				fHeard[i].CheckSilent(devices[i]->Name(), &fFaults);
		}
	}

	static bool _Starting() { return gAppPrivacy.State() >= TS_StartSilence; }

	PlayerDriver& fDriver;
	std::vector<std::string> fSongs;
	BMidiRecordingConsumer* fDeviceA;
	BMidiRecordingConsumer* fDeviceB;
	BMidiRecordingConsumer* fRoamer;
	std::vector<HeardNotes> fHeard;
	std::vector<std::string> fFaults;
};

#endif
