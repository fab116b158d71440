#ifndef MISSING_KEY_ALERT_H
#define MISSING_KEY_ALERT_H

// Makes the language table report each missing text it is asked for with a
// stop alert (caption "TVLT::Text", the key as text) while its
// show-missing-keys switch is on. The application calls it at start-up,
// once the interface layer is ready and before the first text is looked up.
void install_missing_key_alert();

#endif
