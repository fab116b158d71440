#include "InputQt.h"

#include <cmath>
#include <cstring>
#include <string>

#include <QKeyEvent>

#include <AppDefs.h>
#include <InterfaceDefs.h>
#include <Message.h>

#include "ViewQt.h"

namespace BPrivate {

int32
ClickCounter::Press(bigtime_t when, BPoint screenWhere, uint32 buttons)
{
	const bool follows = fCount > 0 && buttons == fLastButtons
		&& when >= fLastWhen && when - fLastWhen <= kInterval
		&& std::fabs(screenWhere.x - fLastWhere.x) <= kSlop
		&& std::fabs(screenWhere.y - fLastWhere.y) <= kSlop;
	fCount = follows ? fCount + 1 : 1;
	fLastWhen = when;
	fLastWhere = screenWhere;
	fLastButtons = buttons;
	return fCount;
}


const char* const kPointerSerialField = "be:pointer_serial";


int64
PointerInput::Queue(const PointerState& state)
{
	unread.push_back(QueuedPointer{++lastSerial, state});
	return lastSerial;
}


void
PointerInput::Dispatching(int64 serial)
{
	while (!unread.empty() && unread.front().serial <= serial)
		unread.pop_front();
}


uint32
be_buttons(Qt::MouseButtons buttons)
{
	uint32 result = 0;
	if ((buttons & Qt::LeftButton) != 0)
		result |= B_PRIMARY_MOUSE_BUTTON;
	if ((buttons & Qt::RightButton) != 0)
		result |= B_SECONDARY_MOUSE_BUTTON;
	if ((buttons & Qt::MiddleButton) != 0)
		result |= B_TERTIARY_MOUSE_BUTTON;
	return result;
}


// Keys map by meaning, which suits both the original platform and Linux:
// its Command key (menu shortcuts, text editing, toggling a row) is Ctrl;
// its Control key (the dialogs' letter accelerators) is Alt, the Linux
// mnemonic key, which window managers also take for Alt+drag; its Option
// key is Super (Qt's Meta).
uint32
be_modifiers(Qt::KeyboardModifiers modifiers)
{
	uint32 result = 0;
	if ((modifiers & Qt::ShiftModifier) != 0)
		result |= B_SHIFT_KEY | B_LEFT_SHIFT_KEY;
	if ((modifiers & Qt::ControlModifier) != 0)
		result |= B_COMMAND_KEY | B_LEFT_COMMAND_KEY;
	if ((modifiers & Qt::AltModifier) != 0)
		result |= B_CONTROL_KEY | B_LEFT_CONTROL_KEY;
	if ((modifiers & Qt::MetaModifier) != 0)
		result |= B_OPTION_KEY | B_LEFT_OPTION_KEY;
	return result;
}


Qt::KeyboardModifiers
qt_modifiers(uint32 modifiers)
{
	Qt::KeyboardModifiers result;
	result.setFlag(Qt::ShiftModifier, (modifiers & B_SHIFT_KEY) != 0);
	result.setFlag(Qt::ControlModifier, (modifiers & B_COMMAND_KEY) != 0);
	result.setFlag(Qt::AltModifier, (modifiers & B_CONTROL_KEY) != 0);
	result.setFlag(Qt::MetaModifier, (modifiers & B_OPTION_KEY) != 0);
	return result;
}


namespace {

struct SpecialKey {
	int qtKey;
	uint8 rawChar;
	int32 keyCode;
};

// "key" codes are the original keyboard map's where the program may look at
// them; other keys carry the X keycode.
const SpecialKey kSpecialKeys[] = {
	{Qt::Key_Return, B_ENTER, 0x47},
	{Qt::Key_Enter, B_ENTER, 0x5b},
	{Qt::Key_Escape, B_ESCAPE, 0x01},
	{Qt::Key_Tab, B_TAB, 0x26},
	{Qt::Key_Backtab, B_TAB, 0x26},
	{Qt::Key_Backspace, B_BACKSPACE, 0x1e},
	{Qt::Key_Delete, B_DELETE, 0x34},
	{Qt::Key_Insert, B_INSERT, 0x1f},
	{Qt::Key_Home, B_HOME, 0x20},
	{Qt::Key_End, B_END, 0x35},
	{Qt::Key_PageUp, B_PAGE_UP, 0x21},
	{Qt::Key_PageDown, B_PAGE_DOWN, 0x36},
	{Qt::Key_Left, B_LEFT_ARROW, 0x61},
	{Qt::Key_Right, B_RIGHT_ARROW, 0x63},
	{Qt::Key_Up, B_UP_ARROW, 0x57},
	{Qt::Key_Down, B_DOWN_ARROW, 0x62},
	{Qt::Key_Space, B_SPACE, 0x5e},
	{Qt::Key_Print, B_FUNCTION_KEY, B_PRINT_KEY},
	{Qt::Key_ScrollLock, B_FUNCTION_KEY, B_SCROLL_KEY},
	{Qt::Key_Pause, B_FUNCTION_KEY, B_PAUSE_KEY},
};

// X keycodes of the digit row, '1' to '0': Shift+digit must still give the
// digit as "raw_char".
constexpr quint32 kFirstDigitScanCode = 10;

bool
is_modifier_key(int key)
{
	switch (key) {
		case Qt::Key_Shift:
		case Qt::Key_Control:
		case Qt::Key_Alt:
		case Qt::Key_AltGr:
		case Qt::Key_Meta:
		case Qt::Key_Super_L:
		case Qt::Key_Super_R:
		case Qt::Key_CapsLock:
		case Qt::Key_NumLock:
		case Qt::Key_Hyper_L:
		case Qt::Key_Hyper_R:
			return true;
		default:
			return false;
	}
}

}	// namespace


bool
make_key_message(const QKeyEvent& event, bool down, BMessage* message)
{
	const int key = event.key();
	if (is_modifier_key(key))
		return false;

	int32 rawChar = -1;
	int32 keyCode = (int32)event.nativeScanCode();
	std::string bytes;

	for (const SpecialKey& special : kSpecialKeys) {
		if (special.qtKey == key) {
			rawChar = special.rawChar;
			keyCode = special.keyCode;
			break;
		}
	}
	if (rawChar < 0 && key >= Qt::Key_F1 && key <= Qt::Key_F12) {
		rawChar = B_FUNCTION_KEY;
		keyCode = B_F1_KEY + (key - Qt::Key_F1);
	}

	const quint32 scanCode = event.nativeScanCode();
	if (rawChar < 0 && scanCode >= kFirstDigitScanCode
		&& scanCode < kFirstDigitScanCode + 10) {
		rawChar = scanCode == kFirstDigitScanCode + 9
			? '0' : '1' + (int32)(scanCode - kFirstDigitScanCode);
	}
	if (rawChar < 0 && key >= Qt::Key_A && key <= Qt::Key_Z)
		rawChar = 'a' + (key - Qt::Key_A);
	if (rawChar < 0 && key >= Qt::Key_0 && key <= Qt::Key_9)
		rawChar = '0' + (key - Qt::Key_0);

	// The Be Control key makes control characters of letters; the Command
	// key leaves the character alone, where Qt gives Ctrl+letter as a
	// control character (or no text at all).
	const QByteArray text = event.text().toUtf8();
	const bool beControl = (event.modifiers() & Qt::AltModifier) != 0;
	const bool shift = (event.modifiers() & Qt::ShiftModifier) != 0;
	if (rawChar == B_FUNCTION_KEY) {
		bytes.assign(1, (char)B_FUNCTION_KEY);
	} else if (rawChar >= 0 && rawChar < 0x20) {
		bytes.assign(1, (char)rawChar);
	} else if (rawChar >= 'a' && rawChar <= 'z' && beControl) {
		bytes.assign(1, (char)(rawChar & 0x1f));
	} else if (!text.isEmpty() && (uint8)text[0] >= 0x20) {
		bytes.assign(text.constData(), text.size());
	} else if (key >= 0x20 && key < 0x7f) {
		// Below 0x7f, Qt's key codes are the characters themselves,
		// letters in upper case.
		const char c = (char)(key >= 'A' && key <= 'Z' && !shift ? key - 'A' + 'a' : key);
		bytes.assign(1, c);
	} else if (!text.isEmpty()) {
		bytes.assign(text.constData(), text.size());
	} else if (rawChar >= 0) {
		bytes.assign(1, (char)rawChar);
	}
	if (rawChar < 0) {
		if (bytes.empty())
			return false;
		// Characters typed through an input method or a dead key: the
		// character itself, as far as it fits one byte.
		rawChar = (uint8)bytes[0] < 0x80 ? (uint8)bytes[0] : 0;
		if (rawChar >= 'A' && rawChar <= 'Z')
			rawChar += 'a' - 'A';
	}

	message->what = down ? B_KEY_DOWN : B_KEY_UP;
	message->AddInt64("when", system_time());
	message->AddInt32("modifiers", (int32)be_modifiers(event.modifiers()));
	message->AddInt32("key", keyCode);
	message->AddInt32("raw_char", rawChar);
	for (char byte : bytes)
		message->AddInt8("byte", (int8)byte);
	message->AddString("bytes", bytes.c_str());
	if (event.isAutoRepeat())
		message->AddInt32("be:key_repeat", 1);
	return true;
}

}
