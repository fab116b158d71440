#ifndef TIROKA_STATE_H
#define TIROKA_STATE_H

// The player's state, kept in the application's private data.
enum TTirokaState {
	TS_Stopped = 0,
	TS_Playing = 1,
	TS_Paused = 2,
	// Steps of the start sequence, each done (sent or skipped):
	TS_StartSilence = 3,
	TS_StartGM = 4,
	TS_StartGS = 5,
	TS_Start88 = 6,
	TS_StartXG = 7
};

#endif
