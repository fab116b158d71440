// A shared library whose loader "function" is a variable.
extern "C" {
__attribute__((visibility("default"))) int make_container_loader = 2;
}
