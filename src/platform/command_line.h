#pragma once
// What the program does before it opens any window: its command line (only
// --help and --version; anything else is refused) and the opening of the
// display, which says in one Russian line that no display could be opened
// instead of Qt's English plugin message and an abort.

namespace orven {

// Exit status when the command line is all done (help, version, bad
// argument), or -1 when the program is to start.
int handleCommandLine(int argc, char* argv[]);

// Between these two, Qt's messages are held back; a fatal one (no display,
// no platform plugin) ends the program with one Russian line and status 1.
// The messages of a start that worked are passed on afterwards.
// program names the program in that line.
void beginOpeningDisplay(const char* program = "orven");
void endOpeningDisplay();

} // namespace orven
