#ifndef RECORDING_VIEW_H
#define RECORDING_VIEW_H

#include <string>
#include <vector>

#include "PKNView.h"
#include "PointerProbe.h"

// A main view that writes down which click hooks ran, and where.
class RecordingView : public TPKNView {
public:
	RecordingView() : TPKNView(BRect(0, 0, 99, 99), "main", B_FOLLOW_ALL, B_WILL_DRAW) {}

	void MouseClickLeftDouble(BPoint where) override { _Add("ClickLeftDouble", where); }
	void MouseClickLeftSingle(BPoint where) override { _Add("ClickLeftSingle", where); }
	void MouseClickRightDouble(BPoint where) override { _Add("ClickRightDouble", where); }
	void MouseClickRightSingle(BPoint where) override { _Add("ClickRightSingle", where); }
	void MouseDownLeft(BPoint where) override { _Add("DownLeft", where); }
	void MouseDownRight(BPoint where) override { _Add("DownRight", where); }
	void MouseDragLeft(BPoint where) override { _Add("DragLeft", where); }
	void MouseDragRight(BPoint where) override { _Add("DragRight", where); }

	std::string Calls() const
	{
		std::string result;
		for (const std::string& call : fCalls)
			result += (result.empty() ? "" : " ") + call;
		return result;
	}

	std::vector<std::string> fCalls;
	std::vector<BPoint> fPoints;

private:
	void _Add(const char* call, BPoint where)
	{
		fCalls.push_back(call);
		fPoints.push_back(where);
	}
};

#endif
