#ifndef _ALSA_SEQUENCER_H
#define _ALSA_SEQUENCER_H

#include <SupportDefs.h>

class BString;

namespace BPrivate {

// Makes the MIDI roster a client of the ALSA sequencer, "Vantu MIDI": the
// registered local producers become ports other programs can subscribe to,
// and the other clients' writable ports appear as remote consumers. Calling
// it again while attached does nothing. Without a sequencer (no
// /dev/snd/seq) it returns an error, fills `failure` (when given) with a
// line fit to show the user once, and the roster goes on in-process only.
status_t attach_alsa_sequencer(BString* failure = NULL);

// Withdraws the sequencer's endpoints from the roster and closes the client.
// Also happens at exit.
void detach_alsa_sequencer();

}

#endif
