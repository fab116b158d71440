#include <DataIO.h>

BDataIO::BDataIO() = default;

BDataIO::~BDataIO() = default;
