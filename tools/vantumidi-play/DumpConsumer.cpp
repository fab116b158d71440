#include "DumpConsumer.h"

#include "DumpWriter.h"


TDumpConsumer::TDumpConsumer(char port, TDumpWriter* writer)
	:
	BMidiLocalConsumer(port == 'A' ? "dump A" : "dump B"),
	fPort(port),
	fWriter(writer)
{
}


void
TDumpConsumer::Data(uchar* data, size_t length, bool, bigtime_t)
{
	fWriter->Write(fPort, data, length);
}
