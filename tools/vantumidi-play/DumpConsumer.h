#ifndef DUMP_CONSUMER_H
#define DUMP_CONSUMER_H

#include <MidiLocalConsumer.h>

class TDumpWriter;

// The device of --dump: writes every message that reaches it, as it arrived
// on the wire, labelled with the port it stands behind.
class TDumpConsumer : public BMidiLocalConsumer {
public:
	TDumpConsumer(char port, TDumpWriter* writer);

	void Data(uchar* data, size_t length, bool atomic,
		bigtime_t time) override;

protected:
	~TDumpConsumer() override = default;

private:
	const char fPort;
	TDumpWriter* const fWriter;
};

#endif
