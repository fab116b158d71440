#ifndef _ALSA_PORT_NAME_H
#define _ALSA_PORT_NAME_H

#include <set>
#include <string>

namespace alsa_name {

// A client or port name without what changes from run to run: a trailing
// process id or address in parentheses, as some programs add ("FLUID Synth
// (12345)", "Synth input port (12345:0)"), and surrounding blanks. A name that
// is nothing but such a part is kept as it was.
std::string clean(const std::string& name);

// The roster name of another client's port: "client name:port name", both
// cleaned, without the client and port numbers, which change between runs.
std::string compose(const std::string& clientName,
	const std::string& portName);

}

// The names handed out to remote endpoints. Two devices with the same name
// (two identical keyboards) are told apart by a suffix (" 2", " 3" …) in the
// order they were claimed; a name stays with its device until released.
class AlsaNameBook {
public:
	std::string Claim(const std::string& name);
	void Release(const std::string& claimed);

private:
	std::set<std::string> fTaken;
};

#endif
