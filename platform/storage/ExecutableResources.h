#ifndef _EXECUTABLE_RESOURCES_H
#define _EXECUTABLE_RESOURCES_H

class BResources;

// The resources compiled into the running executable; an empty set for an
// executable built without any. Usable from static constructors; the object
// lives until the process ends and must not be deleted.
BResources* executable_resources();

#endif
