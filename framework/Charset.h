#ifndef CHARSET_H
#define CHARSET_H

#include <SupportDefs.h>
#include <UTF8.h>

namespace pelkan {

// detect_charset's answer for text that is already UTF-8. Its value is the
// platform's UCS-2 converter code: never pass it to convert_to_utf8.
const uint32 kUTF8Charset = B_UNICODE_CONVERSION;

// The conversion code to use for text: B_JIS_CONVERSION when it holds an
// escape byte, B_SJIS_CONVERSION when it is not well-formed UTF-8, otherwise
// kUTF8Charset.
uint32 detect_charset(const char* text);

}

#endif
