#ifndef RIG_PLAYLIST_H
#define RIG_PLAYLIST_H

#include <Alert.h>

#include "CorvanView.h"

// A playlist whose questions are answered with the second button: "No"
// to saving a changed list, so nothing is saved and nothing cancelled.
class RigPlaylist : public TCorvanView {
public:
	RigPlaylist() : TCorvanView(BRect(0, 0, 400, 300), "ListView", false) {}

protected:
	int32 ShowAlert(const char*, const char*, const char*, const char*, int32,
		alert_type) override
	{
		return 1;
	}
};

#endif
