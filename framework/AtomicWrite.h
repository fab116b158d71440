#ifndef ATOMIC_WRITE_H
#define ATOMIC_WRITE_H

#include <SupportDefs.h>

class BEntry;
class BFile;
class BMessage;

namespace pelkan {

// Every file the program writes is replaced as a whole: a failed or
// interrupted write leaves the previous file as it was.

// The file holds exactly the flattened message afterwards.
status_t write_message_atomically(const BEntry& entry, const BMessage& message);

// The target holds the bytes and the attributes of source afterwards;
// attributes of the old target that source lacks are kept. A new target
// gets the permission bits of source, a replaced one keeps its own.
status_t copy_file_atomically(BFile& source, const char* target);

}

#endif
