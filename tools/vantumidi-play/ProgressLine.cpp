#include "ProgressLine.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

const int32 kDefaultWidth = 80;


// The code point of the UTF-8 sequence at text[*index] and its length;
// -1 for a byte that does not start a well-formed sequence.
int32
decode_utf8(const std::string& text, size_t index, size_t* length)
{
	uchar lead = text[index];
	int32 extra;
	int32 codePoint;
	int32 smallest;
	if (lead < 0x80) {
		*length = 1;
		return lead;
	} else if ((lead & 0xE0) == 0xC0) {
		extra = 1;
		codePoint = lead & 0x1F;
		smallest = 0x80;
	} else if ((lead & 0xF0) == 0xE0) {
		extra = 2;
		codePoint = lead & 0x0F;
		smallest = 0x800;
	} else if ((lead & 0xF8) == 0xF0) {
		extra = 3;
		codePoint = lead & 0x07;
		smallest = 0x10000;
	} else
		return -1;
	if (index + extra >= text.size())
		return -1;
	for (int32 i = 1; i <= extra; i++) {
		uchar next = text[index + i];
		if ((next & 0xC0) != 0x80)
			return -1;
		codePoint = (codePoint << 6) | (next & 0x3F);
	}
	if (codePoint < smallest || codePoint > 0x10FFFF
		|| (codePoint >= 0xD800 && codePoint <= 0xDFFF))
		return -1;
	*length = extra + 1;
	return codePoint;
}


// East Asian wide characters take two columns; near enough for a title.
int32
columns_of(int32 codePoint)
{
	return codePoint >= 0x1100 && (codePoint <= 0x115F
		|| (codePoint >= 0x2E80 && codePoint <= 0xA4CF)
		|| (codePoint >= 0xAC00 && codePoint <= 0xD7A3)
		|| (codePoint >= 0xF900 && codePoint <= 0xFAFF)
		|| (codePoint >= 0xFE30 && codePoint <= 0xFE4F)
		|| (codePoint >= 0xFF00 && codePoint <= 0xFF60)
		|| (codePoint >= 0xFFE0 && codePoint <= 0xFFE6)
		|| codePoint >= 0x20000) ? 2 : 1;
}


std::string
minutes_and_seconds(bigtime_t time)
{
	long long seconds = time > 0 ? time / 1000000 : 0;
	char text[32];
	snprintf(text, sizeof(text), "%lld:%02lld", seconds / 60, seconds % 60);
	return text;
}

}	// namespace


std::string
terminal_text(const std::string& text, int32 columns)
{
	std::string safe;
	int32 used = 0;
	for (size_t i = 0; i < text.size();) {
		size_t length = 1;
		int32 codePoint = decode_utf8(text, i, &length);
		int32 width = codePoint < 0 ? 1 : columns_of(codePoint);
		if (used + width > columns)
			break;
		if (codePoint < 0)
			safe += '?';
		else if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0))
			safe += ' ';
		else
			safe.append(text, i, length);
		used += width;
		i += length;
	}
	return safe;
}


std::string
format_progress(const TProgress& progress, int32 width)
{
	char status[96];
	snprintf(status, sizeof(status), "  [%d/%d] %s  %3d%%  %d bpm x%d%%",
		(int)progress.songNumber, (int)progress.songCount,
		minutes_and_seconds(progress.elapsed).c_str(), (int)progress.percent,
		(int)progress.beatsPerMinute, (int)progress.tempoRate);
	std::string tail = status;
	// The last column stays free: writing there wraps on some terminals.
	int32 titleColumns = width - 1 - (int32)tail.size();
	if (titleColumns <= 0)
		return terminal_text(tail.substr(2), width - 1);
	return terminal_text(progress.title, titleColumns) + tail;
}


TProgressLine::TProgressLine(FILE* stream, bool wanted)
	:
	fStream(stream),
	fEnabled(wanted && isatty(fileno(stream)) != 0),
	fDrawn(false)
{
}


void
TProgressLine::Show(const TProgress& progress)
{
	if (!fEnabled)
		return;
	fprintf(fStream, "\r%s\x1b[K", format_progress(progress, _Width()).c_str());
	fflush(fStream);
	fDrawn = true;
}


void
TProgressLine::Clear()
{
	if (!fEnabled || !fDrawn)
		return;
	fputs("\r\x1b[K", fStream);
	fflush(fStream);
	fDrawn = false;
}


void
TProgressLine::Finish()
{
	if (!fEnabled || !fDrawn)
		return;
	fputc('\n', fStream);
	fflush(fStream);
	fDrawn = false;
}


int32
TProgressLine::_Width() const
{
	winsize size;
	if (ioctl(fileno(fStream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
		return size.ws_col;
	return kDefaultWidth;
}
