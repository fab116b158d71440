#include "MidiTestSupport.h"

#include <cstdio>

#include <MidiDefs.h>

namespace {

std::string
numbers(std::initializer_list<int> values)
{
	std::string text;
	for (int value : values)
		text += " " + std::to_string(value);
	return text;
}

}


HookConsumer::HookConsumer(const char* name)
	:
	BMidiLocalConsumer(name)
{
}


std::vector<std::string>
HookConsumer::Calls() const
{
	std::lock_guard<std::mutex> lock(fLock);
	return fCalls;
}


void
HookConsumer::NoteOff(uchar channel, uchar note, uchar velocity,
	bigtime_t time)
{
	_Add("NoteOff" + numbers({channel, note, velocity}), time);
}


void
HookConsumer::NoteOn(uchar channel, uchar note, uchar velocity, bigtime_t time)
{
	_Add("NoteOn" + numbers({channel, note, velocity}), time);
}


void
HookConsumer::KeyPressure(uchar channel, uchar note, uchar pressure,
	bigtime_t time)
{
	_Add("KeyPressure" + numbers({channel, note, pressure}), time);
}


void
HookConsumer::ControlChange(uchar channel, uchar controlNumber,
	uchar controlValue, bigtime_t time)
{
	_Add("ControlChange" + numbers({channel, controlNumber, controlValue}),
		time);
}


void
HookConsumer::ProgramChange(uchar channel, uchar programNumber, bigtime_t time)
{
	_Add("ProgramChange" + numbers({channel, programNumber}), time);
}


void
HookConsumer::ChannelPressure(uchar channel, uchar pressure, bigtime_t time)
{
	_Add("ChannelPressure" + numbers({channel, pressure}), time);
}


void
HookConsumer::PitchBend(uchar channel, uchar lsb, uchar msb, bigtime_t time)
{
	_Add("PitchBend" + numbers({channel, lsb, msb}), time);
}


void
HookConsumer::SystemExclusive(void* data, size_t length, bigtime_t time)
{
	const uchar* bytes = static_cast<const uchar*>(data);
	_Add("SystemExclusive " + hex_bytes({bytes, bytes + length}), time);
}


void
HookConsumer::SystemCommon(uchar status, uchar data1, uchar data2,
	bigtime_t time)
{
	_Add("SystemCommon" + numbers({status, data1, data2}), time);
}


void
HookConsumer::SystemRealTime(uchar status, bigtime_t time)
{
	_Add("SystemRealTime" + numbers({status}), time);
}


void
HookConsumer::TempoChange(int32 beatsPerMinute, bigtime_t time)
{
	_Add("TempoChange" + numbers({beatsPerMinute}), time);
}


void
HookConsumer::_Add(const std::string& call, bigtime_t time)
{
	std::lock_guard<std::mutex> lock(fLock);
	fCalls.push_back(call + " @" + std::to_string(time));
}


std::string
hex_bytes(const std::vector<uchar>& bytes)
{
	std::string text;
	for (uchar byte : bytes) {
		char digits[4];
		snprintf(digits, sizeof(digits), "%s%02X", text.empty() ? "" : " ",
			byte);
		text += digits;
	}
	return text;
}


namespace {


}


NoticeLooper::NoticeLooper(int32 idBase)
	:
	RecordingLooper("notices"),
	fIdBase(idBase),
	fMarkers(0)
{
}


std::vector<std::string>
NoticeLooper::WaitForNotices(size_t count)
{
	Log().WaitForCountOf(B_MIDI_EVENT, count);
	return _Notices();
}


std::vector<std::string>
NoticeLooper::NoticesSoFar()
{
	PostMessage(kMarker);
	Log().WaitForCountOf(kMarker, ++fMarkers);
	return _Notices();
}


std::vector<std::string>
NoticeLooper::_Notices()
{
	std::vector<std::string> notices;
	for (const BMessage& message : Log().Messages()) {
		if (message.what == B_MIDI_EVENT)
			notices.push_back(_Describe(&message));
	}
	return notices;
}


std::string
NoticeLooper::_Describe(const BMessage* message) const
{
	static const char* const kOps[] = {"no-op", "registered", "unregistered",
		"connected", "disconnected", "name", "latency", "properties"};
	int32 op;
	if (message->FindInt32("be:op", &op) != B_OK || op < 0 || op > 7)
		return "malformed";

	std::string text = kOps[op];
	if (op == B_MIDI_CONNECTED || op == B_MIDI_DISCONNECTED) {
		int32 producer;
		int32 consumer;
		if (message->FindInt32("be:producer", &producer) != B_OK
			|| message->FindInt32("be:consumer", &consumer) != B_OK)
			return text + " malformed";
		return text + " " + _Id(producer) + " " + _Id(consumer);
	}

	int32 id;
	const char* type;
	if (message->FindInt32("be:id", &id) != B_OK
		|| message->FindString("be:type", &type) != B_OK)
		return text + " malformed";
	if (op == B_MIDI_REGISTERED || op == B_MIDI_UNREGISTERED)
		return text + " " + type + " " + _Id(id);

	text += " " + _Id(id);
	const char* name;
	int64 latency;
	BMessage properties;
	if (op == B_MIDI_CHANGED_NAME
		&& message->FindString("be:name", &name) == B_OK)
		text += std::string(" ") + name;
	else if (op == B_MIDI_CHANGED_LATENCY
		&& message->FindInt64("be:latency", &latency) == B_OK)
		text += " " + std::to_string(latency);
	else if (op == B_MIDI_CHANGED_PROPERTIES
		&& message->FindMessage("be:properties", &properties) == B_OK)
		text += " " + std::to_string(properties.CountNames(B_ANY_TYPE));
	else
		text += " malformed";
	return text;
}


std::string
NoticeLooper::_Id(int32 id) const
{
	return id == 0 ? "0" : "#" + std::to_string(id - fIdBase);
}
