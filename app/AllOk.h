#ifndef ALL_OK_H
#define ALL_OK_H

#include <SupportDefs.h>

// Collects the results of a sequence of adds or finds that must all be tried,
// in order, even after one failed.
class TAllOk {
public:
	TAllOk& operator<<(status_t status)
	{
		fAll = fAll && status == B_OK;
		return *this;
	}
	bool All() const { return fAll; }

private:
	bool fAll = true;
};

#endif
