// A shared library that is no loader: its function has another name.
extern "C" __attribute__((visibility("default"))) int
make_other_loader()
{
	return 0;
}
