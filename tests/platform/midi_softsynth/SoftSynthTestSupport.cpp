#include "SoftSynthTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SoundFontLocator.h"


TempFolder::TempFolder()
{
	std::string pattern
		= (std::filesystem::temp_directory_path() / "softsynth-XXXXXX").string();
	if (mkdtemp(pattern.data()) != NULL)
		fPath = pattern;
	EXPECT_FALSE(fPath.empty());
}


TempFolder::~TempFolder()
{
	std::error_code ignored;
	if (!fPath.empty()) {
		std::filesystem::permissions(fPath, std::filesystem::perms::owner_all,
			ignored);
		std::filesystem::remove_all(fPath, ignored);
	}
}


namespace {

uint32
little_endian(const std::vector<uint8>& bytes, size_t offset, int size)
{
	uint32 value = 0;
	for (int i = size - 1; i >= 0; i--)
		value = value << 8 | bytes[offset + i];
	return value;
}


bool
has_tag(const std::vector<uint8>& bytes, size_t offset, const char* tag)
{
	return std::equal(tag, tag + 4, bytes.begin() + offset);
}

}	// namespace


bool
read_wav(const std::string& path, WavContents* contents)
{
	std::ifstream file(path, std::ios::binary);
	std::vector<uint8> bytes((std::istreambuf_iterator<char>(file)),
		std::istreambuf_iterator<char>());
	contents->fileSize = bytes.size();
	if (bytes.size() < 44 || !has_tag(bytes, 0, "RIFF")
		|| !has_tag(bytes, 8, "WAVE") || !has_tag(bytes, 12, "fmt ")
		|| little_endian(bytes, 16, 4) != 16 || !has_tag(bytes, 36, "data")) {
		ADD_FAILURE() << path << " is not a canonical WAV file";
		return false;
	}
	contents->riffSize = little_endian(bytes, 4, 4);
	contents->format = little_endian(bytes, 20, 2);
	contents->channels = little_endian(bytes, 22, 2);
	contents->frameRate = little_endian(bytes, 24, 4);
	contents->byteRate = little_endian(bytes, 28, 4);
	contents->blockAlign = little_endian(bytes, 32, 2);
	contents->bitsPerSample = little_endian(bytes, 34, 2);
	contents->dataSize = little_endian(bytes, 40, 4);

	size_t available = std::min<size_t>(contents->dataSize, bytes.size() - 44);
	contents->samples.resize(available / 2);
	for (size_t i = 0; i < contents->samples.size(); i++)
		contents->samples[i] = int16(little_endian(bytes, 44 + 2 * i, 2));
	return true;
}


double
WavContents::Peak(double from, double to) const
{
	size_t first = std::min(CountFrames(), size_t(std::max(0.0, from) * frameRate));
	size_t last = std::min(CountFrames(), size_t(std::max(0.0, to) * frameRate));
	int peak = 0;
	for (size_t i = first * channels; i < last * channels; i++)
		peak = std::max(peak, std::abs(int(samples[i])));
	return peak / 32768.0;
}


std::vector<double>
WavContents::WindowLevels(double windowSeconds) const
{
	// Window k covers [k, k + 1) × windowSeconds to the frame, so that its
	// index times windowSeconds is its time even when a window is not a whole
	// number of frames.
	std::vector<double> levels;
	for (size_t k = 0;; k++) {
		size_t start = std::lround(k * windowSeconds * frameRate);
		size_t end = std::lround((k + 1) * windowSeconds * frameRate);
		if (end > CountFrames() || end <= start)
			break;
		double sum = 0;
		for (size_t i = start * channels; i < end * channels; i++) {
			double value = samples[i] / 32768.0;
			sum += value * value;
		}
		levels.push_back(std::sqrt(sum / ((end - start) * channels)));
	}
	return levels;
}


std::vector<double>
find_onsets(const std::vector<double>& levels, double windowSeconds,
	double threshold, double quiet, int quietWindows)
{
	std::vector<double> onsets;
	int quietRun = quietWindows;
	bool armed = true;
	for (size_t i = 0; i < levels.size(); i++) {
		if (armed && levels[i] > threshold) {
			onsets.push_back(i * windowSeconds);
			armed = false;
		}
		quietRun = levels[i] < quiet ? quietRun + 1 : 0;
		if (quietRun >= quietWindows)
			armed = true;
	}
	return onsets;
}


std::string
installed_sound_font()
{
	std::string path;
	BString reason;
	if (BPrivate::find_sound_font(NULL, BPrivate::sound_font_folders(), &path,
			&reason) != B_OK) {
		return std::string();
	}
	return path;
}
