#pragma once

// Types keystrokes into the window that has the keyboard focus.
//
// The library is loaded by name (dlopen("libks32.so")) or linked. Only one process at a
// time may use it; a second one gets KS32_NO_PLAYBACK and a note on stderr.
//
// Key language: quoted strings type their characters ("Hello"); key words name keys
// (ENTER, TAB, F1 ... F12, DEL, a single character, or a decimal virtual-key code such
// as 65); SHIFT, CTRL (or BREAK) and ALT (or MENU) hold their modifier over the next key,
// string or group ("SHIFT-a", "CTRL-ALT-DEL", "SHIFT-(abc)"); "[n]" after a key or a
// string repeats it; "/W n" waits n * 54 ms; "!" is ignored.

#ifdef __cplusplus
extern "C" {
#endif

enum Ks32Result {
    KS32_QUEUED = 0,         // playback started
    KS32_BAD_KEY_NAME = 1,   // unknown or empty key name, or a character with no key
    KS32_UNCLOSED_GROUP = 2, // "(" without ")"
    KS32_ZERO_REPEAT = 3,    // "[0]"
    KS32_QUEUE_FULL = 4,     // more than 4095 queue entries
    KS32_NO_PLAYBACK = 5     // no X display with XTest, or another process uses the library
};

// Stops any running playback, parses text and starts playing it in the background.
// Returns a Ks32Result; only the low 8 bits are significant.
int SendKeys(const char *text);

// Non-zero: slow mode, at most one key event every 10 ms. Returns flag.
int PauseKeys(int flag);

// Stops playback; keys not yet typed are dropped and held keys are released.
void QuitSendKeys(void);

// 1 while playback is running, else 0.
int KeysPlaying(void);

#ifdef __cplusplus
}
#endif
