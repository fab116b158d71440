#ifndef SOFT_SYNTH_STARTER_H
#define SOFT_SYNTH_STARTER_H

#include <functional>
#include <string>
#include <thread>

#include <Messenger.h>

class BMidiLocalConsumer;

// Makes the built-in soft synth on a thread of its own: loading the sound
// font and opening the audio output take tens of milliseconds, which the
// window would otherwise spend blank at start-up. When the maker has
// returned, `done` is posted to the target, which then takes the synth.
//
// Made, taken and destroyed on one thread (the window's); the maker runs on
// the worker and must touch nothing of the interface.
class TSoftSynthStarter {
public:
	// The synth, registered, with one reference for the caller; NULL with
	// the reason in *problem where it cannot be had.
	typedef std::function<BMidiLocalConsumer*(std::string* problem)> Maker;

	TSoftSynthStarter(Maker maker, const BMessenger& target, uint32 done);
	// Waits for the maker; a synth nobody took is released.
	~TSoftSynthStarter();

	// Waits for the maker if it still runs, then hands over its synth, or
	// NULL and the reason. Once only.
	BMidiLocalConsumer* Take(std::string* problem);

private:
	void _Make(const BMessenger& target, uint32 done);
	void _Join();

	Maker fMaker;
	std::thread fThread;
	// Written by the worker, read only after it was joined.
	BMidiLocalConsumer* fSynth;
	std::string fProblem;
};

#endif
