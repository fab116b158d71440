#include <InterfaceDefs.h>

#include <atomic>

#include "ModifiersSource.h"

namespace {

// Constant-initialised, so modifiers() is usable from static constructors.
constinit std::atomic<BPrivate::modifiers_source> sSource{nullptr};

}

void
BPrivate::set_modifiers_source(modifiers_source source)
{
	sSource.store(source);
}

uint32
modifiers()
{
	BPrivate::modifiers_source source = sSource.load();
	return source != nullptr ? source() : 0;
}
