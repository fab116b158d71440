#include <ScrollBar.h>

#include <algorithm>
#include <cmath>

#include <QScrollBar>
#include <QSignalBlocker>

#include <ControlQt.h>
#include <ViewQt.h>

namespace {

QScrollBar*
bar_of(const BScrollBar* bar)
{
	return static_cast<QScrollBar*>(BPrivate::native_widget(bar));
}

}


BScrollBar::BScrollBar(BRect frame, const char* name, BView* target,
	float min, float max, orientation direction)
	:
	BView(frame, name, direction == B_VERTICAL
		? B_FOLLOW_RIGHT | B_FOLLOW_TOP_BOTTOM : B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM,
		B_WILL_DRAW | B_FRAME_EVENTS),
	fTarget(target),
	fValue(0),
	fMin(min),
	fMax(std::max(min, max)),
	fProportion(0),
	fSmallStep(1),
	fLargeStep(10),
	fOrientation(direction)
{
	BPrivate::ensure_interface_kit();
	BPrivate::run_on_gui_thread([this, direction] {
		QScrollBar* bar = new QScrollBar(direction == B_VERTICAL ? Qt::Vertical : Qt::Horizontal);
		bar->setRange(int(fMin), int(fMax));
		bar->setSingleStep(int(fSmallStep));
		bar->setPageStep(int(fLargeStep));
		BPrivate::set_native_widget(this, bar);
		QObject::connect(bar, &QScrollBar::valueChanged, bar, [this](int value) {
			BPrivate::run_locked(this, [this, value]() { SetValue(value); });
		});
	});
}


BScrollBar::~BScrollBar()
{
}


void
BScrollBar::SetValue(float value)
{
	value = std::clamp(std::round(value), fMin, fMax);
	if (value == fValue)
		return;
	fValue = value;
	QScrollBar* bar = bar_of(this);
	BPrivate::run_on_gui_thread([bar, value] {
		const QSignalBlocker blocker(bar);
		bar->setValue(int(value));
	});
	ValueChanged(value);
}


float
BScrollBar::Value() const
{
	return fValue;
}


void
BScrollBar::ValueChanged(float newValue)
{
	if (fTarget == NULL)
		return;
	const BRect bounds = fTarget->Bounds();
	if (fOrientation == B_VERTICAL)
		fTarget->ScrollTo(BPoint(bounds.left, newValue));
	else
		fTarget->ScrollTo(BPoint(newValue, bounds.top));
}


void
BScrollBar::SetProportion(float ratio)
{
	fProportion = std::clamp(ratio, 0.0f, 1.0f);
}


float
BScrollBar::Proportion() const
{
	return fProportion;
}


void
BScrollBar::SetRange(float min, float max)
{
	fMin = min;
	fMax = std::max(min, max);
	QScrollBar* bar = bar_of(this);
	const int low = int(fMin);
	const int high = int(std::ceil(fMax));
	BPrivate::run_on_gui_thread([bar, low, high] {
		const QSignalBlocker blocker(bar);
		bar->setRange(low, high);
	});
	// A value outside the new range scrolls the target back into it.
	SetValue(fValue);
}


void
BScrollBar::GetRange(float* min, float* max) const
{
	if (min != NULL)
		*min = fMin;
	if (max != NULL)
		*max = fMax;
}


void
BScrollBar::SetSteps(float smallStep, float largeStep)
{
	fSmallStep = smallStep;
	fLargeStep = largeStep;
	QScrollBar* bar = bar_of(this);
	BPrivate::run_on_gui_thread([bar, smallStep, largeStep] {
		bar->setSingleStep(std::max(1, int(smallStep)));
		bar->setPageStep(std::max(1, int(largeStep)));
	});
}


void
BScrollBar::GetSteps(float* smallStep, float* largeStep) const
{
	if (smallStep != NULL)
		*smallStep = fSmallStep;
	if (largeStep != NULL)
		*largeStep = fLargeStep;
}


void
BScrollBar::SetTarget(BView* target)
{
	fTarget = target;
}


BView*
BScrollBar::Target() const
{
	return fTarget;
}


orientation
BScrollBar::Orientation() const
{
	return fOrientation;
}
