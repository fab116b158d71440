#ifndef _MODIFIERS_SOURCE_H
#define _MODIFIERS_SOURCE_H

#include <SupportDefs.h>

namespace BPrivate {

// Who answers modifiers(). The interface layer installs its keyboard query;
// tests install a fake. Null restores the answer 0 (no keys known to be held).
typedef uint32 (*modifiers_source)();

void set_modifiers_source(modifiers_source source);

}

#endif
