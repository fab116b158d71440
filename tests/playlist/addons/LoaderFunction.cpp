// An ordinary shared library that defines the loader function, for another
// library to import it from.
extern "C" __attribute__((visibility("default"))) void*
make_container_loader()
{
	return nullptr;
}
