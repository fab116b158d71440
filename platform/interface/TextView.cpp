#include <TextView.h>

#include <algorithm>
#include <climits>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>

#include <ControlQt.h>
#include <ScrollBar.h>
#include <ScrollView.h>
#include <ViewQt.h>

namespace {

QLineEdit*
line_of(const BTextView* view)
{
	return qobject_cast<QLineEdit*>(BPrivate::native_widget(view));
}


QPlainTextEdit*
editor_of(const BTextView* view)
{
	return qobject_cast<QPlainTextEdit*>(BPrivate::native_widget(view));
}


Qt::Alignment
qt_alignment(alignment flag)
{
	return flag == B_ALIGN_RIGHT ? Qt::AlignRight
		: flag == B_ALIGN_CENTER ? Qt::AlignHCenter : Qt::AlignLeft;
}

}


BTextView::BTextView(BRect frame, const char* name, BRect textRect,
	uint32 resizingMode, uint32 flags)
	:
	BView(frame, name, resizingMode, flags),
	fTextRect(textRect),
	fMaxBytes(INT32_MAX),
	fAlignment(B_ALIGN_LEFT),
	fSelectable(true)
{
	_Init(false);
}


BTextView::BTextView(BRect frame, const char* name, uint32 resizingMode,
	uint32 flags, SingleLine)
	:
	BView(frame, name, resizingMode, flags),
	fTextRect(Bounds()),
	fMaxBytes(INT32_MAX),
	fAlignment(B_ALIGN_LEFT),
	fSelectable(true)
{
	_Init(true);
}


BTextView::~BTextView()
{
}


void
BTextView::AttachedToWindow()
{
	BView::AttachedToWindow();
	_FixupScrollBars();
}


void
BTextView::FrameResized(float width, float height)
{
	BView::FrameResized(width, height);
	_FixupScrollBars();
}


void
BTextView::ScrollTo(BPoint where)
{
	BPrivate::run_on_gui_thread([&] {
		// The native editor scrolls its own text; the view itself stays put.
		if (QPlainTextEdit* editor = editor_of(this)) {
			const QSignalBlocker vertical(editor->verticalScrollBar());
			const QSignalBlocker horizontal(editor->horizontalScrollBar());
			editor->verticalScrollBar()->setValue(int(where.y));
			editor->horizontalScrollBar()->setValue(int(where.x));
		}
	});
}


void
BTextView::MakeFocus(bool focus)
{
	BView::MakeFocus(focus);
	if (focus) {
		QWidget* native = BPrivate::native_widget(this);
		BPrivate::run_on_gui_thread([native] { native->setFocus(Qt::OtherFocusReason); });
	}
}


void
BTextView::SetText(const char* text)
{
	BPrivate::run_on_gui_thread([&] {
		const QString value = QString::fromUtf8(text != NULL ? text : "");
		if (QLineEdit* line = line_of(this)) {
			const QSignalBlocker blocker(line);
			line->setText(value);
		} else {
			QPlainTextEdit* editor = editor_of(this);
			const QSignalBlocker blocker(editor);
			editor->setPlainText(value);
			_FixupScrollBars();
		}
	});
}


const char*
BTextView::Text() const
{
	return BPrivate::run_on_gui_thread([&] {
		const QString value = line_of(this) != NULL ? line_of(this)->text()
			: editor_of(this)->toPlainText();
		fText = value.toStdString();
		return fText.c_str();
	});
}


int32
BTextView::TextLength() const
{
	return int32(strlen(Text()));
}


void
BTextView::Insert(const char* text)
{
	BPrivate::run_on_gui_thread([&] {
		const QString value = QString::fromUtf8(text != NULL ? text : "");
		if (QLineEdit* line = line_of(this)) {
			const QSignalBlocker blocker(line);
			line->insert(value);
		} else {
			QPlainTextEdit* editor = editor_of(this);
			const QSignalBlocker blocker(editor);
			editor->insertPlainText(value);
			_FixupScrollBars();
		}
	});
}


void
BTextView::Delete(int32 startOffset, int32 endOffset)
{
	const QString value = QString::fromUtf8(Text());
	// Offsets count bytes of UTF-8, as everywhere in the Be API.
	const QByteArray bytes = value.toUtf8();
	startOffset = std::clamp<int32>(startOffset, 0, bytes.size());
	endOffset = std::clamp<int32>(endOffset, startOffset, bytes.size());
	QByteArray rest = bytes.left(startOffset) + bytes.mid(endOffset);
	SetText(rest.constData());
}


void
BTextView::Select(int32 startOffset, int32 endOffset)
{
	BPrivate::run_on_gui_thread([&] {
		const QByteArray bytes = QString::fromUtf8(Text()).toUtf8();
		const int start = QString::fromUtf8(bytes.left(std::max(0, startOffset))).size();
		const int end = QString::fromUtf8(bytes.left(std::max(startOffset, endOffset))).size();
		if (QLineEdit* line = line_of(this)) {
			line->setSelection(start, end - start);
		} else {
			QPlainTextEdit* editor = editor_of(this);
			QTextCursor cursor = editor->textCursor();
			cursor.setPosition(start);
			cursor.setPosition(end, QTextCursor::KeepAnchor);
			editor->setTextCursor(cursor);
		}
	});
}


void
BTextView::SelectAll()
{
	BPrivate::run_on_gui_thread([&] {
		if (QLineEdit* line = line_of(this))
			line->selectAll();
		else
			editor_of(this)->selectAll();
	});
}


void
BTextView::GetSelection(int32* start, int32* end) const
{
	BPrivate::run_on_gui_thread([&] {
		int first = 0;
		int last = 0;
		QString value;
		if (QLineEdit* line = line_of(this)) {
			value = line->text();
			first = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
			last = first + int(line->selectedText().size());
		} else {
			const QTextCursor cursor = editor_of(this)->textCursor();
			value = editor_of(this)->toPlainText();
			first = cursor.selectionStart();
			last = cursor.selectionEnd();
		}
		if (start != NULL)
			*start = int32(value.left(first).toUtf8().size());
		if (end != NULL)
			*end = int32(value.left(last).toUtf8().size());
	});
}


void
BTextView::MakeEditable(bool editable)
{
	BPrivate::run_on_gui_thread([&] {
		if (QLineEdit* line = line_of(this))
			line->setReadOnly(!editable);
		else
			editor_of(this)->setReadOnly(!editable);
	});
}


bool
BTextView::IsEditable() const
{
	return BPrivate::run_on_gui_thread([&] {
		return line_of(this) != NULL ? !line_of(this)->isReadOnly()
			: !editor_of(this)->isReadOnly();
	});
}


void
BTextView::MakeSelectable(bool selectable)
{
	BPrivate::run_on_gui_thread([&] {
		fSelectable = selectable;
		if (QPlainTextEdit* editor = editor_of(this)) {
			editor->setTextInteractionFlags(selectable
				? editor->textInteractionFlags() | Qt::TextSelectableByMouse
				: editor->textInteractionFlags() & ~Qt::TextSelectableByMouse);
		}
	});
}


bool
BTextView::IsSelectable() const
{
	return fSelectable;
}


void
BTextView::SetWordWrap(bool wrap)
{
	BPrivate::run_on_gui_thread([&] {
		if (QPlainTextEdit* editor = editor_of(this))
			editor->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
	});
}


bool
BTextView::DoesWordWrap() const
{
	return BPrivate::run_on_gui_thread([&] {
		QPlainTextEdit* editor = editor_of(this);
		return editor != NULL && editor->lineWrapMode() != QPlainTextEdit::NoWrap;
	});
}


void
BTextView::SetAlignment(alignment flag)
{
	BPrivate::run_on_gui_thread([&] {
		fAlignment = flag;
		if (QLineEdit* line = line_of(this)) {
			line->setAlignment(qt_alignment(flag) | Qt::AlignVCenter);
		} else {
			QTextOption option = editor_of(this)->document()->defaultTextOption();
			option.setAlignment(qt_alignment(flag));
			editor_of(this)->document()->setDefaultTextOption(option);
		}
	});
}


alignment
BTextView::Alignment() const
{
	return fAlignment;
}


void
BTextView::SetTextRect(BRect rect)
{
	fTextRect = rect;
}


BRect
BTextView::TextRect() const
{
	return fTextRect;
}


void
BTextView::SetMaxBytes(int32 max)
{
	BPrivate::run_on_gui_thread([&] {
		fMaxBytes = std::max<int32>(max, 0);
		if (QLineEdit* line = line_of(this))
			line->setMaxLength(std::min<int32>(fMaxBytes, 32767));
	});
}


int32
BTextView::MaxBytes() const
{
	return fMaxBytes;
}


void
BTextView::DisallowChar(uint32 character)
{
	if (character < 0x80 && fDisallowed.find(char(character)) == std::string::npos)
		fDisallowed += char(character);
}


void
BTextView::AllowChar(uint32 character)
{
	fDisallowed.erase(std::remove(fDisallowed.begin(), fDisallowed.end(), char(character)),
		fDisallowed.end());
}


void
BTextView::_Init(bool singleLine)
{
	BPrivate::run_on_gui_thread([&] {
		BPrivate::ensure_interface_kit();
		if (singleLine) {
			QLineEdit* line = new QLineEdit;
			BPrivate::set_native_widget(this, line);
			BPrivate::adopt_view_font(this);
			QObject::connect(line, &QLineEdit::textEdited, line, [this, line](const QString& text) {
				QString kept = text;
				for (char c : fDisallowed)
					kept.remove(QChar(c));
				if (kept != text) {
					const QSignalBlocker blocker(line);
					line->setText(kept);
				}
			});
			return;
		}
		QPlainTextEdit* editor = new QPlainTextEdit;
		// The Be scroll view around the text view provides the scroll bars.
		editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
		editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
		editor->setFrameShape(QFrame::NoFrame);
		BPrivate::set_native_widget(this, editor);
		BPrivate::adopt_view_font(this);
		// The Be scroll bars are views of the window: they change under its lock.
		QObject::connect(editor->verticalScrollBar(), &QScrollBar::rangeChanged, editor,
			[this]() { BPrivate::run_locked(this, [this]() { _FixupScrollBars(); }); });
		QObject::connect(editor->verticalScrollBar(), &QScrollBar::valueChanged, editor,
			[this](int value) {
				BPrivate::run_locked(this, [this, value]() {
					if (const BScrollView* scroll = dynamic_cast<const BScrollView*>(Parent())) {
						if (BScrollBar* bar = scroll->ScrollBar(B_VERTICAL))
							bar->SetValue(value);
					}
				});
			});
	});
}


void
BTextView::_FixupScrollBars()
{
	BPrivate::run_on_gui_thread([&] {
		QPlainTextEdit* editor = editor_of(this);
		const BScrollView* scroll = dynamic_cast<const BScrollView*>(Parent());
		if (editor == NULL || scroll == NULL)
			return;
		const QScrollBar* native = editor->verticalScrollBar();
		if (BScrollBar* bar = scroll->ScrollBar(B_VERTICAL)) {
			bar->SetRange(native->minimum(), native->maximum());
			bar->SetSteps(native->singleStep(), native->pageStep());
		}
		const QScrollBar* nativeH = editor->horizontalScrollBar();
		if (BScrollBar* bar = scroll->ScrollBar(B_HORIZONTAL)) {
			bar->SetRange(nativeH->minimum(), nativeH->maximum());
			bar->SetSteps(nativeH->singleStep(), nativeH->pageStep());
		}
	});
}
