#include "PlayOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include <SystemResets.h>

namespace {

const char kUsage[] =
"usage: vantumidi-play [options] FILE...\n"
"\n"
"Plays Standard MIDI Files one after another through the program's output\n"
"ports \"Vantu MIDI OUT A\" and \"Vantu MIDI OUT B\".\n"
"\n"
"  -l, --list            list the output devices (id and name) and exit\n"
"  -a DEVICE             device for port A, by name or id (default: the\n"
"                        built-in soft synth)\n"
"  -b DEVICE             device for port B, by name or id (default: none)\n"
"  --wav OUT.wav         render through the soft synth into a WAV file, on\n"
"                        virtual time (much faster than real time)\n"
"  --soundfont FILE      the General MIDI soundfont for the soft synth\n"
"  --tempo PCT           tempo in percent, 30..300 (default 100)\n"
"  --key N               transposition in semitones, -12..12 (default 0);\n"
"                        channel 10 (drums) is never transposed\n"
"  --volume PCT          velocity scale in percent, 0..200 (default 100)\n"
"  --reset LIST          system resets sent before each song, any of\n"
"                        gm,gs,88,xg (always sent in that order), or none\n"
"  --reset-silence SEC   quiet after each reset (default 0.3)\n"
"  --gap SECONDS         quiet between two songs (default 0)\n"
"  --dump                play on virtual time with no device and print every\n"
"                        message leaving the ports, one per line:\n"
"                          TIME_US PORT HEX\n"
"                        TIME_US: microseconds since the file's play thread\n"
"                        started; the start sequence comes before that moment,\n"
"                        so a reset shows at minus the quiet that follows it.\n"
"                        Every file starts again from 0. PORT: A or B. HEX:\n"
"                        the bytes as on the wire, lower case, no spaces\n"
"  --real-time           with --dump: play on the real clock\n"
"  --timing              report when the first Note On reached a device\n"
"  -h, --help            show this help\n"
"\n"
"Ctrl-C silences every connected device before exiting.\n"
"Exit status: 0 every file played; 1 a file did not load, the devices went\n"
"away or the WAV file is incomplete; 2 bad usage or an unknown device; 3 the\n"
"soft synth cannot start (no audio output, no soundfont, WAV file not\n"
"writable); 128 + N ended by signal N (130: Ctrl-C).\n";

const bigtime_t kMaxResetSilence = 60000000;
const bigtime_t kMaxGap = 3600000000LL;


std::string
quoted(const std::string& text)
{
	return "'" + text + "'";
}


bool
parse_integer(const std::string& text, int32 low, int32 high, int32* value)
{
	if (text.empty())
		return false;
	errno = 0;
	char* end;
	long parsed = strtol(text.c_str(), &end, 10);
	if (errno != 0 || *end != '\0' || parsed < low || parsed > high)
		return false;
	*value = (int32)parsed;
	return true;
}


bool
parse_seconds(const std::string& text, bigtime_t high, bigtime_t* value)
{
	if (text.empty())
		return false;
	char* end;
	double seconds = strtod(text.c_str(), &end);
	if (*end != '\0' || !std::isfinite(seconds) || seconds < 0
		|| seconds * 1000000 > (double)high)
		return false;
	*value = std::llround(seconds * 1000000);
	return true;
}


bool
parse_resets(const std::string& text, int32* mask)
{
	static const struct {
		const char* name;
		const TSystemReset* reset;
	} kNames[] = {
		{"gm", &MIDI_NRT_GM_SYSTEM_ON},
		{"gs", &MIDI_NRT_GS_SYSTEM_ON},
		{"88", &MIDI_NRT_88_SYSTEM_ON},
		{"xg", &MIDI_NRT_XG_SYSTEM_ON}
	};
	if (text == "none") {
		*mask = 0;
		return true;
	}
	int32 result = 0;
	std::stringstream stream(text);
	std::string name;
	while (std::getline(stream, name, ',')) {
		bool known = false;
		for (const auto& entry : kNames) {
			if (strcasecmp(name.c_str(), entry.name) == 0) {
				result |= entry.reset->mask;
				known = true;
			}
		}
		if (!known)
			return false;
	}
	if (result == 0)
		return false;
	*mask = result;
	return true;
}


// Reads the arguments one by one; an option's value is either glued to it
// ("--tempo=150", "-aSynth") or the next argument.
class ArgumentReader {
public:
	ArgumentReader(int argc, const char* const* argv)
		:
		fCount(argc),
		fArguments(argv),
		fIndex(0)
	{
	}

	bool AtEnd() const { return fIndex >= fCount; }
	std::string Next() { return fArguments[fIndex++]; }

	bool Value(const std::string& option, const std::string& glued,
		bool hasGlued, std::string* value, std::string* error)
	{
		if (hasGlued) {
			*value = glued;
			return true;
		}
		if (AtEnd()) {
			*error = "option " + quoted(option) + " needs a value";
			return false;
		}
		*value = Next();
		return true;
	}

private:
	int fCount;
	const char* const* fArguments;
	int fIndex;
};


status_t
check_combinations(const TPlayOptions& options, std::string* error)
{
	bool hasDevice = !options.devices[0].empty()
		|| !options.devices[1].empty();
	if (options.dump && !options.wavPath.empty())
		*error = "--dump and --wav cannot be combined";
	else if (options.dump && hasDevice)
		*error = "--dump plays on no device; -a and -b cannot be used with it";
	else if (options.realTime && !options.dump)
		*error = "--real-time only applies to --dump";
	else if (options.files.empty())
		*error = "no files to play (see --help)";
	else
		return B_OK;
	return B_BAD_VALUE;
}

}	// namespace


status_t
parse_play_options(int argc, const char* const* argv, TPlayOptions* options,
	std::string* error)
{
	*options = TPlayOptions();
	ArgumentReader reader(argc, argv);
	bool optionsEnded = false;
	while (!reader.AtEnd()) {
		std::string argument = reader.Next();
		if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
			options->files.push_back(argument);
			continue;
		}
		if (argument == "--") {
			optionsEnded = true;
			continue;
		}

		std::string option = argument;
		std::string glued;
		bool hasGlued = false;
		size_t equals = argument.find('=');
		if (argument.compare(0, 2, "--") == 0 && equals != std::string::npos) {
			option = argument.substr(0, equals);
			glued = argument.substr(equals + 1);
			hasGlued = true;
		} else if (argument[1] != '-' && argument.size() > 2) {
			option = argument.substr(0, 2);
			glued = argument.substr(2);
			hasGlued = true;
		}

		auto takesNoValue = [&]() {
			if (hasGlued)
				*error = "option " + quoted(option) + " takes no value";
			return !hasGlued;
		};
		std::string value;
		auto valueOf = [&]() {
			return reader.Value(option, glued, hasGlued, &value, error);
		};
		auto badValue = [&](const char* expected) {
			*error = "bad value " + quoted(value) + " for " + option
				+ ": expected " + expected;
			return B_BAD_VALUE;
		};

		if (option == "-h" || option == "--help") {
			if (!takesNoValue())
				return B_BAD_VALUE;
			options->help = true;
			return B_OK;
		} else if (option == "-l" || option == "--list") {
			if (!takesNoValue())
				return B_BAD_VALUE;
			options->listDevices = true;
		} else if (option == "--dump") {
			if (!takesNoValue())
				return B_BAD_VALUE;
			options->dump = true;
		} else if (option == "--real-time") {
			if (!takesNoValue())
				return B_BAD_VALUE;
			options->realTime = true;
		} else if (option == "--timing") {
			if (!takesNoValue())
				return B_BAD_VALUE;
			options->timing = true;
		} else if (option == "-a" || option == "-b") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (value.empty())
				return badValue("a device name or id");
			options->devices[option == "-a" ? 0 : 1] = value;
		} else if (option == "--wav") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (value.empty())
				return badValue("a file name");
			options->wavPath = value;
		} else if (option == "--soundfont") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (value.empty())
				return badValue("a file name");
			options->soundFont = value;
		} else if (option == "--tempo") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (!parse_integer(value, 30, 300, &options->tempo))
				return badValue("a percentage from 30 to 300");
		} else if (option == "--key") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (!parse_integer(value, -12, 12, &options->key))
				return badValue("semitones from -12 to 12");
		} else if (option == "--volume") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (!parse_integer(value, 0, 200, &options->volume))
				return badValue("a percentage from 0 to 200");
		} else if (option == "--reset") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (!parse_resets(value, &options->resetMask))
				return badValue("a list of gm, gs, 88, xg, or none");
		} else if (option == "--reset-silence") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (!parse_seconds(value, kMaxResetSilence, &options->resetSilence))
				return badValue("seconds from 0 to 60");
		} else if (option == "--gap") {
			if (!valueOf())
				return B_BAD_VALUE;
			if (!parse_seconds(value, kMaxGap, &options->gap))
				return badValue("seconds from 0 to 3600");
		} else {
			*error = "unknown option " + quoted(argument) + " (see --help)";
			return B_BAD_VALUE;
		}
	}

	if (options->listDevices)
		return B_OK;
	return check_combinations(*options, error);
}


const char*
play_usage()
{
	return kUsage;
}
