#ifndef PLAYER_RIG_H
#define PLAYER_RIG_H

#include <gtest/gtest.h>

#include "GuiTest.h"
#include "PlayerDriver.h"

// Every test body runs in one step of the application's loop, on the
// window's thread, with the stepped clock from a fixed start installed.
class RigTest : public GuiTest, protected PlayerDriver {
protected:
	RigTest()
		: PlayerDriver([](const std::string& fault) { ADD_FAILURE() << fault; }) {}

	void SetUp() override
	{
		GuiTest::SetUp();
		fPreviousClock = set_current_clock(&fClock);
		ResetRecords();
	}

	void TearDown() override
	{
		GuiTest::TearDown();
		for (BMidiRecordingConsumer* device : fDevices)
			device->Release();
		fDevices.clear();
		set_current_clock(fPreviousClock);
	}

	void Run(const std::function<void()>& body)
	{
		bool done = false;
		RunSteps({[&]() {
			body();
			done = true;
			return true;
		}}, std::chrono::milliseconds(120000));
		EXPECT_TRUE(done);
	}

	// A registered device the test keeps a reference to.
	BMidiRecordingConsumer* AddDevice(const char* name)
	{
		BMidiRecordingConsumer* device = new BMidiRecordingConsumer(name);
		EXPECT_EQ(B_OK, device->Register());
		fDevices.push_back(device);
		return device;
	}

	BClock* fPreviousClock = NULL;
	std::vector<BMidiRecordingConsumer*> fDevices;
};

#endif
