#include <gtest/gtest.h>

#include "InterfaceKit.h"

namespace {

// The GUI application made by the first test ends with the last one, as it
// does at the end of the program.
class InterfaceEnvironment : public testing::Environment {
public:
	void TearDown() override { BPrivate::shutdown_interface_kit(); }
};

const testing::Environment* const sEnvironment
	= testing::AddGlobalTestEnvironment(new InterfaceEnvironment);

}
