#include "Alerts.h"

#include <cctype>
#include <string>

#include <InterfaceDefs.h>

namespace pelkan {

namespace {

// The caption leads the text, as it always did; the window manager shows a
// title too, which is the caption without the stars that frame it.
std::string
alert_title(const char* caption)
{
	std::string title = caption != NULL ? caption : "";
	const size_t first = title.find_first_not_of("* ");
	if (first == std::string::npos)
		return title;
	return title.substr(first, title.find_last_not_of("* ") - first + 1);
}


std::string
alert_text(const char* caption, const char* text)
{
	std::string result = caption != NULL ? caption : "";
	result += "\n\n";
	if (text != NULL)
		result += text;
	return result;
}

}


BAlert*
new_alert(const char* caption, const char* text, const char* button0,
	const char* button1, const char* button2, int32 escapeIndex, alert_type type)
{
	const char* labels[3] = {button0, button1, button2};
	int32 count = 0;
	while (count < 3 && labels[count] != NULL)
		count++;
	for (int32 i = count; i < 3; i++)
		labels[i] = NULL;

	const std::string message = alert_text(caption, text);
	BAlert* alert = new BAlert(alert_title(caption).c_str(), message.c_str(), labels[0], labels[1], labels[2],
		B_WIDTH_AS_USUAL, type);
	for (int32 i = 0; i < count; i++) {
		if (i == escapeIndex)
			alert->SetShortcut(i, B_ESCAPE);
		else if (labels[i][0] != '\0')
			alert->SetShortcut(i, (char)std::tolower((unsigned char)labels[i][0]));
	}
	return alert;
}


int32
show_alert(const char* caption, const char* text, const char* button0,
	const char* button1, const char* button2, int32 escapeIndex, alert_type type)
{
	return new_alert(caption, text, button0, button1, button2, escapeIndex, type)->Go();
}


int32
show_msg(const char* caption, const char* text, const char* button, alert_type type)
{
	const std::string message = alert_text(caption, text);
	BAlert* alert = new BAlert(alert_title(caption).c_str(), message.c_str(), button, NULL, NULL,
		B_WIDTH_AS_USUAL, B_OFFSET_SPACING, type);
	return alert->Go();
}

}
