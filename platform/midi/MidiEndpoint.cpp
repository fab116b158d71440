#include <MidiEndpoint.h>

#include <Message.h>

#include "MidiRegistry.h"


BMidiEndpoint::BMidiEndpoint(const char* name, bool isConsumer, bool isLocal)
	:
	fName(_NameOrAnonymous(name)),
	fID(MidiRegistry::Default().NewID()),
	fIsConsumer(isConsumer),
	fIsLocal(isLocal),
	// A remote endpoint exists for the program only while its backend
	// publishes it.
	fRegistered(!isLocal),
	fValid(true),
	fRefCount(1),
	fPins(1),
	fProperties(new BMessage),
	fBackend(NULL)
{
}


BMidiEndpoint::~BMidiEndpoint()
{
	delete fProperties;
}


const char*
BMidiEndpoint::Name() const
{
	return fName.c_str();
}


void
BMidiEndpoint::SetName(const char* name)
{
	MidiRegistry::Default().Rename(this, name, NULL);
}


int32
BMidiEndpoint::ID() const
{
	return fID;
}


bool
BMidiEndpoint::IsProducer() const
{
	return !fIsConsumer;
}


bool
BMidiEndpoint::IsConsumer() const
{
	return fIsConsumer;
}


bool
BMidiEndpoint::IsRemote() const
{
	return !fIsLocal;
}


bool
BMidiEndpoint::IsLocal() const
{
	return fIsLocal;
}


bool
BMidiEndpoint::IsPersistent() const
{
	return false;
}


bool
BMidiEndpoint::IsValid() const
{
	return fValid;
}


status_t
BMidiEndpoint::Acquire()
{
	MidiRegistry::Default().Acquire(this);
	return B_OK;
}


status_t
BMidiEndpoint::Release()
{
	return MidiRegistry::Default().Release(this);
}


status_t
BMidiEndpoint::SetProperties(const BMessage* properties)
{
	return MidiRegistry::Default().SetProperties(this, properties);
}


status_t
BMidiEndpoint::GetProperties(BMessage* properties) const
{
	return MidiRegistry::Default().GetProperties(this, properties);
}


status_t
BMidiEndpoint::Register()
{
	return MidiRegistry::Default().Register(this);
}


status_t
BMidiEndpoint::Unregister()
{
	return MidiRegistry::Default().Unregister(this);
}


bool
BMidiEndpoint::IsRegistered() const
{
	return fRegistered;
}


std::string
BMidiEndpoint::_NameOrAnonymous(const char* name)
{
	return name != NULL && name[0] != '\0' ? name : "<anonymous>";
}
