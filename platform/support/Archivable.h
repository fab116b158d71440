#ifndef _ARCHIVABLE_H
#define _ARCHIVABLE_H

#include <SupportDefs.h>

class BMessage;

// An object that can write itself into a message and be re-created from it.
// The message names the object's class in its "class" field;
// instantiate_object finds the class's instantiation function by that name
// in a registry that each archivable class joins with
// B_REGISTER_ARCHIVABLE_CLASS.
class BArchivable {
public:
	BArchivable();
	explicit BArchivable(BMessage* from);
	virtual ~BArchivable();

	// Adds the object's class name (its most derived class) to "class".
	// Subclasses add their own fields after calling their base class.
	virtual status_t Archive(BMessage* into, bool deep = true) const;
	// The base class is abstract in spirit: it instantiates nothing.
	static BArchivable* Instantiate(BMessage* from);
};

typedef BArchivable* (*instantiation_func)(BMessage* from);

// Re-creates the object the archive describes, or returns NULL when the
// archive names no class or one that has not registered.
BArchivable* instantiate_object(BMessage* from);
// Whether the archive lists `className` among its classes; an Instantiate
// function checks this before constructing.
bool validate_instantiation(BMessage* from, const char* className);
// NULL for a class that has not registered.
instantiation_func find_instantiation_func(const char* className);
// Adds a class to the registry; a second registration of the same name
// replaces the first. Returns true so that it can initialise a static.
bool register_instantiation_func(const char* className, instantiation_func function);

#define _B_ARCHIVABLE_CONCAT2(a, b) a##b
#define _B_ARCHIVABLE_CONCAT(a, b) _B_ARCHIVABLE_CONCAT2(a, b)

// Put once in the source file of an archivable class, at namespace scope:
//     B_REGISTER_ARCHIVABLE_CLASS(BButton)
//     B_REGISTER_ARCHIVABLE_CLASS(pelkan::TArchivable)
// A class in a static library registers only when its object file is
// linked in, that is when the program refers to something else in it.
#define B_REGISTER_ARCHIVABLE_CLASS(className) \
	static const bool _B_ARCHIVABLE_CONCAT(sArchivableRegistered, __COUNTER__) \
		= register_instantiation_func(#className, &className::Instantiate)

#endif
