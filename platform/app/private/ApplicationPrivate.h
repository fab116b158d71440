#ifndef _APPLICATION_PRIVATE_H
#define _APPLICATION_PRIVATE_H

class BLooper;
class BWindow;

namespace BPrivate {

// The interface layer registers each window for as long as it exists, so
// that the application can count, find and ask its windows. The looper is
// the window itself, as the base class this layer knows.
void register_window(BWindow* window, BLooper* looper);
void unregister_window(BWindow* window);

}

#endif
