#ifndef ALERTS_H
#define ALERTS_H

#include <Alert.h>

namespace pelkan {

// The alert show_alert runs: the text is the caption, a blank line and the
// text; each button's shortcut is the first byte of its label in lower case
// ("Y・はい" → y), or Escape for the button at escapeIndex (-1: none). The
// buttons that follow a missing one are left out.
BAlert* new_alert(const char* caption, const char* text, const char* button0,
	const char* button1, const char* button2, int32 escapeIndex, alert_type type);

// Runs the alert modally and returns the index of the button pressed.
int32 show_alert(const char* caption, const char* text, const char* button0,
	const char* button1, const char* button2, int32 escapeIndex, alert_type type);

// A one-button alert laid out as show_alert's; returns 0.
int32 show_msg(const char* caption, const char* text, const char* button, alert_type type);

}

#endif
