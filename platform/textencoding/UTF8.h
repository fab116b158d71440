#ifndef _UTF8_H
#define _UTF8_H

#include <InterfaceDefs.h>
#include <SupportDefs.h>

// Source encodings of convert_to_utf8, with the original platform's values.
enum {
	B_ISO1_CONVERSION = 0,
	B_ISO2_CONVERSION,
	B_ISO3_CONVERSION,
	B_ISO4_CONVERSION,
	B_ISO5_CONVERSION,
	B_ISO6_CONVERSION,
	B_ISO7_CONVERSION,
	B_ISO8_CONVERSION,
	B_ISO9_CONVERSION,
	B_ISO10_CONVERSION,
	B_MAC_ROMAN_CONVERSION,
	B_SJIS_CONVERSION,
	B_EUC_CONVERSION,
	B_JIS_CONVERSION,
	B_MS_WINDOWS_CONVERSION,
	B_UNICODE_CONVERSION,
	B_KOI8R_CONVERSION,
	B_MS_WINDOWS_1251_CONVERSION,
	B_MS_DOS_866_CONVERSION,
	B_MS_DOS_437_CONVERSION,
	B_EUC_KR_CONVERSION,
	B_ISO13_CONVERSION,
	B_ISO14_CONVERSION,
	B_ISO15_CONVERSION,
	B_BIG5_CONVERSION,
	B_GBK_CONVERSION,
	B_UTF16_CONVERSION,
	B_MS_WINDOWS_1250_CONVERSION
};

// Converts up to *srcLen bytes of src into at most *dstLen bytes of UTF-8 at
// dst; on return they hold the bytes consumed and produced. Bytes that are not
// valid in the source encoding become `substitute`. NUL bytes pass through.
// `state` carries the shift state of stateful encodings (JIS) between calls;
// start with 0. Nothing is written past *dstLen, and no terminating NUL is added.
status_t convert_to_utf8(uint32 srcEncoding, const char* src, int32* srcLen,
	char* dst, int32* dstLen, int32* state, char substitute = B_SUBSTITUTE);

#endif
