#ifndef ELF_EXPORTS_H
#define ELF_EXPORTS_H

namespace pelkan {

// Whether the file at `path` is a shared library this process could load
// (ELF, its class, byte order and machine, a dynamic object whose loadable
// segments all lie in the file) that exports a function named `name`: a
// defined, global or weak STT_FUNC symbol of its dynamic symbol table.
//
// The file is read, never loaded, so none of its code runs: the dynamic
// symbol table is found through the section headers, or through the dynamic
// segment when the sections are stripped. Every offset, size and string
// index is checked against the file, and the cost is linear in the file's
// size. Anything that is not a regular file, or is damaged, is no.
bool elf_exports_function(const char* path, const char* name);

}

#endif
