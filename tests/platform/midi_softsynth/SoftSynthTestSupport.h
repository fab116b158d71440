#ifndef SOFT_SYNTH_TEST_SUPPORT_H
#define SOFT_SYNTH_TEST_SUPPORT_H

#include <memory>
#include <string>
#include <vector>

#include <SoftSynth.h>
#include <SupportDefs.h>

// Owns one reference to the synth and drops it with Release().
struct SynthReleaser {
	void operator()(BSoftSynth* synth) const { synth->Release(); }
};

typedef std::unique_ptr<BSoftSynth, SynthReleaser> SynthRef;


// A folder made with mkdtemp, removed with its contents at the end.
class TempFolder {
public:
	TempFolder();
	~TempFolder();

	const std::string& Path() const { return fPath; }
	std::string File(const char* name) const { return fPath + "/" + name; }

private:
	std::string fPath;
};


// A WAV file as read back, header fields as found.
struct WavContents {
	size_t fileSize = 0;
	uint32 riffSize = 0;
	uint16 format = 0;
	uint16 channels = 0;
	uint32 frameRate = 0;
	uint32 byteRate = 0;
	uint16 blockAlign = 0;
	uint16 bitsPerSample = 0;
	uint32 dataSize = 0;
	std::vector<int16> samples;

	size_t CountFrames() const { return channels ? samples.size() / channels : 0; }
	double Seconds() const { return double(CountFrames()) / frameRate; }
	// The loudest sample (0..1) of both channels in [from, to) seconds.
	double Peak(double from, double to) const;
	// Root mean square over both channels of each window, 0..1.
	std::vector<double> WindowLevels(double windowSeconds) const;
};

// False (with a test failure) unless `path` is a canonical RIFF WAV file.
bool read_wav(const std::string& path, WavContents* contents);

// Start times (seconds) of the sounds in `levels`: the first window above
// `threshold` after a run of at least `quietWindows` windows below `quiet`
// (the faint first moments of an attack in between do not count).
std::vector<double> find_onsets(const std::vector<double>& levels,
	double windowSeconds, double threshold, double quiet, int quietWindows);

// The sound font the system offers, empty when none is installed.
std::string installed_sound_font();

#endif
