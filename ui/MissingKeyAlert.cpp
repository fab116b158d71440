#include "MissingKeyAlert.h"

#include "Alerts.h"
#include "VLT.h"

namespace {

void
report_missing_key(const char* key)
{
	pelkan::show_msg("TVLT::Text", key, "OK", B_STOP_ALERT);
}

}


void
install_missing_key_alert()
{
	TVLT::SetMissingKeyReporter(report_missing_key);
}
