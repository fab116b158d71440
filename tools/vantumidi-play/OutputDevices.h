#ifndef OUTPUT_DEVICES_H
#define OUTPUT_DEVICES_H

#include <cstdio>

// The word that leaves a port without a device ("-b none").
extern const char* const kNoDevice;

// The -l listing: one line per device, "ID  NAME", the soft synth first.
void list_output_devices(FILE* stream);

#endif
