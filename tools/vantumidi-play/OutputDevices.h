#ifndef OUTPUT_DEVICES_H
#define OUTPUT_DEVICES_H

#include <cstdio>
#include <string>

class BMidiConsumer;

// The word that leaves a port without a device ("-b none").
extern const char* const kNoDevice;

// True when a -a/-b argument names the built-in soft synth: its roster name
// or "synth", in any case. The synth is created only when a port needs it.
bool names_soft_synth(const std::string& spec);

// The device a -a/-b argument names among the roster's devices (the remote
// consumers and the registered local ones): a roster id, or a name, exact
// first, then in any case. NULL when there is none.
BMidiConsumer* find_output_device(const std::string& spec);

// The -l listing: one line per device, "ID  NAME", the soft synth first.
void list_output_devices(FILE* stream);

#endif
