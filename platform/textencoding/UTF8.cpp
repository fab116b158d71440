#include "UTF8.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

// iconv names of the encodings, indexed by the conversion constants.
// Shift-JIS is CP932: real-world Japanese text uses its vendor extensions
// (circled digits, NEC and IBM rows) that strict SHIFT_JIS rejects.
const char* const kIconvNames[] = {
	"ISO-8859-1", "ISO-8859-2", "ISO-8859-3", "ISO-8859-4", "ISO-8859-5",
	"ISO-8859-6", "ISO-8859-7", "ISO-8859-8", "ISO-8859-9", "ISO-8859-10",
	"MACINTOSH", "CP932", "EUC-JP", "ISO-2022-JP", "CP1252", "UCS-2BE",
	"KOI8-R", "CP1251", "CP866", "CP437", "EUC-KR", "ISO-8859-13",
	"ISO-8859-14", "ISO-8859-15", "BIG5", "GBK", "UTF-16", "CP1250"
};

// Shift states of ISO-2022-JP as kept in *state between calls, with the escape
// sequence that selects each.
struct JisShift {
	int32 state;
	const char* escape;
};

const JisShift kJisShifts[] = {
	{0, "\x1b(B"},
	{1, "\x1b$B"},
	{2, "\x1b$@"},
	{3, "\x1b(J"}
};


class IconvHandle {
public:
	explicit IconvHandle(const char* from)
		: fHandle(iconv_open("UTF-8", from)) {}
	~IconvHandle()
	{
		if (IsValid())
			iconv_close(fHandle);
	}
	IconvHandle(const IconvHandle&) = delete;
	IconvHandle& operator=(const IconvHandle&) = delete;

	bool IsValid() const { return fHandle != reinterpret_cast<iconv_t>(-1); }
	iconv_t Get() const { return fHandle; }

private:
	iconv_t fHandle;
};


// Puts a fresh converter into the shift state a previous call ended in.
void
restore_jis_state(iconv_t handle, int32 state)
{
	for (const JisShift& shift : kJisShifts) {
		if (shift.state != state || state == 0)
			continue;
		char* in = const_cast<char*>(shift.escape);
		size_t inLeft = strlen(shift.escape);
		char scratch[8];
		char* out = scratch;
		size_t outLeft = sizeof(scratch);
		iconv(handle, &in, &inLeft, &out, &outLeft);
	}
}


// The shift state after the consumed bytes: the last escape sequence wins.
int32
scan_jis_state(const char* src, int32 length, int32 state)
{
	for (int32 i = 0; i < length; i++) {
		if (src[i] != '\x1b')
			continue;
		for (const JisShift& shift : kJisShifts) {
			size_t escapeLength = strlen(shift.escape);
			if (static_cast<size_t>(length - i) >= escapeLength
				&& memcmp(src + i, shift.escape, escapeLength) == 0) {
				state = shift.state;
			}
		}
	}
	return state;
}

}


status_t
convert_to_utf8(uint32 srcEncoding, const char* src, int32* srcLen, char* dst,
	int32* dstLen, int32* state, char substitute)
{
	if (src == nullptr || srcLen == nullptr || dst == nullptr
		|| dstLen == nullptr || *srcLen < 0 || *dstLen < 0) {
		return B_BAD_VALUE;
	}
	if (srcEncoding >= sizeof(kIconvNames) / sizeof(kIconvNames[0]))
		return B_ERROR;

	IconvHandle converter(kIconvNames[srcEncoding]);
	if (!converter.IsValid())
		return B_ERROR;

	const bool stateful = srcEncoding == B_JIS_CONVERSION && state != nullptr;
	if (stateful)
		restore_jis_state(converter.Get(), *state);

	char* in = const_cast<char*>(src);
	size_t inLeft = static_cast<size_t>(*srcLen);
	char* out = dst;
	size_t outLeft = static_cast<size_t>(*dstLen);

	while (inLeft > 0) {
		if (iconv(converter.Get(), &in, &inLeft, &out, &outLeft)
				!= static_cast<size_t>(-1)) {
			break;
		}
		// iconv knows no substitute character: emit ours and step over one
		// byte, so one bad byte never costs the rest of the text.
		if (errno != EILSEQ || outLeft == 0)
			break;
		*out++ = substitute;
		outLeft--;
		in++;
		inLeft--;
	}

	const int32 consumed = static_cast<int32>(in - src);
	if (stateful)
		*state = scan_jis_state(src, consumed, *state);
	*srcLen = consumed;
	*dstLen = static_cast<int32>(out - dst);
	return B_OK;
}
