#ifndef TOOL_IMAGES_H
#define TOOL_IMAGES_H

class BBitmap;

// 17 × 17 tool-bar pictures on a transparent background, drawn in code.
enum ToolImage {
	kImagePrevious,
	kImagePlay,
	kImagePause,
	kImageStop,
	kImageNext,
	kImageList
};

BBitmap* make_tool_image(ToolImage image);

#endif
