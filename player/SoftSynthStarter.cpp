#include "SoftSynthStarter.h"

#include <system_error>

#include <Message.h>
#include <MidiLocalConsumer.h>


TSoftSynthStarter::TSoftSynthStarter(Maker maker, const BMessenger& target,
	uint32 done)
	:
	fMaker(std::move(maker)),
	fSynth(NULL)
{
	try {
		fThread = std::thread(&TSoftSynthStarter::_Make, this, target, done);
	} catch (const std::system_error&) {
		// Without a thread the synth is still wanted: made here, late.
		_Make(target, done);
	}
}


TSoftSynthStarter::~TSoftSynthStarter()
{
	_Join();
	if (fSynth != NULL)
		fSynth->Release();
}


BMidiLocalConsumer*
TSoftSynthStarter::Take(std::string* problem)
{
	_Join();
	BMidiLocalConsumer* synth = fSynth;
	fSynth = NULL;
	*problem = fProblem;
	return synth;
}


void
TSoftSynthStarter::_Make(const BMessenger& target, uint32 done)
{
	fSynth = fMaker(&fProblem);
	target.SendMessage(done);
}


void
TSoftSynthStarter::_Join()
{
	if (fThread.joinable())
		fThread.join();
}
