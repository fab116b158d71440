#ifndef _CONTROL_H
#define _CONTROL_H

#include <string>

#include <Invoker.h>
#include <View.h>

enum {
	B_CONTROL_OFF = 0,
	B_CONTROL_ON = 1
};

// A view with a label and a value that sends its message when the user
// changes it. Setting the value, label or enabled state from code sends
// nothing; only user action and Invoke() send the message, which then
// carries "when", "source" and "be:value".
class BControl : public BView, public BInvoker {
public:
	BControl(BRect frame, const char* name, const char* label,
		BMessage* message, uint32 resizingMode, uint32 flags);
	// From an archive: "_label", "_msg", "_val", "_disable".
	BControl(BMessage* archive);
	virtual ~BControl();

	static BArchivable* Instantiate(BMessage* archive);
	virtual status_t Archive(BMessage* archive, bool deep = true) const;

	virtual void AttachedToWindow();

	virtual void SetLabel(const char* label);
	const char* Label() const;
	virtual void SetValue(int32 value);
	int32 Value() const;
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const;

	virtual status_t Invoke(BMessage* message = NULL);

protected:
	bool IsTracking() const;
	void SetTracking(bool tracking);
	// Changes the value without redrawing.
	void SetValueNoUpdate(int32 value);

private:
	std::string fLabel;
	int32 fValue;
	bool fEnabled;
	bool fTracking;
};

#endif
