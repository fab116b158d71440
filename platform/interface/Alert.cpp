#include <Alert.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QThread>

#include <Button.h>
#include <Invoker.h>
#include <Message.h>
#include <MessageFilter.h>
#include <Screen.h>
#include <TextView.h>
#include <View.h>
#include <ViewQt.h>

namespace {

const uint32 kButtonPressed = '_ALB';
const float kMargin = 10.0f;
const float kStripeWidth = 48.0f;
const float kIconSize = 32.0f;
const float kTextWidth = 300.0f;
const float kMinButtonWidth = 75.0f;
const rgb_color kStripeColor = make_color(200, 200, 200);


// The waiting side of Go(): the alert may be gone when the wait ends.
struct Outcome {
	std::mutex lock;
	std::condition_variable done;
	bool chosen = false;
	int32 index = -1;
	QEventLoop* loop = NULL;
};


QStyle::StandardPixmap
icon_for(alert_type type)
{
	switch (type) {
		case B_WARNING_ALERT:
			return QStyle::SP_MessageBoxWarning;
		case B_STOP_ALERT:
			return QStyle::SP_MessageBoxCritical;
		case B_IDEA_ALERT:
		case B_INFO_ALERT:
		default:
			return QStyle::SP_MessageBoxInformation;
	}
}


// The grey band on the left with the type's icon.
class IconView : public BView {
public:
	IconView(BRect frame, alert_type type)
		:
		BView(frame, "_icon_", B_FOLLOW_LEFT | B_FOLLOW_TOP_BOTTOM, B_WILL_DRAW),
		fType(type)
	{
		SetViewColor(kStripeColor);
	}

	virtual void Draw(BRect)
	{
		QPainter* painter = BPrivate::view_painter(this);
		if (painter == NULL)
			return;
		const QPixmap icon = QApplication::style()->standardIcon(icon_for(fType))
			.pixmap(int(kIconSize), int(kIconSize));
		painter->drawPixmap(int(Bounds().right - kIconSize - 2), int(kMargin), icon);
	}

private:
	alert_type fType;
};


// Presses the button whose shortcut a key is, and the default button for
// Enter, before any view sees the key.
class KeyFilter : public BMessageFilter {
public:
	KeyFilter(BAlert* alert)
		:
		BMessageFilter(B_KEY_DOWN),
		fAlert(alert)
	{
	}

	virtual filter_result Filter(BMessage* message, BHandler**)
	{
		// The key as pressed: with Alt (the dialogs' accelerator modifier)
		// "bytes" holds a control character, "raw_char" still the letter.
		int32 key = 0;
		const char* bytes = NULL;
		if (message->FindInt32("raw_char", &key) != B_OK) {
			if (message->FindString("bytes", &bytes) != B_OK || bytes == NULL
					|| bytes[0] == '\0') {
				return B_DISPATCH_MESSAGE;
			}
			key = (unsigned char)bytes[0];
		}
		int32 modifiers = 0;
		message->FindInt32("modifiers", &modifiers);
		if ((modifiers & B_COMMAND_KEY) != 0)
			return B_DISPATCH_MESSAGE;
		for (int32 i = 0; i < 3 && fAlert->ButtonAt(i) != NULL; i++) {
			const char shortcut = fAlert->Shortcut(i);
			if (shortcut != 0 && std::tolower((unsigned char)shortcut) == std::tolower(key)) {
				fAlert->ButtonAt(i)->Invoke();
				return B_SKIP_MESSAGE;
			}
		}
		if (key == B_ENTER) {
			int32 last = 0;
			while (last < 2 && fAlert->ButtonAt(last + 1) != NULL)
				last++;
			fAlert->ButtonAt(last)->Invoke();
			return B_SKIP_MESSAGE;
		}
		return B_DISPATCH_MESSAGE;
	}

private:
	BAlert* fAlert;
};

}


struct BAlert::Private {
	std::vector<BButton*> buttons;
	char shortcuts[3] = {0, 0, 0};
	BTextView* text = NULL;
	alert_type type = B_INFO_ALERT;
	std::shared_ptr<Outcome> outcome;
	BInvoker* invoker = NULL;

	static void Build(BAlert* alert, const char* text, const char* const labels[3],
		button_spacing spacing, alert_type type);
	static void Finish(BAlert* alert, int32 index);
};


void
BAlert::Private::Build(BAlert* alert, const char* text, const char* const labels[3],
	button_spacing spacing, alert_type type)
{
	Private& data = *alert->fData;
	data.type = type;
	BView* background = new BView(alert->Bounds(), "_background_", B_FOLLOW_ALL, B_WILL_DRAW);
	background->SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	alert->AddChild(background);

	// The text's size decides the window's.
	BFont font;
	background->GetFont(&font);
	const QFontMetrics metrics(BPrivate::to_qfont(font));
	const QRect textSize = metrics.boundingRect(QRect(0, 0, int(kTextWidth), 10000),
		Qt::TextWordWrap, QString::fromUtf8(text));
	const float left = type == B_EMPTY_ALERT ? kMargin : kStripeWidth + kMargin;
	BRect textFrame(left, kMargin, left + kTextWidth - 1,
		kMargin + std::max(textSize.height(), metrics.height()) + 3);

	std::vector<float> widths;
	float buttonHeight = 0;
	for (int32 i = 0; i < 3 && labels[i] != NULL; i++) {
		BButton* button = new BButton(BRect(0, 0, kMinButtonWidth, 20), labels[i], labels[i],
			new BMessage(kButtonPressed));
		button->Message()->AddInt32("which", i);
		float width;
		float height;
		button->GetPreferredSize(&width, &height);
		widths.push_back(std::max(width, kMinButtonWidth));
		buttonHeight = std::max(buttonHeight, height);
		data.buttons.push_back(button);
	}
	float rowWidth = 0;
	for (float width : widths)
		rowWidth += width + 1;
	rowWidth += kMargin * (widths.size() - 1);
	const float windowWidth = std::max(textFrame.right + kMargin,
		left + rowWidth + kMargin + (spacing == B_OFFSET_SPACING ? kMargin * 2 : 0));
	const float buttonTop = textFrame.bottom + kMargin;
	const float windowHeight = buttonTop + buttonHeight + kMargin;
	alert->ResizeTo(windowWidth, windowHeight);

	if (type != B_EMPTY_ALERT) {
		background->AddChild(new IconView(BRect(0, 0, kStripeWidth - 1, windowHeight), type));
	}
	data.text = new BTextView(textFrame, "_tv_", BRect(0, 0, textFrame.Width(), textFrame.Height()),
		B_FOLLOW_ALL,
		B_WILL_DRAW);
	background->AddChild(data.text);
	data.text->SetText(text);
	data.text->MakeEditable(false);
	// The text reads as part of the panel, not as an entry field.
	QWidget* editor = BPrivate::native_widget(data.text);
	QPalette palette = editor->palette();
	palette.setColor(QPalette::Base, BPrivate::to_qcolor(ui_color(B_PANEL_BACKGROUND_COLOR)));
	editor->setPalette(palette);
	editor->setFocusPolicy(Qt::NoFocus);

	// Left to right in the given order; with offset spacing the first
	// button keeps to the left edge.
	float x = windowWidth - kMargin;
	for (int32 i = int32(data.buttons.size()) - 1; i >= 0; i--) {
		const bool offset = spacing == B_OFFSET_SPACING && i == 0 && data.buttons.size() > 1;
		const float buttonLeft = offset ? left : x - widths[i];
		data.buttons[i]->MoveTo(buttonLeft, buttonTop);
		data.buttons[i]->ResizeTo(widths[i], buttonHeight);
		background->AddChild(data.buttons[i]);
		x = buttonLeft - kMargin;
	}
	data.buttons.back()->MakeDefault(true);
	data.buttons.back()->MakeFocus(true);
	alert->AddCommonFilter(new KeyFilter(alert));

	BScreen screen(alert);
	const BRect screenFrame = screen.Frame();
	alert->MoveTo(std::floor(screenFrame.left + (screenFrame.Width() - windowWidth) / 2),
		std::floor(screenFrame.top + (screenFrame.Height() - windowHeight) / 3));
}


void
BAlert::Private::Finish(BAlert* alert, int32 index)
{
	Private& data = *alert->fData;
	if (data.invoker != NULL) {
		BMessage* model = data.invoker->Message();
		if (model != NULL) {
			BMessage reply(*model);
			reply.AddInt32("which", index);
			data.invoker->Invoke(&reply);
		}
		alert->Quit();
		return;
	}
	std::shared_ptr<Outcome> outcome = data.outcome;
	if (outcome == NULL)
		return;
	alert->Hide();
	std::lock_guard<std::mutex> guard(outcome->lock);
	outcome->chosen = true;
	outcome->index = index;
	if (outcome->loop != NULL)
		outcome->loop->quit();
	outcome->done.notify_all();
}


BAlert::BAlert(const char* title, const char* text, const char* button0,
	const char* button1, const char* button2, button_width width, alert_type type)
	:
	BAlert(title, text, button0, button1, button2, width, B_EVEN_SPACING, type)
{
}


BAlert::BAlert(const char* title, const char* text, const char* button0,
	const char* button1, const char* button2, button_width, button_spacing spacing,
	alert_type type)
	:
	BWindow(BRect(100, 100, 400, 200), title, B_MODAL_WINDOW_LOOK, B_MODAL_APP_WINDOW_FEEL,
		B_NOT_CLOSABLE | B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE
			| B_ASYNCHRONOUS_CONTROLS),
	fData(new Private)
{
	const char* const labels[3] = {button0 != NULL ? button0 : "OK",
		button0 != NULL ? button1 : NULL, button0 != NULL && button1 != NULL ? button2 : NULL};
	Private::Build(this, text != NULL ? text : "", labels, spacing, type);
}


BAlert::~BAlert()
{
	delete fData->invoker;
}


void
BAlert::SetShortcut(int32 index, char key)
{
	if (index >= 0 && index < 3)
		fData->shortcuts[index] = key;
}


char
BAlert::Shortcut(int32 index) const
{
	return index >= 0 && index < 3 ? fData->shortcuts[index] : 0;
}


int32
BAlert::Go()
{
	std::shared_ptr<Outcome> outcome = std::make_shared<Outcome>();
	fData->outcome = outcome;
	BPrivate::ensure_interface_kit();
	const bool onMainThread = QThread::currentThread() == qApp->thread();
	Show();
	if (onMainThread) {
		QEventLoop loop;
		{
			std::lock_guard<std::mutex> guard(outcome->lock);
			outcome->loop = &loop;
		}
		if (!outcome->chosen)
			loop.exec(QEventLoop::DialogExec);
		outcome->loop = NULL;
	} else {
		std::unique_lock<std::mutex> guard(outcome->lock);
		outcome->done.wait(guard, [&outcome]() { return outcome->chosen; });
	}
	const int32 index = outcome->index;
	if (Lock())
		Quit();
	return index;
}


status_t
BAlert::Go(BInvoker* invoker)
{
	if (invoker == NULL) {
		Go();
		return B_OK;
	}
	fData->invoker = invoker;
	Show();
	return B_OK;
}


void
BAlert::MessageReceived(BMessage* message)
{
	int32 index;
	if (message->what == kButtonPressed && message->FindInt32("which", &index) == B_OK) {
		Private::Finish(this, index);
		return;
	}
	BWindow::MessageReceived(message);
}


BButton*
BAlert::ButtonAt(int32 index) const
{
	return index >= 0 && index < int32(fData->buttons.size()) ? fData->buttons[index] : NULL;
}


BTextView*
BAlert::TextView() const
{
	return fData->text;
}


alert_type
BAlert::Type() const
{
	return fData->type;
}
