#ifndef APP_CONSTANTS_H
#define APP_CONSTANTS_H

// Display name: window titles, the about window, the Deskbar entry.
inline constexpr char gAppName[] = "Vantu MIDI";
// Version text: the about window; every saved exit state carries it as "_Ver".
inline constexpr char gAppVer[] = "Ver 5.34";
inline constexpr char gAppSignature[] = "application/x-vnd.PELKAN-VantuMIDI";
// Put before the language text "App_Author" in the about window.
inline constexpr char gAppAuthorPrefix[] = "Programmed by ";

#endif
