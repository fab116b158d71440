#ifndef _CONTROL_QT_H
#define _CONTROL_QT_H

// The Qt side shared by the controls shown with native widgets. Only
// sources of platform/interface include it.

#include <functional>

#include <QAbstractButton>

class BView;

namespace BPrivate {

// Runs `action` as a handler of the view's window would: with the window
// locked (Qt signals arrive outside any dispatch). Nothing runs when the
// view is in no window or the window is gone.
void run_locked(BView* view, const std::function<void()>& action);

// Gives the view's native widget the view's font, so native controls and
// text drawn through the Be API match.
void adopt_view_font(BView* view);

// Sets a native button's state or text from code without emitting anything.
void set_checked_quietly(QAbstractButton* button, bool checked);

// The preferred size of a view's native widget, in Be terms (one less than
// the pixel size).
void native_preferred_size(const BView* view, float* width, float* height);

}

#endif
