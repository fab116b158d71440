#ifndef _ROSTER_PRIVATE_H
#define _ROSTER_PRIVATE_H

namespace BPrivate {

// The program BRoster::Launch starts with one document or address as its
// only argument; NULL restores "xdg-open" (looked up in PATH). Tests put a
// recorder here so that nothing is really opened.
void set_document_opener(const char* program);

}

#endif
