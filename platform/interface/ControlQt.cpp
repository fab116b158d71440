#include <ControlQt.h>

#include <QSignalBlocker>
#include <QWidget>

#include <View.h>
#include <ViewQt.h>
#include <Window.h>

namespace BPrivate {

void
run_locked(BView* view, const std::function<void()>& action)
{
	BWindow* window = view->Window();
	if (window == NULL || !window->Lock())
		return;
	action();
	window->Unlock();
}


void
adopt_view_font(BView* view)
{
	BFont font;
	view->GetFont(&font);
	if (QWidget* native = native_widget(view))
		run_on_gui_thread([native, &font] { native->setFont(to_qfont(font)); });
}


void
set_checked_quietly(QAbstractButton* button, bool checked)
{
	run_on_gui_thread([button, checked] {
		const QSignalBlocker blocker(button);
		button->setChecked(checked);
	});
}


void
native_preferred_size(const BView* view, float* width, float* height)
{
	QWidget* native = native_widget(view);
	const QSize hint = native != NULL
		? run_on_gui_thread([native] { return native->sizeHint(); }) : QSize(1, 1);
	if (width != NULL)
		*width = hint.width() - 1;
	if (height != NULL)
		*height = hint.height() - 1;
}

}
