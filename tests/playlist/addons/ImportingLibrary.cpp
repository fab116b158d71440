// A shared library that only imports the loader function: its dynamic
// symbol table names it, undefined.
extern "C" void* make_container_loader();

extern "C" __attribute__((visibility("default"))) void*
call_loader()
{
	return make_container_loader();
}
