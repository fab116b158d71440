#include "SMFTrack.h"

#include <algorithm>
#include <cstring>

#include <DataIO.h>
#include <MidiLocalProducer.h>

#include "BigEndianIO.h"
#include "SMFProducer.h"

namespace {

const uint8 kEndOfTrack[3] = {0xFF, 0x2F, 0x00};
const uint8 kMetaTrackName = 0x03;
const uint8 kMetaPort = 0x21;
const uint8 kMetaSetTempo = 0x51;
const uint32 kNoTrackName = UINT32_MAX;


int32
port_of(const uint8* data)
{
	return data[0] != 0 ? 1 : 0;
}


uint32
tempo_of(const uint8* data)
{
	return (uint32)data[0] << 16 | data[1] << 8 | data[2];
}

}	// namespace


struct TSMFTrack::WalkedEvent {
	uint32 tick;
	uint32 position;
	uint8 status;
	bool runningStatus;
	bool trackName;
};


TSMFTrack::TSMFTrack(TSMFProducer* owner)
	:
	fOwner(owner),
	fLength(0),
	fTrackNamePosition(kNoTrackName),
	fCurrentEvent(0),
	fOutputPort(0)
{
}


TSMFTrack::~TSMFTrack() = default;


status_t
TSMFTrack::SetTo(BPositionIO* stream)
{
	char chunkType[4];
	if (stream->Read(chunkType, sizeof(chunkType)) != (ssize_t)sizeof(chunkType)
		|| memcmp(chunkType, "MTrk", sizeof(chunkType)) != 0)
		return -1;

	uint32 length = 0;
	get_uint32(stream, &length);

	// A length the stream cannot hold is a lie: refuse it before allocating.
	off_t size;
	off_t here = stream->Position();
	if (here < 0 || stream->GetSize(&size) != B_OK || (off_t)length > size - here)
		return -1;

	fData = std::make_unique_for_overwrite<uint8[]>(length);
	fLength = length;
	if (stream->Read(fData.get(), length) != (ssize_t)length)
		return -1;

	if (length < sizeof(kEndOfTrack)
		|| memcmp(fData.get() + length - sizeof(kEndOfTrack), kEndOfTrack,
			sizeof(kEndOfTrack)) != 0)
		return -1;

	CreateDataMap();
	fCurrentEvent = 0;
	return 0;
}


uint32
TSMFTrack::CountTicks() const
{
	return fEvents.empty() ? 0 : fEvents.back().tick;
}


status_t
TSMFTrack::GetTrackName(std::string* name) const
{
	if (fTrackNamePosition == kNoTrackName)
		return -1;
	// Past FF and the type byte; the walk saw the whole event fit the body.
	uint32 position = fTrackNamePosition + 2;
	uint32 count;
	if (!GetVNum(&position, &count) || count == 0)
		return -1;
	name->assign(reinterpret_cast<const char*>(fData.get() + position), count);
	return 0;
}


void
TSMFTrack::Spray(uint32 tick)
{
	while (fCurrentEvent < fEvents.size() && fEvents[fCurrentEvent].tick <= tick)
		_SprayEvent(fEvents[fCurrentEvent++]);
}


uint32
TSMFTrack::WaitTick(uint32 tick) const
{
	// After a Spray at `tick` the cursor already stands on the answer; only
	// a cursor elsewhere needs the search.
	size_t next = fCurrentEvent;
	size_t count = fEvents.size();
	bool cursorIsNext = (next == count || fEvents[next].tick > tick)
		&& (next == 0 || fEvents[next - 1].tick <= tick);
	if (!cursorIsNext) {
		next = std::upper_bound(fEvents.begin(), fEvents.end(), tick,
			[](uint32 value, const Event& event) { return value < event.tick; })
			- fEvents.begin();
	}
	return next == count ? UINT32_MAX : fEvents[next].tick - tick;
}


void
TSMFTrack::SetCurrentTick(uint32 tick)
{
	fCurrentEvent = std::lower_bound(fEvents.begin(), fEvents.end(), tick,
		[](const Event& event, uint32 value) { return event.tick < value; })
		- fEvents.begin();
	const Setting* port = _SettingBeforeCursor(fPortSettings);
	fOutputPort = port != NULL ? port->value : 0;
}


bool
TSMFTrack::TempoBeforeCursor(uint32* tick, uint32* tempo) const
{
	const Setting* setting = _SettingBeforeCursor(fTempoSettings);
	if (setting == NULL)
		return false;
	*tick = fEvents[setting->event].tick;
	*tempo = setting->value;
	return true;
}


std::vector<std::pair<uint32, uint32>>
TSMFTrack::TempoChanges() const
{
	std::vector<std::pair<uint32, uint32>> changes;
	changes.reserve(fTempoSettings.size());
	for (const Setting& setting : fTempoSettings)
		changes.emplace_back(fEvents[setting.event].tick, setting.value);
	return changes;
}


uint8
TSMFTrack::StatusAt(uint32 position) const
{
	if (fData[position] & 0x80)
		return fData[position];
	auto run = std::upper_bound(fStatusRuns.begin(), fStatusRuns.end(), position,
		[](uint32 value, const StatusRun& entry) { return value < entry.position; });
	return run == fStatusRuns.begin() ? 0 : (run - 1)->status;
}


void
TSMFTrack::CreateDataMap()
{
	// Two walks: the first only counts, so that the tables are allocated once
	// at their final size; a song can hold millions of events.
	size_t eventCount = 0;
	size_t runCount = 0;
	int lastRunStatus = -1;
	auto startsRun = [&lastRunStatus](const WalkedEvent& event) {
		if (!event.runningStatus || event.status == lastRunStatus)
			return false;
		lastRunStatus = event.status;
		return true;
	};
	_Walk([&](const WalkedEvent& event) {
		eventCount++;
		runCount += startsRun(event);
	});

	fEvents.clear();
	fEvents.reserve(eventCount);
	fStatusRuns.clear();
	fStatusRuns.reserve(runCount);
	fTrackNamePosition = kNoTrackName;
	fPortSettings.clear();
	fTempoSettings.clear();
	lastRunStatus = -1;
	bool inTickOrder = true;
	_Walk([&](const WalkedEvent& event) {
		if (!fEvents.empty() && event.tick < fEvents.back().tick)
			inTickOrder = false;
		fEvents.push_back({event.tick, event.position});
		// While its bytes are at hand.
		if (event.status == 0xFF)
			_AddSetting(fEvents.size() - 1);
		if (startsRun(event))
			fStatusRuns.push_back({event.position, event.status});
		if (event.trackName && fTrackNamePosition == kNoTrackName)
			fTrackNamePosition = event.position;
	});

	// Only an absolute tick that wrapped past 32 bits breaks the file order;
	// the settings then go by their new places.
	if (!inTickOrder) {
		std::stable_sort(fEvents.begin(), fEvents.end(),
			[](const Event& a, const Event& b) { return a.tick < b.tick; });
		fPortSettings.clear();
		fTempoSettings.clear();
		for (size_t i = 0; i < fEvents.size(); i++)
			_AddSetting(i);
	}
}


void
TSMFTrack::_AddSetting(size_t index)
{
	uint8 type;
	const uint8* data;
	uint32 length;
	if (!_Meta(fEvents[index].position, &type, &data, &length))
		return;
	if (type == kMetaPort && length >= 1)
		fPortSettings.push_back({index, (uint32)port_of(data)});
	else if (type == kMetaSetTempo && length >= 3)
		fTempoSettings.push_back({index, tempo_of(data)});
}


bool
TSMFTrack::_Meta(uint32 position, uint8* type, const uint8** data,
	uint32* length) const
{
	// Indexed events are whole, so the reads stay within the body.
	if (fData[position] != 0xFF)
		return false;
	uint32 cursor = position + 1;
	*type = fData[cursor++];
	GetVNum(&cursor, length);
	*data = fData.get() + cursor;
	return true;
}


const TSMFTrack::Setting*
TSMFTrack::_SettingBeforeCursor(const std::vector<Setting>& settings) const
{
	auto after = std::lower_bound(settings.begin(), settings.end(),
		fCurrentEvent,
		[](const Setting& setting, size_t event) { return setting.event < event; });
	return after == settings.begin() ? NULL : &*(after - 1);
}


template<typename Visitor>
void
TSMFTrack::_Walk(Visitor&& visit) const
{
	uint32 position = 0;
	uint32 tick = 0;
	// Only channel messages set the running status; system and meta events
	// in between leave it to the next data byte that lacks a status.
	uint8 channelStatus = 0;
	while (position < fLength) {
		uint32 delta;
		if (!GetVNum(&position, &delta) || position >= fLength)
			return;
		tick += delta;
		WalkedEvent event = {tick, position, 0, false, false};

		uint32 cursor = position;
		if (fData[cursor] & 0x80) {
			event.status = fData[cursor++];
			if (event.status < 0xF0)
				channelStatus = event.status;
		} else {
			event.status = channelStatus;
			event.runningStatus = true;
		}

		uint32 skip = 0;
		switch (event.status >> 4) {
			case 0x8: case 0x9: case 0xA: case 0xB: case 0xE:
				skip = 2;
				break;
			case 0xC: case 0xD:
				skip = 1;
				break;
			case 0xF:
				if (event.status == 0xFF) {
					if (cursor >= fLength)
						return;
					event.trackName = fData[cursor++] == kMetaTrackName;
				}
				if ((event.status == 0xFF || event.status == 0xF0
						|| event.status == 0xF7)
					&& !GetVNum(&cursor, &skip))
					return;
				break;
		}
		// An event cut off by the end of the body ends the track's events.
		if (skip > fLength - cursor)
			return;
		visit(event);
		position = cursor + skip;
	}
}


bool
TSMFTrack::GetVNum(uint32* position, uint32* value) const
{
	uint32 cursor = *position;
	uint32 number = 0;
	uint8 byte;
	do {
		if (cursor >= fLength)
			return false;
		byte = fData[cursor++];
		number = number << 7 | (byte & 0x7F);
	} while (byte & 0x80);
	*position = cursor;
	*value = number;
	return true;
}


void
TSMFTrack::_SprayEvent(const Event& event)
{
	const uint8* data = fData.get() + event.position;
	uint8 status = *data;
	if (status & 0x80)
		data++;
	else
		status = StatusAt(event.position);

	const BMidiLocalProducer* out = fOwner->Producer(fOutputPort);
	uchar channel = status & 0x0F;
	switch (status >> 4) {
		case 0x8:
			out->SprayNoteOff(channel, data[0], data[1], 0);
			break;
		case 0x9:
			out->SprayNoteOn(channel, data[0], data[1], 0);
			break;
		case 0xA:
			out->SprayKeyPressure(channel, data[0], data[1], 0);
			break;
		case 0xB:
			out->SprayControlChange(channel, data[0], data[1], 0);
			break;
		case 0xC:
			out->SprayProgramChange(channel, data[0], 0);
			break;
		case 0xD:
			out->SprayChannelPressure(channel, data[0], 0);
			break;
		case 0xE:
			out->SprayPitchBend(channel, data[0], data[1], 0);
			break;
		case 0xF:
		{
			uint8 type;
			const uint8* payload;
			uint32 count;
			if (status == 0xF0) {
				uint32 cursor = data - fData.get();
				GetVNum(&cursor, &count);
				out->SpraySystemExclusive(fData.get() + cursor, count, 0);
			} else if (_Meta(event.position, &type, &payload, &count)) {
				if (type == kMetaPort && count >= 1)
					fOutputPort = port_of(payload);
				else if (type == kMetaSetTempo && count >= 3)
					fOwner->_SetTempo(tempo_of(payload));
			}
			break;
		}
	}
}
