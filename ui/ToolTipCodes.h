#ifndef TOOL_TIP_CODES_H
#define TOOL_TIP_CODES_H

// Messages between a tool tip, its spy and its timer.
enum {
	kMsgPointerEntered = 'Pmen',
	kMsgPointerExited = 'Pmex',
	kMsgOpenToolTipWindow = 'Potr'
};

#endif
