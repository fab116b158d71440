#ifndef EXIT_STATUS_H
#define EXIT_STATUS_H

// The exit statuses of vantumidi-play, stated in its --help.
enum {
	kExitOK = 0,
	// A file did not load, the devices went away, the WAV file is incomplete.
	kExitFailure = 1,
	// Bad options, or a device the user named does not exist.
	kExitUsage = 2,
	// The soft synth cannot start: no audio output, no usable soundfont, a
	// WAV file that cannot be written.
	kExitNoOutput = 3,
	// Plus the number of the signal that ended the run.
	kExitSignalBase = 128
};

#endif
