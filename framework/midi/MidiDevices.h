#ifndef MIDI_DEVICES_H
#define MIDI_DEVICES_H

#include <string>

class BMidiConsumer;

namespace pelkan {

// Whether a roster consumer is a device a user can play to: a valid remote
// consumer or a registered local one. The program's unregistered local
// consumers (note managers, filters) are not.
bool is_output_device(const BMidiConsumer* consumer);

// The device a user's text names: a roster id, or else a name, exact first,
// then in any case. NULL when there is none. The roster lends the consumer: the
// caller holds no reference. Any thread.
BMidiConsumer* find_output_device(const std::string& spec);

// Whether a user's text names the built-in soft synth: its roster name or
// "synth", in any case. The synth exists only once it is created, so it is
// named rather than looked up.
bool names_soft_synth(const std::string& spec);

}

#endif
