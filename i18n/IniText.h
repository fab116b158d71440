#ifndef INI_TEXT_H
#define INI_TEXT_H

#include <string>
#include <string_view>

// How a text handed to an INI section is kept.
enum class TIniKeeping {
	// Copied: texts written through the API.
	kCopy,
	// Referred to: texts of the loaded file, which stay in the file object's
	// buffer, each followed by a NUL byte, until the file is unset.
	kRefer
};


// One text of an INI line (a key or a value), always followed by a NUL byte.
// A loaded file's texts refer to its buffer, so loading costs no allocation
// per text; a text written later owns its bytes, so writing a key over and
// over keeps one copy only. It neither moves nor copies: it may point into
// itself.
class TIniText {
public:
	TIniText() : fView("") {}
	TIniText(const TIniText&) = delete;
	TIniText& operator=(const TIniText&) = delete;

	std::string_view View() const { return fView; }
	const char* CString() const { return fView.data(); }

	void Set(std::string_view text, TIniKeeping keeping)
	{
		if (keeping == TIniKeeping::kRefer) {
			fOwned.clear();
			fView = text;
			return;
		}
		fOwned.assign(text.data(), text.size());
		fView = fOwned;
	}

	// Frees what the text owns.
	void Release()
	{
		std::string().swap(fOwned);
		fView = "";
	}

private:
	std::string_view fView;
	std::string fOwned;
};

#endif
