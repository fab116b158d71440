#ifndef LANG_H
#define LANG_H

#include <SupportDefs.h>

namespace pelkan {

// The framework's language identifier handed to SetLanguage. The program
// switches languages through text tables and tells only these two apart.
typedef int32 TLang;

const TLang Lang_BuiltIn = 0;
const TLang Lang_File = 1;

}

#endif
