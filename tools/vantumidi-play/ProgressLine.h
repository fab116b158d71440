#ifndef PROGRESS_LINE_H
#define PROGRESS_LINE_H

#include <cstdio>
#include <string>

#include <SupportDefs.h>

// What the progress line shows about the song playing.
struct TProgress {
	std::string title;
	int32 songNumber;
	int32 songCount;
	bigtime_t elapsed;
	// Of the song's length in ticks, 0..100.
	int32 percent;
	int32 beatsPerMinute;
	int32 tempoRate;
};

// One line on a terminal, redrawn in place: title, position and tempo. Does
// nothing when the stream is not a terminal or the line is not wanted.
class TProgressLine {
public:
	TProgressLine(FILE* stream, bool wanted);

	bool IsShown() const { return fEnabled; }
	void Show(const TProgress& progress);
	// Leaves the line empty, so other output starts at the left edge.
	void Clear();
	// Keeps the line as it stands and moves on to a new one.
	void Finish();

private:
	int32 _Width() const;

	FILE* const fStream;
	const bool fEnabled;
	bool fDrawn;
};

// The line's text for a terminal `width` columns wide.
std::string format_progress(const TProgress& progress, int32 width);

// Text as it may go to a terminal: control characters (C0, DEL, C1) become
// spaces and bytes that are not UTF-8 become '?', so no title can move the
// cursor or change the terminal's state; cut to at most `columns` columns.
std::string terminal_text(const std::string& text, int32 columns);

#endif
